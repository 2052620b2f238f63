// Maps a build must refuse, or build soundly, without ever crashing or
// replacing the old PWAD: the cases that once crashed the builder, wrote a
// PWAD with segs on the wrong side of their nodes, or destroyed the map file.
#include <chrono>
#include <cmath>

#include "model/map.h"
#include "model/map_file.h"
#include "nodes/bsp.h"
#include "nodes/build.h"
#include "nodes/pwad_check.h"
#include "resources/wad_file.h"
#include "tests/map_invariants.h"
#include "tests/test_support.h"

namespace {

class BuildRefusalTest : public EditorTest {};

// A polygon of one sector from its corners, as records (faster than drawing
// tens of thousands of corners). Clockwise corners face inward.
void Polygon(const std::vector<std::pair<float, float>>& corners) {
    auto* sector = new Sector(defaultSector);
    AppendSector(sector);
    std::vector<Vertex*> made;
    for (const auto& [x, y] : corners) {
        auto* v = new Vertex{};
        v->x = x;
        v->y = y;
        AppendVertex(v);
        made.push_back(v);
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        auto* l = new Linedef{};
        l->startVertex = made[i];
        l->endVertex = made[(i + 1) % made.size()];
        l->right.sector = sector;
        SetName(l->right.middle, "GRAY1");
        AppendLinedef(l);
    }
}

TEST_F(BuildRefusalTest, RefusedMapsKeepTheOldPwadAndTheMap) {
    const struct {
        const char* what;
        std::string script;   // draws the map
        void (*change)();     // then changes it beyond what drawing allows
        const char* message;  // the warning, "ビルドを中止しました" aside
    } cases[] = {
        {"a far vertex: refused before the tree recurses on it", "sector 0 0  0 128  128 128  128 0",
         [] { vertices->next->next->y = 2.4e8f; },
         "BuildMap: Vertex 2 の座標 240000000.0 が -32768 から 32767 の範囲にありません"},
        {"a far thing", "sector 0 0  0 128  128 128  128 0\nthing 9 64 64", [] { things->x = -40000.5f; },
         "BuildMap: Thing 0 の座標 -40000.5 が -32768 から 32767 の範囲にありません"},
        {"a linedef of no length in whole coordinates", "sector 0 0  0 128  128 128  128 0",
         [] { vertices->next->x = 0.25f, vertices->next->y = 0.5f; },
         "BuildMap: Linedef 0 の長さが PWAD の整数の座標では 0 になります"},
    };
    for (const auto& c : cases) {
        ResetMapState();
        WriteFileBytes("out.wad", "an earlier build");
        RunScript(c.script);
        c.change();
        Messages();
        const std::string map = EncodeMapFile();
        pwadPath = "out.wad";
        EXPECT_FALSE(BuildMap({})) << c.what;
        EXPECT_EQ(Messages(), std::vector<std::string>{std::string(c.message) + "\nビルドを中止しました"}) << c.what;
        EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build") << c.what;
        EXPECT_EQ(EncodeMapFile(), map) << c.what << ": the map changed";
    }
}

TEST_F(BuildRefusalTest, FractionalVerticesAreBuiltWhereThePwadPutsThem) {
    // Vertices inserted on a diagonal and dragged with the grid off: the
    // nodes must be cut for the whole coordinates the PWAD holds.
    RunScript(
        "grid 64\nsize 1 1\nview -512 512 0.1\n"
        "sector 352 192 485.465 -110.042 192 -448 389.340 -160 -448 160 320 290.549 -89.547 64 224 416\n"
        "press alt -192 -128\ndrag 294.111 -384 -494.559 384\nrelease alt");
    const std::string map = EncodeMapFile();
    pwadPath = "out.wad";
    ASSERT_TRUE(BuildMap({}));
    WadFile wad;
    std::string error;
    ASSERT_TRUE(ReadWad("out.wad", wad, error)) << error;
    const auto problems = CheckBuiltMap(wad, "MAP01", true);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(EncodeMapFile(), map) << "the map kept its fractions";
    EXPECT_EQ(CheckMapInvariants(), "");
}

TEST_F(BuildRefusalTest, MapsAtTheEdgesOfThePwadsRangeBuildSound) {
    // A blockmap origin 8 units below -32760 would wrap round to +32760.
    const struct {
        const char* what;
        std::vector<std::pair<float, float>> room, pillar;  // two sectors: a tree, not one leaf
    } cases[] = {
        {"far down and left",
         {{-32768, -32768}, {-32768, -32000}, {-32000, -32000}, {-32000, -32768}},
         {{-32500, -32500}, {-32500, -32400}, {-32400, -32400}, {-32400, -32500}}},
        {"far up and right",
         {{32000, 32000}, {32000, 32767}, {32767, 32767}, {32767, 32000}},
         {{32500, 32500}, {32500, 32600}, {32600, 32600}, {32600, 32500}}},
        {"a corridor as long as a linedef can be",
         {{-32768, -32768}, {-32768, -32700}, {-1, -32700}, {-1, -32768}},
         {{-100, -32750}, {-100, -32720}, {-70, -32720}, {-70, -32750}}},
    };
    for (const auto& c : cases) {
        ResetMapState();
        Polygon(c.room);
        Polygon(c.pillar);
        pwadPath = "out.wad";
        ASSERT_TRUE(BuildMap({})) << c.what << ": " << ::testing::PrintToString(Messages());
        WadFile wad;
        std::string error;
        ASSERT_TRUE(ReadWad("out.wad", wad, error)) << error;
        const auto problems = CheckBuiltMap(wad, "MAP01", true);
        EXPECT_TRUE(problems.empty()) << c.what << ": " << problems.front();
    }
}

TEST_F(BuildRefusalTest, PartitionLinesLongerThan16BitsKeepTheirDirection) {
    // Two halls 40,000 units long sharing their long wall; a partition along
    // it would wrap round to point the other way in 16 bits.
    const struct {
        const char* what;
        float length;  // an odd length shares no factor of 2 with the height
    } cases[] = {{"40000", 40000}, {"40001", 40001}, {"65535", 65535}};
    for (const auto& c : cases) {
        ResetMapState();
        const float left = -32768, right = left + c.length;
        Polygon({{left, 0}, {left, 64}, {right, 64}, {right, 0}});
        Polygon({{left, 64}, {left, 128}, {right, 128}, {right, 64}});
        pwadPath = "out.wad";
        ASSERT_TRUE(BuildMap({})) << c.what << ": " << ::testing::PrintToString(Messages());
        WadFile wad;
        std::string error;
        ASSERT_TRUE(ReadWad("out.wad", wad, error)) << error;
        // Seg offsets past 32767 only misalign textures: what the engines accept.
        std::vector<std::string> deviations;
        const auto faults = CheckBuiltMap(wad, "MAP01", true, &deviations);
        EXPECT_TRUE(faults.empty()) << c.what << ": " << faults.front();
    }
}

TEST_F(BuildRefusalTest, TheMapFileIsNeverItsOwnPwad) {
    RunScript("sector 0 0  0 128  128 128  128 0\nsave level.wad");
    const std::string saved = ReadFileBytes("level.wad");
    ASSERT_EQ(pwadPath, "level.wad");
    EXPECT_FALSE(BuildMap({}));
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "BuildMap: PWAD の書き込み先 level.wad がマップファイルそのものなのでビルドできません"});
    EXPECT_EQ(ReadFileBytes("level.wad"), saved);
    pwadPath = "./level.wad";  // another spelling of the same file
    EXPECT_FALSE(BuildMap({}));
    EXPECT_EQ(ReadFileBytes("level.wad"), saved);
}

TEST_F(BuildRefusalTest, ACancelStopsTheBuildAndKeepsTheOldPwad) {
    RunScript("sector 0 0  0 256  256 256  256 0\nsector 64 64  192 64  192 192  64 192");
    WriteFileBytes("out.wad", "an earlier build");
    pwadPath = "out.wad";
    int asked = 0;
    BuildOptions options;
    options.cancelRequested = [&asked] { return ++asked == 2; };
    EXPECT_FALSE(BuildMap(options));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"BuildBspTree: 中止しました\nビルドを中止しました"});
    EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build");
    // Asked once more before the PWAD is replaced.
    asked = 0;
    options.cancelRequested = [&asked] { return ++asked > 3; };
    EXPECT_FALSE(BuildMap(options));
    EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build");
    Messages();
    options.cancelRequested = [] { return false; };
    EXPECT_TRUE(BuildMap(options));
}

TEST_F(BuildRefusalTest, TooManyVerticesAreRefusedBeforeTheTreeIsBuilt) {
    // A square of 70,000 corners one unit apart: more VERTEXES than 16 bits.
    std::vector<std::pair<float, float>> corners;
    const int side = 17500;
    for (int i = 0; i < side; ++i) corners.push_back({0.0f, static_cast<float>(i)});
    for (int i = 0; i < side; ++i) corners.push_back({static_cast<float>(i), static_cast<float>(side)});
    for (int i = 0; i < side; ++i) corners.push_back({static_cast<float>(side), static_cast<float>(side - i)});
    for (int i = 0; i < side; ++i) corners.push_back({static_cast<float>(side - i), 0.0f});
    Polygon(corners);
    pwadPath = "out.wad";
    int asked = 0;
    BuildOptions options;
    options.cancelRequested = [&asked] { return ++asked < 0; };
    EXPECT_FALSE(BuildMap(options));
    EXPECT_EQ(asked, 0) << "the tree was started";
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"FindOrAddVertex: VERTEXES が 65536 個より多くなります\nビルドを中止しました"});
    EXPECT_FALSE(std::filesystem::exists("out.wad"));
}

TEST_F(BuildRefusalTest, ADeepTreeIsFreedWithoutRecursion) {
    // As deep as a degenerate map's tree can be; a destructor recursing once
    // per level would overflow the stack.
    auto root = std::make_unique<BspNode>();
    BspNode* node = root.get();
    for (int i = 0; i < 200000; ++i) {
        node->front = std::make_unique<BspNode>();
        node->back = std::make_unique<BspNode>();
        node = node->front.get();
    }
    root.reset();
    SUCCEED();
}

}  // namespace
