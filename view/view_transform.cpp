// View state and the pixel-to-map transform.
#include "view/view_transform.h"

float viewScale = 1.0f;
float viewCentreX = 0.0f;
float viewCentreY = 0.0f;
int32_t viewWidth = 0;
int32_t viewHeight = 0;
float visibleWidth = 0.0f;
float visibleHeight = 0.0f;

void SetViewSize(int32_t width, int32_t height) {
    viewWidth = width;
    viewHeight = height;
    visibleWidth = static_cast<float>(viewWidth) / viewScale;
    // A view shrunk to nothing keeps a usable extent instead of dividing by 0.
    visibleHeight = viewWidth > 0 ? static_cast<float>(viewHeight) * visibleWidth / static_cast<float>(viewWidth)
                                  : static_cast<float>(viewHeight) / viewScale;
}

void ViewToMap(float px, float py, float& x, float& y) {
    if (viewWidth <= 0 || viewHeight <= 0) {
        x = viewCentreX;
        y = viewCentreY;
        return;
    }
    x = viewCentreX - visibleWidth / 2 + visibleWidth * px / static_cast<float>(viewWidth);
    y = viewCentreY + visibleHeight / 2 - visibleHeight * py / static_cast<float>(viewHeight);
}

void MapToView(float x, float y, float& px, float& py) {
    px = (x - (viewCentreX - visibleWidth / 2)) * static_cast<float>(viewWidth) / visibleWidth;
    py = ((viewCentreY + visibleHeight / 2) - y) * static_cast<float>(viewHeight) / visibleHeight;
}
