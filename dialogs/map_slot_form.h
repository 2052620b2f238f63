// The map slot dialog's working copy: which map of the game the level is
// built as, as a position in the list of slots.
#pragma once

#include <string>
#include <vector>

struct MapSlotForm {
    int position = 0;  // 0 for MAP01 ... 31 for MAP32
};

// "MAP01" to "MAP32", the list's entries in order.
std::vector<std::string> MapSlotEntries();

// Opens on the current slot, so that OK without a choice keeps it.
MapSlotForm LoadMapSlotForm();

// Sets the slot; a changed slot marks the map modified, since the map file
// stores it. A position outside the list changes nothing. True when the
// slot changed.
bool ApplyMapSlotForm(const MapSlotForm& form);
