// Turning the BSP tree into SEGS, SSECTORS and NODES records, with the
// subsector checks, and the tables a build leaves for the map view and the
// PVS pass: invisible lines, subsector outlines and portal lists.
#pragma once

#include <cstdint>
#include <vector>

#include "nodes/bsp.h"
#include "nodes/lumps.h"

struct InvisibleLine {
    float x1, y1, x2, y2;
};
struct PolygonPoint {
    float x, y;
};

// Every invisible seg of every subsector, in emission order.
extern std::vector<InvisibleLine> invisibleLines;
// The outline of every subsector, in order; empty for one whose segs do not
// close into a loop.
extern std::vector<std::vector<PolygonPoint>> subsectorPolygons;
// Per subsector, copies of its see-through segs (invisible, or of a
// two-sided linedef), in its seg order.
extern std::vector<SegList> portalLists;
// top, bottom, left, right of the whole tree, for the blockmap.
extern int16_t rootBox[4];

// Emits the tree into the lump buffers.
void EmitBsp(BspNode& root, Lumps& lumps);

void CheckSubsector(const SegList& segs);
// 16-bit vertex number of (x, y), appending a VERTEXES record when new.
uint16_t FindOrAddVertex(Lumps& lumps, int16_t x, int16_t y);

// A float truncated toward zero and cut to 16 bits, as the x86 conversion
// gives it: values beyond 32 bits (and NaN) become 0x80000000, so 0.
int16_t TruncateToInt16(float value);

// Empties the display tables (a new build, or the map was cleared).
void ClearBuildTables();
