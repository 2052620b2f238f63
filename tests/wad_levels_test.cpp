// Opening a level of a WAD file: the maps it offers, the one chosen becoming
// a modified untitled map with that slot, and every way out that changes
// nothing.
#include "app/wad_levels.h"

#include "app/commands.h"
#include "app/resource.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "nodes/build.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "resources/wad_file.h"
#include "tests/test_support.h"

namespace {

class WadLevelsTest : public EditorTest {
protected:
    // A PWAD holding a room with one thing as MAP07 and two rooms as MAP03,
    // in that order, and a lump that is not a map.
    void SetUp() override {
        EditorTest::SetUp();
        WadWriter out;
        AppendLump(out, "DEMO1", "not a map");
        for (const auto& [slot, script] : {std::pair{7, "sector 0 0 0 128 128 128 128 0\nthing 1 64 64"},
                                           std::pair{3,
                                                     "sector 0 0 0 128 128 128 128 0\n"
                                                     "sector 200 0 200 128 328 128 328 0"}}) {
            ClearMap();
            RunScript(script);
            mapSlot = slot;
            SetMapFileName("part.kdm");
            ASSERT_TRUE(BuildMap({}));
            WadFile part;
            std::string error;
            ASSERT_TRUE(ReadWad("part.wad", part, error)) << error;
            for (int i = 0; i < static_cast<int>(part.lumps.size()); ++i) {
                AppendLump(out, part.lumps[i].name, LumpBytes(part, i));
            }
        }
        WriteFileBytes("levels.wad", FinishWad(out, "PWAD"));
        ResetMapState();
        Messages();  // the builds' own
    }
};

TEST_F(WadLevelsTest, TheChosenMapBecomesAModifiedUntitledMapWithItsSlot) {
    RunScript("thing 1 500 500");  // unsaved work: asked about first
    QueueAnswer(Answer::kNo);
    QueueChosenPath("levels.wad");
    QueueDialogAction([] {
        EXPECT_EQ(wadLevelChoice.names, (std::vector<std::string>{"MAP03", "MAP07"}));
        wadLevelChoice.chosen = 1;
        return true;
    });
    ASSERT_TRUE(RunCommand(IDM_OPEN_WAD));
    EXPECT_EQ(Headless().questions.size(), 1u);
    EXPECT_EQ(Headless().fileDialogs, std::vector<std::string>{"wad"});
    EXPECT_EQ(Headless().dialogs, std::vector<std::string>{"wadlevel"});
    EXPECT_EQ(mapSlot, 7);
    EXPECT_EQ(numsectors, 1);
    EXPECT_EQ(numthings, 1);
    EXPECT_EQ(mapFilePath, "untitled.kdm");
    EXPECT_EQ(saveCount, 0) << "the first save asks for a name";
    EXPECT_EQ(mapModified, 1);
    EXPECT_FALSE(CanUndoMapChange()) << "the opened level is where undo starts";
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WadLevelsTest, EveryWayOutLeavesTheMapAsItWas) {
    RunScript("sector 0 0 0 64 64 64 64 0");
    const std::string before = EncodeMapFile();
    WriteFileBytes("empty.wad", [] {
        WadWriter w;
        AppendLump(w, "DEMO1", "x");
        return FinishWad(w, "PWAD");
    }());
    WriteFileBytes("broken.wad", "PWAD\x05");
    struct Case {
        const char* what;
        std::vector<Answer> answers;
        const char* path;  // nullptr: the file dialog is cancelled
        bool dialogOk;
        const char* warning;  // the start of the message, or nullptr
    } cases[] = {
        {"unsaved changes kept (Cancel)", {Answer::kCancel}, "levels.wad", true, nullptr},
        {"file dialog cancelled", {Answer::kNo}, nullptr, true, nullptr},
        {"list cancelled", {Answer::kNo}, "levels.wad", false, nullptr},
        {"no map in the WAD", {Answer::kNo}, "empty.wad", true, "empty.wad にはマップ"},
        {"not a WAD", {Answer::kNo}, "broken.wad", true, "broken.wad: "},
        {"no such file", {Answer::kNo}, "missing.wad", true, "missing.wad: "},
    };
    for (const Case& c : cases) {
        ResetHeadlessShell();
        for (Answer a : c.answers) QueueAnswer(a);
        if (c.path) QueueChosenPath(c.path);
        QueueDialogAction([ok = c.dialogOk] {
            wadLevelChoice.chosen = 0;
            return ok;
        });
        mapModified = 1;
        RunCommand(IDM_OPEN_WAD);
        EXPECT_EQ(EncodeMapFile(), before) << c.what;
        const std::vector<std::string> messages = Messages();
        if (c.warning) {
            ASSERT_EQ(messages.size(), 1u) << c.what;
            EXPECT_EQ(messages[0].rfind(c.warning, 0), 0u) << c.what << ": " << messages[0];
        } else {
            EXPECT_TRUE(messages.empty()) << c.what;
        }
    }
}

}  // namespace
