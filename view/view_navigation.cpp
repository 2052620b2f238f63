// Scrolling, zooming and fitting the map view.
#include "view/view_navigation.h"

#include "model/map.h"
#include "view/view_transform.h"

int32_t showAxes = 0;
int32_t showBspLines = 0;
int32_t pvsChosenSubsector = -1;

void ScrollView(int32_t dx, int32_t dy) {
    viewCentreX += static_cast<float>(dx) / viewScale;
    viewCentreY += static_cast<float>(dy) / viewScale;
    SetViewSize(viewWidth, viewHeight);
}

void ZoomView(float factor) {
    viewScale *= factor;
    SetViewSize(viewWidth, viewHeight);
}

void FitView() {
    if (numlinedefs == 0 || viewWidth <= 0 || viewHeight <= 0) return;
    float minX = 32767, minY = 32767, maxX = -32768, maxY = -32768;
    for (const Vertex* v = vertices; v; v = v->next) {
        if (v->x < minX) minX = v->x;
        if (v->y < minY) minY = v->y;
        if (v->x > maxX) maxX = v->x;
        if (v->y > maxY) maxY = v->y;
    }
    const float w = maxX - minX, h = maxY - minY;
    viewCentreX = minX + w / 2;
    viewCentreY = minY + h / 2;
    if (w <= 0 && h <= 0) {
        SetViewSize(viewWidth, viewHeight);
        return;
    }
    // A map of one straight line has no extent one way: fit the other.
    const float viewAspect = static_cast<float>(viewWidth) / static_cast<float>(viewHeight);
    if (h <= 0 || (w > 0 && viewAspect < w / h))
        viewScale = static_cast<float>(viewWidth) / w;
    else
        viewScale = static_cast<float>(viewHeight) / h;
    ZoomView(0.9f);
}
