// Drawing sectors: the polygon being clicked corner by corner, and turning a
// closed polygon into vertices, linedefs and a sector. A clockwise polygon
// makes a new sector; a counter-clockwise one cuts void space out of the
// sector around it. Positions are map coordinates; the map view converts
// its pixels before calling.
#pragma once

#include <cstdint>

#include "model/geometry.h"

constexpr int kMaxDrawPoints = 256;

// Slots 0 to numDrawPoints - 1: the placed points in click order; slot
// numDrawPoints: the rubber-band point that follows the mouse.
extern DrawPoint drawPoints[kMaxDrawPoints + 1];
extern int32_t numDrawPoints;

// Snaps a freshly clicked point to the hover (vertex, first drawn point or
// linedef) or else to the grid.
void SnapDrawPoint(DrawPoint& point);

// A left click at (x, y) in sector drawing mode; true when it closed the
// polygon into a sector (a click on the first point), which ends the drawing.
bool AddDrawPoint(float x, float y);
// The mouse moved to (x, y) in sector drawing mode.
void MoveRubberBand(float x, float y);
// A right click in sector drawing mode: takes back the last point; with one
// point or none placed, empties the buffer and returns true: the drawing is
// abandoned.
bool RemoveLastDrawPoint();
// Closes the polygon (Enter, or a click on the first point); true when it
// became a sector and the buffer was emptied, false when refused or when
// fewer than three points are placed.
bool CloseDrawing();

bool EdgeCrossesDrawing(const DrawPoint& a, const DrawPoint& b);

// Makes the records for a closed polygon; 1 on success, 0 when refused.
int32_t CreateSector(const DrawPoint* points, int32_t n);
bool IsVoidPolygon(const DrawPoint* points, int32_t n);
Sector* FindEnclosingSector(const DrawPoint* points, int32_t n);
void ResolveEdgeEnds(DrawPoint& a, DrawPoint& b);
void AddSectorEdge(Sector* sector, DrawPoint a, DrawPoint b, Sector* other);
void AssignSideTextures(Linedef* linedef);

// Makes the placed points snapped to record (every record when null) free
// points at the same place, before the record is freed.
void DetachDrawPoints(const void* record);

// Writes the no-texture name "-": a dash and one zero byte over the first
// two bytes of the field.
void SetNoTexture(char* field);
