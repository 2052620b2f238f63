// What the mouse does to the view itself, beyond the editing: the wheel
// zooms about the point under the cursor and the middle button drags the map.
#pragma once

#include <cstdint>

// Zoom factor of one wheel notch.
constexpr float kWheelZoomStep = 1.25f;

// Zooms by factor keeping the map point under view pixel (px, py) there.
void ZoomViewAt(int32_t px, int32_t py, float factor);
// The wheel turned by delta (120 a notch, away from the user positive) at view pixel (px, py).
void WheelZoom(int32_t px, int32_t py, int32_t delta);
// The middle button dragged the map by (dx, dy) view pixels (y down).
void DragView(int32_t dx, int32_t dy);
