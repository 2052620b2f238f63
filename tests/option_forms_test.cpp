// The build option, play option and game executable dialogs' working
// copies: what they show, what OK stores in the settings, and what keldra.cfg
// could not keep and is therefore refused.
#include "dialogs/option_forms.h"

#include "app/config.h"
#include "app/game_launch.h"
#include "base/report.h"
#include "model/map.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

class OptionFormsTest : public EditorTest {};

TEST_F(OptionFormsTest, BlankTextIsOnlyBlanksAndTabs) {
    const struct {
        const char* text;
        bool blank;
    } cases[] = {
        {"", true},
        {" ", true},
        {"   ", true},
        {"\t", true},
        {" \t \t", true},
        {"a", false},
        {"  -fast ", false},
        {"\n", false},
        {"\r", false},
        {" \v", false},
        {"\t.", false},
        // The ideographic space is a character like any other.
        {"　", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsBlankText(c.text), c.blank) << '"' << c.text << '"';
}

TEST_F(OptionFormsTest, BuildOptionsFollowTheSettingsAndTheDebugLogItsSwitch) {
    const struct { bool pvs, debug; } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pvs << c.debug);
        buildoption1 = !c.pvs;
        buildoption2 = !c.debug;
        SetDebugLogEnabled(!c.debug);
        BuildOptionsForm form = LoadBuildOptionsForm();
        EXPECT_EQ(form.computePvs, !c.pvs);
        EXPECT_EQ(form.writeDebugFile, !c.debug);
        form = {c.pvs, c.debug};
        ApplyBuildOptionsForm(form);
        EXPECT_EQ(buildoption1, c.pvs ? 1 : 0);
        EXPECT_EQ(buildoption2, c.debug ? 1 : 0);
        EXPECT_EQ(DebugLogEnabled(), c.debug);
    }
}

TEST_F(OptionFormsTest, TheDebugSwitchStartsTheLogAtTheNextLine) {
    ApplyBuildOptionsForm({false, true});
    LogDebug("cuts = %d\n", 3);
    EXPECT_EQ(ReadFileBytes(scratch / "debug.txt"), "cuts = 3\n");
    ApplyBuildOptionsForm({false, false});
    LogDebug("cuts = %d\n", 4);
    EXPECT_EQ(ReadFileBytes(scratch / "debug.txt"), "cuts = 3\n");
}

TEST_F(OptionFormsTest, PlayOptionsShowTheUnsetMarkerAsAnEmptyField) {
    const struct {
        int nomonsters, nomusic;
        const char* files;
        const char* others;
        const char* filesField;
        const char* othersField;
    } cases[] = {
        {0, 0, kUndesignated, kUndesignated, "", ""},
        {1, 0, "music.wad", kUndesignated, "music.wad", ""},
        {0, 5, kUndesignated, " -skill 4 -fast", "", " -skill 4 -fast"},
    };
    for (const auto& c : cases) {
        playoption1 = c.nomonsters;
        playoption2 = c.nomusic;
        playoption3 = c.files;
        playoption4 = c.others;
        const PlayOptionsForm form = LoadPlayOptionsForm();
        EXPECT_EQ(form.noMonsters, c.nomonsters != 0);
        EXPECT_EQ(form.noMusic, c.nomusic != 0);
        EXPECT_EQ(form.files, c.filesField);
        EXPECT_EQ(form.others, c.othersField);
    }
}

TEST_F(OptionFormsTest, PlayOptionsStoreTextAsTypedAndBlankFieldsAsUnset) {
    const struct {
        const char* field;
        const char* stored;
    } cases[] = {
        {"", kUndesignated},          {"   ", kUndesignated},
        {" \t", kUndesignated},       {" -skill 4 -fast", " -skill 4 -fast"},
        {"music.wad ", "music.wad "}, {"C:\\ワッド\\音楽.wad", "C:\\ワッド\\音楽.wad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        PlayOptionsForm form{true, false, c.field, c.field};
        ASSERT_FALSE(ApplyPlayOptionsForm(form).has_value());
        EXPECT_EQ(playoption1, 1);
        EXPECT_EQ(playoption2, 0);
        EXPECT_EQ(playoption3, c.stored);
        EXPECT_EQ(playoption4, c.stored);
        // Opened again: a field stored as unset comes back empty.
        const PlayOptionsForm again = LoadPlayOptionsForm();
        EXPECT_EQ(again.files, IsBlankText(c.field) ? "" : c.field);
    }
}

TEST_F(OptionFormsTest, PlayOptionsReachTheGamesCommandLine) {
    gamefile = "C:\\Games\\doom2.exe";
    pwadPath = "C:\\maps\\base.wad";
    ASSERT_FALSE(ApplyPlayOptionsForm({true, true, "music.wad", " -skill 4 -fast"}).has_value());
    GameLaunch launch;
    ASSERT_TRUE(PlanGameLaunch("C:\\Editor", launch));
    EXPECT_EQ(launch.commandLine,
              "doom2.exe -file C:\\maps\\base.wad music.wad -warp 1 -nomonsters -nomusic  -skill 4 -fast");
}

TEST_F(OptionFormsTest, PlayOptionsKeldraCfgCannotHoldAreRefused) {
    const std::string ascii255(255, 'a');
    std::string kana127;
    for (int i = 0; i < 127; ++i) kana127 += "ア";  // two bytes each in code page 932
    const struct {
        std::string files;
        std::string others;
        int refusedControl;  // 0: stored
        const char* message;
    } cases[] = {
        {ascii255, ascii255, 0, ""},
        {kana127 + "a", kana127, 0, ""},
        {ascii255 + "b", "", kPlayFilesField, "「-file」の欄は 255 バイトまでにして下さい（全角文字は 2 バイトです）"},
        {"", kana127 + "ア", kPlayOthersField,
         "「その他のコマンドラインオプション」の欄は 255 バイトまでにして下さい（全角文字は 2 バイトです）"},
        {"음악.wad", "", kPlayFilesField, "「-file」の欄には keldra.cfg に保存できない文字が含まれています"},
        {"", "-file 😀.wad", kPlayOthersField,
         "「その他のコマンドラインオプション」の欄には keldra.cfg に保存できない文字が含まれています"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files + " / " + c.others);
        SetConfigDefaults(configRows, kNumConfigRows);
        const std::optional<FieldRefusal> refusal = ApplyPlayOptionsForm({true, true, c.files, c.others});
        if (c.refusedControl == 0) {
            ASSERT_FALSE(refusal.has_value()) << refusal->message;
            EXPECT_EQ(playoption3, c.files);
            EXPECT_EQ(playoption4, IsBlankText(c.others) ? kUndesignated : c.others);
            EXPECT_EQ(playoption1, 1);
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->control, c.refusedControl);
        EXPECT_EQ(refusal->message, c.message);
        // Nothing stored, the check boxes neither.
        EXPECT_EQ(playoption1, 0);
        EXPECT_EQ(playoption2, 0);
        EXPECT_EQ(playoption3, kUndesignated);
        EXPECT_EQ(playoption4, kUndesignated);
    }
}

TEST_F(OptionFormsTest, StoredPlayOptionsComeBackWholeFromKeldraCfg) {
    std::string kana127;
    for (int i = 0; i < 127; ++i) kana127 += "ア";
    ASSERT_FALSE(ApplyPlayOptionsForm({false, false, kana127 + "a", "x" + std::string(254, ' ')}).has_value());
    SaveConfig();
    const std::string files = playoption3;
    SetConfigDefaults(configRows, kNumConfigRows);
    LoadConfig();
    EXPECT_EQ(playoption3, files);
    // Trailing blanks are kept by the file; only leading ones are lost.
    EXPECT_EQ(playoption4, "x" + std::string(254, ' '));
}

TEST_F(OptionFormsTest, GameExecutableShowsThePathOrNotSet) {
    const struct {
        const char* gamefile;
        const char* shown;
    } cases[] = {
        {kUndesignated, "指定されていません"},
        {"C:\\Games\\doom2.exe", "C:\\Games\\doom2.exe"},
        {"C:\\ゲーム フォルダ\\fake game.exe", "C:\\ゲーム フォルダ\\fake game.exe"},
    };
    for (const auto& c : cases) {
        gamefile = c.gamefile;
        const GameExecutableForm form = LoadGameExecutableForm();
        EXPECT_EQ(form.path, c.gamefile);
        EXPECT_EQ(GameExecutableText(form), c.shown);
    }
}

TEST_F(OptionFormsTest, GameExecutableIsStoredWhenKeldraCfgCanHoldIt) {
    std::string kana = "C:\\";
    for (int i = 0; i < 508; ++i) kana += "ゲ";
    kana += "\\d.exe";  // 3 + 1016 + 6 = 1025 bytes
    const struct {
        std::string before;
        std::string chosen;
        bool refused;
    } cases[] = {
        {kUndesignated, kUndesignated, false},  // accepted without choosing
        {kUndesignated, "C:\\Games\\doom2.exe", false},
        {"C:\\Games\\doom2.exe", "D:\\ゲーム フォルダ\\fake game.exe", false},
        {kUndesignated, "C:\\" + std::string(1016, 'a') + ".exe", false},  // 1023 bytes
        {"C:\\old.exe", "C:\\" + std::string(1017, 'a') + ".exe", true},
        {"C:\\old.exe", kana, true},
        {"C:\\old.exe", "C:\\게임\\doom2.exe", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.substr(0, 40));
        gamefile = c.before;
        const std::optional<FieldRefusal> refusal = ApplyGameExecutableForm({c.chosen});
        EXPECT_EQ(refusal.has_value(), c.refused);
        EXPECT_EQ(gamefile, c.refused ? c.before : c.chosen);
        if (refusal) {
            EXPECT_EQ(refusal->control, kChooseGameButton);
            EXPECT_EQ(refusal->message.rfind("ゲーム実行ファイルのパス", 0), 0u) << refusal->message;
        }
    }
}

}  // namespace
