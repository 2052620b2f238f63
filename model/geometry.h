// The small geometric tests the editing operations decide everything with,
// and the two basic constructive steps: finding-or-making a vertex and
// splitting a linedef. All arithmetic is single precision.
#pragma once

#include <cstdint>

#include "model/map.h"

// What a point of a drawn polygon (or a tested segment end) was snapped to.
enum DrawPointKind : int32_t { kDrawFree = 0, kDrawOnVertex = 1, kDrawOnLinedef = 2 };

struct DrawPoint {
    float x;
    float y;
    int32_t kind;  // DrawPointKind
    void* object;  // the Vertex (kDrawOnVertex) or Linedef (kDrawOnLinedef), else null
};

// Distance within which a point lies on a line, or two points are one, in
// map units: the tolerance of the editing operations and the node builder.
constexpr float kOnLineTolerance = 0.1f;

// The first vertex at exactly (x, y), or a new one appended there. Does not
// mark the map modified.
Vertex* MakeVertex(float x, float y);

// Splits the linedef at the vertex made for point: the linedef now ends
// there and an exact copy, appended to the list, starts there. Marks the map
// modified.
void SplitLinedef(const DrawPoint& point, Linedef* linedef);

// Whether segment a-b crosses segment c-d; collinear segments never do, and
// an exact 0 counts as the non-negative side. (Inline: the PVS flood runs it
// millions of times.)
inline bool SegmentsCross(float ax, float ay, float bx, float by, float cx, float cy, float dx, float dy) {
    const float ex = bx - ax;
    const float ey = by - ay;
    const float s1 = (cy - ay) * ex - (cx - ax) * ey;
    const float s2 = (dy - ay) * ex - (dx - ax) * ey;
    if ((s1 >= 0) == (s2 >= 0)) return false;
    const float fx = dx - cx;
    const float fy = dy - cy;
    const float s3 = fx * (ay - cy) - fy * (ax - cx);
    const float s4 = fx * (by - cy) - fy * (bx - cx);
    return (s3 >= 0) != (s4 >= 0);
}
bool SegmentsCross(const DrawPoint& a, const DrawPoint& b, const DrawPoint& c, const DrawPoint& d);

// One step of the even-odd rule: whether the edge a-b, given relative to the
// tested point, crosses the ray from the point towards +x. (Inline and
// shared, so that every sector look-up gives bit for bit the same answer.)
inline bool EdgeCrossesRay(float ax, float ay, float bx, float by) {
    if ((ay >= 0) == (by >= 0)) return false;
    const float c = ax * by - ay * bx;
    return (c >= 0) == (by >= 0);
}

// Within 0.1 of the linedef's line and no more than 0.1 past either end (all bounds strict).
bool PointOnLinedef(const DrawPoint& point, const Linedef* linedef);
Linedef* FindLinedefAt(const DrawPoint& point);  // the first in list order

// Even-odd rule over every linedef naming the sector on one side only (one
// with the sector on both sides lies inside it and does not count).
bool PointInSector(const DrawPoint& point, const Sector* sector);
Sector* FindSectorAt(const DrawPoint& point);  // the first in list order

// Moves the point to the foot of its perpendicular on the linedef's infinite line.
void ProjectOntoLinedef(DrawPoint& point, const Linedef* linedef);

// Divides (x, y) by its length, which it returns.
float NormalizeVector(float& x, float& y);

// Whether segment a-b crosses a linedef, not counting the linedefs a or b is
// snapped to or that end at the vertex a or b is snapped to.
bool EdgeCrossesLinedefs(const DrawPoint& a, const DrawPoint& b);

// A point at a vertex's position, snapped to it.
DrawPoint PointAtVertex(Vertex* vertex);
