// The play test's command line, folder and PWAD path.
#include "app/game_launch.h"

#include "app/config.h"
#include "model/map.h"
#include "tests/test_support.h"

namespace {

class GameLaunchTest : public EditorTest {};

TEST_F(GameLaunchTest, CommandLines) {
    const char* const unset = kUndesignated;
    const struct {
        const char* game;
        const char* pwad;
        int slot;
        int nomonsters, nomusic;
        const char* files;
        const char* others;
        const char* directory;
        const char* commandLine;
    } cases[] = {
        {"C:\\Games\\doom2.exe", "C:\\maps\\base.wad", 7, 0, 0, unset, unset, "C:\\Games",
         "doom2.exe -file C:\\maps\\base.wad -warp 7"},
        // Every option: the extra files right behind the PWAD, option texts split at blanks.
        {"C:\\Games\\doom2.exe", "C:\\maps\\base.wad", 32, 1, 1, "music.wad sky.wad", "-skill 4 -fast", "C:\\Games",
         "doom2.exe -file C:\\maps\\base.wad music.wad sky.wad -warp 32 -nomonsters -nomusic -skill 4 -fast"},
        {"C:\\Games\\doom2.exe", "C:\\maps\\base.wad", 1, 0, 0, "extra.wad", unset, "C:\\Games",
         "doom2.exe -file C:\\maps\\base.wad extra.wad -warp 1"},
        // Blanks in the executable's name or the PWAD path are quoted.
        {"C:\\Program Files\\Doom\\chocolate doom.exe", "C:\\My Maps\\ベース.wad", 2, 0, 0, unset, unset,
         "C:\\Program Files\\Doom", "\"chocolate doom.exe\" -file \"C:\\My Maps\\ベース.wad\" -warp 2"},
        {"C:\\doom2.exe", "D:\\a.wad", 1, 0, 0, unset, unset, "C:\\", "doom2.exe -file D:\\a.wad -warp 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        gamefile = c.game;
        pwadPath = c.pwad;
        mapSlot = c.slot;
        playoption1 = c.nomonsters;
        playoption2 = c.nomusic;
        playoption3 = c.files;
        playoption4 = c.others;
        GameLaunch launch;
        ASSERT_TRUE(PlanGameLaunch("C:\\Editor", launch));
        EXPECT_EQ(launch.executable, c.game);
        EXPECT_EQ(launch.directory, c.directory);
        EXPECT_EQ(launch.commandLine, c.commandLine);
        EXPECT_EQ(launch.arguments[2], c.pwad);
        EXPECT_EQ(pwadPath, c.pwad);
    }
}

TEST_F(GameLaunchTest, UntitledPwadIsFoundFromTheGamesFolder) {
    gamefile = "C:\\Games\\doom2.exe";
    GameLaunch launch;
    ASSERT_TRUE(PlanGameLaunch("C:\\エディタ\\my maps", launch));
    EXPECT_EQ(launch.commandLine, "doom2.exe -file \"C:\\エディタ\\my maps\\untitled.wad\" -warp 1");
    // For the rest of the run.
    EXPECT_EQ(pwadPath, "C:\\エディタ\\my maps\\untitled.wad");
    ASSERT_TRUE(PlanGameLaunch("C:\\Elsewhere", launch));
    EXPECT_EQ(launch.arguments[2], "C:\\エディタ\\my maps\\untitled.wad");

    // A relative PWAD path of a map opened by a relative name, and a drive root.
    pwadPath = "maps\\base.wad";
    ASSERT_TRUE(PlanGameLaunch("D:\\", launch));
    EXPECT_EQ(launch.arguments[2], "D:\\maps\\base.wad");
    EXPECT_EQ(pwadPath, "maps\\base.wad");
}

TEST_F(GameLaunchTest, AnExecutableWithoutAFolderIsNotStarted) {
    gamefile = "doom2.exe";
    GameLaunch launch;
    EXPECT_FALSE(PlanGameLaunch("C:\\Editor", launch));
}

}  // namespace
