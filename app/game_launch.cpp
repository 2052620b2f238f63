// The play test's command line and the start of the game.
#include "app/game_launch.h"

#include "app/commands.h"
#include "app/config.h"
#include "app/frame_state.h"
#include "app/resource.h"
#include "base/report.h"
#include "model/map.h"
#include "platform/shell.h"

namespace {

bool IsAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

std::string InDirectory(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    const char last = directory.back();
    return last == '\\' || last == '/' ? directory + name : directory + "\\" + name;
}

std::string Quoted(const std::string& entry) {
    return entry.find(' ') == std::string::npos ? entry : "\"" + entry + "\"";
}

}  // namespace

bool PlanGameLaunch(const std::string& workingDirectory, GameLaunch& launch) {
    const std::size_t cut = gamefile.find_last_of("\\/");
    if (cut == std::string::npos) return false;
    launch.executable = gamefile;
    launch.directory = gamefile.substr(0, cut);
    // "C:\doom2.exe" starts in "C:\", not in the drive's current folder.
    if (launch.directory.size() == 2 && launch.directory[1] == ':') launch.directory += '\\';
    if (pwadPath == "untitled.wad") pwadPath = InDirectory(workingDirectory, pwadPath);
    const std::string pwad = IsAbsolute(pwadPath) ? pwadPath : InDirectory(workingDirectory, pwadPath);

    auto& a = launch.arguments;
    a = {gamefile.substr(cut + 1), "-file", pwad};
    if (playoption3 != kUndesignated) a.push_back(playoption3);
    a.push_back("-warp");
    a.push_back(std::to_string(mapSlot));
    if (playoption1) a.push_back("-nomonsters");
    if (playoption2) a.push_back("-nomusic");
    if (playoption4 != kUndesignated) a.push_back(playoption4);

    launch.commandLine.clear();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i > 0) launch.commandLine += ' ';
        launch.commandLine += i == 0 || i == 2 ? Quoted(a[i]) : a[i];
    }
    return true;
}

void LaunchGame() {
    if (gamefile == kUndesignated) {
        if (PlatformAsk("ゲームの実行ファイルが指定されていません。設定しますか？", "マップをプレイ",
                        AskButtons::kYesNo) != Answer::kYes)
            return;
        RunCommand(IDM_GAME_EXECUTABLE);
        if (gamefile == kUndesignated) return;
    }
    GameLaunch launch;
    bool started = false;
    if (PlanGameLaunch(PlatformCurrentDirectory(), launch)) {
        frameBusy = 1;
        started = PlatformRunProcess(launch.executable, launch.commandLine, launch.directory);
        frameBusy = 0;
    }
    if (!started) ShowWarning("ゲームの実行ファイルを起動できません:\n%s", gamefile.c_str());
}
