// The wheel zooms about the cursor; the middle button drags the map with the mouse.
#include "view/view_mouse.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "view/view_transform.h"

namespace {

class ViewMouseTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        viewCentreX = 100;
        viewCentreY = -50;
        viewScale = 2;
        SetViewSize(800, 600);
    }
};

TEST_F(ViewMouseTest, WheelKeepsThePointUnderTheCursor) {
    const struct {
        int32_t px, py, delta;
        float scale;  // after the turn
    } cases[] = {{0, 0, 120, 2.5f}, {799, 599, -120, 1.6f}, {400, 300, 240, 3.125f}, {123, 456, -360, 1.024f}};
    for (const auto& c : cases) {
        viewCentreX = 100;
        viewCentreY = -50;
        viewScale = 2;
        SetViewSize(800, 600);
        float mx, my;
        ViewToMap(static_cast<float>(c.px), static_cast<float>(c.py), mx, my);
        WheelZoom(c.px, c.py, c.delta);
        EXPECT_FLOAT_EQ(viewScale, c.scale) << c.px << "," << c.py;
        float px, py;
        MapToView(mx, my, px, py);
        EXPECT_NEAR(px, static_cast<float>(c.px), 0.01f);
        EXPECT_NEAR(py, static_cast<float>(c.py), 0.01f);
        EXPECT_FLOAT_EQ(visibleWidth, 800 / c.scale);
    }
}

TEST_F(ViewMouseTest, MiddleDragMovesTheMapWithTheMouse) {
    float mx, my;
    ViewToMap(200, 100, mx, my);
    DragView(30, -40);  // right and up on the screen
    float px, py;
    MapToView(mx, my, px, py);
    EXPECT_FLOAT_EQ(px, 230);
    EXPECT_FLOAT_EQ(py, 60);
    EXPECT_FLOAT_EQ(viewScale, 2);
}

}  // namespace
