// Times the map view's scene list and picking on a real level.
//
//     scene-bench MAP.kdm [--calls N] [--width W --height H]
//
// Fits the view to the map, then prints milliseconds per BuildScene call in
// a few situations (plain, grid and axes, a sector selected, the lines of a
// build shown) and per PickAt call over a grid of positions across the view.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "model/editing.h"
#include "model/map.h"
#include "model/map_file.h"
#include "nodes/bsp_output.h"
#include "nodes/build.h"
#include "view/picking.h"
#include "view/scene.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

double MillisecondsPerCall(int calls, const std::function<void()>& call) {
    call();  // warm the buffers
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) call();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

std::size_t Primitives(const Scene& scene) { return scene.points.size() / 2 + scene.iconPoints.size() / 2; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scene-bench MAP.kdm [--calls N] [--width W --height H]\n");
        return 2;
    }
    int calls = 500, width = 1024, height = 768;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--calls"))
            calls = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--width"))
            width = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--height"))
            height = std::atoi(argv[i + 1]);
    }
    if (!LoadMapFile(argv[1])) return 1;
    std::printf("%s: %d linedefs, %d vertices, %d things, %d sectors; view %d by %d, %d calls\n", argv[1], numlinedefs,
                numvertices, numthings, numsectors, width, height, calls);
    SetViewSize(width, height);
    FitView();

    Scene scene;
    auto timeScene = [&](const char* what) {
        const double ms = MillisecondsPerCall(calls, [&] { BuildScene(scene); });
        std::printf("  BuildScene, %-28s %8.3f ms  (%zu points, %zu batches)\n", what, ms, Primitives(scene),
                    scene.batches.size());
    };
    timeScene("fitted:");
    gridSize = 64;
    showAxes = 1;
    timeScene("grid 64 and axes:");
    selection = {kObjectSector, sectors};
    timeScene("a sector selected:");
    selection = {kObjectNone, nullptr};

    // The build's invisible lines, written to a scratch PWAD.
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "scene-bench.wad";
    pwadPath = scratch.string();
    if (BuildMap({})) {
        showBspLines = 1;
        timeScene("with the build's lines:");
        std::printf("  (%zu invisible lines)\n", invisibleLines.size());
        showBspLines = 0;
    }
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);

    // Picks at a 16 by 16 grid of positions across the view.
    int position = 0;
    const double pick = MillisecondsPerCall(calls, [&] {
        const int i = position++ % 256;
        PickAt(width * (i % 16) / 16 + 3, height * (i / 16) / 16 + 3);
    });
    std::printf("  PickAt:                                 %8.3f ms\n", pick);
    return 0;
}
