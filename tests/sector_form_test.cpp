// The sector dialogs' working copy, the walls re-textured by a height
// change, and the thing dialog's working copy.
#include "dialogs/sector_form.h"

#include <cstring>

#include "dialogs/thing_form.h"
#include "model/editing.h"
#include "resources/catalogue.h"
#include "resources/thing_types.h"
#include "tests/test_support.h"

namespace {

class DialogFormTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        catalogue = Catalogue{};
        for (const char* name : {"FLOOR1_1", "FLAT18", "NUKAGE1", "CEIL3_5"}) {
            Flat flat{};
            SetName(flat.name, name);
            flat.pixels.assign(4096, '\0');
            catalogue.flats.push_back(flat);
        }
    }
    void TearDown() override {
        catalogue = Catalogue{};
        EditorTest::TearDown();
    }

    static Sector* NewSector(int32_t floorHeight, int32_t ceilingHeight) {
        auto* s = new Sector(defaultSector);
        s->floorHeight = floorHeight;
        s->ceilingHeight = ceilingHeight;
        AppendSector(s);
        return s;
    }
    static Linedef* NewLine(Sector* right, Sector* left) {
        auto* a = new Vertex{0, 0, {}, nullptr};
        auto* b = new Vertex{0, 64, {}, nullptr};
        AppendVertex(a);
        AppendVertex(b);
        auto* l = new Linedef{};
        l->startVertex = a;
        l->endVertex = b;
        l->right.sector = right;
        l->left.sector = left;
        for (Sidedef* side : {&l->right, &l->left}) {
            SetName(side->upper, "OLDUP");
            SetName(side->lower, "OLDLOW");
            SetName(side->middle, "MID");
        }
        AppendLinedef(l);
        return l;
    }
};

// The sides' textures as "upper/lower/middle".
std::string Walls(const Sidedef& side) {
    return NameText(side.upper) + "/" + NameText(side.lower) + "/" + NameText(side.middle);
}

TEST_F(DialogFormTest, HeightChangesRetextureTheWallsThatChangeSides) {
    SetName(defaultUpper, "DEFUP");
    SetName(defaultLower, "DEFLOW");
    SetName(defaultMiddle, "DEFMID");
    struct Case {
        const char* what;
        int32_t floor, ceiling;  // the sector's heights before
        int32_t neighbourFloor, neighbourCeiling;
        int32_t newFloor, newCeiling;
        const char* own;    // the sector's side afterwards
        const char* other;  // the neighbour's side afterwards
    } cases[] = {
        {"neighbour floor comes below", 0, 128, 0, 128, 16, 128, "OLDUP/-/MID", "OLDUP/DEFLOW/MID"},
        {"neighbour floor comes above", 0, 128, 0, 128, -16, 128, "OLDUP/DEFLOW/MID", "OLDUP/-/MID"},
        {"neighbour floor crosses to above", 8, 128, 0, 128, -8, 128, "OLDUP/DEFLOW/MID", "OLDUP/-/MID"},
        {"neighbour floor crosses to below", -8, 128, 0, 128, 8, 128, "OLDUP/-/MID", "OLDUP/DEFLOW/MID"},
        {"floor back to the neighbour's", 16, 128, 0, 128, 0, 128, "OLDUP/-/MID", "OLDUP/-/MID"},
        {"neighbour floor stays below", 8, 128, 0, 128, 24, 128, "OLDUP/OLDLOW/MID", "OLDUP/OLDLOW/MID"},
        {"neighbour floor stays above", -8, 128, 0, 128, -24, 128, "OLDUP/OLDLOW/MID", "OLDUP/OLDLOW/MID"},
        {"neighbour ceiling comes above", 0, 128, 0, 128, 0, 112, "-/OLDLOW/MID", "DEFUP/OLDLOW/MID"},
        {"neighbour ceiling comes below", 0, 128, 0, 128, 0, 144, "DEFUP/OLDLOW/MID", "-/OLDLOW/MID"},
        {"ceiling back to the neighbour's", 0, 112, 0, 128, 0, 128, "-/OLDLOW/MID", "-/OLDLOW/MID"},
        {"neighbour ceiling stays above", 0, 96, 0, 128, 0, 64, "OLDUP/OLDLOW/MID", "OLDUP/OLDLOW/MID"},
        {"both heights change", 0, 128, 0, 128, 16, 112, "-/-/MID", "DEFUP/DEFLOW/MID"},
        {"unchanged heights leave mismatches", 16, 96, 0, 128, 16, 96, "OLDUP/OLDLOW/MID", "OLDUP/OLDLOW/MID"},
    };
    for (const Case& c : cases) {
        for (const bool ownOnRight : {true, false}) {
            ResetMapState();
            SetName(defaultUpper, "DEFUP");
            SetName(defaultLower, "DEFLOW");
            Sector* s = NewSector(c.floor, c.ceiling);
            Sector* n = NewSector(c.neighbourFloor, c.neighbourCeiling);
            Sector* far = NewSector(-40, 200);
            Linedef* shared = ownOnRight ? NewLine(s, n) : NewLine(n, s);
            Linedef* outer = NewLine(s, nullptr);
            Linedef* beyond = NewLine(n, far);
            Linedef* backwards = NewLine(nullptr, s);  // only its left side faces a sector
            ApplySectorHeights(s, c.newFloor, c.newCeiling);
            const std::string label = std::string(c.what) + (ownOnRight ? " (right)" : " (left)");
            EXPECT_EQ(s->floorHeight, c.newFloor) << label;
            EXPECT_EQ(s->ceilingHeight, c.newCeiling) << label;
            EXPECT_EQ(Walls(ownOnRight ? shared->right : shared->left), c.own) << label;
            EXPECT_EQ(Walls(ownOnRight ? shared->left : shared->right), c.other) << label;
            // One-sided walls and linedefs between other sectors are never touched.
            EXPECT_EQ(Walls(outer->right), "OLDUP/OLDLOW/MID") << label;
            EXPECT_EQ(Walls(beyond->right), "OLDUP/OLDLOW/MID") << label;
            EXPECT_EQ(Walls(beyond->left), "OLDUP/OLDLOW/MID") << label;
            EXPECT_EQ(Walls(backwards->left), "OLDUP/OLDLOW/MID") << label;
            EXPECT_EQ(n->floorHeight, c.neighbourFloor) << label;
        }
    }
}

TEST_F(DialogFormTest, SectorEditOpensOnTheSectorsValues) {
    Sector* s = NewSector(-24, 200);
    SetName(s->floorFlat, "NUKAGE1");
    SetName(s->ceilingFlat, "NOSUCH");
    s->light = 144;
    s->special = 9;
    s->tag = -3;
    const SectorForm form = LoadSectorForm(*s);
    EXPECT_EQ(form.floorHeight, "-24");
    EXPECT_EQ(form.ceilingHeight, "200");
    EXPECT_EQ(form.light, "144");
    EXPECT_EQ(form.tag, "-3");
    EXPECT_EQ(form.floorFlat, 2);
    EXPECT_EQ(form.ceilingFlat, -1);  // not in the catalogue: nothing selected
    EXPECT_EQ(form.special, 9);
    s->special = 99;
    EXPECT_EQ(LoadSectorForm(*s).special, -1);
    s->special = -1;
    EXPECT_EQ(LoadSectorForm(*s).special, -1);
}

TEST_F(DialogFormTest, SectorEditOkWritesEveryField) {
    SetName(defaultLower, "DEFLOW");
    Sector* s = NewSector(0, 128);
    Sector* n = NewSector(0, 128);
    Linedef* shared = NewLine(s, n);
    SectorForm form = LoadSectorForm(*s);
    form.floorHeight = "32";
    form.ceilingHeight = " 160";
    form.floorFlat = 3;
    form.ceilingFlat = 2;
    form.light = "255";
    form.special = 17;
    form.tag = "-32768";
    ASSERT_FALSE(ApplySectorForm(form, *s).has_value());
    EXPECT_EQ(s->floorHeight, 32);
    EXPECT_EQ(s->ceilingHeight, 160);
    EXPECT_EQ(NameText(s->floorFlat), "CEIL3_5");
    EXPECT_EQ(NameText(s->ceilingFlat), "NUKAGE1");
    EXPECT_EQ(s->light, 255);
    EXPECT_EQ(s->special, 17);
    EXPECT_EQ(s->tag, -32768);
    EXPECT_EQ(NameText(shared->left.lower), "DEFLOW");  // through ApplySectorHeights
    EXPECT_EQ(NameText(shared->right.lower), "-");
    EXPECT_EQ(mapModified, 1);
}

TEST_F(DialogFormTest, SectorEditKeepsWhatItsListsCannotShow) {
    Sector* s = NewSector(0, 128);
    SetName(s->floorFlat, "NOSUCH");
    SetName(s->ceilingFlat, "ALSONOT");
    s->special = 99;
    const SectorForm form = LoadSectorForm(*s);
    ASSERT_FALSE(ApplySectorForm(form, *s).has_value());
    EXPECT_EQ(NameText(s->floorFlat), "NOSUCH");
    EXPECT_EQ(NameText(s->ceilingFlat), "ALSONOT");
    EXPECT_EQ(s->special, 99);
    EXPECT_EQ(mapModified, 0);  // nothing changed
}

TEST_F(DialogFormTest, RefusedFieldsWriteNothing) {
    struct Case {
        std::string SectorForm::*field;
        const char* text;
        int control;
        const char* message;
    } cases[] = {
        {&SectorForm::floorHeight, "abc", 4001, "「Floor Height」には -32768 から 32767 までの整数を入れて下さい"},
        {&SectorForm::floorHeight, "32768", 4001, "「Floor Height」には -32768 から 32767 までの整数を入れて下さい"},
        {&SectorForm::ceilingHeight, "-40000", 4002,
         "「Ceiling Height」には -32768 から 32767 までの整数を入れて下さい"},
        {&SectorForm::ceilingHeight, "", 4002, "「Ceiling Height」には -32768 から 32767 までの整数を入れて下さい"},
        {&SectorForm::light, "300", 4003, "「Light Level」には 0 から 255 までの整数を入れて下さい"},
        {&SectorForm::light, "-1", 4003, "「Light Level」には 0 から 255 までの整数を入れて下さい"},
        {&SectorForm::tag, "65536", 4004, "「Tag」には -32768 から 32767 までの整数を入れて下さい"},
    };
    for (const Case& c : cases) {
        ResetMapState();
        Sector* s = NewSector(0, 128);
        Sector* n = NewSector(0, 128);
        Linedef* shared = NewLine(s, n);
        SectorForm form = LoadSectorForm(*s);
        form.floorHeight = "64";  // would re-texture the wall
        form.floorFlat = 2;
        form.light = "200";
        form.special = 5;
        form.tag = "7";
        form.*c.field = c.text;
        const std::optional<FieldRefusal> refusal = ApplySectorForm(form, *s);
        ASSERT_TRUE(refusal.has_value()) << c.text;
        EXPECT_EQ(refusal->control, c.control) << c.text;
        EXPECT_EQ(refusal->message, c.message) << c.text;
        EXPECT_EQ(s->floorHeight, 0) << c.text;
        EXPECT_EQ(NameText(s->floorFlat), "FLOOR1_1") << c.text;
        EXPECT_EQ(s->light, 160) << c.text;
        EXPECT_EQ(s->special, 0) << c.text;
        EXPECT_EQ(s->tag, 0) << c.text;
        EXPECT_EQ(Walls(shared->left), "OLDUP/OLDLOW/MID") << c.text;
        EXPECT_EQ(mapModified, 0) << c.text;
    }
}

TEST_F(DialogFormTest, DefaultSectorIsWhatNewSectorsCopy) {
    RunScript("sector 0 0  0 128  128 128  128 0");
    ASSERT_EQ(numsectors, 1);
    SectorForm form = LoadDefaultSectorForm();
    EXPECT_EQ(form.floorHeight, "0");
    EXPECT_EQ(form.ceilingHeight, "128");
    EXPECT_EQ(form.light, "160");
    EXPECT_EQ(form.floorFlat, 0);
    EXPECT_EQ(form.ceilingFlat, 1);
    form.floorHeight = "8";
    form.ceilingHeight = "96";
    form.floorFlat = 2;
    form.ceilingFlat = -1;  // nothing selected: kept
    form.light = "200";
    form.special = 4;  // not part of this dialog
    form.tag = "5";
    ASSERT_FALSE(ApplyDefaultSectorForm(form).has_value());
    form.light = "256";
    const std::optional<FieldRefusal> refusal = ApplyDefaultSectorForm(form);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->control, 4003);
    EXPECT_EQ(defaultSector.light, 200);

    RunScript("sector 256 0  256 128  384 128  384 0");
    ASSERT_EQ(numsectors, 2);
    const Sector* old = sectors;
    const Sector* drawn = sectors->next;
    EXPECT_EQ(old->light, 160);
    EXPECT_EQ(drawn->light, 200);
    EXPECT_EQ(drawn->floorHeight, 8);
    EXPECT_EQ(drawn->ceilingHeight, 96);
    EXPECT_EQ(NameText(drawn->floorFlat), "NUKAGE1");
    EXPECT_EQ(NameText(drawn->ceilingFlat), "FLAT18");
    EXPECT_EQ(drawn->special, 0);
    EXPECT_EQ(drawn->tag, 0);
}

// A picture lump of one column: width 1, the given height, all colour c.
std::string OneColumnPicture(uint8_t height, uint8_t c) {
    std::string bytes = {1, 0, static_cast<char>(height), 0, 0, 0, 0, 0, 12, 0, 0, 0};
    bytes += {0, static_cast<char>(height), 0};
    bytes += std::string(height, static_cast<char>(c));
    bytes += {0, static_cast<char>(0xff)};
    return bytes;
}

TEST_F(DialogFormTest, ThingEditOpensOnTheThingsValues) {
    struct Case {
        int32_t angle, flags;
        int angleRow;
        bool options[kNumThingOptions];
    } cases[] = {
        {0, 0, 0, {}},
        {90, 1 | 16, 2, {true, false, false, false, true}},
        {315, 31, 7, {true, true, true, true, true}},
        {225, 4 | 32, 5, {false, false, true, false, false}},
        {400, 2 | 8 | 64, -1, {false, true, false, true, false}},
        {-45, 0, -1, {}},
    };
    for (const Case& c : cases) {
        const Thing thing{0, 0, c.angle, 3001, c.flags, 9, nullptr};
        const ThingForm form = LoadThingForm(thing);
        EXPECT_EQ(form.row, 9) << c.angle;
        EXPECT_EQ(form.angle, c.angleRow) << c.angle;
        for (int i = 0; i < kNumThingOptions; ++i) EXPECT_EQ(form.options[i], c.options[i]) << c.angle << " " << i;
    }
}

TEST_F(DialogFormTest, ThingEditOkWritesRowAngleAndShownBitsOnly) {
    Thing thing{0, 0, 90, 3001, 4 | 32 | 256, 9, nullptr};
    ThingForm form = LoadThingForm(thing);
    ApplyThingForm(form, thing);  // untouched: only the hidden bits go
    EXPECT_EQ(thing.flags, 4);
    EXPECT_EQ(thing.angle, 90);
    EXPECT_EQ(thing.typeIndex, 9);
    EXPECT_EQ(thing.type, 3001);

    form.row = 11;  // Spectre
    form.angle = 5;
    form.options[0] = true;
    form.options[2] = false;
    form.options[4] = true;
    ApplyThingForm(form, thing);
    EXPECT_EQ(thing.typeIndex, 11);
    EXPECT_EQ(thing.type, 58);
    EXPECT_EQ(thing.angle, 225);
    EXPECT_EQ(thing.flags, 1 | 16);
    EXPECT_EQ(mapModified, 1);

    Thing odd{0, 0, 400, 3001, 0, 9, nullptr};  // an angle the list cannot show is kept
    ApplyThingForm(LoadThingForm(odd), odd);
    EXPECT_EQ(odd.angle, 400);
    EXPECT_EQ(odd.type, 3001);
}

TEST_F(DialogFormTest, ThingRowShowsItsNameAndSprite) {
    catalogue.sprites[0] = OneColumnPicture(3, 112);
    catalogue.sprites[1] = catalogue.sprites[0];
    EXPECT_EQ(ThingRowName(4), "Deathmatch start");
    EXPECT_EQ(ThingRowPicture(4).width, 0);  // no sprite: the area stays blank
    const Image player = ThingRowPicture(1);
    ASSERT_EQ(player.width, 1);
    ASSERT_EQ(player.height, 3);
    EXPECT_EQ(player.pixels[2 * player.stride], 112);
    EXPECT_EQ(&ThingRowPalette(1), &PaletteForThingType(2));
    EXPECT_EQ(&ThingRowPalette(11), &PaletteForThingType(58));
    EXPECT_EQ(ThingRowName(kNumThingTypes), "");
    EXPECT_EQ(ThingRowPicture(-1).width, 0);
}

}  // namespace
