// Times undo and redo on a real level and measures what their steps keep.
//
//     history-bench MAP.kdm [--steps N]
//
// Loads the map, then runs N actions of each kind through the editor's own
// paths (a vertex dragged, a thing placed, a room drawn, a sector deleted,
// a command that changes nothing) and prints per kind the milliseconds of
// the action's step, the bytes the step keeps, and the milliseconds of one
// undo and one redo; then the memory of the whole history.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "app/commands.h"
#include "app/resource.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "tools/map_script.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

double Milliseconds(const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count();
}

void Script(const std::string& text) {
    std::string error;
    if (!RunMapScript(text, error)) std::fprintf(stderr, "history-bench: %s\n", error.c_str());
}

// The map's extent, to put new rooms and things beside it.
float Right() {
    float x = -32768;
    for (const Vertex* v = vertices; v; v = v->next) x = std::max(x, v->x);
    return x;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: history-bench MAP.kdm [--steps N]\n");
        return 2;
    }
    int steps = 20;
    if (argc >= 4 && !std::strcmp(argv[2], "--steps")) steps = std::atoi(argv[3]);
    if (!LoadMapFile(argv[1])) return 1;
    viewCentreX = viewCentreY = 0;
    viewScale = 1;
    SetViewSize(8192, 8192);
    const std::size_t mapBytes = EncodeMapFile().size();
    std::printf("%s: %d linedefs, %d vertices, %d things, %d sectors; %zu bytes as a map file; %d steps each\n",
                argv[1], numlinedefs, numvertices, numthings, numsectors, mapBytes, steps);
    const int right = static_cast<int>(Right()) + 256;

    struct Kind {
        const char* name;
        std::function<void(int)> action;
    };
    const Kind kinds[] = {
        {"vertex dragged",
         [&](int i) {
             const Vertex* v = VertexForNum(numvertices / 2);
             const int x = static_cast<int>(v->x), y = static_cast<int>(v->y);
             Script("drag " + std::to_string(x) + " " + std::to_string(y) + "  " +
                    std::to_string(x + (i % 2 ? -1 : 1)) + " " + std::to_string(y));
         }},
        {"thing placed", [&](int i) { Script("thing 1 " + std::to_string(right + 32 * i) + " -2000"); }},
        {"room drawn",
         [&](int i) {
             const int x = right + 160 * i, y = 2000;
             Script("sector " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x) + " " +
                    std::to_string(y + 128) + " " + std::to_string(x + 128) + " " + std::to_string(y + 128) + " " +
                    std::to_string(x + 128) + " " + std::to_string(y));
         }},
        {"sector deleted",
         [&](int) {
             selection = {kObjectSector, SectorForNum(numsectors / 3)};
             RunCommand(IDM_DELETE_SELECTION);
         }},
        {"no change (axes)", [&](int) { RunCommand(IDM_AXES); }},
    };
    std::printf("%-18s %12s %12s %12s %12s\n", "action", "step ms", "step bytes", "undo ms", "redo ms");
    for (const Kind& kind : kinds) {
        double actionMs = 0, undoMs = 0, redoMs = 0;
        const std::size_t before = MapHistorySize().bytes;
        for (int i = 0; i < steps; ++i) actionMs += Milliseconds([&] { kind.action(i); });
        const std::size_t after = MapHistorySize().bytes;
        for (int i = 0; i < steps; ++i) undoMs += Milliseconds([] { UndoMapChange(); });
        for (int i = 0; i < steps; ++i) redoMs += Milliseconds([] { RedoMapChange(); });
        std::printf("%-18s %12.2f %12.0f %12.2f %12.2f\n", kind.name, actionMs / steps,
                    static_cast<double>(after - before) / steps, undoMs / steps, redoMs / steps);
    }
    const MapHistoryUsage usage = MapHistorySize();
    std::printf("history: %zu steps back, %zu forward, %.2f MB in all (the map itself %.2f MB)\n", usage.undoSteps,
                usage.redoSteps, usage.bytes / 1048576.0, mapBytes / 1048576.0);
    return 0;
}
