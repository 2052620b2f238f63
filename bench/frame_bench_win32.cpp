// Times the map view's frames and picks on a real level in a real OpenGL
// window (under Wine on this machine: its software OpenGL).
//
//     frame-bench.exe MAP.kdm [FRAMES]
//
// Opens a 1024 by 768 view, fits the map, and prints milliseconds per
// DrawFrame (glFinish included) plain, with grid and axes, and with a
// sector selected, and per PickAt.
#include <GL/gl.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/editing.h"
#include "model/map.h"
#include "model/map_file.h"
#include "view/picking.h"
#include "view/renderer_win32.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

LRESULT CALLBACK BenchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

template <typename Call>
double MillisecondsPerCall(int calls, Call call) {
    call();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) call();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame-bench.exe MAP.kdm [FRAMES]\n");
        return 2;
    }
    const int frames = argc > 2 ? _wtoi(argv[2]) : 100;
    std::string path;
    for (const wchar_t* c = argv[1]; *c; ++c) path.push_back(static_cast<char>(*c));
    if (!LoadMapFile(path)) return 1;

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"FrameBench";
    RegisterClassExW(&wc);
    RECT frame = {0, 0, 1024, 768};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        CreateWindowExW(0, L"FrameBench", L"frame-bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window || !SetupView(window)) {
        std::fprintf(stderr, "frame-bench: no OpenGL view\n");
        return 1;
    }
    RECT client;
    GetClientRect(window, &client);
    SetViewSize(client.right, client.bottom);
    ResizeView();
    FitView();
    std::printf("%s: %d linedefs, %d vertices, %d things; view %d by %d, %d frames\n", path.c_str(), numlinedefs,
                numvertices, numthings, viewWidth, viewHeight, frames);

    auto timeFrames = [&](const char* what) {
        const double ms = MillisecondsPerCall(frames, [] {
            DrawFrame();
            glFinish();
        });
        std::printf("  DrawFrame, %-22s %8.2f ms\n", what, ms);
    };
    timeFrames("fitted:");
    gridSize = 64;
    showAxes = 1;
    timeFrames("grid 64 and axes:");
    gridSize = 0;
    showAxes = 0;
    selection = {kObjectSector, sectors};
    timeFrames("a sector selected:");
    selection = {kObjectNone, nullptr};
    timeFrames("fitted again:");

    int position = 0;
    const double pick = MillisecondsPerCall(frames * 10, [&] {
        const int i = position++ % 256;
        PickAt(viewWidth * (i % 16) / 16 + 3, viewHeight * (i / 16) / 16 + 3);
    });
    std::printf("  PickAt:                          %8.3f ms\n", pick);
    TearDownView();
    DestroyWindow(window);
    return 0;
}
