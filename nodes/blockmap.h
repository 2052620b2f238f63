// The BLOCKMAP lump: 128-unit blocks over the map, each listing the
// linedefs that touch it.
#pragma once

#include <string>

// Builds the lump from the root box and the map's linedefs; refuses
// (FailBuild) a blockmap beyond the lump's 16-bit offsets.
std::string BuildBlockmap();
