// Backups while the map is modified, and their recovery.
#include "app/backups.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "base/report.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "platform/files.h"
#include "platform/shell.h"

float backupMinutes = 3;
const char* const kRecoveryNote = "keldra.recovery";

namespace {

bool waiting = false;  // the map is modified and a backup is due at dueAt
double dueAt = 0;
int lastNumber = 0;                // the backup written last, 1 to 3; 0 for none this run
std::vector<std::string> written;  // every backup path of this run

}  // namespace

std::string BackupPath(const std::string& mapPath, int number) { return mapPath + ".bak" + std::to_string(number); }

bool BackupIfDue(double nowSeconds) {
    if (!mapModified || backupMinutes <= 0) {
        waiting = false;
        return false;
    }
    if (!waiting) {
        waiting = true;
        dueAt = nowSeconds + backupMinutes * 60.0;
        return false;
    }
    if (nowSeconds < dueAt) return false;
    dueAt = nowSeconds + backupMinutes * 60.0;
    const int number = lastNumber % 3 + 1;
    const std::string path = BackupPath(mapFilePath, number);
    if (!WriteWholeFile(path, EncodeMapFile(), false)) {
        LogDebug("BackupIfDue: %s に書き込めません\n", path.c_str());
        return false;
    }
    lastNumber = number;
    if (std::find(written.begin(), written.end(), path) == written.end()) written.push_back(path);
    WriteWholeFile(kRecoveryNote, mapFilePath + "\n" + path + "\n", false);
    return true;
}

void ForgetBackups() {
    waiting = false;
    if (FileExists(kRecoveryNote)) RemoveFile(kRecoveryNote);
}

bool OfferBackupRecovery() {
    std::string note;
    if (!ReadWholeFile(kRecoveryNote, note)) return false;
    std::istringstream lines(note);
    std::string mapPath, backupPath, bytes;
    if (!std::getline(lines, mapPath) || !std::getline(lines, backupPath) || !ReadWholeFile(backupPath, bytes)) {
        RemoveFile(kRecoveryNote);
        return false;
    }
    const Answer answer =
        PlatformAsk("前回は " + mapPath + " の編集中に正しく終了しませんでした。\n自動バックアップ (" + backupPath +
                        ") から復元しますか？",
                    "バックアップからの復元", AskButtons::kYesNo);
    if (answer != Answer::kYes || !LoadMapBytes(bytes, mapPath)) {
        RemoveFile(kRecoveryNote);
        return false;
    }
    // The backup is newer than the map file: unsaved work, not the file.
    MarkModified();
    ResetMapHistory();
    return true;
}

void EndBackups() {
    ForgetBackups();
    for (const std::string& path : written) {
        if (FileExists(path)) RemoveFile(path);
    }
    written.clear();
    lastNumber = 0;
}
