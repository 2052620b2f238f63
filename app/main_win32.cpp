// Program entry and the frame window of the Windows editor.
#include <windows.h>

#include "app/config.h"
#include "app/map_events_app.h"
#include "app/resource.h"
#include "app/title.h"
#include "base/report.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "resources/catalogue.h"
#include "resources/images.h"

namespace {

const wchar_t* const kMainClass = L"Keldra";

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CheckMenuRadioItem(GetMenu(window), IDM_GRID_NONE, IDM_GRID_64, IDM_GRID_NONE, MF_BYCOMMAND);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_EXIT) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = L"menubar";
    wc.lpszClassName = kMainClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    LoadConfig();
    InstallEditorMapEvents();
    if (FileExists("debug.txt")) RemoveFile("debug.txt");
    if (!LoadIwadFile("doom2.wad")) FatalError("doom2.wad ファイルの読み込みに失敗しました");
    BuildPalettes();

    if (!RegisterMainClass(instance)) return 1;
    HWND window = CreateWindowExW(0, kMainClass, L"Keldra", WS_OVERLAPPEDWINDOW, 2, 2,
                                  GetSystemMetrics(SM_CXMAXIMIZED) - 12, GetSystemMetrics(SM_CYMAXIMIZED) - 12,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetTitleWindow(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    UpdateTitle();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    SaveConfig();
    return static_cast<int>(message.wParam);
}
