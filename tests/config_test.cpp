// keldra.cfg: the seven settings, their defaults and the reading quirks.
#include "app/config.h"

#include "platform/files.h"
#include "tests/test_support.h"

namespace {

class ConfigTest : public EditorTest {};

const char* const kDefaultFile =
    "gamefile\t\tundesignated\n"
    "playoption1\t\t0\n"
    "playoption2\t\t0\n"
    "playoption3\t\tundesignated\n"
    "playoption4\t\tundesignated\n"
    "buildoption1\t\t0\n"
    "buildoption2\t\t0\n"
    "backupminutes\t\t3.000000\n";

TEST_F(ConfigTest, MissingFileGivesDefaultsAndSavingWritesThem) {
    gamefile = "C:\\doom\\doom2.exe";
    playoption1 = 1;
    LoadConfig();
    EXPECT_EQ(gamefile, "undesignated");
    EXPECT_EQ(playoption1, 0);
    EXPECT_EQ(playoption3, "undesignated");
    EXPECT_EQ(buildoption2, 0);
    SaveConfig();
    EXPECT_EQ(ReadFileBytes("keldra.cfg"), kDefaultFile);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConfigTest, SettingsSurviveARoundTripInCodePage932) {
    gamefile = "C:\\ゲーム\\Doom II\\doom2.exe";
    playoption1 = 1;
    playoption2 = -7;
    playoption3 = "extra.wad  music.wad ";
    playoption4 = "-skill 4 -warp 1";
    buildoption1 = 1;
    buildoption2 = 2147483647;
    SaveConfig();
    const std::string file = ReadFileBytes("keldra.cfg");
    // The Japanese folder name is stored as Shift-JIS bytes.
    EXPECT_NE(file.find("gamefile\t\tC:\\\x83Q\x81[\x83\x80\\Doom II\\doom2.exe\n"), std::string::npos);

    SetConfigDefaults(configRows, kNumConfigRows);
    LoadConfig();
    EXPECT_EQ(gamefile, "C:\\ゲーム\\Doom II\\doom2.exe");
    EXPECT_EQ(playoption1, 1);
    EXPECT_EQ(playoption2, -7);
    EXPECT_EQ(playoption3, "extra.wad  music.wad ");
    EXPECT_EQ(playoption4, "-skill 4 -warp 1");
    EXPECT_EQ(buildoption1, 1);
    EXPECT_EQ(buildoption2, 2147483647);
}

TEST_F(ConfigTest, ReadingFollowsTheLineGrammar) {
    const struct {
        const char* what;
        const char* file;
        const char* gamefile;
        int32_t playoption1;
        const char* playoption3;
    } cases[] = {
        {"inner blanks kept", "gamefile\t\tC:\\Program Files\\doom2.exe\n", "C:\\Program Files\\doom2.exe", 0,
         "undesignated"},
        {"leading blanks dropped, trailing kept", "playoption3   \t  a.wad \n", "undesignated", 0, "a.wad "},
        {"key without value takes the next line", "gamefile\nplayoption1\t\t1\n", "playoption1\t\t1", 0,
         "undesignated"},
        {"later line wins", "playoption1\t\t1\nplayoption1\t\t0\n", "undesignated", 0, "undesignated"},
        {"not a number leaves the value", "playoption1\t\tyes\n", "undesignated", 0, "undesignated"},
        {"number prefix is read", "playoption1\t\t1abc\n", "undesignated", 1, "undesignated"},
        {"overflow saturates", "playoption1\t\t99999999999\n", "undesignated", 2147483647, "undesignated"},
        {"unknown keys ignored", "colour\t\tred\nplayoption1\t\t1\n", "undesignated", 1, "undesignated"},
        {"keys are case-sensitive", "GAMEFILE\t\tx.exe\n", "undesignated", 0, "undesignated"},
        {"CRLF line ends", "gamefile\t\tdoom2.exe\r\nplayoption1\t\t1\r\n", "doom2.exe", 1, "undesignated"},
        {"blank lines and no final line end", "\n\n  playoption1 1", "undesignated", 1, "undesignated"},
        {"key alone at the end", "playoption3\t\tx\ngamefile", "undesignated", 0, "x"},
        {"binary garbage", "\x01\x02\xff\xfe\t\t\x80\n\n\x00zz", "undesignated", 0, "undesignated"},
    };
    for (const auto& c : cases) {
        WriteFileBytes("keldra.cfg", c.file);
        LoadConfig();
        EXPECT_EQ(gamefile, c.gamefile) << c.what;
        EXPECT_EQ(playoption1, c.playoption1) << c.what;
        EXPECT_EQ(playoption3, c.playoption3) << c.what;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConfigTest, OverlongValuesAreCutToTheirStorage) {
    // 300 bytes of Shift-JIS "ア" (2 bytes each) and one 'x': playoption3 keeps
    // 255 bytes at most and never half a character.
    std::string longValue;
    for (int i = 0; i < 150; ++i) longValue += "\x83\x41";
    WriteFileBytes("keldra.cfg", "playoption3\t\t" + longValue + "\ngamefile\t\t" + std::string(2000, 'g') + "\n");
    LoadConfig();
    EXPECT_EQ(Utf8ToCp932(playoption3), longValue.substr(0, 254));
    EXPECT_EQ(gamefile, std::string(1023, 'g'));

    // An overlong key is read as a 63-byte key and the rest as its value.
    WriteFileBytes("keldra.cfg", std::string(63, 'k') + "playoption1\t\t1\n");
    LoadConfig();
    EXPECT_EQ(playoption1, 0);
}

TEST_F(ConfigTest, RealRowsUseSixDecimals) {
    float scale = 0;
    int32_t count = 0;
    std::string name;
    const ConfigRow rows[] = {
        {"scale", &scale, kConfigReal, nullptr, 0, 1.5f, 0},
        {"count", &count, kConfigInteger, nullptr, 3, 0, 0},
        {"name", &name, kConfigText, "none", 0, 0, 255},
    };
    SetConfigDefaults(rows, 3);
    EXPECT_EQ(FormatConfig(rows, 3), "scale\t\t1.500000\ncount\t\t3\nname\t\tnone\n");
    ParseConfig("scale\t\t-0.25\ncount\t\t-12\n", rows, 3);
    EXPECT_EQ(scale, -0.25f);
    EXPECT_EQ(count, -12);
    ParseConfig("scale\t\tpi\n", rows, 3);
    EXPECT_EQ(scale, -0.25f);
}

TEST_F(ConfigTest, UnwritableFileKeepsTheOldOne) {
    WriteFileBytes("keldra.cfg", "playoption1\t\t1\n");
    const FileSizeLimit diskFull(16);
    SaveConfig();
    EXPECT_EQ(ReadFileBytes("keldra.cfg"), "playoption1\t\t1\n");
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
