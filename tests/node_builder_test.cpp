// The node builder's tests, sides, splits and costs, and the built PWAD.
#include <cmath>
#include <cstring>

#include "base/report.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_import.h"
#include "nodes/bsp.h"
#include "nodes/bsp_output.h"
#include "nodes/build.h"
#include "nodes/pwad_check.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"
#include "resources/wad_file.h"
#include "tests/test_support.h"

namespace {

class NodeBuilderTest : public EditorTest {
protected:
    // Builds the current map to "out.wad" and reads it back.
    WadFile Build() {
        pwadPath = "out.wad";
        EXPECT_TRUE(BuildMap({}));
        WadFile wad;
        std::string error;
        EXPECT_TRUE(ReadWad("out.wad", wad, error)) << error;
        return wad;
    }
    static std::string Lump(const WadFile& wad, const char* name) { return LumpBytes(wad, FindLump(wad, name)); }
    static Seg MakeSeg(float x1, float y1, float x2, float y2, int32_t linedef = 0, int32_t side = 0) {
        return {x1, y1, x2, y2, linedef, side, 0.0f, 0};
    }
    void ExpectSound(const WadFile& wad) {
        const auto problems = CheckBuiltMap(wad, wad.lumps[0].name, true);
        EXPECT_TRUE(problems.empty()) << problems.front();
    }
};

TEST_F(NodeBuilderTest, PointAndSegSidesUseTheTenthTolerance) {
    const Divline east = {0, 0, 10, 0};
    const struct {
        float x, y;
        int side;
    } points[] = {{5, -0.11f, 0}, {5, 0.11f, 1}, {5, -0.1f, -1}, {5, 0.1f, -1}, {50, 0, -1}, {-7, -3, 0}};
    for (const auto& p : points) EXPECT_EQ(PointSide(east, p.x, p.y), p.side) << p.x << "," << p.y;

    const struct {
        const char* what;
        Seg seg;
        int side;
    } segs[] = {
        {"along, same way", MakeSeg(20, 0, 30, 0), 0},
        {"along, other way", MakeSeg(30, 0, 20, 0), 1},
        {"touching with its start", MakeSeg(5, 0, 5, 8), 1},
        {"touching with its end", MakeSeg(5, -8, 5, 0), 0},
        // On the line, so sorted by the signs of its extents: y differs.
        {"both ends within 0.1 on either side", MakeSeg(5, -0.09f, 9, 0.09f), 1},
        {"both ends within 0.1, level", MakeSeg(5, 0.09f, 9, 0.09f), 0},
        {"crossing", MakeSeg(5, -1, 6, 1), -2},
    };
    for (const auto& s : segs) EXPECT_EQ(SegSide(s.seg, east), s.side) << s.what;
}

TEST_F(NodeBuilderTest, SplittingKeepsTheFrontPieceInPlace) {
    cuts = 0;
    const Divline vertical = {5, 0, 0, 10};  // front is +x (right of going up)
    Seg seg = MakeSeg(0, 2, 10, 2, 3, 0);
    seg.offset = 4;
    Seg back = SplitSeg(seg, vertical);
    EXPECT_EQ(cuts, 1);
    // The start (0,2) lies behind: the seg in place becomes I -> end.
    EXPECT_FLOAT_EQ(seg.x1, 5);
    EXPECT_FLOAT_EQ(seg.x2, 10);
    EXPECT_FLOAT_EQ(seg.offset, 9);
    EXPECT_FLOAT_EQ(back.x1, 0);
    EXPECT_FLOAT_EQ(back.x2, 5);
    EXPECT_FLOAT_EQ(back.offset, 4);

    Seg other = MakeSeg(10, 4, 0, 4);
    Seg otherBack = SplitSeg(other, vertical);
    EXPECT_FLOAT_EQ(other.x1, 10);  // start in front: start -> I
    EXPECT_FLOAT_EQ(other.x2, 5);
    EXPECT_FLOAT_EQ(otherBack.x1, 5);
    EXPECT_FLOAT_EQ(otherBack.offset, 5);

    SetDebugLogEnabled(true);
    InterceptVector({0, 0, 1, 0}, {5, -5, 0, 10});  // meets at t = 5: outside the seg
    EXPECT_EQ(ReadFileBytes("debug.txt"), "InterceptVector: intersection outside line\n");
    try {
        InterceptVector({0, 0, 1, 0}, {0, 5, 3, 0});
        ADD_FAILURE() << "parallel lines were intersected";
    } catch (const BuildFailure& failure) {
        EXPECT_EQ(failure.message, "InterceptVector: parallel");
    }
}

TEST_F(NodeBuilderTest, CostIsBalancePlusEightPerSplit) {
    // Four parallel walls and one across them all.
    SegList segs = {MakeSeg(0, 0, 0, 10), MakeSeg(5, 0, 5, 10), MakeSeg(10, 0, 10, 10), MakeSeg(15, 0, 15, 10),
                    MakeSeg(-5, 5, 20, 5)};
    // Candidate 1 (x = 5, going up, front is +x): itself and 2 walls in
    // front, 1 behind, the long seg split: front 4, back 2.
    EXPECT_EQ(EvaluatePartition(segs, 1, 2147483647), 4 + 8 * 1);
    // Candidate 4 splits all four walls: front 5, back 4.
    EXPECT_EQ(EvaluatePartition(segs, 4, 2147483647), 5 + 8 * 4);
    // A running cost above the best stops the walk with that cost: after
    // the fourth seg, front 3 and back 1 of the total 5.
    EXPECT_EQ(EvaluatePartition(segs, 1, -10), 3 + 8 * (4 - 5));
    // Everything on one side is no partition at all.
    SegList room = {MakeSeg(0, 0, 0, 10), MakeSeg(0, 10, 10, 10), MakeSeg(10, 10, 10, 0)};
    EXPECT_EQ(EvaluatePartition(room, 0, 2147483647), 2147483647);
}

TEST_F(NodeBuilderTest, ConvexRoomIsOneSubsectorWithAWarning) {
    SetDebugLogEnabled(true);
    RunScript("sector 0 0  0 128  256 128  256 0");
    const WadFile wad = Build();
    EXPECT_EQ(
        Messages(),
        std::vector<std::string>{
            "マップには凸形状のセクターが一つあるだけなので、ゲームプログラムの方で正しく扱えない可能性があります"});
    EXPECT_EQ(Lump(wad, "NODES").size(), 0u);
    EXPECT_EQ(Lump(wad, "SSECTORS"), std::string("\x04\0\0\0", 4));
    EXPECT_EQ(ReadFileBytes("debug.txt"), "cuts = 0\n");
    ASSERT_EQ(subsectorPolygons.size(), 0u);  // emptied again: no PVS pass
    EXPECT_EQ(invisibleLines.size(), 0u);
    // Blockmap: box 0..256 by 0..128.
    const std::string blockmap = Lump(wad, "BLOCKMAP");
    EXPECT_EQ(ReadI16(blockmap, 0), -8);
    EXPECT_EQ(ReadI16(blockmap, 2), -8);
    EXPECT_EQ(ReadU16(blockmap, 4), 3);
    EXPECT_EQ(ReadU16(blockmap, 6), 2);
    EXPECT_EQ(ReadU16(blockmap, 8), 10);  // first list right after 4 + 6 words
    ExpectSound(wad);
}

TEST_F(NodeBuilderTest, PwadLayoutAndRecords) {
    RunScript("slot 12\nsector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0\nthing 9 64 64");
    Linedef* shared = linedefs->next->next;
    shared->flags = 0;  // the two-sided bit comes from the left sector, not the flags
    const WadFile wad = Build();
    EXPECT_TRUE(Messages().empty());
    const char* const names[] = {"MAP12",    "THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",
                                 "SSECTORS", "NODES",  "SECTORS",  "REJECT",   "BLOCKMAP"};
    ASSERT_EQ(wad.lumps.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(wad.lumps[i].name, names[i]);
    EXPECT_EQ(wad.lumps[0].offset, 12u);
    EXPECT_EQ(Lump(wad, "REJECT"), std::string(1, '\0'));  // 2 sectors: (4 + 7) / 8 bytes
    EXPECT_GE(Lump(wad, "NODES").size(), 28u);
    const std::string lines = Lump(wad, "LINEDEFS");
    EXPECT_EQ(ReadU16(lines, 2 * 14 + 4) & 4, 4);
    EXPECT_EQ(ReadU16(lines, 14 + 12), 0xFFFF);  // one-sided
    // The first square's four walls are alike except for where they stand:
    // one SIDEDEFS record, and one for the second square, and the shared wall's two sides.
    EXPECT_EQ(Lump(wad, "SIDEDEFS").size(), 30u * 4);
    const std::string thingsLump = Lump(wad, "THINGS");
    EXPECT_EQ(ReadI16(thingsLump, 6), 3001);
    EXPECT_EQ(ReadI16(thingsLump, 8), 7);
    ExpectSound(wad);
}

TEST_F(NodeBuilderTest, SegAnglesOffsetsAndSharedVertices) {
    // A triangle room with walls running down, west and up-right at 45 degrees.
    RunScript("sector 0 0  128 128  128 0");
    auto* extra = new Vertex{};
    extra->x = 10.7f;
    extra->y = 5.0f;
    AppendVertex(extra);  // not on a linedef: not written
    const WadFile wad = Build();
    const std::string segs = Lump(wad, "SEGS");
    ASSERT_EQ(segs.size(), 36u);
    EXPECT_EQ(ReadU16(segs, 4), 8192);        // (0,0) -> (128,128)
    EXPECT_EQ(ReadU16(segs, 12 + 4), 49152);  // (128,128) -> (128,0)
    EXPECT_EQ(ReadU16(segs, 24 + 4), 32768);  // (128,0) -> (0,0)
    EXPECT_EQ(Lump(wad, "VERTEXES").size(), 12u);

    // Positions that truncate alike share one record.
    ClearMap();
    RunScript("sector 0 0  0 64  64 64  64 0");
    vertices->x = 0.7f;
    const WadFile moved = Build();
    EXPECT_EQ(Lump(moved, "VERTEXES").size(), 16u);
    EXPECT_EQ(ReadI16(Lump(moved, "VERTEXES"), 0), 0);
}

TEST_F(NodeBuilderTest, InvisibleLinesArePortalsButNotSegs) {
    RunScript("sector -256 -256  -256 256  256 256  256 -256\nsector -32 -32  32 -32  32 32  -32 32");
    const WadFile wad = Build();
    const std::string ssectors = Lump(wad, "SSECTORS");
    const auto numSubsectors = ssectors.size() / 4;
    ASSERT_GT(numSubsectors, 1u);
    std::size_t written = 0;
    for (std::size_t i = 0; i < numSubsectors; ++i) written += ReadU16(ssectors, 4 * i);
    EXPECT_EQ(written, Lump(wad, "SEGS").size() / 12);  // invisible segs are not written
    EXPECT_EQ(written, 8u + static_cast<std::size_t>(lastBuild.cuts));
    ASSERT_FALSE(invisibleLines.empty());
    EXPECT_EQ(invisibleLines.size() % 2, 0u);  // each seen from both sides
    ExpectSound(wad);
}

TEST_F(NodeBuilderTest, MapsThatCannotBeBuiltAreRefusedAndTheOldPwadStays) {
    WriteFileBytes("out.wad", "an earlier build");
    pwadPath = "out.wad";
    EXPECT_FALSE(BuildMap({}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"BuildMap: LINEDEF が一つもないのでビルドできません"});

    RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
    const std::string saved = EncodeMapFile();
    vertices->next->x = 40000;  // beyond the PWAD's 16 bits
    EXPECT_FALSE(BuildMap({}));
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("-32768 から 32767 の範囲にありません"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("ビルドを中止しました"), std::string::npos);
    EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build");

    vertices->next->x = 0;
    linedefs->right.sector = nullptr;  // a broken reference
    EXPECT_FALSE(BuildMap({}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"SectorNumForPtr: pointer not found\nビルドを中止しました"});
    EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build");
}

// Maps drawn with the editing operations, built with the index look-ups and
// with the plain walks: the same bytes, and sound.
TEST_F(NodeBuilderTest, DrawnMapsBuildSoundAndAsThePlainAlgorithm) {
    std::string rooms;
    for (int row = 0; row < 12; ++row) {
        for (int column = 0; column < 12; ++column) {
            const int x = column * 160, y = row * 160, w = 96 + 8 * ((row * 7 + column * 3) % 5);
            rooms += "sector " + std::to_string(x) + " " + std::to_string(y) + "  " + std::to_string(x) + " " +
                     std::to_string(y + w) + "  " + std::to_string(x + w) + " " + std::to_string(y + w) + "  " +
                     std::to_string(x + w) + " " + std::to_string(y) + "\n";
            if ((row + column) % 3 == 0) {  // a pillar
                rooms += "sector " + std::to_string(x + 32) + " " + std::to_string(y + 32) + "  " +
                         std::to_string(x + 48) + " " + std::to_string(y + 32) + "  " + std::to_string(x + 48) + " " +
                         std::to_string(y + 48) + "  " + std::to_string(x + 32) + " " + std::to_string(y + 48) + "\n";
            }
            if (column > 0 && row % 2 == 0) {  // a corridor to the room on the left
                rooms += "sector " + std::to_string(x - 64) + " " + std::to_string(y + 32) + "  " +
                         std::to_string(x - 64) + " " + std::to_string(y + 64) + "  " + std::to_string(x) + " " +
                         std::to_string(y + 64) + "  " + std::to_string(x) + " " + std::to_string(y + 32) + "\n";
            }
        }
    }
    const std::string scripts[] = {
        "sector 0 0  0 512  512 512  512 0\nsector 128 128  128 384  384 384  384 128\n"
        "sector 200 200  300 200  300 300  200 300\nsector 600 0  600 512  700 512  700 0",
        rooms,
    };
    for (const std::string& script : scripts) {
        ClearMap();
        RunScript(script);
        Messages();
        useReferenceLookups = false;
        const WadFile fast = Build();
        useReferenceLookups = true;
        const WadFile plain = Build();
        useReferenceLookups = false;
        EXPECT_EQ(fast.bytes, plain.bytes);
        ExpectSound(fast);
    }
}

// Real levels: Freedoom's maps imported, built with the index look-ups and
// the block evaluation and with the plain walks, give the same bytes.
TEST_F(NodeBuilderTest, FreedoomMapsBuildSoundAndAsThePlainAlgorithm) {
    WadFile iwad;
    std::string error;
    if (!ReadWad("/usr/share/games/doom/freedoom2.wad", iwad, error)) GTEST_SKIP() << "freedoom2.wad is not installed";
    for (const char* marker : {"MAP01", "MAP07", "MAP30", "MAP31", "MAP32"}) {
        ASSERT_TRUE(ImportMap(iwad, marker, error)) << error;
        Messages();
        const WadFile fast = Build();
        useReferenceLookups = true;
        const WadFile plain = Build();
        useReferenceLookups = false;
        EXPECT_EQ(fast.bytes, plain.bytes) << marker;
        ExpectSound(fast);
        Messages();
    }
}

}  // namespace
