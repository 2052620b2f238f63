// The map view's scene: pass order, grid formula, colours of selection and
// hover, the tick, thing icons and X marks, and the PVS test colours.
#include "view/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/editing.h"
#include "model/geometry.h"
#include "model/map.h"
#include "model/sector_drawing.h"
#include "nodes/bsp_output.h"
#include "nodes/build.h"
#include "nodes/pvs.h"
#include "resources/thing_types.h"
#include "tests/test_support.h"
#include "view/map_input.h"
#include "view/picking.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

struct Line {
    float x1, y1, x2, y2;
    SceneColour colour;
};
struct Point {
    float x, y;
    SceneColour colour;
};

class SceneTest : public EditorTest {
protected:
    Scene scene;

    std::vector<Line> Lines(ScenePass pass) const {
        std::vector<Line> lines;
        for (const SceneBatch& b : scene.batches) {
            if (b.pass != pass || b.kind != PrimitiveKind::kLines) continue;
            for (uint32_t i = b.first; i < b.first + b.count; i += 2) {
                const float* p = &scene.points[2 * i];
                lines.push_back({p[0], p[1], p[2], p[3], b.colour});
            }
        }
        return lines;
    }
    std::vector<Point> Points(ScenePass pass) const {
        std::vector<Point> points;
        for (const SceneBatch& b : scene.batches) {
            if (b.pass != pass || b.kind != PrimitiveKind::kPoints) continue;
            for (uint32_t i = b.first; i < b.first + b.count; ++i) {
                points.push_back({scene.points[2 * i], scene.points[2 * i + 1], b.colour});
            }
        }
        return points;
    }
    // The colour of the linedef from (x1, y1) to (x2, y2), or of the vertex at (x1, y1).
    SceneColour LinedefColour(float x1, float y1, float x2, float y2) const {
        for (const Line& l : Lines(ScenePass::kLinedefs)) {
            if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2) return l.colour;
        }
        ADD_FAILURE() << "no linedef " << x1 << "," << y1 << " " << x2 << "," << y2;
        return {};
    }
    SceneColour VertexColour(float x, float y) const {
        for (const Point& p : Points(ScenePass::kVertices)) {
            if (p.x == x && p.y == y) return p.colour;
        }
        ADD_FAILURE() << "no vertex " << x << "," << y;
        return {};
    }
    std::vector<ScenePass> PassOrder() const {
        std::vector<ScenePass> passes;
        for (const SceneBatch& b : scene.batches) {
            if (passes.empty() || passes.back() != b.pass) passes.push_back(b.pass);
        }
        return passes;
    }
};

Linedef* FindLinedef(float x1, float y1, float x2, float y2) {
    for (Linedef* l = linedefs; l; l = l->next) {
        if (l->startVertex->x == x1 && l->startVertex->y == y1 && l->endVertex->x == x2 && l->endVertex->y == y2)
            return l;
    }
    return nullptr;
}

TEST_F(SceneTest, GridLinesAreWholeMultiplesTruncatedTowardZero) {
    struct Case {
        float centreX, centreY, scale;
        int32_t grid;
        float firstY, lastY, firstX, lastX;  // horizontal lines from top down, vertical ones from left
        float lineLeft, lineRight, lineTop, lineBottom;
    } cases[] = {
        {0, 0, 1, 64, 320, -320, -448, 448, -405, 405, 305, -305},
        // -221.5 / 32 truncates to -6, not down to -7.
        {10.5f, -20, 2, 32, 160, -192, -192, 224, -194, 215, 135, -175},
    };
    for (const Case& c : cases) {
        viewCentreX = c.centreX;
        viewCentreY = c.centreY;
        viewScale = c.scale;
        SetViewSize(800, 600);
        gridSize = c.grid;
        BuildScene(scene);
        std::vector<Line> horizontal, vertical;
        for (const Line& l : Lines(ScenePass::kGrid)) {
            EXPECT_EQ(l.colour, kGridColour);
            (l.y1 == l.y2 ? horizontal : vertical).push_back(l);
        }
        ASSERT_FALSE(horizontal.empty());
        ASSERT_FALSE(vertical.empty());
        EXPECT_EQ(horizontal.front().y1, c.firstY);
        EXPECT_EQ(horizontal.back().y1, c.lastY);
        EXPECT_EQ(vertical.front().x1, c.firstX);
        EXPECT_EQ(vertical.back().x1, c.lastX);
        for (std::size_t i = 1; i < horizontal.size(); ++i) EXPECT_EQ(horizontal[i - 1].y1 - horizontal[i].y1, c.grid);
        for (std::size_t i = 1; i < vertical.size(); ++i) EXPECT_EQ(vertical[i].x1 - vertical[i - 1].x1, c.grid);
        EXPECT_EQ(horizontal.front().x1, c.lineLeft);
        EXPECT_EQ(horizontal.front().x2, c.lineRight);
        EXPECT_EQ(vertical.front().y1, c.lineTop);
        EXPECT_EQ(vertical.front().y2, c.lineBottom);
    }
    gridSize = 0;
    BuildScene(scene);
    EXPECT_TRUE(Lines(ScenePass::kGrid).empty());
}

TEST_F(SceneTest, PassesComeInOrderEachOverTheLast) {
    // A room with a pillar: the partitions cross the room in invisible lines.
    RunScript(
        "sector 0 0  0 256  256 256  256 0\nsector 64 64  192 64  192 192  64 192\nthing 9 32 32\n"
        "thing 0 224 32");
    pwadPath = "out.wad";
    ASSERT_TRUE(BuildMap({.computePvs = true}));
    SetViewSize(800, 600);
    gridSize = 32;
    showAxes = showBspLines = 1;
    mapMode = MapMode::kPvsTest;
    BuildScene(scene);
    const std::vector<ScenePass> pvsFrame = {ScenePass::kPvsOverlay,     ScenePass::kGrid,     ScenePass::kAxes,
                                             ScenePass::kInvisibleLines, ScenePass::kLinedefs, ScenePass::kVertices,
                                             ScenePass::kThings};
    ASSERT_FALSE(invisibleLines.empty());
    EXPECT_EQ(PassOrder(), pvsFrame);

    mapMode = MapMode::kSelect;
    RunScript("press ctrl 320 0\nclick 320 0\nclick 320 96\nmove 400 50");
    ASSERT_EQ(mapMode, MapMode::kDrawSector);
    BuildScene(scene);
    const std::vector<ScenePass> drawingFrame = {ScenePass::kGrid,     ScenePass::kAxes,     ScenePass::kInvisibleLines,
                                                 ScenePass::kLinedefs, ScenePass::kVertices, ScenePass::kFirstDrawPoint,
                                                 ScenePass::kThings,   ScenePass::kDrawing};
    EXPECT_EQ(PassOrder(), drawingFrame);
    // The strip runs through the placed points to the rubber band.
    const SceneBatch& strip = scene.batches.back();
    EXPECT_EQ(strip.kind, PrimitiveKind::kLineStrip);
    EXPECT_EQ(strip.colour, kDrawingColour);
    ASSERT_EQ(strip.count, 3u);
    const float* p = &scene.points[2 * strip.first];
    EXPECT_EQ(std::vector<float>(p, p + 6), (std::vector<float>{320, 0, 320, 96, 400, 50}));
}

TEST_F(SceneTest, SelectionAndHoverColours) {
    // Two rooms sharing the wall x = 128.
    RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
    SetViewSize(800, 600);
    Sector* left = FindSectorAt({64, 64, kDrawFree, nullptr});
    Linedef* outer = FindLinedef(256, 128, 256, 0);
    ASSERT_TRUE(left && outer);
    const SceneColour red = kHighlightColour, white = kNormalColour;
    struct Case {
        const char* what;
        MapMode mode;
        MapObject selected, hovered;
        SceneColour outerLine, sharedLine, leftLine;
        SceneColour leftCorner, sharedCorner, rightCorner;
    } cases[] = {
        {"sector", MapMode::kSelect, {kObjectSector, left}, {}, white, red, red, red, red, white},
        {"linedef", MapMode::kSelect, {kObjectLinedef, outer}, {}, red, white, white, white, white, white},
        {"vertex", MapMode::kSelect, {kObjectVertex, VertexForNum(0)}, {}, white, white, white, red, white, white},
        {"hover outside the modes",
         MapMode::kSelect,
         {},
         {kObjectLinedef, outer},
         white,
         white,
         white,
         white,
         white,
         white},
        {"hovered linedef while drawing",
         MapMode::kDrawSector,
         {},
         {kObjectLinedef, outer},
         red,
         white,
         white,
         white,
         white,
         white},
        {"hovered linedef while inserting",
         MapMode::kInsertVertex,
         {},
         {kObjectLinedef, outer},
         red,
         white,
         white,
         white,
         white,
         white},
        {"hovered vertex while inserting",
         MapMode::kInsertVertex,
         {},
         {kObjectVertex, VertexForNum(0)},
         white,
         white,
         white,
         white,
         white,
         white},
    };
    ASSERT_EQ(VertexForNum(0)->x, 0);
    ASSERT_EQ(VertexForNum(0)->y, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mapMode = c.mode;
        selection = c.selected;
        hover = c.hovered;
        BuildScene(scene);
        EXPECT_EQ(LinedefColour(256, 128, 256, 0), c.outerLine);
        const Linedef* shared =
            FindLinedef(128, 0, 128, 128) ? FindLinedef(128, 0, 128, 128) : FindLinedef(128, 128, 128, 0);
        ASSERT_TRUE(shared);
        EXPECT_EQ(
            LinedefColour(shared->startVertex->x, shared->startVertex->y, shared->endVertex->x, shared->endVertex->y),
            c.sharedLine);
        EXPECT_EQ(LinedefColour(0, 0, 0, 128), c.leftLine);
        EXPECT_EQ(VertexColour(0, 0), c.leftCorner);
        EXPECT_EQ(VertexColour(128, 128), c.sharedCorner);
        EXPECT_EQ(VertexColour(256, 0), c.rightCorner);
    }
    // While drawing, the hovered vertex is red and so is the first point when hovered.
    mapMode = MapMode::kDrawSector;
    selection = {};
    drawPoints[0] = drawPoints[1] = {400, 400, kDrawFree, nullptr};
    numDrawPoints = 1;
    for (const auto& [hovered, vertex, first] :
         {std::tuple{MapObject{kObjectVertex, VertexForNum(0)}, red, kDrawingColour},
          std::tuple{MapObject{kObjectVertex, nullptr}, white, red}, std::tuple{MapObject{}, white, kDrawingColour}}) {
        hover = hovered;
        BuildScene(scene);
        EXPECT_EQ(VertexColour(0, 0), vertex);
        const std::vector<Point> firstPoint = Points(ScenePass::kFirstDrawPoint);
        ASSERT_EQ(firstPoint.size(), 1u);
        EXPECT_EQ(firstPoint[0].x, 400);
        EXPECT_EQ(firstPoint[0].colour, first);
    }
}

TEST_F(SceneTest, SelectedLinedefTickPointsRightEightPixels) {
    RunScript("sector 0 0  0 128  128 128  128 0");
    struct Case {
        float x1, y1, x2, y2;
        float scale;
        float tipX, tipY;
    } cases[] = {
        {0, 0, 0, 128, 1, 8, 64},        // going up: right is +x
        {128, 128, 128, 0, 2, 124, 64},  // going down: right is -x, 4 units at scale 2
        {0, 128, 128, 128, 0.5f, 64, 112},
    };
    for (const Case& c : cases) {
        Linedef* l = FindLinedef(c.x1, c.y1, c.x2, c.y2);
        ASSERT_TRUE(l);
        viewScale = c.scale;
        SetViewSize(800, 600);
        selection = {kObjectLinedef, l};
        BuildScene(scene);
        std::vector<Line> red;
        for (const Line& line : Lines(ScenePass::kLinedefs)) {
            if (line.colour == kHighlightColour) red.push_back(line);
        }
        ASSERT_EQ(red.size(), 2u);
        EXPECT_EQ(red[1].x1, (c.x1 + c.x2) / 2);
        EXPECT_EQ(red[1].y1, (c.y1 + c.y2) / 2);
        EXPECT_FLOAT_EQ(red[1].x2, c.tipX);
        EXPECT_FLOAT_EQ(red[1].y2, c.tipY);
    }
}

TEST_F(SceneTest, ThingsAreIconQuadsOrAnX) {
    // Rows: an imp (enemy), a box of bullets (ammunition, shifted), a
    // teleport destination (no icon), and a type the table does not know.
    int32_t imp = -1, ammo = -1, spot = -1;
    for (int32_t i = 0; i < kNumThingTypes; ++i) {
        if (thingTypes[i].type == 3001) imp = i;
        if (thingTypes[i].type == 2048) ammo = i;
        if (thingTypes[i].type == 14) spot = i;
    }
    ASSERT_TRUE(imp >= 0 && ammo >= 0 && spot >= 0);
    ASSERT_EQ(thingTypes[spot].radius, 0);
    SetViewSize(800, 600);
    AppendThing(new Thing{100, 50, 0, 3001, 7, imp, nullptr});
    AppendThing(new Thing{-40, 10, 0, 2048, 7, ammo, nullptr});
    AppendThing(new Thing{0, 0, 0, 14, 7, spot, nullptr});
    AppendThing(new Thing{30, 30, 0, 12345, 7, kNumThingTypes, nullptr});
    selection = {kObjectThing, things};
    for (float scale : {0.25f, 4.0f}) {
        viewScale = scale;
        SetViewSize(800, 600);
        BuildScene(scene);
        std::vector<const SceneBatch*> quads;
        for (const SceneBatch& b : scene.batches)
            if (b.kind == PrimitiveKind::kIconQuads) quads.push_back(&b);
        ASSERT_EQ(quads.size(), 2u);  // the selected imp, then the bullets
        EXPECT_EQ(quads[0]->colour, kHighlightColour);
        EXPECT_EQ(quads[1]->colour, kNormalColour);
        // Corners anticlockwise from bottom left; the cell's top at the quad's top.
        const float r = static_cast<float>(thingTypes[imp].radius);
        const float* xy = &scene.iconPoints[2 * quads[0]->first];
        EXPECT_EQ(std::vector<float>(xy, xy + 8),
                  (std::vector<float>{100 - r, 50 - r, 100 + r, 50 - r, 100 + r, 50 + r, 100 - r, 50 + r}));
        const int32_t impCell = thingCategoryIconCells[thingTypes[imp].category];
        const float s0 = static_cast<float>(impCell % 8) / 8, t0 = static_cast<float>(impCell / 8) / 8;
        const float* st = &scene.iconTexCoords[2 * quads[0]->first];
        EXPECT_EQ(std::vector<float>(st, st + 8),
                  (std::vector<float>{s0, t0 + 0.125f, s0 + 0.125f, t0 + 0.125f, s0 + 0.125f, t0, s0, t0}));
        // Ammunition sits 0.006 to the right in its cell.
        ASSERT_EQ(thingTypes[ammo].category, 3);
        const int32_t ammoCell = thingCategoryIconCells[3];
        const float* ammoSt = &scene.iconTexCoords[2 * quads[1]->first];
        EXPECT_FLOAT_EQ(ammoSt[0], static_cast<float>(ammoCell % 8) / 8 + 0.006f);
        EXPECT_FLOAT_EQ(ammoSt[2], static_cast<float>(ammoCell % 8) / 8 + 0.131f);

        // The spot and the unknown type: an X of half-size 8 map units at any scale.
        const std::vector<Line> marks = Lines(ScenePass::kThings);
        ASSERT_EQ(marks.size(), 4u);
        EXPECT_EQ(marks[0].x1, -8);
        EXPECT_EQ(marks[0].y1, -8);
        EXPECT_EQ(marks[0].x2, 8);
        EXPECT_EQ(marks[0].y2, 8);
        EXPECT_EQ(marks[1].x1, 8);
        EXPECT_EQ(marks[1].y1, -8);
        EXPECT_EQ(marks[1].x2, -8);
        EXPECT_EQ(marks[1].y2, 8);
        EXPECT_EQ(marks[2].x1, 22);
        for (const Line& l : marks) EXPECT_EQ(l.colour, kNormalColour);
    }
}

TEST_F(SceneTest, PvsOverlayColoursTheChosenSubsectorAndWhatItSees) {
    // Rooms A and B share a wall; room C stands apart.
    RunScript(
        "sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0\n"
        "sector 512 0  512 128  640 128  640 0");
    pwadPath = "out.wad";
    ASSERT_TRUE(BuildMap({.computePvs = true}));
    ASSERT_GE(subsectorPolygons.size(), 3u);
    SetViewSize(800, 600);
    viewCentreX = 320;
    viewCentreY = 64;
    mapMode = MapMode::kPvsTest;

    // The colour of each room's triangles, by their centres.
    auto roomColours = [&](int room) {
        std::vector<SceneColour> colours;
        for (const SceneBatch& b : scene.batches) {
            if (b.pass != ScenePass::kPvsOverlay) continue;
            EXPECT_EQ(b.kind, PrimitiveKind::kTriangles);
            for (uint32_t i = b.first; i < b.first + b.count; i += 3) {
                const float x = (scene.points[2 * i] + scene.points[2 * i + 2] + scene.points[2 * i + 4]) / 3;
                if (static_cast<int>(x) / 128 == (room == 2 ? 4 : room)) colours.push_back(b.colour);
            }
        }
        return colours;
    };
    auto all = [](const std::vector<SceneColour>& colours, SceneColour c) {
        return !colours.empty() && std::all_of(colours.begin(), colours.end(), [&](SceneColour x) { return x == c; });
    };

    BuildScene(scene);  // nothing chosen: all grey
    EXPECT_TRUE(all(roomColours(0), kPvsOtherColour));
    EXPECT_TRUE(all(roomColours(1), kPvsOtherColour));
    EXPECT_TRUE(all(roomColours(2), kPvsOtherColour));

    float px, py;
    MapToView(192, 64, px, py);  // a click inside room B
    PickAt(static_cast<int32_t>(px), static_cast<int32_t>(py));
    ASSERT_GE(pvsChosenSubsector, 0);
    BuildScene(scene);
    const std::vector<SceneColour> a = roomColours(0), b = roomColours(1);
    EXPECT_TRUE(all(a, kPvsVisibleColour));
    EXPECT_TRUE(std::count(b.begin(), b.end(), kPvsChosenColour) > 0);
    EXPECT_TRUE(
        std::all_of(b.begin(), b.end(), [](SceneColour c) { return c == kPvsChosenColour || c == kPvsVisibleColour; }));
    EXPECT_TRUE(all(roomColours(2), kPvsOtherColour));

    // Outside the test mode, and after a build without the PVS, no overlay.
    for (bool pvsOff : {false, true}) {
        if (pvsOff) {
            ASSERT_TRUE(BuildMap({}));
        } else {
            mapMode = MapMode::kSelect;
        }
        BuildScene(scene);
        EXPECT_TRUE(roomColours(0).empty() && roomColours(1).empty() && roomColours(2).empty());
        EXPECT_FALSE(scene.batches.empty());
        mapMode = MapMode::kPvsTest;
    }
}

}  // namespace
