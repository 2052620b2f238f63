// Finding the map object under a pixel of the map view, computed from the
// geometry: small pick windows around the pixel, the largest selection name
// wins (in the PVS test a subsector, then things, then the first drawn point,
// then vertices, then linedefs; later in a list before earlier), and more
// than 16 hits pick nothing. Any number of objects can be picked.
#pragma once

#include <cstdint>

// Sets the hover to the object under view pixel (x, y), or to none; in the
// PVS test a subsector under the pixel becomes the chosen subsector instead
// and the hover stays. Nothing under the pixel also unchooses the subsector.
void PickAt(int32_t x, int32_t y);

constexpr int kLinedefPickWindow = 6;    // pixels, also for things
constexpr int kVertexPickWindow = 8;     // pixels, also for the first drawn point
constexpr int kSubsectorPickWindow = 1;  // pixels, the PVS test's subsectors
constexpr int kMaxPickHits = 16;
