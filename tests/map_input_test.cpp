// The map view's mouse and mode keys.
#include "view/map_input.h"

#include <cmath>

#include "model/map.h"
#include "model/sector_drawing.h"
#include "tests/map_invariants.h"
#include "tests/test_support.h"
#include "view/view_transform.h"

namespace {

class MapInputTest : public EditorTest {
protected:
    static void Pixel(float x, float y, int32_t& px, int32_t& py) {
        float fx, fy;
        MapToView(x, y, fx, fy);
        px = static_cast<int32_t>(std::lround(fx));
        py = static_cast<int32_t>(std::lround(fy));
    }
};

TEST_F(MapInputTest, ClicksSelectWhatIsUnderThem) {
    RunScript("sector 0 0  0 128  128 128  128 0");
    RunScript("click 64 64");
    EXPECT_EQ(selection.kind, kObjectSector);
    EXPECT_EQ(selection.object, sectors);
    RunScript("click 0 64");
    EXPECT_EQ(selection.kind, kObjectLinedef);
    RunScript("click 300 300");
    EXPECT_EQ(selection.kind, kObjectNone);
    RunScript("click 128 128");
    EXPECT_EQ(selection.kind, kObjectVertex);
    EXPECT_EQ(dragging, 0);  // released again
    RunScript("rclick 500 500");
    EXPECT_EQ(selection.kind, kObjectNone);
    EXPECT_EQ(CheckMapInvariants(), "");
}

TEST_F(MapInputTest, VertexInsertionModeSplitsLinedefsAndStillDragsVertices) {
    RunScript("sector 0 0  0 128  128 128  128 0\nclick 64 64\npress alt 0 0");
    EXPECT_EQ(selection.kind, kObjectNone);
    EXPECT_EQ(mapMode, MapMode::kInsertVertex);
    RunScript("click 64 64");  // inside: selects as usual
    const MapObject selected = selection;
    EXPECT_EQ(selected.kind, kObjectSector);
    RunScript("click 64 1");  // on the bottom wall
    EXPECT_EQ(numvertices, 5);
    EXPECT_EQ(selection.object, selected.object);
    RunScript("down 128 128");
    EXPECT_EQ(selection.kind, kObjectVertex);
    EXPECT_EQ(dragging, 1);
    RunScript("up\nrelease alt");
    EXPECT_NE(mapMode, MapMode::kInsertVertex);
    EXPECT_EQ(CheckMapInvariants(), "");
}

TEST_F(MapInputTest, ModeKeys) {
    RunScript("press ctrl 0 0");
    EXPECT_EQ(mapMode, MapMode::kDrawSector);
    RunScript("release ctrl");
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    // With a point placed the mode outlives the key; Escape abandons it.
    RunScript("press ctrl 0 0\nclick 0 0\nrelease ctrl");
    EXPECT_EQ(mapMode, MapMode::kDrawSector);
    int32_t x, y;
    Pixel(50, 50, x, y);
    EXPECT_FALSE(MapRightButtonDown(x, y));  // takes the point back, no menu
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    EXPECT_TRUE(MapRightButtonDown(x, y));

    // Ctrl with Alt held draws; the insertion comes back when the drawing
    // ends while Alt is still down, and not once Alt was let go meanwhile.
    RunScript("press alt 0 0\npress ctrl 0 0");
    EXPECT_EQ(mapMode, MapMode::kDrawSector);
    RunScript("release ctrl");
    EXPECT_EQ(mapMode, MapMode::kInsertVertex);
    RunScript("press ctrl 0 0\nclick 0 0\nrelease alt\nkey escape");
    EXPECT_EQ(mapMode, MapMode::kSelect);
    RunScript("release ctrl\npress ctrl 0 0\npress alt 0 0\nrelease ctrl");
    EXPECT_EQ(mapMode, MapMode::kInsertVertex);
    RunScript("release alt");
    EXPECT_EQ(mapMode, MapMode::kSelect);

    // In the PVS test view Ctrl and Alt only clear the selection.
    RunScript("sector 0 0  0 128  128 128  128 0\nclick 64 64");
    mapMode = MapMode::kPvsTest;
    RunScript("press ctrl 0 0\npress alt 0 0");
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    EXPECT_NE(mapMode, MapMode::kInsertVertex);
    EXPECT_EQ(selection.kind, kObjectNone);
    RunScript("click 64 64");
    EXPECT_EQ(selection.kind, kObjectNone);
    mapMode = MapMode::kSelect;
    EXPECT_TRUE(EnterKeyDown());  // outside drawing: the Edit command
}

TEST_F(MapInputTest, MovingWithoutAButtonChangesNothing) {
    RunScript("sector 0 0  0 128  128 128  128 0\nclick 0 0");
    hover = {kObjectNone, nullptr};
    RunScript("move 0 64");
    EXPECT_EQ(hover.kind, kObjectNone);
    EXPECT_EQ(vertices->x, 0.0f);
    EXPECT_FALSE(MapLeftButtonUp());  // no drag going on
}

}  // namespace
