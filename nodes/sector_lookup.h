// The sector containing a point, for the node builder: the same answer as
// FindSectorAt (the first sector in list order that contains the point by
// the even-odd rule), from an index of the map made once per build.
#pragma once

#include <cstdint>

struct Sector;

// Takes the current map's linedefs and sectors into the index.
void PrepareSectorLookup();
// The containing sector's number in list order, or -1 for the void.
int32_t FindSectorNumberAt(float x, float y);
void ReleaseSectorLookup();

// When set, lookups walk the map itself as FindSectorAt does; the tests
// build with both and compare the output byte for byte.
extern bool useReferenceLookups;
