// The play test: the game executable started on the built PWAD.
#pragma once

#include <string>
#include <vector>

struct GameLaunch {
    std::string executable;              // the game executable's full path
    std::string directory;               // its folder, where the game starts
    std::vector<std::string> arguments;  // file name, -file, PWAD, options, -warp, slot...
    std::string commandLine;             // the arguments joined by blanks
};

// Decides how the game is started from the settings, the PWAD path and the
// map slot. The entries are joined with single blanks; the file name and
// the PWAD path are quoted when they hold a blank, while the option texts
// stay split at their blanks, since users put several options there. The
// PWAD path "untitled.wad" becomes, for the rest of the run, the editor's
// working directory followed by "\untitled.wad"; other relative PWAD paths
// are given to the game from the working directory too. False when the
// game executable's path names no folder.
bool PlanGameLaunch(const std::string& workingDirectory, GameLaunch& launch);

// The last step of the play command: asks for the game executable when
// none is set, starts the game and waits until it has ended. A game that
// cannot be started is reported with its path.
void LaunchGame();
