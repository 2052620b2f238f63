// The record lists, their numbering and the current-map state.
#include "model/map.h"

#include "app/title.h"
#include "tests/test_support.h"

namespace {

class MapTest : public EditorTest {};

Vertex* NewVertex(float x, float y) {
    auto* v = new Vertex{};
    v->x = x;
    v->y = y;
    AppendVertex(v);
    return v;
}

Sector* NewSector() {
    auto* s = new Sector(defaultSector);
    AppendSector(s);
    return s;
}

TEST_F(MapTest, NumbersFollowCreationOrderAndCloseUpAfterRemoval) {
    Vertex* a = NewVertex(0, 0);
    Vertex* b = NewVertex(1, 0);
    Vertex* c = NewVertex(2, 0);
    Vertex* d = NewVertex(3, 0);
    EXPECT_EQ(numvertices, 4);
    EXPECT_EQ(VertexNumForPtr(a), 0);
    EXPECT_EQ(VertexNumForPtr(d), 3);

    RemoveVertex(b);
    EXPECT_EQ(numvertices, 3);
    EXPECT_EQ(VertexNumForPtr(a), 0);
    EXPECT_EQ(VertexNumForPtr(c), 1);
    EXPECT_EQ(VertexNumForPtr(d), 2);
    EXPECT_EQ(VertexForNum(2), d);
    EXPECT_EQ(VertexForNum(3), nullptr);

    // Removing the tail and appending again keeps the list linked in order.
    RemoveVertex(d);
    Vertex* e = NewVertex(4, 0);
    EXPECT_EQ(c->next, e);
    EXPECT_EQ(e->next, nullptr);
    EXPECT_EQ(VertexNumForPtr(e), 2);

    int walked = 0;
    for (Vertex* v = vertices; v; v = v->next) ++walked;
    EXPECT_EQ(walked, numvertices);
}

TEST_F(MapTest, ClearMapEmptiesListsButKeepsPathsSlotFlagAndDefaults) {
    NewVertex(1, 2);
    Sector* s = NewSector();
    auto* t = new Thing{};
    AppendThing(t);
    selection = {kObjectSector, s};
    hover = {kObjectThing, t};
    SetMapFileName("levels/e1.kdm");
    mapSlot = 7;
    mapModified = 1;
    saveCount = 3;
    SetName(defaultUpper, "STARTAN3");

    ClearMap();
    EXPECT_EQ(vertices, nullptr);
    EXPECT_EQ(sectors, nullptr);
    EXPECT_EQ(things, nullptr);
    EXPECT_EQ(linedefs, nullptr);
    EXPECT_EQ(numvertices + numsectors + numthings + numlinedefs, 0);
    EXPECT_EQ(selection.kind, kObjectNone);
    EXPECT_EQ(hover.kind, kObjectNone);
    EXPECT_EQ(saveCount, 0);
    EXPECT_EQ(mapFilePath, "levels/e1.kdm");
    EXPECT_EQ(pwadPath, "levels/e1.wad");
    EXPECT_EQ(mapSlot, 7);
    EXPECT_EQ(mapModified, 1);
    EXPECT_TRUE(NameEquals(defaultUpper, "STARTAN3"));

    // A record appended after clearing is number 0 again.
    Vertex* v = NewVertex(5, 5);
    EXPECT_EQ(VertexNumForPtr(v), 0);
}

TEST_F(MapTest, RecordsNotInTheirListAreFatal) {
    NewVertex(0, 0);
    NewSector();
    Vertex stray{};
    Sector straySector{};
    struct Case {
        const char* message;
        void (*lookUp)(Vertex*, Sector*);
    };
    const Case cases[] = {
        {"VertexNumForPtr: pointer not found", [](Vertex* v, Sector*) { VertexNumForPtr(v); }},
        {"SectorNumForPtr: pointer not found", [](Vertex*, Sector* s) { SectorNumForPtr(s); }},
        {"SectorNumForPtr: pointer not found", [](Vertex*, Sector*) { SectorNumForPtr(nullptr); }},
    };
    for (const Case& c : cases) {
        try {
            c.lookUp(&stray, &straySector);
            ADD_FAILURE() << "no fatal error for " << c.message;
        } catch (const FatalExit& exit) {
            EXPECT_EQ(exit.text, std::string(c.message) + "\nプログラムは終了します");
        }
    }
}

TEST_F(MapTest, PwadPathReplacesTheLastThreeCharacters) {
    const struct {
        const char* mapPath;
        const char* pwad;
    } cases[] = {
        {"untitled.kdm", "untitled.wad"},
        {"C:\\maps\\base.kdm", "C:\\maps\\base.wad"},
        {"maps/日本語.kdm", "maps/日本語.wad"},
        {"noext", "nowad"},
        {"ab", "ab.wad"},
    };
    for (const auto& c : cases) {
        SetMapFileName(c.mapPath);
        EXPECT_EQ(mapFilePath, c.mapPath);
        EXPECT_EQ(pwadPath, c.pwad) << c.mapPath;
    }
}

TEST_F(MapTest, EightCharacterNamesHaveNoTerminator) {
    char field[8];
    SetName(field, "STARTAN3");
    EXPECT_EQ(std::string(field, 8), "STARTAN3");
    EXPECT_TRUE(NameEquals(field, "STARTAN3"));
    EXPECT_FALSE(NameEquals(field, "STARTAN"));
    EXPECT_EQ(NameText(field), "STARTAN3");

    SetName(field, "GRAY1");
    EXPECT_EQ(std::string(field, 8), std::string("GRAY1\0\0\0", 8));
    EXPECT_FALSE(NameEquals(field, "GRAY10"));
    EXPECT_EQ(NameText(field), "GRAY1");
}

TEST_F(MapTest, MarkModifiedShowsTheMarkInTheTitleOnce) {
    UpdateTitle();
    EXPECT_EQ(LastWindowTitle(), "Keldra - [untitled.kdm - MAP01]");
    MarkModified();
    EXPECT_EQ(mapModified, 1);
    EXPECT_EQ(LastWindowTitle(), "Keldra - [untitled.kdm * - MAP01]");

    SetMapFileName("C:\\levels\\base.kdm");
    mapSlot = 12;
    MarkModified();  // already modified: the title is not refreshed
    EXPECT_EQ(LastWindowTitle(), "Keldra - [untitled.kdm * - MAP01]");
    EXPECT_EQ(TitleText(), "Keldra - [base.kdm * - MAP12]");
}

}  // namespace
