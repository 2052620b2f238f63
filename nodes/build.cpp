// The build driver.
#include "nodes/build.h"

#include "base/report.h"
#include "model/map.h"
#include "nodes/bsp.h"
#include "nodes/bsp_output.h"
#include "nodes/pvs.h"
#include "nodes/pwad_writer.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"

BuildStats lastBuild = {};

bool BuildMap(const BuildOptions& options) {
    if (numlinedefs == 0) {
        ShowWarning("BuildMap: LINEDEF が一つもないのでビルドできません");
        return false;
    }
    std::string wad;
    BuildStats written = {};
    try {
        PrepareSectorLookup();
        auto segs = MakeSegs();
        cuts = 0;
        auto root = BuildBspTree(std::move(segs));
        if (root->segs) {
            ShowWarning("マップには凸形状のセクターが一つあるだけなので、ゲームプログラムの方で正しく扱えない可能性があります");
        }
        LogDebug("cuts = %d\n", cuts);
        wad = WritePwad(*root, written);
        // The REJECT lump stays all zero: the PVS is only for the view.
        if (options.computePvs) BuildPVS();
        else subsectorPolygons.clear();
        portalLists.clear();
        ReleaseSectorLookup();
    } catch (const BuildFailure& failure) {
        ReleaseSectorLookup();
        ClearBuildTables();
        ShowWarning("%s\nビルドを中止しました", failure.message.c_str());
        return false;
    }
    if (!WriteWholeFile(pwadPath, wad, false)) {
        ShowWarning("BuildMap: %s に書き込めません", pwadPath.c_str());
        return false;
    }
    written.cuts = cuts;
    lastBuild = written;
    return true;
}
