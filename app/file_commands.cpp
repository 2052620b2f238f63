// The map file commands: new, open, save, save as, clear and exit, each
// asking before unsaved changes or an existing file are thrown away.
#include "app/command_handlers.h"
#include "app/commands.h"
#include "app/frame_state.h"
#include "app/resource.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace {

std::string FileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The save dialog; a file that is there already is replaced only when the
// user says so.
bool ChooseSavePath(std::string& path) {
    if (!PlatformChooseMapFile(true, path)) return false;
    if (!FileExists(path)) return true;
    return PlatformAsk(FileName(path) + " は既に存在します。\n置き換えますか？", "名前を付けて保存",
                       AskButtons::kYesNo) == Answer::kYes;
}

bool SaveToMapFile() {
    if (!SaveMapFile()) return false;
    savedNote = 1;
    return true;
}

}  // namespace

bool ConfirmDiscard() {
    if (!mapModified) return true;
    switch (PlatformAsk("マップに保存していない変更があります。保存しますか？", "Keldra", AskButtons::kYesNoCancel)) {
        case Answer::kYes:
            return SaveCommand();
        case Answer::kNo:
            return true;
        default:
            return false;
    }
}

bool SaveAsCommand() {
    std::string path;
    if (!ChooseSavePath(path)) return false;
    SetMapFileName(path);
    return SaveToMapFile();
}

bool SaveCommand() {
    if (mapFilePath == "untitled.kdm" && saveCount == 0 &&
        PlatformAsk("マップファイルの名前と保存場所がデフォルトのままです。変更しますか？", "上書き保存",
                    AskButtons::kYesNo) == Answer::kYes) {
        return SaveAsCommand();
    }
    return SaveToMapFile();
}

void NewCommand() {
    if (!ConfirmDiscard()) return;
    std::string path;
    if (!ChooseSavePath(path)) return;
    // The new map is written at once, so that the file named in the title
    // holds what the editor shows.
    ClearMap();
    SetMapFileName(path);
    ResetMapHistory();  // a new map: the old one's steps are not its own
    SaveToMapFile();
    RunCommand(IDM_MAP_SLOT);
}

void OpenCommand() {
    if (!ConfirmDiscard()) return;
    std::string path;
    if (PlatformChooseMapFile(false, path)) LoadMapFile(path);
}

void ClearCommand() {
    if (ConfirmDiscard()) ClearMap();
}

void ExitCommand() {
    if (ConfirmDiscard()) PlatformCloseMainWindow();
}
