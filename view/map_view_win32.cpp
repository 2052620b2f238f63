// The map view child window: its OpenGL context, its size and its painting.
#include "view/map_view_win32.h"

#include <GL/gl.h>

#include "view/map_input.h"
#include "view/view_transform.h"

namespace {

const wchar_t* const kViewClass = L"ChildWndClass";
HGLRC context = nullptr;
MapViewFrame frameOfView = {};

bool SetUpOpenGl(HWND window) {
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0 || !SetPixelFormat(dc, format, &pfd)) return false;
    context = wglCreateContext(dc);
    return context && wglMakeCurrent(dc, context);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    if (context) {
        // The background grey; the map is drawn over it.
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(paint.hdc);
    } else {
        // Without OpenGL the view still shows its background.
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(paint.hdc, &paint.rcPaint, grey);
        DeleteObject(grey);
    }
    EndPaint(window, &paint);
}

// The left button edits through the portable input; the drawing of what it
// changed comes with the renderer.
bool OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!frameOfView.takesInput || !frameOfView.takesInput()) return true;
    const int32_t x = static_cast<int16_t>(LOWORD(lParam)), y = static_cast<int16_t>(HIWORD(lParam));
    switch (message) {
        case WM_MOUSEMOVE:
            MapMouseMove(x, y, (wParam & MK_LBUTTON) != 0);
            // Only a drag changes what the status bar shows.
            if (!dragging) return true;
            break;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            MapLeftButtonDown(x, y);
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            if (!MapLeftButtonUp()) return false;
            break;
        default:
            return false;
    }
    frameOfView.changed();
    return true;
}

LRESULT CALLBACK MapViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetUpOpenGl(window);
            return 0;
        case WM_SIZE:
            SetViewSize(LOWORD(lParam), HIWORD(lParam));
            if (context) glViewport(0, 0, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (OnMouse(window, message, wParam, lParam)) return 0;
            break;
        // The frame window keeps the keyboard.
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETFOCUS:
            SetFocus(GetParent(window));
            return 0;
        case WM_DESTROY:
            wglMakeCurrent(nullptr, nullptr);
            if (context) wglDeleteContext(context);
            context = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
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
