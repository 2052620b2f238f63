// The frame window procedure: children, layout, keys and commands; every
// command goes through the portable command table.

#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>

#include <algorithm>

#include "app/backups.h"
#include "app/commands.h"
#include "app/frame_keys.h"
#include "app/frame_state.h"
#include "app/frame_win32.h"
#include "app/resource.h"
#include "app/status_text.h"
#include "model/editing.h"
#include "platform/win32.h"
#include "view/map_input.h"
#include "view/map_view_win32.h"
#include "view/view_navigation.h"

namespace {

const wchar_t* const kFrameClass = L"Keldra";
constexpr int kToolBarId = 100;
constexpr int kStatusBarId = 101;

HINSTANCE instance = nullptr;
HWND mapView = nullptr;
int toolBarHeight = 0;
int statusBarHeight = 0;

struct ToolButton {
    int image;  // -1: a separator
    int command;
    BYTE style;
};
const ToolButton kToolButtons[] = {
    {0, IDM_NEW, BTNS_BUTTON},
    {1, IDM_OPEN, BTNS_BUTTON},
    {2, IDM_SAVE, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {3, IDM_EDIT_SELECTION, BTNS_BUTTON},
    {4, IDM_DELETE_SELECTION, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {5, IDM_GRID_BUTTON, BTNS_BUTTON},
    {6, IDM_AXES, BTNS_CHECK},
    {-1, 0, BTNS_SEP},
    {7, IDM_BUILD, BTNS_BUTTON},
    {8, IDM_PLAY, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {9, IDM_DEFAULT_TEXTURES, BTNS_BUTTON},
    {10, IDM_DEFAULT_SECTOR, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {11, IDM_HELP, BTNS_BUTTON},
};
constexpr int kNumToolButtons = sizeof kToolButtons / sizeof kToolButtons[0];

int Height(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

HWND CreateToolBar(HWND frame) {
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolBarId)), instance, nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The pictures are drawn on magenta, which the image list makes transparent.
    HIMAGELIST images = ImageList_Create(24, 24, ILC_COLOR32 | ILC_MASK, 12, 0);
    auto picture = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ImageList_AddMasked(images, picture, RGB(255, 0, 255));
    DeleteObject(picture);
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    TBBUTTON buttons[kNumToolButtons] = {};
    for (int i = 0; i < kNumToolButtons; ++i) {
        const ToolButton& b = kToolButtons[i];
        buttons[i].iBitmap = b.image < 0 ? 0 : b.image;
        buttons[i].idCommand = b.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = static_cast<BYTE>(b.style | (b.image < 0 ? 0 : BTNS_AUTOSIZE));
    }
    SendMessageW(bar, TB_ADDBUTTONSW, kNumToolButtons, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(bar, TB_SETINDENT, 10, 0);
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

// One tool tip per button, its text the string resource of the command.
void CreateToolTips(HWND frame, HWND bar) {
    HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame, nullptr, instance, nullptr);
    for (int i = 0; i < kNumToolButtons; ++i) {
        if (kToolButtons[i].image < 0) continue;
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = bar;
        tool.uId = static_cast<UINT_PTR>(kToolButtons[i].command);
        tool.hinst = instance;
        tool.lpszText = MAKEINTRESOURCEW(kToolButtons[i].command);
        SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool.rect));
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(bar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips), 0);
}

// The menu's marks and the axes button follow the state the commands changed.
void ShowViewOptions() {
    HMENU menu = GetMenu(shellWindows.main);
    const int gridItem = gridSize == 0    ? IDM_GRID_NONE
                         : gridSize == 8  ? IDM_GRID_8
                         : gridSize == 16 ? IDM_GRID_16
                         : gridSize == 32 ? IDM_GRID_32
                                          : IDM_GRID_64;
    CheckMenuRadioItem(menu, IDM_GRID_NONE, IDM_GRID_64, gridItem, MF_BYCOMMAND);
    CheckMenuItem(menu, IDM_AXES, MF_BYCOMMAND | (showAxes ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_BSP_LINES, MF_BYCOMMAND | (showBspLines ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_PVS_TEST, MF_BYCOMMAND | (mapMode == MapMode::kPvsTest ? MF_CHECKED : MF_UNCHECKED));
    SendMessageW(shellWindows.toolBar, TB_SETSTATE, IDM_AXES,
                 MAKELONG(TBSTATE_ENABLED | (showAxes ? TBSTATE_CHECKED : 0), 0));
}

void RedrawView() { InvalidateRect(mapView, nullptr, FALSE); }

POINT CursorInView() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(mapView, &p);
    return p;
}

// Wine reports the left and right keys where Windows reports the generic one.
bool IsAlt(WPARAM key) { return key == VK_MENU || key == VK_LMENU || key == VK_RMENU; }

FrameKey KeyOf(WPARAM key) {
    switch (key) {
        case VK_RETURN:
            return FrameKey::kEnter;
        case VK_CONTROL:
            return FrameKey::kControl;
        case VK_ESCAPE:
            return FrameKey::kEscape;
        case VK_LEFT:
            return FrameKey::kLeft;
        case VK_UP:
            return FrameKey::kUp;
        case VK_RIGHT:
            return FrameKey::kRight;
        case VK_DOWN:
            return FrameKey::kDown;
        case VK_DELETE:
            return FrameKey::kDelete;
        case 'A':
            return FrameKey::kA;
        case 'C':
            return FrameKey::kC;
        case 'F':
            return FrameKey::kF;
        case 'I':
            return FrameKey::kI;
        case 'O':
            return FrameKey::kO;
        case 'R':
            return FrameKey::kR;
        case 'Y':
            return FrameKey::kY;
        case 'Z':
            return FrameKey::kZ;
        case VK_F1:
            return FrameKey::kF1;
        default:
            return FrameKey::kOther;
    }
}

constexpr UINT_PTR kBackupTimer = 1;

LRESULT OnCreate(HWND frame) {
    shellWindows.main = frame;
    SetTitleWindow(frame);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    shellWindows.toolBar = CreateToolBar(frame);
    toolBarHeight = Height(shellWindows.toolBar);
    CreateToolTips(frame, shellWindows.toolBar);
    shellWindows.gridMenu = GetSubMenu(GetSubMenu(GetMenu(frame), 2), 0);
    shellWindows.gridButton = IDM_GRID_BUTTON;
    shellWindows.statusBar =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), instance, nullptr);
    statusBarHeight = Height(shellWindows.statusBar);
    SendMessageW(shellWindows.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    RECT client;
    GetClientRect(frame, &client);
    const MapViewFrame viewFrame = {[] { return frameBusy == 0; },
                                    [] {
                                        UpdateStatusBar();
                                        RedrawView();
                                    }};
    mapView = CreateMapView(frame, instance, 0, toolBarHeight, client.right,
                            client.bottom - statusBarHeight - toolBarHeight, viewFrame);
    ShowViewOptions();
    // Backups are looked at every second; the interval itself is in minutes.
    SetTimer(frame, kBackupTimer, 1000, nullptr);
    return 0;
}

LRESULT OnSize(int width, int height) {
    const int edges[4] = {width - 560, width - 420, width - 330, -1};
    SendMessageW(shellWindows.statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    MoveWindow(shellWindows.statusBar, 0, height - statusBarHeight, width, statusBarHeight, TRUE);
    UpdateStatusBar();
    SendMessageW(shellWindows.toolBar, TB_AUTOSIZE, 0, 0);
    MoveWindow(mapView, 0, toolBarHeight, width, height - statusBarHeight - toolBarHeight, TRUE);
    return 0;
}

LRESULT OnKeyDown(WPARAM key) {
    const POINT cursor = CursorInView();
    FrameKeyDown(KeyOf(key), GetAsyncKeyState(VK_SHIFT) < 0, GetAsyncKeyState(VK_CONTROL) < 0, cursor.x, cursor.y);
    ShowViewOptions();
    RedrawView();
    return 0;
}

LRESULT OnKeyUp(WPARAM key) {
    // Alt released while a menu was opening arrives as a plain key release.
    if (key == VK_MENU)
        FrameAltUp();
    else
        FrameKeyUp(KeyOf(key));
    RedrawView();
    return 0;
}

// Alt is vertex insertion; every other system key (Alt+F4, Alt with a menu
// letter, F10) is the system's.
bool OnSysKey(WPARAM key, bool down) {
    if (!IsAlt(key)) return false;
    if (down) {
        const POINT cursor = CursorInView();
        FrameAltDown(cursor.x, cursor.y);
    } else {
        FrameAltUp();
    }
    RedrawView();
    return true;
}

LRESULT OnCommand(int id) {
    if (!RunCommand(id)) UpdateStatusBar();
    ShowViewOptions();
    RedrawView();
    return 0;
}

// Key releases that arrive while a menu or another window has the keyboard
// never reach the frame: Alt (which opened the menu) and Ctrl count as
// released, so that their modes do not stick.
LRESULT OnKeyboardLost() {
    FrameAltUp();
    FrameKeyUp(FrameKey::kControl);
    RedrawView();
    return 0;
}

// Menu items that do not apply now are greyed.
LRESULT OnInitMenuPopup(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        EnableMenuItem(menu, id, MF_BYCOMMAND | (CommandApplies(static_cast<int32_t>(id)) ? MF_ENABLED : MF_GRAYED));
    }
    return 0;
}

// Closing (the box, Alt+F4) is the exit command, with its question; during
// a build it stops the build instead.
LRESULT OnClose() {
    if (frameBusy)
        cancelRequested = 1;
    else
        RunCommand(IDM_EXIT);
    return 0;
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(frame);
        case WM_SIZE:
            return OnSize(LOWORD(lParam), HIWORD(lParam));
        case WM_KEYDOWN:
            return OnKeyDown(wParam);
        case WM_KEYUP:
            return OnKeyUp(wParam);
        case WM_SYSKEYDOWN:
            if (OnSysKey(wParam, true)) return 0;
            break;
        case WM_SYSKEYUP:
            if (OnSysKey(wParam, false)) return 0;
            break;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        case WM_MOUSEWHEEL:
            return SendMessageW(mapView, message, wParam, lParam);
        case WM_INITMENUPOPUP:
            return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        case WM_ENTERMENULOOP:
        case WM_KILLFOCUS:
            return OnKeyboardLost();
        case WM_CLOSE:
            return OnClose();
        case WM_TIMER:
            // Not in the middle of a build or a drag, whose vertex may stand
            // where it will be refused.
            if (wParam == kBackupTimer && !frameBusy && !dragging)
                BackupIfDue(static_cast<double>(GetTickCount64()) / 1000.0);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

}  // namespace

HWND CreateFrameWindow(HINSTANCE programInstance) {
    instance = programInstance;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KELDRA));
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KELDRA_SMALL));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = L"menubar";
    wc.lpszClassName = kFrameClass;
    if (!RegisterClassExW(&wc)) return nullptr;
    // Nearly maximized, but kept inside the work area so that the status
    // bar is never below the screen's edge or under the task bar.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(GetSystemMetrics(SM_CXMAXIMIZED) - 12, work.right - work.left - 4);
    const int height = std::min<int>(GetSystemMetrics(SM_CYMAXIMIZED) - 12, work.bottom - work.top - 4);
    return CreateWindowExW(0, kFrameClass, L"Keldra", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, work.left + 2,
                           work.top + 2, width, height, nullptr, nullptr, instance, nullptr);
}
