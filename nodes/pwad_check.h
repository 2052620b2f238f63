// Structural checks of a built map in a WAD, for our own PWADs and for
// those of other node builders: every reference in range, every seg on its
// linedef, subsectors convex and on the right side of every partition line
// above them, node children and boxes consistent, the blockmap listing
// every linedef in every block it passes through.
#pragma once

#include <string>
#include <vector>

#include "resources/wad_file.h"

// The problems found in the map under marker, at most a few of each kind;
// empty when it is sound. With ownLayout, also the exact layout this
// editor writes: 11 lumps in the fixed order, one after another.
//
// Without deviations, every departure from the exact structure is a
// problem (what this editor's own builds are held to). With it, the
// departures the engines accept go there instead and the result holds
// only the faults that break the game: seg angles and offsets that are a
// little off (the game's own levels have them), segs a few units beside a
// node's line, and linedefs that can block nothing left out of blocks.
std::vector<std::string> CheckBuiltMap(const WadFile& wad, const std::string& marker, bool ownLayout,
                                       std::vector<std::string>* deviations = nullptr);
