// The status bar's texts and the title, against the editor's own examples.
#include "app/status_text.h"

#include "app/frame_state.h"
#include "app/title.h"
#include "model/map.h"
#include "platform/headless.h"
#include "resources/game_tables.h"
#include "resources/thing_types.h"
#include "tests/test_support.h"
#include "view/map_input.h"
#include "view/view_transform.h"

namespace {

class StatusTextTest : public EditorTest {};

const std::string kSelected = " 選択オブジェクト: ";

TEST_F(StatusTextTest, FreshStart) {
    SetViewSize(800, 600);
    UpdateStatusBar();
    const HeadlessRecord& r = Headless();
    EXPECT_EQ(r.statusTexts[0], kSelected + "無し");
    EXPECT_EQ(r.statusTexts[1], " Center: X 0 Y 0");
    EXPECT_EQ(r.statusTexts[2], " Scale: 1.000");
    EXPECT_EQ(r.statusTexts[3], " Sectors: 0  Linedefs: 0  Vertices: 0  Things: 0");
    EXPECT_EQ(TitleText(), "Keldra - [untitled.kdm - MAP01]");
}

TEST_F(StatusTextTest, SelectedObjects) {
    Vertex vertex = {-12.7f, 40.9f, {}, nullptr};
    Linedef lineImTs = {};
    lineImTs.flags = 1 | 4;
    Linedef lineBare = {};
    lineBare.flags = 0;
    lineBare.special = 1;
    lineBare.tag = 7;
    Linedef lineAll = {};
    lineAll.flags = 511;
    Sector sector = {-8, 128, {}, {}, 160, 9, 3, nullptr};
    Thing thingNone = {0, 0, 90, 1, 0, 0, nullptr};
    Thing thingAll = {0, 0, 270, 1, 31, 1, nullptr};
    const std::string special0 = linedefSpecialNames[0];
    const std::string special1 = linedefSpecialNames[1];
    const struct {
        MapObject object;
        std::string expected;
    } cases[] = {
        {{kObjectVertex, &vertex}, "Vertex  X -12 Y40"},
        {{kObjectLinedef, &lineImTs}, "Linedef  Flags: IM TS  Special: " + special0 + "  Tag: 0"},
        {{kObjectLinedef, &lineBare}, "Linedef  Flags: none  Special: " + special1 + "  Tag: 7"},
        {{kObjectLinedef, &lineAll}, "Linedef  Flags: IM BM TS UU LU SE BS NA AA  Special: " + special0 + "  Tag: 0"},
        {{kObjectSector, &sector},
         "Sector  Floor: -8  Ceiling: 128  Light: 160  Special: " + std::string(sectorSpecialNames[9]) + "  Tag: 3"},
        {{kObjectThing, &thingNone}, "Thing (" + std::string(thingTypes[0].name) + ")  Angle: 90  Options: none"},
        {{kObjectThing, &thingAll},
         "Thing (" + std::string(thingTypes[1].name) + ")  Angle: 270  Options: 1/2 3 4/5 deaf net"},
    };
    for (const auto& c : cases) {
        selection = c.object;
        EXPECT_EQ(StatusTexts()[0], kSelected + c.expected);
    }
    selection = {kObjectNone, nullptr};
}

TEST_F(StatusTextTest, ModesHideTheSelection) {
    Vertex vertex = {1, 2, {}, nullptr};
    const struct {
        MapMode mode;
        const char* expected;
    } cases[] = {
        {MapMode::kPvsTest, " PVSテストモード"},
        {MapMode::kDrawSector, " セクター描画モード"},
        {MapMode::kInsertVertex, " Vertex 挿入モード"},
    };
    for (const auto& c : cases) {
        selection = {kObjectVertex, &vertex};
        mapMode = c.mode;
        EXPECT_EQ(StatusTexts()[0], c.expected);
    }
    selection = {kObjectNone, nullptr};
}

TEST_F(StatusTextTest, NotesShowOnceAndBuiltWins) {
    savedNote = 1;
    EXPECT_EQ(StatusTexts()[0], " 保存しました");
    EXPECT_EQ(StatusTexts()[0], kSelected + "無し");
    savedNote = builtNote = 1;
    EXPECT_EQ(StatusTexts()[0], " ビルドしました");
    EXPECT_EQ(StatusTexts()[0], kSelected + "無し");
}

TEST_F(StatusTextTest, ViewAndCounts) {
    RunScript("sector 0 0  0 128  128 128  128 0\nthing 0 64 64");
    viewCentreX = -100.9f;
    viewCentreY = 33.2f;
    viewScale = 0.12345f;
    const auto texts = StatusTexts();
    EXPECT_EQ(texts[1], " Center: X -100 Y 33");
    EXPECT_EQ(texts[2], " Scale: 0.123");
    EXPECT_EQ(texts[3], " Sectors: 1  Linedefs: 4  Vertices: 4  Things: 1");

    // Scrolled beyond the range of the numbers shown: held at the end.
    viewCentreX = 1e20f;
    viewCentreY = -1e20f;
    EXPECT_EQ(StatusTexts()[1], " Center: X 2147483647 Y -2147483648");
}

TEST_F(StatusTextTest, PvsProgress) {
    EXPECT_EQ(PvsProgressText(42, 100).rfind(" PVS 42%", 0), 0u);
    EXPECT_EQ(PvsProgressText(0, 0).rfind(" PVS 100%", 0), 0u);
}

}  // namespace
