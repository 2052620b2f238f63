// The frame's commands run as the menu runs them, with the questions and
// file dialogs answered from the headless platform's queues.
#include <filesystem>

#include "app/commands.h"
#include "app/config.h"
#include "app/frame_keys.h"
#include "app/frame_state.h"
#include "app/resource.h"
#include "app/title.h"
#include "model/editing.h"
#include "model/map.h"
#include "platform/headless.h"
#include "tests/test_support.h"
#include "tools/map_script.h"
#include "view/map_input.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

namespace fs = std::filesystem;

const char* const kRoom = "sector 0 0  0 128  128 128  128 0";
// Two rooms: a map the build takes without its one-convex-sector warning.
const char* const kTwoRooms = "sector 0 0  0 256  256 256  256 0\nsector 256 64  256 192  384 192  384 64";
const char* const kDefaultNameQuestion = "マップファイルの名前と保存場所がデフォルトのままです。変更しますか？";
const char* const kUnsavedQuestion = "マップに保存していない変更があります。保存しますか？";

class FrameCommandTest : public EditorTest {
protected:
    std::vector<std::string> Questions() {
        std::vector<std::string> q;
        q.swap(Headless().questions);
        return q;
    }
    std::string Path(const char* name) { return (scratch / name).string(); }
};

TEST_F(FrameCommandTest, FirstSaveAsksAboutTheDefaultNameOnce) {
    RunScript(kRoom);
    RunScript("answer no\ncommand save");
    EXPECT_EQ(Questions(), std::vector<std::string>{kDefaultNameQuestion});
    EXPECT_TRUE(fs::exists(scratch / "untitled.kdm"));
    EXPECT_EQ(Headless().statusTexts[0], " 保存しました");
    EXPECT_EQ(mapModified, 0);

    // The key that answered, or any key that does nothing, does not wipe the note.
    FrameKeyDown(FrameKey::kOther, false, false, 0, 0);
    FrameKeyUp(FrameKey::kOther);
    FrameKeyUp(FrameKey::kControl);
    FrameAltUp();
    EXPECT_EQ(Headless().statusTexts[0], " 保存しました");

    RunScript("thing 0 64 64\ncommand save");
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(mapModified, 0);

    // The clear map command starts the count again: the question returns.
    RunScript("command clear\ncommand save");
    EXPECT_EQ(Questions(), std::vector<std::string>{kDefaultNameQuestion});
    EXPECT_TRUE(Headless().fileDialogs.empty());
}

TEST_F(FrameCommandTest, YesToTheDefaultNameShowsTheSaveDialog) {
    RunScript(kRoom);
    RunScript("answer yes\nchoose cancel\ncommand save");
    EXPECT_FALSE(fs::exists(scratch / "untitled.kdm"));
    EXPECT_EQ(mapModified, 1);

    RunScript("answer yes\nchoose " + Path("room.kdm") + "\ncommand save");
    EXPECT_EQ(Headless().fileDialogs, (std::vector<std::string>{"save", "save"}));
    EXPECT_TRUE(fs::exists(scratch / "room.kdm"));
    EXPECT_EQ(pwadPath, Path("room.wad"));
    EXPECT_EQ(TitleText(), "Keldra - [room.kdm - MAP01]");
}

TEST_F(FrameCommandTest, SaveAsAsksBeforeReplacingAFile) {
    WriteFileBytes(scratch / "old.kdm", "kept");
    RunScript(kRoom);
    RunScript("choose " + Path("old.kdm") + "\nanswer no\ncommand saveas");
    EXPECT_EQ(Questions(), std::vector<std::string>{"old.kdm は既に存在します。\n置き換えますか？"});
    EXPECT_EQ(ReadFileBytes(scratch / "old.kdm"), "kept");
    EXPECT_EQ(mapFilePath, "untitled.kdm");

    RunScript("choose " + Path("old.kdm") + "\nanswer yes\ncommand saveas");
    EXPECT_EQ(ReadFileBytes(scratch / "old.kdm").substr(0, 4), "KDM ");
    EXPECT_EQ(mapFilePath, Path("old.kdm"));

    // A new name is not asked about.
    RunScript("choose " + Path("new.kdm") + "\ncommand saveas");
    EXPECT_EQ(Questions().size(), 1u);
    EXPECT_TRUE(fs::exists(scratch / "new.kdm"));
}

// Every command that would drop the map asks first while it is modified.
TEST_F(FrameCommandTest, UnsavedChangesAreNeverThrownAwayWithoutAWord) {
    RunScript(kRoom);
    RunScript("save " + Path("other.kdm"));  // something to open
    const std::string base = Path("base.kdm");
    const struct {
        const char* command;
        bool (*happened)();
    } cases[] = {
        {"exit", [] { return Headless().closed; }},
        {"clear", [] { return numsectors == 0; }},
        {"open", [] { return mapFilePath.find("other.kdm") != std::string::npos; }},
        {"new", [] { return numsectors == 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const std::string chooseOther = "choose " + Path(std::string(c.command) == "open" ? "other.kdm" : "fresh.kdm");
        auto prepare = [&] {
            ResetHeadlessShell();
            RunScript(std::string("clear\n") + kRoom + "\nsave " + base + "\nthing 0 64 64");
            ASSERT_EQ(mapModified, 1);
        };

        // Cancel: back to the editor, nothing changed.
        prepare();
        RunScript("answer cancel\n" + chooseOther + "\ncommand " + c.command);
        EXPECT_EQ(Questions(), std::vector<std::string>{kUnsavedQuestion});
        EXPECT_FALSE(c.happened());
        EXPECT_EQ(numthings, 1);
        EXPECT_TRUE(Headless().fileDialogs.empty());

        // Yes: saved first, then done.
        prepare();
        RunScript("answer yes\n" + chooseOther + "\nanswer yes\ncommand " + c.command);
        EXPECT_TRUE(c.happened());
        RunScript("load " + base);
        EXPECT_EQ(numthings, 1);

        // No: done without saving.
        prepare();
        RunScript("answer no\n" + chooseOther + "\nanswer yes\ncommand " + c.command);
        EXPECT_TRUE(c.happened());
        RunScript("load " + base);
        EXPECT_EQ(numthings, 0);
        fs::remove(scratch / "fresh.kdm");
    }
}

TEST_F(FrameCommandTest, UnmodifiedMapGoesWithoutAQuestion) {
    RunScript("command exit");
    EXPECT_TRUE(Questions().empty());
    EXPECT_TRUE(Headless().closed);
}

TEST_F(FrameCommandTest, NewNamesTheNewMapAndOpensTheSlotDialog) {
    RunScript(kRoom);
    RunScript("save " + Path("before.kdm"));
    RunScript("choose cancel\ncommand new");
    EXPECT_EQ(numsectors, 1);
    EXPECT_EQ(mapFilePath, Path("before.kdm"));
    EXPECT_TRUE(Headless().dialogs.empty());

    RunScript("choose " + Path("after.kdm") + "\ncommand new");
    EXPECT_EQ(numsectors, 0);
    EXPECT_EQ(TitleText(), "Keldra - [after.kdm - MAP01]");
    EXPECT_TRUE(fs::exists(scratch / "after.kdm"));
    EXPECT_EQ(Headless().dialogs, std::vector<std::string>{"changemap"});
    RunScript("load " + Path("before.kdm"));
    EXPECT_EQ(numsectors, 1);  // the old map was not written over the new name
}

TEST_F(FrameCommandTest, BuildSavesFirstAndSaysSo) {
    RunScript(kRoom);
    RunScript("answer no\ncommand build");
    EXPECT_TRUE(fs::exists(scratch / "untitled.kdm"));
    EXPECT_TRUE(fs::exists(scratch / "untitled.wad"));
    EXPECT_EQ(Headless().statusTexts[0], " ビルドしました");

    // Cancelling the save dialog stops the build.
    fs::remove(scratch / "untitled.wad");
    RunScript("clear\n" + std::string(kRoom) + "\nanswer yes\nchoose cancel\ncommand build");
    EXPECT_FALSE(fs::exists(scratch / "untitled.wad"));
}

TEST_F(FrameCommandTest, EscStopsThePvsPassAndKeepsTheOldPwad) {
    RunScript(kTwoRooms);
    RunScript("save " + Path("pvs.kdm") + "\ncommand build");
    const std::string old = ReadFileBytes(scratch / "pvs.wad");
    ASSERT_FALSE(old.empty());

    buildoption1 = 1;
    RunScript("thing 0 64 64");
    std::string shown;
    bool refused = false;
    SetPumpHook([&] {
        shown = Headless().statusTexts[0];
        // While the pass runs, commands and edits are refused.
        refused = !RunCommand(IDM_SAVE) && !CommandApplies(IDM_EXIT);
        FrameKeyDown(FrameKey::kDelete, false, false, 0, 0);
        FrameKeyDown(FrameKey::kEscape, false, false, 0, 0);
    });
    RunScript("click 64 64\ncommand build");
    EXPECT_EQ(shown.rfind(" PVS 0%", 0), 0u) << shown;
    EXPECT_TRUE(refused);
    EXPECT_EQ(numsectors, 2);
    EXPECT_EQ(ReadFileBytes(scratch / "pvs.wad"), old);
    EXPECT_EQ(Messages().size(), 1u);  // the build says it stopped
    EXPECT_EQ(frameBusy, 0);

    // Without Esc the pass runs to its end.
    SetPumpHook(nullptr);
    RunScript("command build");
    EXPECT_NE(ReadFileBytes(scratch / "pvs.wad"), old);
    EXPECT_GT(Headless().pumps, 1);
}

TEST_F(FrameCommandTest, PlayStartsTheGameOnTheBuiltMap) {
    gamefile = "C:\\Games\\doom2.exe";
    RunScript(kTwoRooms);
    RunScript("slot 3\nanswer no\ncommand play");
    ASSERT_EQ(Headless().processes.size(), 1u);
    const ProcessStart& p = Headless().processes[0];
    EXPECT_EQ(p.executable, "C:\\Games\\doom2.exe");
    EXPECT_EQ(p.directory, "C:\\Games");
    EXPECT_EQ(p.commandLine, "doom2.exe -file " + scratch.string() + "\\untitled.wad -warp 3");
    EXPECT_TRUE(fs::exists(scratch / "untitled.wad"));

    // A game that cannot be started is named in a warning.
    SetProcessStarts(false);
    RunScript("save " + Path("m.kdm") + "\ncommand play");
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("C:\\Games\\doom2.exe"), std::string::npos);
}

TEST_F(FrameCommandTest, PlayWithoutAGameAsksForOne) {
    RunScript(kTwoRooms);
    RunScript("save " + Path("m.kdm") + "\nanswer no\ncommand play");
    EXPECT_EQ(Questions(), std::vector<std::string>{"ゲームの実行ファイルが指定されていません。設定しますか？"});
    EXPECT_TRUE(Headless().dialogs.empty());
    EXPECT_TRUE(fs::exists(scratch / "m.wad"));

    RunScript("answer yes\ncommand play");
    EXPECT_EQ(Headless().dialogs, std::vector<std::string>{"locategame"});
    EXPECT_TRUE(Headless().processes.empty());  // still no game chosen
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FrameCommandTest, ViewCommandsAndKeys) {
    RunScript("command grid32");
    EXPECT_EQ(gridSize, 32);
    RunScript("command grid0\ncommand axes\ncommand gridmenu");
    EXPECT_EQ(gridSize, 0);
    EXPECT_EQ(showAxes, 1);
    EXPECT_EQ(Headless().gridMenus, 1);

    RunScript(kRoom);
    RunScript("click 64 64\ncommand pvstest");
    EXPECT_EQ(mapMode, MapMode::kPvsTest);
    EXPECT_EQ(selection.kind, kObjectNone);
    // Alt and Ctrl in the PVS test only clear the selection.
    for (auto press :
         {+[] { FrameAltDown(10, 10); }, +[] { FrameKeyDown(FrameKey::kControl, false, false, 10, 10); }}) {
        selection = {kObjectSector, sectors};
        press();
        EXPECT_EQ(mapMode, MapMode::kPvsTest);
        EXPECT_EQ(selection.kind, kObjectNone);
    }
    RunScript("command pvstest");
    EXPECT_EQ(mapMode, MapMode::kSelect);

    viewScale = 1;
    FrameKeyDown(FrameKey::kI, true, false, 0, 0);
    EXPECT_FLOAT_EQ(viewScale, 1.0201f);
    FrameKeyDown(FrameKey::kO, true, false, 0, 0);
    EXPECT_FLOAT_EQ(viewScale, 1.0201f * 0.9801f);
    FrameKeyDown(FrameKey::kR, false, false, 0, 0);
    FrameKeyDown(FrameKey::kUp, true, false, 0, 0);
    EXPECT_FLOAT_EQ(viewCentreY, 20);
    EXPECT_EQ(Headless().statusTexts[1], " Center: X 0 Y 20");

    // Enter with a sector selected asks for its dialog; F1 for help.
    RunScript("click 64 64");
    FrameKeyDown(FrameKey::kEnter, false, false, 0, 0);
    FrameKeyDown(FrameKey::kF1, false, false, 0, 0);
    EXPECT_EQ(Headless().dialogs, std::vector<std::string>{"secedit"});
    EXPECT_EQ(Headless().helpShown, std::vector<std::string>{"keldra.chm"});
    // Delete removes the selected sector; with nothing selected it does not apply.
    FrameKeyDown(FrameKey::kDelete, false, false, 0, 0);
    EXPECT_EQ(numsectors, 0);
    EXPECT_FALSE(CommandApplies(IDM_DELETE_SELECTION));
}

TEST_F(FrameCommandTest, FitViewShowsTheWholeMap) {
    SetViewSize(800, 600);
    RunScript("sector 0 0  0 100  1000 100  1000 0");
    FrameKeyDown(FrameKey::kA, false, false, 0, 0);
    EXPECT_FLOAT_EQ(viewScale, 0.72f);
    EXPECT_FLOAT_EQ(viewCentreX, 500);
    EXPECT_FLOAT_EQ(viewCentreY, 50);
}

TEST_F(FrameCommandTest, EveryCommandHasANumberAndANameOnce) {
    for (int i = 0; i < kNumCommands; ++i) {
        EXPECT_EQ(FindCommand(commands[i].id), &commands[i]);
        EXPECT_EQ(FindCommandByName(commands[i].name), &commands[i]);
    }
    std::string error;
    EXPECT_FALSE(RunMapScript("command nosuch", error));
    EXPECT_NE(error.find("nosuch"), std::string::npos);
}

}  // namespace
