// Opening a level of a WAD file.
#include "app/wad_levels.h"

#include "app/commands.h"
#include "base/report.h"
#include "model/map.h"
#include "model/map_events.h"
#include "model/map_history.h"
#include "model/map_import.h"
#include "platform/shell.h"
#include "resources/game_tables.h"

WadLevelChoice wadLevelChoice;

std::vector<std::string> WadMapNames(const WadFile& wad) {
    std::vector<std::string> names;
    for (int slot = 1; slot <= kNumMapSlots; ++slot) {
        const std::string name = MapLumpName(slot);
        for (const WadLump& lump : wad.lumps) {
            if (lump.name == name) {
                names.push_back(name);
                break;
            }
        }
    }
    return names;
}

void OpenWadLevelCommand() {
    if (!ConfirmDiscard()) return;
    std::string path;
    if (!PlatformChooseWadFile(path)) return;
    WadFile wad;
    std::string error;
    if (!ReadWad(path, wad, error)) {
        ShowWarning("%s: %s", path.c_str(), error.c_str());
        return;
    }
    wadLevelChoice = {WadMapNames(wad), -1};
    if (wadLevelChoice.names.empty()) {
        ShowWarning("%s にはマップ (MAP01 - MAP32) がありません", path.c_str());
        return;
    }
    if (!PlatformRunDialog("wadlevel")) return;
    const int chosen = wadLevelChoice.chosen;
    if (chosen < 0 || chosen >= static_cast<int>(wadLevelChoice.names.size())) return;
    if (!ImportMap(wad, wadLevelChoice.names[chosen], error)) {
        ShowWarning("%s: %s", path.c_str(), error.c_str());
        return;
    }
    // Not the WAD's file: a map of its own, to be saved where the user says.
    SetMapFileName("untitled.kdm");
    saveCount = 0;
    MarkModified();
    ResetMapHistory();
    NotifyMapEvent(MapEvent::kStateChanged);
}
