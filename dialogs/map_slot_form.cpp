// The map slot dialog's working copy.
#include "dialogs/map_slot_form.h"

#include "model/map.h"
#include "resources/game_tables.h"

std::vector<std::string> MapSlotEntries() { return {mapSlotNames, mapSlotNames + kNumMapSlots}; }

MapSlotForm LoadMapSlotForm() {
    MapSlotForm form;
    form.position = mapSlot >= 1 && mapSlot <= kNumMapSlots ? mapSlot - 1 : 0;
    return form;
}

bool ApplyMapSlotForm(const MapSlotForm& form) {
    if (form.position < 0 || form.position >= kNumMapSlots) return false;
    const int32_t slot = form.position + 1;
    if (slot == mapSlot) return false;
    mapSlot = slot;
    MarkModified();
    return true;
}
