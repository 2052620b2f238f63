// The built-map validator on a sound PWAD with one fault put in at a time.
#include "base/little_endian.h"
#include "model/map.h"
#include "nodes/build.h"
#include "nodes/pwad_check.h"
#include "platform/files.h"
#include "resources/wad_file.h"
#include "tests/test_support.h"

namespace {

class PwadCheckTest : public EditorTest {
protected:
    // Two square rooms side by side, sharing linedef 2.
    WadFile BuildTwoRooms() {
        RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
        pwadPath = "two.wad";
        EXPECT_TRUE(BuildMap({}));
        WadFile wad;
        std::string error;
        EXPECT_TRUE(ReadWad("two.wad", wad, error)) << error;
        return wad;
    }
};

// The 16-bit field at byte at of the lump overwritten with value.
WadFile WithField(WadFile wad, const char* lump, std::size_t at, uint16_t value) {
    const WadLump& l = wad.lumps[FindLump(wad, lump)];
    std::string field;
    PutU16(field, value);
    wad.bytes.replace(l.offset + at, 2, field);
    return wad;
}

TEST_F(PwadCheckTest, EachFaultIsNamed) {
    const WadFile sound = BuildTwoRooms();
    ASSERT_EQ(CheckBuiltMap(sound, "MAP01", true), std::vector<std::string>{});

    const struct {
        const char* what;
        const char* lump;
        std::size_t at;
        uint16_t value;
        std::vector<std::string> problems;
    } cases[] = {
        {"linedef 1 from vertex 99", "LINEDEFS", 14 * 1, 99, {"linedef vertex: linedef 1"}},
        {"linedef 0 right side 99", "LINEDEFS", 10, 99, {"linedef sidedef: linedef 0 right side 99"}},
        {"shared linedef without its two-sided flag", "LINEDEFS", 14 * 2 + 4, 0, {"two-sided flag: linedef 2"}},
        {"sidedef 3 in sector 5", "SIDEDEFS", 30 * 3 + 28, 5, {"sidedef sector: sidedef 3"}},
        {"seg 0 on side 2", "SEGS", 8, 2, {"seg reference: seg 0"}},
        {"seg 0 from vertex 99", "SEGS", 0, 99, {"seg reference: seg 0"}},
        {"seg 0 offset 40", "SEGS", 10, 40, {"seg offset: seg 0 offset 40, about 0 expected"}},
        // Seg 0 runs north; turned, its own end lies behind it.
        {"seg 0 angle turned", "SEGS", 4, 0x1000,
         {"seg angle: seg 0 angle 4096, about 16384 expected", "subsector not convex: subsector 0, seg 0 behind seg 0"}},
        // At most three problems of a kind are listed.
        {"subsector 0 of no segs", "SSECTORS", 0, 0,
         {"subsector segs: subsector 0", "subsector segs: seg 0 in no subsector", "subsector segs: seg 1 in no subsector",
          "subsector segs: ..."}},
        {"node 0 right child a missing subsector", "NODES", 24, 0x8000 | 77,
         {"node child: subsector 77 out of range or reached twice", "node child: subsector 0 not in the tree"}},
        {"node 0 right box top below its segs", "NODES", 8, 0xFF00, {"node box: node 0 right box does not hold its segs"}},
        {"blockmap of no columns", "BLOCKMAP", 4, 0,
         {"blockmap: linedef 0 outside the grid", "blockmap: linedef 0 outside the grid", "blockmap: linedef 1 outside the grid",
          "blockmap: ..."}},
        {"block 0 list pointing at the header", "BLOCKMAP", 2 * 4, 0,
         {"blockmap: block 0 list does not start with 0", "blockmap: linedef 0 missing from block 0,0",
          "blockmap: linedef 3 missing from block 0,0"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckBuiltMap(WithField(sound, c.lump, c.at, c.value), "MAP01", true), c.problems) << c.what;
    }
}

TEST_F(PwadCheckTest, DirectoryFaultsAreNamed) {
    const WadFile sound = BuildTwoRooms();
    const struct {
        const char* what;
        void (*damage)(WadFile&);
        bool ownLayout;
        std::vector<std::string> problems;
    } cases[] = {
        {"a lump renamed", [](WadFile& w) { w.lumps[3].name = "SIDEDEFX"; }, false, {"lump order: SIDEDEFS is not lump 3 after MAP01"}},
        {"SEGS a byte short", [](WadFile& w) { --w.lumps[5].size; }, false,
         {"lump size: SEGS size " + std::to_string(sound.lumps[5].size - 1)}},
        {"an IWAD", [](WadFile& w) { w.kind = "IWAD"; }, true, {"layout: not a PWAD of 11 lumps"}},
        {"an IWAD, layout not checked", [](WadFile& w) { w.kind = "IWAD"; }, false, {}},
        {"a gap before BLOCKMAP", [](WadFile& w) { ++w.lumps[10].offset; }, true,
         {"layout: BLOCKMAP not right after the lump before it", "layout: directory not right after the lumps"}},
        {"no REJECT", [](WadFile& w) { w.lumps[9].size = 0; }, false, {"reject: too small"}},
    };
    for (const auto& c : cases) {
        WadFile damaged = sound;
        c.damage(damaged);
        EXPECT_EQ(CheckBuiltMap(damaged, "MAP01", c.ownLayout), c.problems) << c.what;
    }
    EXPECT_EQ(CheckBuiltMap(sound, "MAP02", false), std::vector<std::string>{"no lump MAP02"});
}

}  // namespace
