// Windows side of the frame seam: message boxes, common file dialogs, the
// status bar, CreateProcessW and the HTML Help viewer.

#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>
#include <commdlg.h>

#include <map>
#include <string>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/win32.h"

ShellWindows shellWindows;

namespace {

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the main loop, which ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// Function-local, so that registrations made while static objects are
// constructed find it ready.
std::map<std::string, DLGPROC>& DialogProcedures() {
    static std::map<std::string, DLGPROC> procedures;
    return procedures;
}

}  // namespace

void ReturnFocusToFrame() {
    // Windows gives the keyboard back to the frame when a box or dialog it
    // owns closes; Wine now and then leaves it nowhere, and the editor's keys
    // would do nothing until a click.
    if (!shellWindows.main || !IsWindow(shellWindows.main) || GetFocus() != nullptr) return;
    SetForegroundWindow(shellWindows.main);
    SetFocus(shellWindows.main);
}

void PlatformRegisterDialog(const char* name, DLGPROC procedure) { DialogProcedures()[name] = procedure; }

Answer PlatformAsk(const std::string& text, const std::string& caption, AskButtons buttons) {
    const UINT kind = buttons == AskButtons::kYesNoCancel ? MB_YESNOCANCEL : MB_YESNO;
    const int pressed =
        MessageBoxW(shellWindows.main, Widen(text).c_str(), Widen(caption).c_str(), kind | MB_ICONEXCLAMATION);
    ReturnFocusToFrame();
    switch (pressed) {
        case IDYES:
            return Answer::kYes;
        case IDNO:
            return Answer::kNo;
        default:
            return buttons == AskButtons::kYesNoCancel ? Answer::kCancel : Answer::kNo;
    }
}

namespace {

// The common file dialog owned by the main window; the working directory is
// left alone. False when cancelled.
bool ChooseFile(bool save, const wchar_t* filter, const wchar_t* extension, const wchar_t* title, DWORD flags,
                std::string& path) {
    wchar_t name[1024] = L"";
    wchar_t fileTitle[256] = L"";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = shellWindows.main;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = name;
    ofn.nMaxFile = 1024;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = 256;
    ofn.lpstrDefExt = extension;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | flags;
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    ReturnFocusToFrame();
    if (!chosen) return false;
    path = Narrow(name);
    return true;
}

}  // namespace

bool PlatformChooseMapFile(bool save, std::string& path) {
    // Replacing is asked about by the save command itself.
    return ChooseFile(save, L"Keldraマップファイル {*.kdm}\0*.kdm\0", L"kdm", nullptr, save ? 0 : OFN_FILEMUSTEXIST,
                      path);
}

bool PlatformChooseWadFile(std::string& path) {
    return ChooseFile(false, L"WADファイル {*.wad}\0*.wad\0", L"wad", L"WADファイルを開く", OFN_FILEMUSTEXIST, path);
}

void PlatformSetStatusText(int part, const std::string& text) {
    if (!shellWindows.statusBar) return;
    SendMessageW(shellWindows.statusBar, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

bool PlatformRunProcess(const std::string& executable, const std::string& commandLine, const std::string& directory) {
    std::wstring line = Widen(commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(Widen(executable).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Widen(directory).c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    // The window keeps painting while the game runs; the frame refuses
    // commands meanwhile.
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        PumpPending();
    }
    CloseHandle(process.hProcess);
    return true;
}

std::string PlatformCurrentDirectory() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return n > 0 && n < MAX_PATH * 4 ? Narrow(std::wstring_view(buffer, n)) : std::string(".");
}

void PlatformShowHelp(const std::string& path) {
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static HtmlHelpFunction htmlHelp = nullptr;
    static bool looked = false;
    if (!FileExists(path)) return;
    if (!looked) {
        looked = true;
        if (HMODULE library = LoadLibraryW(L"hhctrl.ocx")) {
            htmlHelp =
                reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
        }
    }
    if (!htmlHelp) return;
    const std::string full =
        path.find_first_of("\\/:") == std::string::npos ? PlatformCurrentDirectory() + "\\" + path : path;
    htmlHelp(shellWindows.main, Widen(full).c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

bool PlatformRunDialog(const char* name) {
    const std::wstring resource = Widen(name);
    if (!FindResourceW(nullptr, resource.c_str(), MAKEINTRESOURCEW(5) /* RT_DIALOG */)) return false;
    const auto registered = DialogProcedures().find(name);
    const DLGPROC procedure = registered != DialogProcedures().end() ? registered->second : PlainDialogProc;
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), resource.c_str(), shellWindows.main, procedure, 0);
    ReturnFocusToFrame();
    return result == IDOK;
}

void PlatformShowGridMenu() {
    RECT button;
    if (!SendMessageW(shellWindows.toolBar, TB_GETRECT, static_cast<WPARAM>(shellWindows.gridButton),
                      reinterpret_cast<LPARAM>(&button)))
        return;
    MapWindowPoints(shellWindows.toolBar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TrackPopupMenu(shellWindows.gridMenu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0,
                   shellWindows.main, nullptr);
}

void PlatformCloseMainWindow() { DestroyWindow(shellWindows.main); }

void PlatformPumpMessages() { PumpPending(); }
