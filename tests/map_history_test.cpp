// Undo and redo: a seeded walk of edits of every kind taken back to the start
// and brought forward again byte for byte, one step per user action; the
// modified flag, the polygon being drawn, the redo steps a new edit drops,
// and the bound on the steps kept.
#include "model/map_history.h"

#include "app/commands.h"
#include "app/frame_keys.h"
#include "app/resource.h"
#include "dialogs/sector_form.h"
#include "dialogs/thing_form.h"
#include "model/map_file.h"
#include "model/sector_drawing.h"
#include "platform/headless.h"
#include "tests/map_invariants.h"
#include "tests/random_edits.h"
#include "tests/test_support.h"
#include "view/map_input.h"

namespace {

class MapHistoryTest : public EditorTest {
protected:
    RandomEdits edits{20261211};

    // One user action of the walk: a scripted edit, or a dialog's OK on the
    // selection (a sector's heights, light and tag; a thing's type, angle and
    // options), the map slot, or the clear command.
    std::string Action() {
        switch (edits.Below(14)) {
            case 0:
                if (Sector* s = edits.Pick(sectors, numsectors)) {
                    selection = {kObjectSector, s};
                    const int floor = edits.Below(9) * 8 - 32, light = edits.Below(256);
                    QueueDialogAction([floor, light] {
                        auto* sector = static_cast<Sector*>(selection.object);
                        SectorForm form = LoadSectorForm(*sector);
                        form.floorHeight = std::to_string(floor);
                        form.light = std::to_string(light);
                        form.tag = "7";
                        return !ApplySectorForm(form, *sector).has_value();
                    });
                    RunCommand(IDM_EDIT_SELECTION);
                    return "sector dialog: floor " + std::to_string(floor) + ", light " + std::to_string(light);
                }
                return "";
            case 1:
                if (Thing* t = edits.Pick(things, numthings)) {
                    selection = {kObjectThing, t};
                    const int row = edits.Below(kNumThingTypes), angle = edits.Below(8);
                    QueueDialogAction([row, angle] {
                        auto* thing = static_cast<Thing*>(selection.object);
                        ThingForm form = LoadThingForm(*thing);
                        form.row = row;
                        form.angle = angle;
                        form.options[2] = !form.options[2];
                        ApplyThingForm(form, *thing);
                        return true;
                    });
                    RunCommand(IDM_EDIT_SELECTION);
                    return "thing dialog: row " + std::to_string(row);
                }
                return "";
            case 2: {
                const int slot = 1 + edits.Below(32);
                QueueDialogAction([slot] {
                    mapSlot = slot;
                    return true;
                });
                RunCommand(IDM_MAP_SLOT);
                return "map slot " + std::to_string(slot);
            }
            case 3:
                if (edits.Below(8) == 0) {
                    RunCommand(IDM_CLEAR);
                    return "clear";
                }
                return "";
            default: {
                const std::string script = edits.Step();
                RunScript(script);
                return script;
            }
        }
    }
};

TEST_F(MapHistoryTest, EveryActionIsOneStepBackAndForward) {
    QueueAnswer(Answer::kYes);  // whenever clearing asks
    std::vector<std::string> states = {EncodeMapFile()};
    std::vector<std::string> actions = {"start"};
    for (int i = 0; i < 500; ++i) {
        for (int a = 0; a < 8; ++a) QueueAnswer(Answer::kYes);
        const std::size_t stepsBefore = MapHistorySize().undoSteps;
        const std::string action = Action();
        Messages();
        const std::string now = EncodeMapFile();
        const std::size_t steps = MapHistorySize().undoSteps;
        if (now == states.back()) {
            ASSERT_EQ(steps, stepsBefore) << "an action that changed nothing made a step: " << action;
            continue;
        }
        ASSERT_EQ(steps, stepsBefore + 1) << "action " << i << " is not one step: " << action;
        states.push_back(now);
        actions.push_back(action);
    }
    ASSERT_GT(states.size(), 200u);
    EXPECT_GT(numlinedefs, 10);

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(CanUndoMapChange());
        ASSERT_TRUE(RunCommand(IDM_UNDO)) << "undo of " << actions[k];
        ASSERT_EQ(EncodeMapFile(), states[k - 1]) << "undo of " << actions[k];
        ASSERT_EQ(CheckMapInvariants(), "") << "undo of " << actions[k];
    }
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_FALSE(RunCommand(IDM_UNDO));
    for (std::size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(RunCommand(IDM_REDO)) << "redo of " << actions[k];
        ASSERT_EQ(EncodeMapFile(), states[k]) << "redo of " << actions[k];
    }
    EXPECT_FALSE(CanRedoMapChange());

    // Back ten steps, then a new edit: the ten cannot be redone any more.
    for (int k = 0; k < 10; ++k) ASSERT_TRUE(RunCommand(IDM_UNDO));
    ASSERT_TRUE(CanRedoMapChange());
    RunScript("thing 5 1000 1000");
    EXPECT_FALSE(CanRedoMapChange());
    EXPECT_FALSE(RunCommand(IDM_REDO));
    ASSERT_TRUE(RunCommand(IDM_UNDO));
    EXPECT_EQ(EncodeMapFile(), states[states.size() - 11]);
}

TEST_F(MapHistoryTest, ModifiedFlagFollowsTheSavedState) {
    RunScript("sector 0 0 0 128 128 128 128 0");
    ASSERT_EQ(mapModified, 1);
    QueueAnswer(Answer::kNo);  // keep the default name
    ASSERT_TRUE(RunCommand(IDM_SAVE));
    ASSERT_EQ(mapModified, 0);
    const std::string saved = EncodeMapFile();

    RunScript("thing 0 64 64");
    EXPECT_EQ(mapModified, 1);
    RunCommand(IDM_UNDO);
    EXPECT_EQ(EncodeMapFile(), saved);
    EXPECT_EQ(mapModified, 0) << "back at the saved state";
    RunCommand(IDM_UNDO);
    EXPECT_EQ(numsectors, 0);
    EXPECT_EQ(mapModified, 1) << "before the saved state";
    RunCommand(IDM_REDO);
    EXPECT_EQ(mapModified, 0);
    RunCommand(IDM_REDO);
    EXPECT_EQ(mapModified, 1);

    // A dialog that changes the map without saying so still marks it.
    ASSERT_TRUE(RunCommand(IDM_SAVE));
    QueueDialogAction([] {
        mapSlot = 9;
        return true;
    });
    RunCommand(IDM_MAP_SLOT);
    EXPECT_EQ(mapModified, 1);
    RunCommand(IDM_UNDO);
    EXPECT_EQ(mapSlot, 1);
    EXPECT_EQ(mapModified, 0);
}

TEST_F(MapHistoryTest, CtrlZWhileDrawingTakesBackThePoint) {
    RunScript("sector 0 0 0 128 128 128 128 0");
    RunScript("press ctrl 300 0\nclick 300 0\nclick 300 100\nclick 400 100");
    ASSERT_EQ(numDrawPoints, 3);
    FrameKeyDown(FrameKey::kZ, false, true, 0, 0);
    EXPECT_EQ(numDrawPoints, 2);
    EXPECT_EQ(numsectors, 1) << "the room drawn before stays";
    FrameKeyDown(FrameKey::kZ, false, true, 0, 0);
    FrameKeyDown(FrameKey::kZ, false, true, 0, 0);
    EXPECT_EQ(numDrawPoints, 0);
    RunScript("release ctrl");
    EXPECT_EQ(mapMode, MapMode::kSelect);
    // Without a polygon, Ctrl+Z undoes the room, Ctrl+Y and Ctrl+Shift+Z redo.
    FrameKeyDown(FrameKey::kZ, false, true, 0, 0);
    EXPECT_EQ(numsectors, 0);
    FrameKeyDown(FrameKey::kY, false, true, 0, 0);
    EXPECT_EQ(numsectors, 1);
    FrameKeyDown(FrameKey::kZ, false, true, 0, 0);
    FrameKeyDown(FrameKey::kZ, true, true, 0, 0);
    EXPECT_EQ(numsectors, 1);
    // Z without Ctrl is no command.
    FrameKeyDown(FrameKey::kZ, false, false, 0, 0);
    EXPECT_EQ(numsectors, 1);
}

TEST_F(MapHistoryTest, KeepsTheLatestStepsUpToTheBound) {
    // A room among three hundred things, then a corner dragged to and fro.
    std::string things;
    for (int i = 0; i < 300; ++i)
        things += "thing 1 " + std::to_string(32 + 16 * (i % 20)) + " " + std::to_string(32 + 16 * (i / 20)) + "\n";
    RunScript("sector 0 0 0 512 512 512 512 0\n" + things);
    ResetMapHistory();
    for (int i = 0; i < kMaxUndoSteps + 20; ++i) {
        const int from = i % 2 ? 16 : 0, to = i % 2 ? 0 : 16;
        RunScript("drag " + std::to_string(from) + " 0  " + std::to_string(to) + " 0");
    }
    ASSERT_EQ(VertexForNum(0)->x, 0.0f);
    EXPECT_EQ(MapHistorySize().undoSteps, static_cast<std::size_t>(kMaxUndoSteps));
    // A step is about the bytes the drag changed, not a copy of the map.
    const std::size_t mapBytes = EncodeMapFile().size();
    EXPECT_LT(MapHistorySize().bytes, mapBytes + std::size_t{1024} * kMaxUndoSteps);
    EXPECT_GT(mapBytes, std::size_t{8000});
    while (RunCommand(IDM_UNDO)) {
    }
    // The oldest twenty drags were let go: back to where the twentieth left the corner.
    EXPECT_EQ(VertexForNum(0)->x, 0.0f);
    RunCommand(IDM_REDO);
    EXPECT_EQ(VertexForNum(0)->x, 16.0f);
    EXPECT_EQ(MapHistorySize().redoSteps, static_cast<std::size_t>(kMaxUndoSteps - 1));
}

}  // namespace
