// The map slot dialog's working copy: it opens on the current slot, and OK
// sets the slot that the title, the map file and the play test use.
#include "dialogs/map_slot_form.h"

#include <cstdio>

#include "app/config.h"
#include "app/game_launch.h"
#include "app/title.h"
#include "model/map.h"
#include "tests/test_support.h"

namespace {

class MapSlotFormTest : public EditorTest {};

TEST_F(MapSlotFormTest, ListsTheThirtyTwoSlotsInOrder) {
    const std::vector<std::string> entries = MapSlotEntries();
    ASSERT_EQ(entries.size(), 32u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "MAP%02d", static_cast<int>(i + 1));
        EXPECT_EQ(entries[i], name);
    }
}

TEST_F(MapSlotFormTest, OpensOnTheCurrentSlot) {
    for (int slot : {1, 7, 32}) {
        mapSlot = slot;
        EXPECT_EQ(LoadMapSlotForm().position, slot - 1) << slot;
    }
}

TEST_F(MapSlotFormTest, OkSetsTheChosenSlot) {
    const struct {
        int current;
        int position;  // chosen in the list, -1 for none
        int slot;      // afterwards
        bool modified;
    } cases[] = {
        {7, 6, 7, false},  // opened and accepted untouched: MAP07 stays
        {7, 31, 32, true}, {32, 0, 1, true}, {1, 0, 1, false}, {7, -1, 7, false},  // nothing selected changes nothing
        {7, 32, 7, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << " " << c.position);
        ResetMapState();
        mapSlot = c.current;
        MapSlotForm form = LoadMapSlotForm();
        if (c.position != c.current - 1) form.position = c.position;
        EXPECT_EQ(ApplyMapSlotForm(form), c.slot != c.current);
        EXPECT_EQ(mapSlot, c.slot);
        EXPECT_EQ(mapModified != 0, c.modified);
    }
}

TEST_F(MapSlotFormTest, TheChosenSlotReachesTheTitleAndThePlayTest) {
    SetMapFileName("C:\\maps\\base.kdm");
    MapSlotForm form = LoadMapSlotForm();
    form.position = 31;
    ASSERT_TRUE(ApplyMapSlotForm(form));
    EXPECT_EQ(TitleText(), "Keldra - [base.kdm * - MAP32]");
    gamefile = "C:\\Games\\doom2.exe";
    GameLaunch launch;
    ASSERT_TRUE(PlanGameLaunch("C:\\Editor", launch));
    EXPECT_EQ(launch.commandLine, "doom2.exe -file C:\\maps\\base.wad -warp 32");
}

}  // namespace
