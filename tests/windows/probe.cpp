// Reads the editor's frame from outside for the end-to-end tests, as a
// screen reader would: the status bar's texts, where a tool bar button is,
// whether it is pressed, and where the child windows are.
//
//   probe.exe status          the four status bar parts, one per line
//   probe.exe button ID       the screen position of the middle of button ID
//   probe.exe pressed ID      1 when button ID is pressed (checked), else 0
//   probe.exe tree            the frame's child windows: handle, class, screen rectangle
//   probe.exe field TITLE     the file name typed into the file dialog titled TITLE
//   probe.exe text TITLE ID   the text of control ID of the window titled TITLE
//                             (ID 0: the window's own text)
//   probe.exe checked TITLE ID  1 when check box ID of that window is checked, else 0
//   probe.exe control TITLE ID  the screen position of the middle of control ID
//                             of the dialog titled TITLE
//   probe.exe tab TITLE ID N  the screen position of tab N of tab control ID
#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND Frame() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[64];
            if (GetClassNameW(window, name, 64) && std::wstring(name) == L"Keldra") {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void Print(const std::wstring& text) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    out += "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

// Messages whose answer is written through a pointer need memory in the
// editor's own process.
struct Remote {
    HANDLE process;
    void* memory;
    explicit Remote(HWND window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        memory = process ? VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    }
    ~Remote() {
        if (memory) VirtualFreeEx(process, memory, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
    }
    template <typename T>
    T Read() {
        T value{};
        ReadProcessMemory(process, memory, &value, sizeof value, nullptr);
        return value;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wstring(argv[1]) == L"field") {
        // The file name box of the common file dialog (cmb13); WM_GETTEXT
        // is carried across processes.
        HWND dialog = FindWindowW(nullptr, argv[2]);
        HWND box = dialog ? GetDlgItem(dialog, 0x47c) : nullptr;
        if (!box) return 3;
        wchar_t text[1024] = {};
        SendMessageW(box, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        Print(text);
        return 0;
    }
    if (argc > 3 && (std::wstring(argv[1]) == L"text" || std::wstring(argv[1]) == L"checked")) {
        HWND window = FindWindowW(nullptr, argv[2]);
        const int control = _wtoi(argv[3]);
        HWND item = window && control ? GetDlgItem(window, control) : window;
        if (!item) return 3;
        if (std::wstring(argv[1]) == L"checked") {
            Print(SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
            return 0;
        }
        wchar_t text[1100] = {};
        SendMessageW(item, WM_GETTEXT, 1100, reinterpret_cast<LPARAM>(text));
        Print(text);
        return 0;
    }
    if (argc > 3 && (std::wstring(argv[1]) == L"control" || std::wstring(argv[1]) == L"tab")) {
        HWND dialog = FindWindowW(nullptr, argv[2]);
        HWND control = dialog ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
        if (!control) return 3;
        if (std::wstring(argv[1]) == L"tab") {
            Remote remote(control);
            if (argc < 5 || !remote.memory ||
                !SendMessageW(control, TCM_GETITEMRECT, _wtoi(argv[4]), reinterpret_cast<LPARAM>(remote.memory)))
                return 3;
            RECT r = remote.Read<RECT>();
            POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ClientToScreen(control, &middle);
            Print(std::to_wstring(middle.x) + L" " + std::to_wstring(middle.y));
            return 0;
        }
        RECT r;
        GetWindowRect(control, &r);
        Print(std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2));
        return 0;
    }
    HWND frame = Frame();
    if (!frame || argc < 2) return 2;
    const std::wstring what = argv[1];
    const int id = argc > 2 ? _wtoi(argv[2]) : 0;
    HWND toolBar = FindWindowExW(frame, nullptr, TOOLBARCLASSNAMEW, nullptr);
    if (what == L"status") {
        HWND bar = FindWindowExW(frame, nullptr, STATUSCLASSNAMEW, nullptr);
        Remote remote(bar);
        if (!remote.memory) return 3;
        for (int part = 0; part < 4; ++part) {
            SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote.memory));
            wchar_t text[1024] = {};
            ReadProcessMemory(remote.process, remote.memory, text, sizeof text - sizeof(wchar_t), nullptr);
            Print(text);
        }
        return 0;
    }
    if (what == L"button") {
        Remote remote(toolBar);
        if (!remote.memory || !SendMessageW(toolBar, TB_GETRECT, id, reinterpret_cast<LPARAM>(remote.memory))) return 3;
        RECT r = remote.Read<RECT>();
        POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(toolBar, &middle);
        Print(std::to_wstring(middle.x) + L" " + std::to_wstring(middle.y));
        return 0;
    }
    if (what == L"pressed") {
        const LRESULT state = SendMessageW(toolBar, TB_GETSTATE, id, 0);
        Print(state != -1 && (state & TBSTATE_CHECKED) ? L"1" : L"0");
        return 0;
    }
    if (what == L"tree") {
        EnumChildWindows(
            frame,
            [](HWND child, LPARAM) -> BOOL {
                wchar_t name[64] = {};
                GetClassNameW(child, name, 64);
                RECT r;
                GetWindowRect(child, &r);
                Print(std::to_wstring(reinterpret_cast<UINT_PTR>(child)) + L" " + name + L" " +
                      std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"-" + std::to_wstring(r.right) + L"," +
                      std::to_wstring(r.bottom));
                return TRUE;
            },
            0);
        return 0;
    }
    return 2;
}
