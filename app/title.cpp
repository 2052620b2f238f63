// The title bar text.
#include "app/title.h"

#include "base/report.h"
#include "model/map.h"
#include "platform/platform.h"
#include "resources/game_tables.h"

std::string TitleText() {
    std::size_t slash = mapFilePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? mapFilePath : mapFilePath.substr(slash + 1);
    const char* slot = (mapSlot >= 1 && mapSlot <= kNumMapSlots) ? mapSlotNames[mapSlot - 1] : "MAP??";
    std::string text = "Keldra - [" + name + (mapModified ? " * - " : " - ") + slot + "]";
    return CutToCp932Length(text, 255);
}

void UpdateTitle() { PlatformSetWindowTitle(TitleText()); }
