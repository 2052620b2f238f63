// The linedef dialog's working copy: what opening shows, what OK writes and
// what it refuses.
#include "dialogs/linedef_form.h"

#include <cstring>

#include "base/names.h"
#include "model/map.h"
#include "resources/catalogue.h"
#include "tests/test_support.h"

namespace {

class LinedefFormTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // GLASS1 comes after GLASS1B, which begins with it.
        ASSERT_EQ(LoadIwad(ArtIwad({"GRAY1", "GLASS1B", "GLASS1", "STARTAN3"}, {"FLOOR1_1"})), 1);
        RunScript("sector 0 0  0 128  128 128  128 0\nsector 128 0  128 128  256 128  256 0");
        for (Linedef* l = linedefs; l; l = l->next) (l->left.sector ? shared : outer) = l;
        ASSERT_TRUE(shared && outer);
        mapModified = 0;
    }

    Linedef* shared = nullptr;  // the wall between the rooms
    Linedef* outer = nullptr;   // a one-sided wall
};

void SetSide(Sidedef& side, int32_t x, int32_t y, const char* upper, const char* middle, const char* lower) {
    side.xOffset = x;
    side.yOffset = y;
    SetName(side.upper, upper);
    SetName(side.middle, middle);
    SetName(side.lower, lower);
}

bool SameSidedef(const Sidedef& a, const Sidedef& b) {
    return a.xOffset == b.xOffset && a.yOffset == b.yOffset && !std::memcmp(a.upper, b.upper, 8) &&
           !std::memcmp(a.middle, b.middle, 8) && !std::memcmp(a.lower, b.lower, 8) && a.sector == b.sector;
}

bool SameLinedef(const Linedef& a, const Linedef& b) {
    return a.flags == b.flags && a.special == b.special && a.tag == b.tag && SameSidedef(a.right, b.right) &&
           SameSidedef(a.left, b.left) && a.startVertex == b.startVertex && a.endVertex == b.endVertex;
}

std::string Names(const Sidedef& s) { return NameText(s.upper) + "/" + NameText(s.middle) + "/" + NameText(s.lower); }

TEST_F(LinedefFormTest, OpeningShowsTheLinedefAndBothSides) {
    shared->flags = 0x4 | 0x1 | 0x100 | 0x200 | 0x8000;
    shared->special = 11;
    shared->tag = -7;
    SetSide(shared->right, 5, -3, "glass1", "-", "NOPE");
    SetSide(shared->left, -32768, 32767, "GLASS1B", "STARTAN3", "GLASS1");
    const LinedefForm form = LoadLinedefForm(*shared);
    EXPECT_EQ(form.flags, 0x105);
    EXPECT_EQ(form.special, 11);
    EXPECT_EQ(form.storedSpecial, 11);
    EXPECT_EQ(form.tag, "-7");
    EXPECT_TRUE(form.hasLeft);
    EXPECT_EQ(form.shownSide, 0);
    struct Expected {
        const char *x, *y;
        int upper, middle, lower;
    } sides[2] = {{"5", "-3", 2, -1, -1}, {"-32768", "32767", 1, 3, 2}};
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(form.sides[s].xOffset, sides[s].x) << s;
        EXPECT_EQ(form.sides[s].yOffset, sides[s].y) << s;
        EXPECT_EQ(form.sides[s].upper, sides[s].upper) << s;
        EXPECT_EQ(form.sides[s].middle, sides[s].middle) << s;
        EXPECT_EQ(form.sides[s].lower, sides[s].lower) << s;
    }

    // One-sided: no left tab. A special beyond the table selects nothing.
    outer->special = 300;
    const LinedefForm one = LoadLinedefForm(*outer);
    EXPECT_FALSE(one.hasLeft);
    EXPECT_EQ(one.special, -1);
    EXPECT_EQ(one.storedSpecial, 300);
}

TEST_F(LinedefFormTest, OkWritesFlagsSpecialAndTag) {
    struct Case {
        bool twoSided;
        int storedFlags, checked, flags;
        int storedSpecial, position, special;
        const char* tag;
        int32_t storedTag;
    } cases[] = {
        {true, 0x4, 0x4 | 0x20, 0x24, 0, 11, 11, "12", 12},
        {true, 0x4 | 0x400 | 0x8000, 0x4, 0x4, 11, 0, 0, " -32768 ", -32768},  // bits above 0x100 dropped
        {true, 0x4, 0, 0, 1, 1, 1, "32767", 32767},                            // unticked two-sided keeps the left side
        {false, 0x1, 0x1 | 0x4 | 0x1FF, 0x1FF, 300, -1, 300, "0", 0},          // ticked keeps no left side
        {false, 0x1, 0x1, 0x1, -5, -1, -5, "+3", 3},                           // a special beyond the table is kept
        {false, 0x1, 0x1, 0x1, 300, 141, 141, "1", 1},
    };
    for (const Case& c : cases) {
        Linedef& l = c.twoSided ? *shared : *outer;
        l.flags = c.storedFlags;
        l.special = c.storedSpecial;
        Sector* const leftSector = l.left.sector;
        LinedefForm form = LoadLinedefForm(l);
        form.flags = c.checked;
        form.special = c.position;
        form.tag = c.tag;
        ASSERT_FALSE(ApplyLinedefForm(form, l).has_value()) << c.tag;
        EXPECT_EQ(l.flags, c.flags) << c.tag;
        EXPECT_EQ(l.special, c.special) << c.tag;
        EXPECT_EQ(l.tag, c.storedTag) << c.tag;
        EXPECT_EQ(l.left.sector, leftSector) << c.tag;
    }
    EXPECT_EQ(mapModified, 1);
}

TEST_F(LinedefFormTest, OkWritesBothSidesAndLeavesAOneSidedLinedefsLeftAlone) {
    SetSide(shared->right, 1, 2, "GRAY1", "-", "NOPE");
    SetSide(shared->left, 3, 4, "GLASS1", "GLASS1", "GLASS1");
    LinedefForm form = LoadLinedefForm(*shared);
    form.sides[0] = {"-16", " 32767", 3, -1, 1};
    form.sides[1] = {"-32768", "0", -1, 2, -1};
    ASSERT_FALSE(ApplyLinedefForm(form, *shared).has_value());
    EXPECT_EQ(shared->right.xOffset, -16);
    EXPECT_EQ(shared->right.yOffset, 32767);
    EXPECT_EQ(Names(shared->right), "STARTAN3/-/GLASS1B");
    EXPECT_EQ(shared->left.xOffset, -32768);
    EXPECT_EQ(shared->left.yOffset, 0);
    EXPECT_EQ(Names(shared->left), "-/GLASS1/-");

    // An unknown name opens as none and is written back as "-"; the left side
    // of a one-sided linedef, even with values in it, is not touched.
    SetSide(outer->right, 0, 0, "-", "NOPE", "-");
    SetSide(outer->left, 9, 9, "X", "Y", "Z");
    const Linedef before = *outer;
    form = LoadLinedefForm(*outer);
    form.sides[1] = {"1", "1", 0, 0, 0};
    ASSERT_FALSE(ApplyLinedefForm(form, *outer).has_value());
    EXPECT_EQ(Names(outer->right), "-/-/-");
    EXPECT_TRUE(SameSidedef(outer->left, before.left));
}

TEST_F(LinedefFormTest, NumbersTheLumpsCannotHoldAreRefusedAndNothingIsWritten) {
    struct Case {
        const char* tag;
        const char* rightX;
        const char* leftY;
        int control;
        int side;
        const char* label;
    } cases[] = {
        {"abc", "0", "0", 4001, 0, "「Tag」"},
        {"70000", "0", "0", 4001, 0, "「Tag」"},
        {"-32769", "0", "0", 4001, 0, "「Tag」"},
        {"", "0", "0", 4001, 0, "「Tag」"},
        {"1", "40000", "0", 4002, 0, "「X offset (Right Sidedef)」"},
        {"1", "1.5", "0", 4002, 0, "「X offset (Right Sidedef)」"},
        {"1", "0", "x", 4003, 1, "「Y offset (Left Sidedef)」"},
        {"1", "0", "-40000", 4003, 1, "「Y offset (Left Sidedef)」"},
    };
    for (const Case& c : cases) {
        const Linedef before = *shared;
        LinedefForm form = LoadLinedefForm(*shared);
        form.flags = 0x1FF;
        form.special = 50;
        form.tag = c.tag;
        form.sides[0].xOffset = c.rightX;
        form.sides[1].yOffset = c.leftY;
        form.sides[1].upper = 3;
        const auto refusal = ApplyLinedefForm(form, *shared);
        ASSERT_TRUE(refusal.has_value()) << c.tag << " " << c.rightX << " " << c.leftY;
        EXPECT_EQ(refusal->field.control, c.control) << c.label;
        EXPECT_EQ(refusal->side, c.side) << c.label;
        EXPECT_EQ(refusal->field.message.rfind(c.label, 0), 0u) << refusal->field.message;
        EXPECT_NE(refusal->field.message.find("-32768 から 32767"), std::string::npos) << refusal->field.message;
        EXPECT_TRUE(SameLinedef(*shared, before)) << c.label;
    }
    EXPECT_EQ(mapModified, 0);
}

TEST_F(LinedefFormTest, OkWithoutChangesLeavesTheMapUnmodified) {
    SetSide(shared->right, 1, 2, "GRAY1", "-", "-");
    SetSide(shared->left, 3, 4, "-", "GLASS1", "-");
    shared->flags = 0x4;
    shared->tag = 5;
    const Linedef before = *shared;
    ASSERT_FALSE(ApplyLinedefForm(LoadLinedefForm(*shared), *shared).has_value());
    EXPECT_TRUE(SameLinedef(*shared, before));
    EXPECT_EQ(mapModified, 0);
    LinedefForm form = LoadLinedefForm(*shared);
    form.sides[1].middle = 0;
    ASSERT_FALSE(ApplyLinedefForm(form, *shared).has_value());
    EXPECT_EQ(mapModified, 1);
}

}  // namespace
