// The map view child window: its OpenGL context, its size and its painting,
// and the mouse turned into calls of the input state machine.
#include "view/map_view_win32.h"

#include "view/map_input.h"
#include "view/renderer_win32.h"
#include "view/thing_menu_win32.h"
#include "view/view_mouse.h"
#include "view/view_transform.h"

namespace {

const wchar_t* const kViewClass = L"ChildWndClass";
MapViewFrame frameOfView = {};

POINT dragFrom = {0, 0};  // the middle button's last position

int32_t MouseX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int32_t MouseY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

void Redraw(HWND window, bool status) {
    InvalidateRect(window, nullptr, FALSE);
    if (status && frameOfView.changed) frameOfView.changed();
}

// No mouse input while long work (a build with its PVS pass) runs.
bool TakesInput() { return !frameOfView.takesInput || frameOfView.takesInput(); }

void OnMouseMove(HWND window, WPARAM keys, LPARAM lParam) {
    const int32_t x = MouseX(lParam), y = MouseY(lParam);
    if (GetCapture() == window && (keys & MK_MBUTTON)) {
        DragView(x - dragFrom.x, y - dragFrom.y);
        dragFrom = {x, y};
        Redraw(window, true);
        return;
    }
    const bool leftHeld = keys & MK_LBUTTON;
    const bool followsMouse = mapMode == MapMode::kDrawSector || mapMode == MapMode::kInsertVertex;
    const bool drags = !followsMouse && dragging && leftHeld;
    MapMouseMove(x, y, leftHeld);
    // Outside the modes and drags a move changes nothing shown.
    if (followsMouse || drags) Redraw(window, drags);
}

void OnRightButtonDown(HWND window, LPARAM lParam) {
    const int32_t x = MouseX(lParam), y = MouseY(lParam);
    if (!MapRightButtonDown(x, y)) {
        Redraw(window, true);
        return;
    }
    InvalidateRect(window, nullptr, FALSE);
    POINT at = {x, y};
    ClientToScreen(window, &at);
    TrackPopupMenu(ThingTypeMenu(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

void Paint(HWND window) {
    if (ViewHasContext()) {
        DrawFrame();
        ValidateRect(window, nullptr);
        return;
    }
    // Without OpenGL the view still shows its background.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(paint.hdc, &paint.rcPaint, grey);
    DeleteObject(grey);
    EndPaint(window, &paint);
}

LRESULT CALLBACK MapViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_COMMAND;
    if (mouse && !TakesInput()) return 0;
    switch (message) {
        case WM_CREATE:
            SetupView(window);
            return 0;
        case WM_SIZE:
            SetViewSize(LOWORD(lParam), HIWORD(lParam));
            ResizeView();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(window, wParam, lParam);
            return 0;
        case WM_LBUTTONDOWN:
            MapLeftButtonDown(MouseX(lParam), MouseY(lParam));
            Redraw(window, true);
            return 0;
        case WM_LBUTTONUP:
            if (!MapLeftButtonUp()) return DefWindowProcW(window, message, wParam, lParam);
            // A refused vertex move is back where it began: show it at once.
            Redraw(window, true);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(window, lParam);
            return 0;
        case WM_COMMAND:
            // Every command reaching the view is a row of the thing type menu.
            MapThingMenuChosen(LOWORD(wParam));
            Redraw(window, true);
            return 0;
        case WM_MBUTTONDOWN:
            dragFrom = {MouseX(lParam), MouseY(lParam)};
            SetCapture(window);
            return 0;
        case WM_MBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            return 0;
        case WM_MOUSEWHEEL: {
            // The frame has the focus and passes the wheel on; its position is on the screen.
            POINT at = {MouseX(lParam), MouseY(lParam)};
            ScreenToClient(window, &at);
            WheelZoom(at.x, at.y, GET_WHEEL_DELTA_WPARAM(wParam));
            Redraw(window, true);
            return 0;
        }
        // The frame window keeps the keyboard.
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETFOCUS:
            SetFocus(GetParent(window));
            return 0;
        case WM_DESTROY:
            TearDownView();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateMapView(HWND parent, HINSTANCE instance, int x, int y, int width, int height, MapViewFrame frame) {
    frameOfView = frame;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MapViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kViewClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                           height, parent, nullptr, instance, nullptr);
}
