// The default textures dialog: the stored names selected on opening, stored
// by OK, and given to the linedefs drawn afterwards.
#include "dialogs/default_textures_form.h"

#include "base/names.h"
#include "model/map.h"
#include "resources/catalogue.h"
#include "tests/test_support.h"

namespace {

class DefaultTexturesFormTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_EQ(LoadIwad(ArtIwad({"GRAY1B", "GRAY1", "STARTAN3", "BROWN1"}, {"FLOOR1_1"})), 1);
    }
};

std::string Defaults() { return NameText(defaultUpper) + "/" + NameText(defaultMiddle) + "/" + NameText(defaultLower); }

TEST_F(DefaultTexturesFormTest, OpensOnTheStoredNamesAndOkStoresTheChosenOnes) {
    struct Case {
        const char* stored[3];
        int opened[3];
        int chosen[3];
        const char* stored_after;
    } cases[] = {
        {{"GRAY1", "GRAY1", "GRAY1"}, {1, 1, 1}, {2, 1, 3}, "STARTAN3/GRAY1/BROWN1"},
        {{"gray1b", "BROWN1", "STARTAN3"}, {0, 3, 2}, {0, 3, 2}, "GRAY1B/BROWN1/STARTAN3"},
        // A stored name the catalogue lacks opens with no selection and stays.
        {{"NOPE", "GRAY", "-"}, {-1, -1, -1}, {-1, -1, 1}, "NOPE/GRAY/GRAY1"},
    };
    for (const Case& c : cases) {
        SetName(defaultUpper, c.stored[0]);
        SetName(defaultMiddle, c.stored[1]);
        SetName(defaultLower, c.stored[2]);
        DefaultTexturesForm form = LoadDefaultTexturesForm();
        for (int i = 0; i < 3; ++i) EXPECT_EQ(form.textures[i], c.opened[i]) << c.stored_after << " " << i;
        for (int i = 0; i < 3; ++i) form.textures[i] = c.chosen[i];
        ApplyDefaultTexturesForm(form);
        EXPECT_EQ(Defaults(), c.stored_after);
    }
    EXPECT_EQ(mapModified, 0);
}

TEST_F(DefaultTexturesFormTest, LinedefsDrawnAfterOkGetTheNewDefaultsAndOldOnesKeepTheirs) {
    defaultSector.ceilingHeight = 128;
    RunScript("sector 0 0  0 128  128 128  128 0");
    Linedef* const old = linedefs;
    DefaultTexturesForm form = LoadDefaultTexturesForm();
    form.textures[0] = 2;
    form.textures[1] = 3;
    ApplyDefaultTexturesForm(form);
    // A higher room beside it: the shared wall's upper part is its side's.
    defaultSector.ceilingHeight = 256;
    RunScript("sector 128 0  128 128  256 128  256 0");
    EXPECT_EQ(NameText(old->right.middle), "GRAY1");
    int uppers = 0, middles = 0;
    for (Linedef* l = linedefs; l; l = l->next) {
        if (l->left.sector) {
            EXPECT_EQ(NameText(l->left.sector == sectors ? l->right.upper : l->left.upper), "STARTAN3");
            ++uppers;
        } else if (l->right.sector != sectors) {
            EXPECT_EQ(NameText(l->right.middle), "BROWN1");
            ++middles;
        }
    }
    EXPECT_EQ(uppers, 1);
    EXPECT_EQ(middles, 3);
}

}  // namespace
