// Opening a level of a WAD file in the editor: the WAD is chosen with the
// file dialog, then one of its maps from a list ("wadlevel" dialog), and the
// map is imported as a modified, untitled map with that slot.
#pragma once

#include <string>
#include <vector>

#include "resources/wad_file.h"

// The list the "wadlevel" dialog shows, and what it chose (-1: nothing).
struct WadLevelChoice {
    std::vector<std::string> names;  // "MAP01" ... in slot order
    int chosen = -1;
};
extern WadLevelChoice wadLevelChoice;

// The maps MAP01 to MAP32 that the WAD holds, in slot order.
std::vector<std::string> WadMapNames(const WadFile& wad);

// The command: asks about unsaved changes, then the WAD, then its map.
void OpenWadLevelCommand();
