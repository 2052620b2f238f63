// Geometric picking with the windows, precedence and overflow of the
// selection-buffer picking the map view was designed around.
#include "view/picking.h"

#include <algorithm>

#include "model/geometry.h"
#include "model/map.h"
#include "model/sector_drawing.h"
#include "nodes/bsp_output.h"
#include "resources/thing_types.h"
#include "view/map_input.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

struct Window {
    float left, top, right, bottom;  // view pixels, y down
};

Window WindowAround(int32_t x, int32_t y, int size) {
    const float half = static_cast<float>(size) / 2;
    return {x - half, y - half, x + half, y + half};
}

bool PointInWindow(float px, float py, const Window& w) {
    return px >= w.left && px <= w.right && py >= w.top && py <= w.bottom;
}

// Whether the map segment a-b passes through the window (Liang-Barsky).
bool SegmentInWindow(float ax, float ay, float bx, float by, const Window& w) {
    float x0, y0, x1, y1;
    MapToView(ax, ay, x0, y0);
    MapToView(bx, by, x1, y1);
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    float t0 = 0.0f;
    float t1 = 1.0f;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {x0 - w.left, w.right - x0, y0 - w.top, w.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const float r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

// Whether the map box [x0, x1] by [y0, y1] overlaps the window.
bool BoxInWindow(float x0, float y0, float x1, float y1, const Window& w) {
    float left, top, right, bottom;
    MapToView(x0, y1, left, top);
    MapToView(x1, y0, right, bottom);
    return left <= w.right && right >= w.left && top <= w.bottom && bottom >= w.top;
}

bool ThingInWindow(const Thing* t, const Window& w) {
    const bool known = t->typeIndex >= 0 && t->typeIndex < kNumThingTypes;
    const float r = known ? static_cast<float>(thingTypes[t->typeIndex].radius) : 0.0f;
    if (r == 0) {
        return SegmentInWindow(t->x - 8, t->y - 8, t->x + 8, t->y + 8, w) ||
               SegmentInWindow(t->x + 8, t->y - 8, t->x - 8, t->y + 8, w);
    }
    return BoxInWindow(t->x - r, t->y - r, t->x + r, t->y + r, w);
}

// Whether a subsector outline overlaps the window: the window's middle is
// inside it, or one of its edges passes through the window.
bool PolygonInWindow(const std::vector<PolygonPoint>& polygon, int32_t x, int32_t y, const Window& w) {
    if (polygon.size() < 3) return false;
    float mx, my;
    ViewToMap(static_cast<float>(x), static_cast<float>(y), mx, my);
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const PolygonPoint& a = polygon[j];
        const PolygonPoint& b = polygon[i];
        if (EdgeCrossesRay(a.x - mx, a.y - my, b.x - mx, b.y - my)) inside = !inside;
    }
    if (inside) return true;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        if (SegmentInWindow(polygon[j].x, polygon[j].y, polygon[i].x, polygon[i].y, w)) return true;
    }
    return false;
}

}  // namespace

void PickAt(int32_t x, int32_t y) {
    int hits = 0;
    MapObject best = {kObjectNone, nullptr};
    int bestRank = -1;  // 0 linedef, 1 vertex, 2 first drawn point, 3 thing
    auto hit = [&](int rank, int32_t kind, void* object) {
        ++hits;
        // Within a rank the later record has the larger name and wins.
        if (rank >= bestRank) {
            bestRank = rank;
            best = {kind, object};
        }
    };

    const Window lineWindow = WindowAround(x, y, kLinedefPickWindow);
    for (Linedef* l = linedefs; l; l = l->next) {
        if (SegmentInWindow(l->startVertex->x, l->startVertex->y, l->endVertex->x, l->endVertex->y, lineWindow)) {
            hit(0, kObjectLinedef, l);
        }
    }
    for (Thing* t = things; t; t = t->next) {
        if (ThingInWindow(t, lineWindow)) hit(3, kObjectThing, t);
    }
    const Window pointWindow = WindowAround(x, y, kVertexPickWindow);
    for (Vertex* v = vertices; v; v = v->next) {
        float px, py;
        MapToView(v->x, v->y, px, py);
        if (PointInWindow(px, py, pointWindow)) hit(1, kObjectVertex, v);
    }
    if (mapMode == MapMode::kDrawSector && numDrawPoints > 0) {
        float px, py;
        MapToView(drawPoints[0].x, drawPoints[0].y, px, py);
        if (PointInWindow(px, py, pointWindow)) hit(2, kObjectVertex, nullptr);
    }

    // The PVS test's subsectors outrank everything and leave the hover alone.
    int32_t subsector = -1;
    if (mapMode == MapMode::kPvsTest) {
        const Window pixel = WindowAround(x, y, kSubsectorPickWindow);
        for (std::size_t i = 0; i < subsectorPolygons.size(); ++i) {
            if (PolygonInWindow(subsectorPolygons[i], x, y, pixel)) {
                ++hits;
                subsector = static_cast<int32_t>(i);
            }
        }
    }

    if (hits == 0 || hits > kMaxPickHits) {
        hover = {kObjectNone, nullptr};
        pvsChosenSubsector = -1;
    } else if (subsector >= 0) {
        pvsChosenSubsector = subsector;
    } else {
        hover = best;
    }
}
