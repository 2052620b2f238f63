// Wheel zoom about the cursor and dragging the view with the middle button.
#include "view/view_mouse.h"

#include <cmath>

#include "view/view_navigation.h"
#include "view/view_transform.h"

void ZoomViewAt(int32_t px, int32_t py, float factor) {
    float beforeX, beforeY, afterX, afterY;
    ViewToMap(static_cast<float>(px), static_cast<float>(py), beforeX, beforeY);
    ZoomView(factor);
    ViewToMap(static_cast<float>(px), static_cast<float>(py), afterX, afterY);
    viewCentreX += beforeX - afterX;
    viewCentreY += beforeY - afterY;
}

void WheelZoom(int32_t px, int32_t py, int32_t delta) {
    if (delta == 0) return;
    ZoomViewAt(px, py, std::pow(kWheelZoomStep, static_cast<float>(delta) / 120.0f));
}

void DragView(int32_t dx, int32_t dy) {
    // The map follows the mouse: the centre moves the other way.
    ScrollView(-dx, dy);
}
