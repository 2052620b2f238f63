// Warnings, fatal errors and the debug log.
#include "base/report.h"

#include "app/config.h"
#include "tests/test_support.h"

namespace {

class ReportTest : public EditorTest {};

TEST_F(ReportTest, DebugLogWritesOnlyWhileSwitchedOn) {
    SetDebugLogEnabled(false);
    LogDebug("%s lump が見つかりません\n", "PNAMES");
    EXPECT_FALSE(std::filesystem::exists("debug.txt"));

    SetDebugLogEnabled(true);
    LogDebug("first ");
    LogDebug("second %d\n", 2);
    LogDebug("%s lump が見つかりません\n", "PNAMES");
    // One line from the two calls without "\n"; the Japanese text in Shift-JIS.
    EXPECT_EQ(ReadFileBytes("debug.txt"),
              "first second 2\nPNAMES lump \x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ReportTest, DebugLogThatCannotBeOpenedIsSilent) {
    SetDebugLogEnabled(true);
    std::filesystem::create_directory("debug.txt");
    LogDebug("lost\n");
    EXPECT_TRUE(Messages().empty());
}

std::string Repeat(const char* piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST_F(ReportTest, WarningsAreFormattedAndCutToTheBox) {
    ShowWarning("SaveMapFile: %s の数が合いません", "Vertex");
    EXPECT_EQ(Messages(), std::vector<std::string>{"SaveMapFile: Vertex の数が合いません"});

    // The box holds 255 bytes of Shift-JIS: "あ" takes two, "ｱ" one.
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {Repeat("a", 300), Repeat("a", 255)},
        {Repeat("a", 255), Repeat("a", 255)},
        {"a" + Repeat("あ", 200), "a" + Repeat("あ", 127)},
        {Repeat("あ", 200), Repeat("あ", 127)},
        {Repeat("ｱ", 300), Repeat("ｱ", 255)},
    };
    for (const auto& c : cases) {
        ShowWarning("%s", c.text.c_str());
        EXPECT_EQ(Messages(), std::vector<std::string>{c.shown}) << c.text.size();
    }
}

TEST_F(ReportTest, FatalErrorAddsTheClosingLineAndEnds) {
    try {
        FatalError("doom2.wad ファイルの読み込みに失敗しました");
        ADD_FAILURE() << "FatalError returned";
    } catch (const FatalExit& exit) {
        EXPECT_EQ(exit.text, "doom2.wad ファイルの読み込みに失敗しました\nプログラムは終了します");
    }
    EXPECT_THROW(FatalError("%s", std::string(400, 'z').c_str()), FatalExit);
    EXPECT_EQ(Messages().back(), std::string(232, 'z') + "\nプログラムは終了します");
}

}  // namespace
