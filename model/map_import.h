// Reading a map in the game's own format (THINGS, LINEDEFS, SIDEDEFS,
// VERTEXES, SECTORS after its marker) into the map model, so that existing
// levels can be edited and rebuilt.
#pragma once

#include <string>

#include "resources/wad_file.h"

// Replaces the current map by the map under the marker (e.g. "MAP01") of
// the WAD. Sidedefs shared by several linedefs are copied into each.
// Linedefs without a right side or of no length and things of types the
// thing table does not know are left out, and said so in a warning. False,
// with the current map untouched, when the map is missing or broken.
bool ImportMap(const WadFile& wad, const std::string& marker, std::string& error);
