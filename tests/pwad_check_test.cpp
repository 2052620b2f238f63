// The built-map validator on a sound PWAD with one fault put in at a time.
#include "nodes/pwad_check.h"

#include <algorithm>

#include "base/little_endian.h"
#include "model/map.h"
#include "nodes/build.h"
#include "platform/files.h"
#include "resources/map_lumps.h"
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
        {"seg 0 angle turned",
         "SEGS",
         4,
         0x1000,
         {"seg angle: seg 0 angle 4096, about 16384 expected",
          "subsector not convex: subsector 0, seg 0 behind seg 0"}},
        // At most three problems of a kind are listed.
        {"subsector 0 of no segs",
         "SSECTORS",
         0,
         0,
         {"subsector segs: subsector 0", "subsector segs: seg 0 in no subsector",
          "subsector segs: seg 1 in no subsector", "subsector segs: ..."}},
        {"node 0 right child a missing subsector",
         "NODES",
         24,
         0x8000 | 77,
         {"node child: subsector 77 out of range or reached twice", "node child: subsector 0 not in the tree"}},
        {"node 0 right box top below its segs",
         "NODES",
         8,
         0xFF00,
         {"node box: node 0 right box does not hold its segs"}},
        {"blockmap of no columns",
         "BLOCKMAP",
         4,
         0,
         {"blockmap: linedef 0 outside the grid", "blockmap: linedef 0 outside the grid",
          "blockmap: linedef 1 outside the grid", "blockmap: ..."}},
        {"block 0 list pointing at the header",
         "BLOCKMAP",
         2 * 4,
         0,
         {"blockmap: block 0 list does not start with 0", "blockmap: linedef 0 missing from block 0,0",
          "blockmap: linedef 3 missing from block 0,0"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckBuiltMap(WithField(sound, c.lump, c.at, c.value), "MAP01", true), c.problems) << c.what;
    }
}

// The blockmap rebuilt without the linedef in any block's list.
WadFile WithoutInBlockmap(WadFile wad, uint16_t linedef) {
    WadLump& l = wad.lumps[FindLump(wad, "BLOCKMAP")];
    const std::string old = LumpBytes(wad, FindLump(wad, "BLOCKMAP"));
    const std::size_t blocks = static_cast<std::size_t>(ReadU16(old, 4)) * ReadU16(old, 6);
    std::string lists, header = old.substr(0, 8);
    for (std::size_t b = 0; b < blocks; ++b) {
        PutU16(header, static_cast<uint32_t>(4 + blocks + lists.size() / 2));
        for (std::size_t w = ReadU16(old, 2 * (4 + b));; ++w) {
            const uint16_t word = ReadU16(old, 2 * w);
            if (word != linedef || w == ReadU16(old, 2 * (4 + b))) PutU16(lists, word);
            if (word == 0xFFFF) break;
        }
    }
    wad.bytes.replace(l.offset, l.size, header + lists);
    l.size = static_cast<uint32_t>(header.size() + lists.size());
    return wad;
}

TEST_F(PwadCheckTest, DeviationsTheEnginesAcceptAreKeptApartFromFaults) {
    const WadFile sound = BuildTwoRooms();
    const WadFile blockingShared = WithField(sound, "LINEDEFS", 14 * 2 + 4, 0x0004 | 0x0001);
    const struct {
        const char* what;
        WadFile wad;
        std::vector<std::string> faults, deviations;
    } cases[] = {
        {"seg 0 angle 3 degrees off",
         WithField(sound, "SEGS", 4, 0x4000 + 0x220),
         {},
         {"seg angle: seg 0 angle 16928, about 16384 expected"}},
        {"seg 0 angle turned 67 degrees",
         WithField(sound, "SEGS", 4, 0x1000),
         {"seg angle: seg 0 angle 4096, about 16384 expected", "subsector not convex: subsector 0, seg 0 behind seg 0"},
         {}},
        {"seg 0 offset 40", WithField(sound, "SEGS", 10, 40), {}, {"seg offset: seg 0 offset 40, about 0 expected"}},
        {"a two-sided line that blocks nothing, out of the blockmap",
         WithoutInBlockmap(sound, 2),
         {},
         {"blockmap: linedef 2 missing from block 1,0", "blockmap: linedef 2 missing from block 1,1"}},
        {"the same line impassable, out of the blockmap",
         WithoutInBlockmap(blockingShared, 2),
         {"blockmap: linedef 2 missing from block 1,0", "blockmap: linedef 2 missing from block 1,1"},
         {}},
        {"a wall out of the blockmap",
         WithoutInBlockmap(sound, 0),
         {"blockmap: linedef 0 missing from block 0,0", "blockmap: linedef 0 missing from block 0,1"},
         {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> deviations;
        EXPECT_EQ(CheckBuiltMap(c.wad, "MAP01", false, &deviations), c.faults) << c.what;
        EXPECT_EQ(deviations, c.deviations) << c.what;
        // Held to the exact structure, as this editor's own builds are, both are problems.
        std::vector<std::string> all = c.faults;
        all.insert(all.end(), c.deviations.begin(), c.deviations.end());
        std::sort(all.begin(), all.end());
        std::vector<std::string> strict = CheckBuiltMap(c.wad, "MAP01", false);
        std::sort(strict.begin(), strict.end());
        EXPECT_EQ(strict, all) << c.what;
    }
}

TEST_F(PwadCheckTest, ANodeChainAsDeepAsNodesGoIsWalked) {
    // 32767 nodes, each the right child of the next and with subsector 0 on
    // its left: a tree as deep as a NODES lump can make it.
    WadFile wad = BuildTwoRooms();
    WadLump& l = wad.lumps[FindLump(wad, "NODES")];
    NodeRecord node{0, 0, 16, 0, {128, 0, 0, 128}, {128, 0, 0, 128}, 0, 0x8000};
    std::string chain;
    for (uint16_t n = 0; n < 0x7FFF; ++n) {
        node.right = n == 0 ? 0x8001 : static_cast<uint16_t>(n - 1);
        AppendNodeRecord(chain, node);
    }
    wad.bytes.replace(l.offset, l.size, chain);
    const uint32_t grown = static_cast<uint32_t>(chain.size()) - l.size;
    l.size = static_cast<uint32_t>(chain.size());
    for (WadLump& later : wad.lumps) {
        if (later.offset > wad.lumps[FindLump(wad, "NODES")].offset) later.offset += grown;
    }
    const auto problems = CheckBuiltMap(wad, "MAP01", false);
    EXPECT_NE(std::find(problems.begin(), problems.end(), "node child: subsector 0 out of range or reached twice"),
              problems.end());
}

TEST_F(PwadCheckTest, DirectoryFaultsAreNamed) {
    const WadFile sound = BuildTwoRooms();
    const struct {
        const char* what;
        void (*damage)(WadFile&);
        bool ownLayout;
        std::vector<std::string> problems;
    } cases[] = {
        {"a lump renamed",
         [](WadFile& w) { w.lumps[3].name = "SIDEDEFX"; },
         false,
         {"lump order: SIDEDEFS is not lump 3 after MAP01"}},
        {"SEGS a byte short",
         [](WadFile& w) { --w.lumps[5].size; },
         false,
         {"lump size: SEGS size " + std::to_string(sound.lumps[5].size - 1)}},
        {"an IWAD", [](WadFile& w) { w.kind = "IWAD"; }, true, {"layout: not a PWAD of 11 lumps"}},
        {"an IWAD, layout not checked", [](WadFile& w) { w.kind = "IWAD"; }, false, {}},
        {"a gap before BLOCKMAP",
         [](WadFile& w) { ++w.lumps[10].offset; },
         true,
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
