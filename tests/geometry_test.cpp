// The geometric tests and the two constructive steps.
#include "model/geometry.h"

#include <cmath>

#include "tests/map_invariants.h"
#include "tests/test_support.h"

namespace {

class GeometryTest : public EditorTest {
protected:
    Linedef* Line(float x0, float y0, float x1, float y1, Sector* right = nullptr, Sector* left = nullptr) {
        auto* l = new Linedef{};
        l->startVertex = MakeVertex(x0, y0);
        l->endVertex = MakeVertex(x1, y1);
        l->right.sector = right;
        l->left.sector = left;
        AppendLinedef(l);
        return l;
    }
    Sector* NewSector() {
        auto* s = new Sector(defaultSector);
        AppendSector(s);
        return s;
    }
    // A closed loop of linedefs through the corners, with the sector on the right.
    void Loop(std::initializer_list<std::pair<float, float>> corners, Sector* sector) {
        std::vector<std::pair<float, float>> c(corners);
        for (std::size_t i = 0; i < c.size(); ++i) {
            const auto& a = c[i];
            const auto& b = c[(i + 1) % c.size()];
            Line(a.first, a.second, b.first, b.second, sector);
        }
    }
    static DrawPoint At(float x, float y) { return {x, y, kDrawFree, nullptr}; }
};

TEST_F(GeometryTest, MakeVertexReusesOnlyExactlyEqualPositions) {
    Vertex* a = MakeVertex(10.5f, -3.0f);
    EXPECT_EQ(MakeVertex(10.5f, -3.0f), a);
    EXPECT_EQ(numvertices, 1);
    Vertex* b = MakeVertex(std::nextafter(10.5f, 11.0f), -3.0f);
    EXPECT_NE(b, a);
    EXPECT_EQ(numvertices, 2);
    EXPECT_EQ(MakeVertex(-0.0f, 0.0f), MakeVertex(0.0f, -0.0f));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b->spare), 8), std::string(8, '\0'));
    EXPECT_EQ(mapModified, 0);
}

TEST_F(GeometryTest, SplitKeepsThePieceInPlaceAndAppendsTheCopy) {
    Sector* s = NewSector();
    Linedef* first = Line(0, 0, 100, 0, s);
    first->special = 97;
    first->tag = 5;
    first->flags = 4;
    SetName(first->right.middle, "STARTAN3");
    Linedef* other = Line(100, 0, 100, 100, s);
    SplitLinedef(At(40, 0), first);
    ASSERT_EQ(numlinedefs, 3);
    EXPECT_EQ(linedefs, first);
    EXPECT_EQ(first->next, other);
    Linedef* copy = other->next;
    EXPECT_EQ(first->endVertex, copy->startVertex);
    EXPECT_EQ(first->endVertex->x, 40.0f);
    EXPECT_EQ(copy->endVertex, other->startVertex);
    EXPECT_EQ(copy->special, 97);
    EXPECT_EQ(copy->tag, 5);
    EXPECT_EQ(copy->flags, 4);
    EXPECT_TRUE(NameEquals(copy->right.middle, "STARTAN3"));
    EXPECT_EQ(copy->right.sector, s);
    EXPECT_EQ(mapModified, 1);
    EXPECT_EQ(CheckMapInvariants(), "");
}

TEST_F(GeometryTest, PointsOnALinedefWithinTheStrictTolerance) {
    Linedef* l = Line(0, 0, 10, 0);
    const struct {
        float x, y;
        bool on;
    } cases[] = {
        {5, 0, true},      {5, 0.09f, true},      {5, -0.09f, true}, {5, 0.1f, false},
        {5, -0.1f, false}, {10.09f, 0, true},     {-0.09f, 0, true}, {10.1f, 0, false},
        {-0.1f, 0, false}, {10.09f, 0.09f, true}, {15, 0, false},
    };
    for (const auto& c : cases) EXPECT_EQ(PointOnLinedef(At(c.x, c.y), l), c.on) << c.x << "," << c.y;

    // A diagonal linedef: the distance is measured at right angles.
    Linedef* d = Line(0, 0, 30, 40);
    EXPECT_TRUE(PointOnLinedef(At(3 - 0.06f, 4 + 0.045f), d));
    EXPECT_FALSE(PointOnLinedef(At(3 - 0.09f, 4 + 0.07f), d));
    EXPECT_EQ(FindLinedefAt(At(0, 0)), l);  // the first in list order
    EXPECT_EQ(FindLinedefAt(At(20, 20)), nullptr);
}

TEST_F(GeometryTest, SegmentsCrossByTheSignRules) {
    const struct {
        const char* what;
        float a[2], b[2], c[2], d[2];
        bool cross;
    } cases[] = {
        {"plain crossing", {0, 0}, {10, 0}, {5, -5}, {5, 5}, true},
        {"collinear touching", {0, 0}, {10, 0}, {10, 0}, {20, 0}, false},
        {"collinear overlapping", {0, 0}, {10, 0}, {5, 0}, {15, 0}, false},
        {"c on a-b, d right of it", {0, 0}, {10, 0}, {5, 0}, {5, -5}, true},
        {"c on a-b, d left of it", {0, 0}, {10, 0}, {5, 0}, {5, 5}, false},
        {"apart", {0, 0}, {10, 0}, {20, -5}, {20, 5}, false},
        {"parallel", {0, 0}, {10, 0}, {0, 1}, {10, 1}, false},
        {"shared end can count", {0, 0}, {10, 0}, {10, 0}, {5, -5}, true},
        {"shared start need not", {0, 0}, {10, 0}, {0, 0}, {5, -5}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SegmentsCross(c.a[0], c.a[1], c.b[0], c.b[1], c.c[0], c.c[1], c.d[0], c.d[1]), c.cross) << c.what;
    }
}

TEST_F(GeometryTest, SectorsContainPointsByTheEvenOddRule) {
    // A square with a square hole whose boundary also names the sector, and
    // an island sector inside the hole's place of another square.
    Sector* ring = NewSector();
    Loop({{0, 0}, {0, 100}, {100, 100}, {100, 0}}, ring);
    Loop({{40, 40}, {60, 40}, {60, 60}, {40, 60}}, ring);
    EXPECT_TRUE(PointInSector(At(20, 20), ring));
    EXPECT_FALSE(PointInSector(At(50, 50), ring));
    EXPECT_FALSE(PointInSector(At(150, 50), ring));

    Sector* outer = NewSector();
    Sector* island = NewSector();
    Loop({{200, 0}, {200, 100}, {300, 100}, {300, 0}}, outer);
    // The island's walls: island on the right, outer on the left.
    const float box[4][2] = {{240, 40}, {240, 60}, {260, 60}, {260, 40}};
    for (int i = 0; i < 4; ++i) Line(box[i][0], box[i][1], box[(i + 1) % 4][0], box[(i + 1) % 4][1], island, outer);
    EXPECT_EQ(FindSectorAt(At(250, 50)), island);
    EXPECT_EQ(FindSectorAt(At(210, 50)), outer);
    EXPECT_EQ(FindSectorAt(At(500, 50)), nullptr);

    // A linedef with the sector on both sides (a trigger line inside a room)
    // is no boundary: points beside it stay inside.
    Sector* room = NewSector();
    Loop({{400, 0}, {400, 100}, {500, 100}, {500, 0}}, room);
    Line(450, 10, 450, 90, room, room);
    EXPECT_EQ(FindSectorAt(At(420, 50)), room);
    EXPECT_EQ(FindSectorAt(At(480, 50)), room);

    // Two sectors over the same place: the earlier one is found.
    Sector* later = NewSector();
    Loop({{0, 0}, {0, 100}, {100, 100}, {100, 0}}, later);
    EXPECT_EQ(FindSectorAt(At(20, 20)), ring);
}

TEST_F(GeometryTest, ProjectionAndNormalising) {
    Linedef* l = Line(0, 0, 10, 10);
    DrawPoint p = At(10, 0);
    ProjectOntoLinedef(p, l);
    EXPECT_FLOAT_EQ(p.x, 5);
    EXPECT_FLOAT_EQ(p.y, 5);
    DrawPoint beyond = At(30, 20);  // no clamping to the segment
    ProjectOntoLinedef(beyond, l);
    EXPECT_FLOAT_EQ(beyond.x, 25);
    EXPECT_FLOAT_EQ(beyond.y, 25);

    float x = 3, y = -4;
    EXPECT_EQ(NormalizeVector(x, y), 5.0f);
    EXPECT_FLOAT_EQ(x, 0.6f);
    EXPECT_FLOAT_EQ(y, -0.8f);
}

TEST_F(GeometryTest, EdgeCrossingSkipsTheLinedefsTheEndsAreSnappedTo) {
    Linedef* wall = Line(0, 0, 0, 100);
    Vertex* top = wall->endVertex;
    // A free end exactly on the wall counts as crossing it towards one side ...
    EXPECT_TRUE(EdgeCrossesLinedefs(At(0, 50), At(10, 50)));
    EXPECT_FALSE(EdgeCrossesLinedefs(At(0, 50), At(-10, 50)));
    EXPECT_TRUE(EdgeCrossesLinedefs(At(10, 50), At(-10, 50)));
    // ... but not when snapped to it, or to one of its vertices.
    EXPECT_FALSE(EdgeCrossesLinedefs({0, 50, kDrawOnLinedef, wall}, At(10, 50)));
    Linedef* spur = Line(110, 0, 105, -5);
    EXPECT_TRUE(EdgeCrossesLinedefs(At(100, 0), At(110, 0)));
    EXPECT_FALSE(EdgeCrossesLinedefs(At(100, 0), {110, 0, kDrawOnVertex, spur->startVertex}));
    EXPECT_FALSE(EdgeCrossesLinedefs({0, 100, kDrawOnVertex, top}, At(10, 110)));
    EXPECT_FALSE(EdgeCrossesLinedefs(At(10, 50), At(20, 50)));
}

}  // namespace
