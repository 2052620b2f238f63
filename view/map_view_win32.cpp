// The map view child window: its OpenGL context, its size and its painting.
#include "view/map_view_win32.h"

#include "view/renderer_win32.h"
#include "view/view_transform.h"

namespace {

const wchar_t* const kViewClass = L"ChildWndClass";

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

HWND CreateMapView(HWND parent, HINSTANCE instance, int x, int y, int width, int height) {
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
