// Picking: pick windows in pixels, precedence by name, overflow.
#include "view/picking.h"

#include <cmath>

#include "model/geometry.h"
#include "model/sector_drawing.h"
#include "nodes/bsp_output.h"
#include "tests/test_support.h"
#include "view/map_input.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

class PickingTest : public EditorTest {
protected:
    // Picks at the pixel showing map point (x, y).
    static void PickAtMap(float x, float y) {
        float px, py;
        MapToView(x, y, px, py);
        PickAt(static_cast<int32_t>(std::lround(px)), static_cast<int32_t>(std::lround(py)));
    }
    static Linedef* Line(float x0, float y0, float x1, float y1) {
        auto* l = new Linedef{};
        l->startVertex = MakeVertex(x0, y0);
        l->endVertex = MakeVertex(x1, y1);
        AppendLinedef(l);
        return l;
    }
};

TEST_F(PickingTest, VerticesWinOverTheirLinedefsAndThingsOverVertices) {
    Linedef* a = Line(0, 0, 100, 0);
    Line(100, 0, 100, 100);
    PickAtMap(100, 0);
    EXPECT_EQ(hover.kind, kObjectVertex);
    EXPECT_EQ(hover.object, a->endVertex);
    PickAtMap(50, 2);
    EXPECT_EQ(hover.kind, kObjectLinedef);
    EXPECT_EQ(hover.object, a);

    auto* t = new Thing{100, 0, 90, 3001, 7, 9, nullptr};
    AppendThing(t);
    PickAtMap(100, 0);
    EXPECT_EQ(hover.kind, kObjectThing);
    EXPECT_EQ(hover.object, t);
    PickAtMap(500, 500);
    EXPECT_EQ(hover.kind, kObjectNone);
}

TEST_F(PickingTest, LinedefWindowIsThreePixelsAtAnyZoom) {
    Linedef* l = Line(-1000, 0, 1000, 0);
    for (float scale : {0.25f, 1.0f, 4.0f}) {
        viewScale = scale;
        SetViewSize(800, 600);
        const struct {
            int pixelsAway;
            bool hit;
        } cases[] = {{0, true}, {3, true}, {-3, true}, {5, false}, {-5, false}};
        for (const auto& c : cases) {
            PickAt(400, 300 + c.pixelsAway);
            EXPECT_EQ(hover.object, c.hit ? l : nullptr) << "scale " << scale << ", " << c.pixelsAway << " pixels";
        }
    }
}

TEST_F(PickingTest, TheFirstDrawnPointIsAVertexWithoutObject) {
    Line(0, 0, 0, 100);
    mapMode = MapMode::kDrawSector;
    drawPoints[0] = drawPoints[1] = {50, 50, kDrawFree, nullptr};
    numDrawPoints = 1;
    PickAtMap(51, 50);
    EXPECT_EQ(hover.kind, kObjectVertex);
    EXPECT_EQ(hover.object, nullptr);
    PickAtMap(0, 0);  // a vertex of the map outranks nothing but linedefs
    EXPECT_NE(hover.object, nullptr);
}

TEST_F(PickingTest, MoreThanSixteenHitsPickNothing) {
    // Vertical linedefs one unit apart at scale 1: all within the 6-pixel window.
    for (int i = 0; i < 7; ++i) Line(static_cast<float>(i), 10, static_cast<float>(i), 20);
    PickAtMap(3, 15);  // 7 linedefs
    EXPECT_EQ(hover.kind, kObjectLinedef);
    EXPECT_EQ(hover.object, linedefs->next->next->next->next->next->next);  // the last in the list wins
    // Seven more and their vertices near the cursor: 14 linedefs + vertices > 16.
    for (int i = 0; i < 7; ++i) Line(static_cast<float>(i) - 0.5f, 14, static_cast<float>(i) - 0.5f, 16);
    PickAtMap(3, 15);
    EXPECT_EQ(hover.kind, kObjectNone);
}

TEST_F(PickingTest, PvsTestSubsectorsOutrankEverythingAndKeepTheHover) {
    // Two squares side by side, split by the linedef x = 100 with a thing on it.
    subsectorPolygons = {{{0, 0}, {0, 100}, {100, 100}, {100, 0}}, {{100, 0}, {100, 100}, {200, 100}, {200, 0}}};
    Linedef* wall = Line(100, 0, 100, 100);
    AppendThing(new Thing{100, 50, 0, 3001, 7, 9, nullptr});
    mapMode = MapMode::kPvsTest;
    const struct {
        float x, y;
        int32_t chosen;
    } cases[] = {
        {50, 50, 0},    {150, 50, 1}, {100, 50, 1},  // on the wall and the thing: the later subsector
        {199, 99, 1},                                // a pixel inside the corner
        {100, 200, -1},                              // nothing: the subsector is unchosen
    };
    for (const auto& c : cases) {
        hover = {kObjectLinedef, wall};
        PickAtMap(c.x, c.y);
        EXPECT_EQ(pvsChosenSubsector, c.chosen) << c.x << "," << c.y;
        EXPECT_EQ(hover.kind, c.chosen < 0 ? kObjectNone : kObjectLinedef) << c.x << "," << c.y;
    }
    // A pixel just outside the outline misses it; outside the test the outlines are not there.
    PickAtMap(50, 102);
    EXPECT_EQ(pvsChosenSubsector, -1);
    mapMode = MapMode::kSelect;
    pvsChosenSubsector = 0;
    PickAtMap(150, 50);
    EXPECT_EQ(hover.kind, kObjectNone);
    EXPECT_EQ(pvsChosenSubsector, -1);
}

}  // namespace
