// The map view's transform between view pixels (y down from the top edge)
// and map coordinates (y up): a centre, a scale and the view's size.
#pragma once

#include <cstdint>

extern float viewScale;    // view pixels per map unit
extern float viewCentreX;  // the map point at the middle of the view
extern float viewCentreY;
extern int32_t viewWidth;  // client size of the map view in pixels
extern int32_t viewHeight;
extern float visibleWidth;  // extent of the view in map units
extern float visibleHeight;

// Stores the view's client size and recomputes the visible extent.
void SetViewSize(int32_t width, int32_t height);

// The map position of view pixel (px, py).
void ViewToMap(float px, float py, float& x, float& y);
// The view position (in pixels, not rounded) of map point (x, y).
void MapToView(float x, float y, float& px, float& py);
