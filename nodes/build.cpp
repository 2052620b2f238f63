// The build driver: checks what the PWAD can hold, builds the tree on the
// coordinates the PWAD will hold, writes the PWAD and runs the PVS pass.
#include "nodes/build.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "base/report.h"
#include "model/map.h"
#include "nodes/bsp.h"
#include "nodes/bsp_output.h"
#include "nodes/pvs.h"
#include "nodes/pwad_writer.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"

BuildStats lastBuild = {};

namespace {

bool FitsPwad(float v) { return v > -32769.0f && v < 32768.0f; }

// Refuses, before the slow work, a map whose coordinates or counts no PWAD
// can hold: every vertex a linedef uses and every thing within 16 bits, at
// most 65536 distinct vertex positions and at most 65536 linedef sides (each
// is at least one seg).
void CheckPwadLimits() {
    std::vector<const Vertex*> used;
    for (const Linedef* l = linedefs; l; l = l->next) {
        used.push_back(l->startVertex);
        used.push_back(l->endVertex);
    }
    std::unordered_set<const Vertex*> checked;
    std::unordered_set<uint32_t> positions;
    for (const Vertex* v : used) {
        if (!checked.insert(v).second) continue;
        if (!FitsPwad(v->x) || !FitsPwad(v->y)) {
            const float bad = FitsPwad(v->x) ? v->y : v->x;
            FailBuild("BuildMap: Vertex %d の座標 %.1f が -32768 から 32767 の範囲にありません", VertexNumForPtr(v),
                      static_cast<double>(bad));
        }
        positions.insert((static_cast<uint32_t>(static_cast<uint16_t>(TruncateToInt16(v->x))) << 16) |
                         static_cast<uint16_t>(TruncateToInt16(v->y)));
    }
    if (positions.size() > 0x10000) FailBuild("FindOrAddVertex: VERTEXES が %d 個より多くなります", 0x10000);
    int32_t number = 0;
    int64_t sides = 0;
    for (const Linedef* l = linedefs; l; l = l->next) sides += l->left.sector ? 2 : 1;
    if (sides > 0x10000) FailBuild("EmitBsp: SEGS が %d 個より多くなります", 0x10000);
    for (const Thing* t = things; t; t = t->next, ++number) {
        if (!FitsPwad(t->x) || !FitsPwad(t->y)) {
            FailBuild("BuildMap: Thing %d の座標 %.1f が -32768 から 32767 の範囲にありません", number,
                      static_cast<double>(FitsPwad(t->x) ? t->y : t->x));
        }
    }
}

// While it lives, every vertex stands at the whole coordinates the PWAD
// will hold (toward zero, as VERTEXES are written), so that the tree is cut
// for the map the game gets; a map of whole coordinates is not touched.
class PwadCoordinates {
public:
    PwadCoordinates() {
        // Refused before anything moves: a constructor that throws runs no destructor.
        int32_t number = 0;
        for (const Linedef* l = linedefs; l; l = l->next, ++number) {
            if (Whole(l->startVertex->x) == Whole(l->endVertex->x) &&
                Whole(l->startVertex->y) == Whole(l->endVertex->y)) {
                FailBuild("BuildMap: Linedef %d の長さが PWAD の整数の座標では 0 になります", number);
            }
        }
        for (Vertex* v = vertices; v; v = v->next) {
            if (!FitsPwad(v->x) || !FitsPwad(v->y)) continue;  // used by no linedef (checked before)
            if (Whole(v->x) == v->x && Whole(v->y) == v->y) continue;
            moved.push_back({v, {v->x, v->y}});
            v->x = Whole(v->x);
            v->y = Whole(v->y);
        }
    }
    ~PwadCoordinates() {
        for (auto& [v, original] : moved) {
            v->x = original.first;
            v->y = original.second;
        }
    }
    PwadCoordinates(const PwadCoordinates&) = delete;
    PwadCoordinates& operator=(const PwadCoordinates&) = delete;

private:
    static float Whole(float v) { return TruncateToInt16(v); }

    std::vector<std::pair<Vertex*, std::pair<float, float>>> moved;
};

}  // namespace

bool BuildMap(const BuildOptions& options) {
    if (numlinedefs > 0 && SameFile(pwadPath, mapFilePath)) {
        ShowWarning("BuildMap: PWAD の書き込み先 %s がマップファイルそのものなのでビルドできません", pwadPath.c_str());
        return false;
    }
    std::string wad;
    BuildStats written = {};
    if (!BuildPwad(options, wad, written)) return false;
    if (!WriteWholeFile(pwadPath, wad, false)) {
        ShowWarning("BuildMap: %s に書き込めません", pwadPath.c_str());
        return false;
    }
    lastBuild = written;
    return true;
}

bool BuildPwad(const BuildOptions& options, std::string& wad, BuildStats& written) {
    if (numlinedefs == 0) {
        ShowWarning("BuildMap: LINEDEF が一つもないのでビルドできません");
        return false;
    }
    written = {};
    bspCancelRequested = options.cancelRequested;
    try {
        CheckPwadLimits();
        const PwadCoordinates wholeCoordinates;
        PrepareSectorLookup();
        auto segs = MakeSegs();
        cuts = 0;
        auto root = BuildBspTree(std::move(segs));
        if (root->segs) {
            ShowWarning(
                "マップには凸形状のセクターが一つあるだけなので、ゲームプログラムの方で正しく扱えない可能性があります");
        }
        LogDebug("cuts = %d\n", cuts);
        wad = WritePwad(*root, written);
        // The REJECT lump stays all zero: the PVS is only for the view.
        if (options.computePvs)
            BuildPVS();
        else
            subsectorPolygons.clear();
        portalLists.clear();
        ReleaseSectorLookup();
    } catch (const BuildFailure& failure) {
        bspCancelRequested = nullptr;
        ReleaseSectorLookup();
        ClearBuildTables();
        ShowWarning("%s\nビルドを中止しました", failure.message.c_str());
        return false;
    }
    bspCancelRequested = nullptr;
    if (options.cancelRequested && options.cancelRequested()) {
        ShowWarning("BuildMap: 中止しました\nビルドを中止しました");
        return false;
    }
    written.cuts = cuts;
    return true;
}
