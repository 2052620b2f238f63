// Vertex, thing, sector and linedef operations and their refusals.
#include "model/editing.h"

#include <functional>

#include "base/report.h"
#include "model/geometry.h"
#include "model/map_file.h"
#include "platform/files.h"
#include "tests/map_invariants.h"
#include "tests/test_support.h"

namespace {

class EditingTest : public EditorTest {
protected:
    static Linedef* Line(Vertex* a, Vertex* b, Sector* right) {
        auto* l = new Linedef{};
        l->startVertex = a;
        l->endVertex = b;
        l->right.sector = right;
        AppendLinedef(l);
        return l;
    }
    static Sector* NewSector() {
        auto* s = new Sector(defaultSector);
        AppendSector(s);
        return s;
    }
    void ExpectSound() { EXPECT_EQ(CheckMapInvariants(), ""); }
};

TEST_F(EditingTest, DeletingTheMiddleOfAWallJoinsItsTwoLinedefs) {
    RunScript("sector 0 0  0 128  128 128  128 0\ninsert 1 64");
    ASSERT_EQ(numlinedefs, 5);
    Linedef* first = linedefs;  // (0,0) -> (0,64)
    first->special = 11;
    LinedefNumber(4)->special = 22;  // the copy, (0,64) -> (0,128)
    RunScript("click 0 64\nkey delete");
    EXPECT_EQ(numlinedefs, 4);
    EXPECT_EQ(numvertices, 4);
    EXPECT_EQ(first->endVertex->y, 128.0f);
    EXPECT_EQ(first->special, 11);
    EXPECT_EQ(selection.kind, kObjectNone);
    EXPECT_TRUE(Messages().empty());
    ExpectSound();
}

TEST_F(EditingTest, VertexDeletionRules) {
    // Each fixture builds a few records and returns the vertex to delete.
    struct Case {
        const char* what;
        std::function<Vertex*()> build;
        const char* message;  // "" for none
        bool deletes;
        int vertices, linedefs;  // left afterwards
    };
    const Case cases[] = {
        {"isolated", [] { return MakeVertex(5, 5); }, "孤立した VERTEX を削除します", true, 0, 0},
        {"one linedef",
         [] {
             Vertex* v = MakeVertex(0, 0);
             Line(v, MakeVertex(10, 0), NewSector());
             return v;
         },
         "一つの LINEDEF としか繋がっていない VERTEX です", false, 2, 1},
        {"three linedefs",
         [] {
             Sector* s = NewSector();
             Vertex* v = MakeVertex(0, 0);
             Line(v, MakeVertex(10, 0), s);
             Line(MakeVertex(0, 10), v, s);
             Line(v, MakeVertex(-10, 0), s);
             return v;
         },
         "三つ以上の LINEDEF と繋がっている VERTEX を削除することは出来ません", false, 4, 3},
        {"joined line would cross",
         [] {
             Sector* s = NewSector();
             Vertex* v = MakeVertex(64, 64);
             Line(MakeVertex(0, 0), v, s);
             Line(v, MakeVertex(128, 0), s);
             Line(MakeVertex(64, 10), MakeVertex(64, -10), s);
             return v;
         },
         "LINEDEF 同士が交差するような VERTEX の削除は出来ません", false, 5, 3},
        {"joined line of no length",
         [] {
             Sector* s = NewSector();
             Vertex* v = MakeVertex(0, 0);
             Vertex* a = MakeVertex(10, 0);
             Line(v, a, s);
             Line(a, v, s);
             return v;
         },
         "LINEDEF の長さが 0 になるような VERTEX の削除は出来ません", false, 2, 2},
        {"both start at the vertex",
         [] {
             Sector* s = NewSector();
             Vertex* v = MakeVertex(64, 0);
             Line(v, MakeVertex(128, 0), s);
             Line(v, MakeVertex(0, 0), s);
             return v;
         },
         "", true, 2, 1},
        {"both end at the vertex",
         [] {
             Sector* s = NewSector();
             Vertex* v = MakeVertex(64, 0);
             Line(MakeVertex(128, 0), v, s);
             Line(MakeVertex(0, 0), v, s);
             return v;
         },
         "", true, 2, 1},
    };
    for (const Case& c : cases) {
        ClearMap();
        mapModified = 0;
        Vertex* v = c.build();
        const std::string before = EncodeMapFile();
        selection = {kObjectVertex, v};
        DeleteSelection();
        const auto messages = Messages();
        if (*c.message)
            EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.what;
        else
            EXPECT_TRUE(messages.empty()) << c.what;
        EXPECT_EQ(numvertices, c.vertices) << c.what;
        EXPECT_EQ(numlinedefs, c.linedefs) << c.what;
        EXPECT_EQ(selection.kind, kObjectNone) << c.what;
        if (c.deletes)
            EXPECT_EQ(mapModified, 1) << c.what;
        else
            EXPECT_EQ(EncodeMapFile(), before) << c.what;
        ExpectSound();
    }
}

TEST_F(EditingTest, JoiningTwoLinedefsOfOneDirectionKeepsTheFirstOnesSides) {
    Sector* s = NewSector();
    Vertex* v = MakeVertex(64, 0);
    Vertex* right = MakeVertex(128, 0);
    Vertex* left = MakeVertex(0, 0);
    Linedef* kept = Line(right, v, s);  // both end at v
    kept->special = 9;
    Line(left, v, s);
    DeleteVertex(v);
    ASSERT_EQ(numlinedefs, 1);
    EXPECT_EQ(linedefs, kept);
    // Still running from its own far end, so its right side faces where it did.
    EXPECT_EQ(kept->startVertex, right);
    EXPECT_EQ(kept->endVertex, left);
    EXPECT_EQ(kept->special, 9);
    ExpectSound();
}

TEST_F(EditingTest, DeletingASectorLeavesItsNeighbourFacingInwards) {
    for (bool deleteFirst : {false, true}) {
        ClearMap();
        RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
        Linedef* shared = LinedefNumber(2);
        shared->right.xOffset = 7;
        shared->right.yOffset = 9;
        SetName(shared->left.upper, "LEFTUP");
        Sector* kept = deleteFirst ? sectors->next : sectors;
        RunScript(deleteFirst ? "click 64 64\nkey delete" : "click 192 64\nkey delete");
        ASSERT_EQ(numsectors, 1);
        EXPECT_EQ(sectors, kept);
        EXPECT_EQ(numlinedefs, 4);
        EXPECT_EQ(numvertices, 4);
        EXPECT_EQ(shared->right.sector, kept);
        EXPECT_EQ(shared->left.sector, nullptr);
        EXPECT_EQ(shared->right.xOffset, 0);
        EXPECT_EQ(shared->right.yOffset, 0);
        EXPECT_TRUE(NameEquals(shared->right.middle, "GRAY1"));
        EXPECT_TRUE(NameEquals(shared->right.upper, "-"));
        EXPECT_TRUE(NameEquals(shared->right.lower, "-"));
        EXPECT_TRUE(NameEquals(shared->left.upper, "LEFTUP"));
        EXPECT_EQ(SectorRightOf(shared), kept) << deleteFirst;  // facing the sector that is left
        ExpectSound();
    }
}

// Imported levels have linedefs with one sector on both sides (a see-through
// wall inside a room); deleting the sector takes them too, instead of
// leaving them on the freed sector for the next save to trip over.
TEST_F(EditingTest, DeletingASectorTakesItsLinedefsWithItOnBothSides) {
    RunScript("sector 0 0  0 128  128 128  128 0\nsector 200 0  200 128  328 128  328 0");
    Sector* s = sectors;
    Linedef* inside = Line(MakeVertex(32, 32), MakeVertex(96, 96), s);
    inside->left.sector = s;
    inside->flags = 4;
    DeleteSector(s);
    EXPECT_EQ(numsectors, 1);
    EXPECT_EQ(numlinedefs, 4);
    EXPECT_EQ(numvertices, 4);
    ExpectSound();
    EXPECT_FALSE(EncodeMapFile().empty());
}

TEST_F(EditingTest, DeletingTheOnlySectorLeavesOnlyTheThings) {
    RunScript("sector 0 0  0 128  128 128  128 0\nthing 9 64 64\nclick 20 20\nkey delete");
    EXPECT_EQ(numsectors + numlinedefs + numvertices, 0);
    EXPECT_EQ(numthings, 1);
    ExpectSound();
}

TEST_F(EditingTest, DeletingASectorLogsVerticesLeftWithOneLinedef) {
    SetDebugLogEnabled(true);
    Sector* s = NewSector();
    Sector* other = NewSector();
    Line(MakeVertex(0, 0), MakeVertex(10, 0), s);
    Line(MakeVertex(50, 0), MakeVertex(60, 0), other);  // a dangling wall elsewhere
    DeleteSector(s);
    EXPECT_EQ(numvertices, 2);
    EXPECT_EQ(ReadFileBytes("debug.txt"),
              Utf8ToCp932("DeleteSector: 一つの linedef としか繋がっていない vertex が見つかりました\n"
                          "DeleteSector: 一つの linedef としか繋がっていない vertex が見つかりました\n"));
    ExpectSound();
}

TEST_F(EditingTest, InsertedVertexLiesAtTheFootOfThePerpendicular) {
    RunScript("grid 16\nsector 0 0  100 100  100 0\ninsert 50 51");
    ASSERT_EQ(numvertices, 4);
    Vertex* v = vertices->next->next->next;
    EXPECT_FLOAT_EQ(v->x, 50.5f);
    EXPECT_FLOAT_EQ(v->y, 50.5f);
    EXPECT_EQ(numlinedefs, 4);
    ExpectSound();

    // At or beyond an end there is nothing to split.
    Linedef* l = linedefs;
    InsertVertex(-20, -20, l);
    InsertVertex(0, 0, l);
    EXPECT_EQ(Messages(), std::vector<std::string>(2, "LINEDEF の端または外に VERTEX を挿入することは出来ません"));
    EXPECT_EQ(numlinedefs, 4);
    ExpectSound();
}

TEST_F(EditingTest, VertexDragsAreSnappedAndRefusedMovesPutBack) {
    RunScript("sector 0 0  0 128  128 128  128 0\nsector 256 0  256 128  384 128  384 0");
    mapModified = 0;
    Vertex* corner = MakeVertex(128, 128);
    RunScript("drag 128 128  300 64");
    EXPECT_EQ(Messages(), std::vector<std::string>{"LINEDEF 同士が交差するような VERTEX の移動は出来ません"});
    EXPECT_EQ(corner->x, 128.0f);
    EXPECT_EQ(corner->y, 128.0f);
    EXPECT_EQ(mapModified, 0);

    RunScript("drag 128 128  128 0");  // onto its neighbour
    EXPECT_EQ(Messages(), std::vector<std::string>{"LINEDEF の長さが 0 になるような VERTEX の移動は出来ません"});
    EXPECT_EQ(corner->y, 128.0f);

    RunScript("grid 16\ndrag 128 128  150 170");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(corner->x, 144.0f);
    EXPECT_EQ(corner->y, 176.0f);
    EXPECT_EQ(mapModified, 1);  // a move is a change
    ExpectSound();

    const struct {
        float x, y, snappedX, snappedY;
    } snaps[] = {{7.9f, -8.1f, 0, -16}, {8, 8, 16, 16}, {-8.01f, -7.99f, -16, 0}, {23.5f, 24, 16, 32}};
    Vertex* loose = MakeVertex(1000, 1000);
    for (const auto& s : snaps) {
        loose->x = s.x;
        loose->y = s.y;
        EXPECT_TRUE(CheckVertexMove(loose));
        EXPECT_EQ(loose->x, s.snappedX) << s.x;
        EXPECT_EQ(loose->y, s.snappedY) << s.y;
    }
}

TEST_F(EditingTest, ThingsArePlacedWhereTheMenuWasOpenedAndDraggedFreely) {
    RunScript("grid 64\nrclick 100 101\nmove 300 300\nmenu 9");
    ASSERT_EQ(numthings, 1);
    EXPECT_EQ(things->x, 100.0f);
    EXPECT_EQ(things->y, 101.0f);
    EXPECT_EQ(things->angle, 90);
    EXPECT_EQ(things->flags, 7);
    EXPECT_EQ(things->type, 3001);
    EXPECT_EQ(things->typeIndex, 9);
    EXPECT_EQ(mapModified, 1);

    mapModified = 0;
    RunScript("drag 100 101  130 95");  // no snapping for things
    EXPECT_EQ(things->x, 130.0f);
    EXPECT_EQ(things->y, 95.0f);
    EXPECT_EQ(mapModified, 1);

    PlaceThing(0, 0, 121);
    EXPECT_EQ(Messages(), std::vector<std::string>{"PlaceThing: 種類 121 がありません"});
    RunScript("click 130 95\nkey delete");
    EXPECT_EQ(numthings, 0);
    ExpectSound();
}

TEST_F(EditingTest, FlippingTurnsTwoSidedLinedefsOnly) {
    RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
    Linedef* oneSided = linedefs;
    Linedef* shared = LinedefNumber(2);
    SetName(shared->right.middle, "RIGHTMID");
    shared->right.xOffset = 3;
    mapModified = 0;
    const std::string before = EncodeMapFile();

    selection = {kObjectLinedef, oneSided};
    FlipSelection();
    EXPECT_EQ(EncodeMapFile(), before);
    EXPECT_EQ(mapModified, 0);

    selection = {kObjectLinedef, shared};
    FlipSelection();
    EXPECT_EQ(shared->startVertex->y, 0.0f);
    EXPECT_EQ(shared->right.sector, sectors->next);
    EXPECT_TRUE(NameEquals(shared->left.middle, "RIGHTMID"));
    EXPECT_EQ(shared->left.xOffset, 3);
    EXPECT_EQ(mapModified, 1);
    FlipSelection();
    EXPECT_EQ(EncodeMapFile(), before);

    // Delete with a linedef selected deletes nothing.
    DeleteSelection();
    EXPECT_EQ(EncodeMapFile(), before);
    EXPECT_EQ(selection.kind, kObjectNone);
    ExpectSound();
}

}  // namespace
