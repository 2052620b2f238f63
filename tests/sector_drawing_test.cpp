// Drawing sectors: placement, crossings, closing and the records made.
#include "model/sector_drawing.h"

#include <cmath>
#include <cstring>

#include "model/editing.h"
#include "tests/map_invariants.h"
#include "tests/test_support.h"
#include "view/map_input.h"

namespace {

class SectorDrawingTest : public EditorTest {
protected:
    static std::string Name(const char* field) { return std::string(field, 8); }
    static std::string Dash() { return std::string("-\0\0\0\0\0\0\0", 8); }
    static std::string Gray() { return std::string("GRAY1\0\0\0", 8); }
    void ExpectSound() { EXPECT_EQ(CheckMapInvariants(), ""); }
};

TEST_F(SectorDrawingTest, ClockwiseSquareMakesASectorFacingInwards) {
    SetName(defaultSector.floorFlat, "NUKAGE1");
    RunScript("sector 0 0  0 128  128 128  128 0");
    ASSERT_EQ(numsectors, 1);
    ASSERT_EQ(numlinedefs, 4);
    EXPECT_EQ(numvertices, 4);
    EXPECT_TRUE(NameEquals(sectors->floorFlat, "NUKAGE1"));
    EXPECT_EQ(sectors->ceilingHeight, 128);
    for (Linedef* l = linedefs; l; l = l->next) {
        EXPECT_EQ(l->right.sector, sectors);
        EXPECT_EQ(l->left.sector, nullptr);
        EXPECT_EQ(Name(l->right.middle), Gray());
        EXPECT_EQ(Name(l->right.upper), Dash());
        EXPECT_EQ(Name(l->right.lower), Dash());
        EXPECT_EQ(SectorRightOf(l), sectors);
    }
    EXPECT_EQ(linedefs->startVertex->x, 0.0f);
    EXPECT_EQ(linedefs->endVertex->y, 128.0f);
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    EXPECT_EQ(numDrawPoints, 0);
    EXPECT_EQ(mapModified, 1);
    EXPECT_TRUE(Messages().empty());
    ExpectSound();
}

TEST_F(SectorDrawingTest, CounterClockwiseInTheVoidIsRefused) {
    RunScript("sector 0 0  128 0  128 128  0 128");
    EXPECT_EQ(Messages(), std::vector<std::string>{"void space の中に void space を作ることは出来ません"});
    EXPECT_EQ(numlinedefs + numvertices + numsectors, 0);
    EXPECT_EQ(mapModified, 0);
    // The drawing stays to be corrected.
    EXPECT_EQ(mapMode, MapMode::kDrawSector);
    EXPECT_EQ(numDrawPoints, 4);
    ExpectSound();
}

TEST_F(SectorDrawingTest, NeighbourSharesTheWholeWall) {
    RunScript("sector 0 0  0 128  128 128  128 0");
    Linedef* shared = LinedefNumber(2);  // (128,128) -> (128,0)
    SetName(shared->right.middle, "STARTAN3");
    RunScript("sector 128 0  128 128  256 128  256 0");
    ASSERT_EQ(numsectors, 2);
    EXPECT_EQ(numlinedefs, 7);
    EXPECT_EQ(numvertices, 6);
    Sector* second = sectors->next;
    EXPECT_EQ(shared->right.sector, sectors);
    EXPECT_EQ(shared->left.sector, second);
    // "-" covers only the first two bytes of a name.
    EXPECT_EQ(Name(shared->right.middle), std::string("-\0ARTAN3", 8));
    EXPECT_EQ(Name(shared->right.upper), Dash());
    EXPECT_EQ(Name(shared->left.lower), Dash());
    for (Linedef* l = LinedefNumber(4); l; l = l->next) EXPECT_EQ(SectorRightOf(l), second);
    ExpectSound();
}

TEST_F(SectorDrawingTest, SectorInsideASectorIsTwoSidedWithLowerTexturesByHeight) {
    const struct {
        int32_t outerFloor;
        const char* rightLower;
        const char* leftLower;
    } cases[] = {
        {0, "-", "-"},
        {32, "GRAY1", "-"},
        {-32, "-", "GRAY1"},
    };
    for (const auto& c : cases) {
        ClearMap();
        RunScript("sector 0 0  0 512  512 512  512 0");
        sectors->floorHeight = c.outerFloor;
        RunScript("sector 128 128  128 256  256 256  256 128");
        ASSERT_EQ(numsectors, 2);
        ASSERT_EQ(numlinedefs, 8);
        for (Linedef* l = LinedefNumber(4); l; l = l->next) {
            EXPECT_EQ(l->right.sector, sectors->next);
            EXPECT_EQ(l->left.sector, sectors);
            EXPECT_TRUE(NameEquals(l->right.lower, c.rightLower)) << c.outerFloor;
            EXPECT_TRUE(NameEquals(l->left.lower, c.leftLower)) << c.outerFloor;
            EXPECT_TRUE(NameEquals(l->right.upper, "-"));
            EXPECT_TRUE(NameEquals(l->right.middle, "-"));
            EXPECT_TRUE(NameEquals(l->left.middle, "-"));
        }
        ExpectSound();
    }
}

TEST_F(SectorDrawingTest, CounterClockwiseInsideASectorCutsAHole) {
    RunScript("sector 0 0  0 512  512 512  512 0");
    RunScript("sector 128 128  256 128  256 256  128 256");
    EXPECT_EQ(numsectors, 1);
    ASSERT_EQ(numlinedefs, 8);
    for (Linedef* l = LinedefNumber(4); l; l = l->next) {
        EXPECT_EQ(l->right.sector, sectors);
        EXPECT_EQ(l->left.sector, nullptr);
        EXPECT_EQ(SectorRightOf(l), sectors);  // facing away from the hole
    }
    EXPECT_EQ(FindSectorAt({192, 192, kDrawFree, nullptr}), nullptr);
    ExpectSound();
}

TEST_F(SectorDrawingTest, ClickingTheFirstPointCloses) {
    RunScript("press ctrl 0 0\nclick 0 0\nclick 0 64\nclick 0 0");
    EXPECT_EQ(numDrawPoints, 2);  // two points: nothing to close
    RunScript("click 64 64\nclick 0 0\nrelease ctrl");
    EXPECT_EQ(numsectors, 1);
    EXPECT_EQ(numlinedefs, 3);
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    ExpectSound();
}

TEST_F(SectorDrawingTest, AtMost256PointsButThe256thCanClose) {
    const float pi = 3.14159265f;
    float firstX = 0, firstY = 0;
    for (int i = 0; i < 256; ++i) {
        // Clockwise round a circle, on whole map units.
        const float angle = pi / 2 - 2 * pi * static_cast<float>(i) / 256;
        const float x = std::round(2000 * std::cos(angle));
        const float y = std::round(2000 * std::sin(angle));
        if (i == 0) firstX = x, firstY = y;
        AddDrawPoint(x, y);
    }
    ASSERT_EQ(numDrawPoints, 256);
    EXPECT_TRUE(Messages().empty());
    AddDrawPoint(0, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"一度に VERTEX が 256 個より多い SECTOR を作ることは出来ません"});
    EXPECT_EQ(numDrawPoints, 256);
    AddDrawPoint(firstX, firstY);
    EXPECT_EQ(numsectors, 1);
    EXPECT_EQ(numlinedefs, 256);
    EXPECT_EQ(numDrawPoints, 0);
    ExpectSound();
}

TEST_F(SectorDrawingTest, EdgesMayEndOnLinedefsButNotCrossThem) {
    RunScript("sector 0 0  0 128  128 128  128 0");
    RunScript("press ctrl -64 64\nclick -64 64\nclick 64 64");
    EXPECT_EQ(Messages(), std::vector<std::string>{"LINEDEF が他の LINEDEF と交差することは出来ません"});
    EXPECT_EQ(numDrawPoints, 1);
    RunScript("click 0 64");  // snapped onto the wall
    RunScript("click 0 0");   // onto its vertex
    EXPECT_EQ(numDrawPoints, 3);
    EXPECT_TRUE(Messages().empty());
    // A point on the last one would make a linedef of no length.
    RunScript("click 0 0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"同じ位置に続けて点を置くことは出来ません"});
    EXPECT_EQ(numDrawPoints, 3);
    RunScript("release ctrl\nkey escape");
    EXPECT_EQ(numDrawPoints, 0);
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    EXPECT_EQ(numsectors, 1);
    ExpectSound();
}

TEST_F(SectorDrawingTest, BothEndsOnOneLinedefSplitItIntoThreeInListOrder) {
    RunScript("sector 0 0  0 512  512 512  512 0");
    Linedef* wall = LinedefNumber(2);  // (512,512) -> (512,0)
    RunScript("sector 512 128  512 256  640 256  640 128");
    ASSERT_EQ(numlinedefs, 9);
    EXPECT_EQ(LinedefNumber(2), wall);
    Linedef* copy = LinedefNumber(4);
    Linedef* edge = LinedefNumber(5);
    EXPECT_EQ(wall->startVertex->y, 512.0f);
    EXPECT_EQ(wall->endVertex->y, 256.0f);
    EXPECT_EQ(copy->startVertex->y, 128.0f);
    EXPECT_EQ(copy->endVertex->y, 0.0f);
    EXPECT_EQ(edge->startVertex->y, 128.0f);
    EXPECT_EQ(edge->endVertex->y, 256.0f);
    EXPECT_EQ(edge->right.sector, sectors->next);
    EXPECT_EQ(edge->left.sector, sectors);
    for (Linedef* l = LinedefNumber(5); l; l = l->next) EXPECT_EQ(SectorRightOf(l), sectors->next);
    ExpectSound();
}

TEST_F(SectorDrawingTest, GridSnapsFreePointsOnly) {
    RunScript("grid 16\nsector 0 0  0 128  128 128  128 0");
    RunScript("press ctrl 2 60\nclick 2 60\nclick -200 300\nmove -150 150\nrclick 0 0");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(numDrawPoints, 1);
    EXPECT_EQ(drawPoints[0].x, 0.0f);  // on the wall: projected, not snapped
    EXPECT_EQ(drawPoints[0].y, 60.0f);
    EXPECT_EQ(drawPoints[0].kind, kDrawOnLinedef);
    // The rubber-band point took the removed point's slot.
    EXPECT_EQ(drawPoints[1].x, -150.0f);
    RunScript("click -9 20");  // nothing within the pick windows: the grid
    EXPECT_EQ(numDrawPoints, 2);
    EXPECT_EQ(drawPoints[1].x, -16.0f);
    EXPECT_EQ(drawPoints[1].y, 16.0f);
    EXPECT_EQ(drawPoints[1].kind, kDrawFree);
    RunScript("rclick 0 0\nrclick 0 0");
    EXPECT_NE(mapMode, MapMode::kDrawSector);
    EXPECT_EQ(numDrawPoints, 0);
    ExpectSound();
}

}  // namespace
