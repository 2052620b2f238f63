// Editing operations on vertices, things, sectors and linedefs, and the grid
// they snap to. Positions are map coordinates; the map view converts its
// pixels before calling.
#pragma once

#include <cstdint>

#include "model/map.h"

extern int32_t gridSize;  // 0 for no grid, else 8, 16, 32 or 64 map units

// Rounds (x, y) to the nearest grid point when a grid is chosen.
void SnapToGrid(float& x, float& y);

// Splits the linedef at the foot of the perpendicular from (x, y). Refused
// with a warning when that point is not strictly between the linedef's ends.
void InsertVertex(float x, float y, Linedef* linedef);

// Remembers the offset between the mouse at (mouseX, mouseY) and an object at (x, y).
void BeginDrag(float x, float y, float mouseX, float mouseY);
// Moves a vertex or thing so that it keeps that offset to the mouse.
void DragTo(const MapObject& object, float mouseX, float mouseY);
// Ends a vertex drag: snaps it to the grid and checks its linedefs; false
// (after a warning) when the move must be undone.
bool CheckVertexMove(Vertex* vertex);

void DeleteVertex(Vertex* vertex);
void DeleteSector(Sector* sector);
void DeleteThing(Thing* thing);

// Adds a thing of the given thing type table row at (x, y).
void PlaceThing(float x, float y, int32_t row);

// Turns a two-sided linedef round, each side still facing its sector.
void FlipLinedef(Linedef* linedef);

// The Delete command: deletes the selected vertex, sector or thing (a
// linedef is not deleted) and clears the selection in every case.
void DeleteSelection();
// The Flip command: flips the selected linedef when it is two-sided.
void FlipSelection();

// Sets the sector's floor and ceiling heights. Where a changed height makes
// a two-sided linedef's neighbour floor (ceiling) pass from one side of the
// sector's to the other, the wall that comes into view gets the default
// lower (upper) texture and the one that goes out of view "-"; at equal
// heights both get "-". Middles and one-sided linedefs are left alone, as
// is every texture when a height does not change.
void ApplySectorHeights(Sector* sector, int32_t floorHeight, int32_t ceilingHeight);
