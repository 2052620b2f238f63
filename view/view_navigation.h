// Scrolling, zooming and fitting the map view, and what else it shows: the
// axes, the lines of the last build and the PVS test's subsector.
#pragma once

#include <cstdint>

extern int32_t showAxes;            // 1: the map's x and y axes are drawn
extern int32_t showBspLines;        // 1: the invisible lines of the last build are drawn
extern int32_t pvsChosenSubsector;  // the PVS test's subsector, -1 for none

// Moves the centre by (dx, dy) view pixels, y pointing up.
void ScrollView(int32_t dx, int32_t dy);
// Multiplies the scale by factor; the centre stays where it is.
void ZoomView(float factor);
// Shows every vertex with a margin of a tenth; nothing without linedefs.
void FitView();
