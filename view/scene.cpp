// The scene of one map view frame: every pass in order with its colours.
#include "view/scene.h"

#include <algorithm>
#include <cstddef>

#include "model/editing.h"
#include "model/geometry.h"
#include "model/map.h"
#include "model/sector_drawing.h"
#include "nodes/bsp_output.h"
#include "nodes/pvs.h"
#include "resources/thing_types.h"
#include "view/map_input.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

namespace {

// Lines farther out than this many per direction would cover every pixel
// many times over; a view zoomed out that far is solid grid either way.
constexpr int64_t kMaxGridLines = 1 << 20;

// Conversion toward zero, held inside the 32-bit range (and NaN to 0) so
// that a view zoomed far out cannot overflow.
int64_t Trunc(float v) {
    if (!(v == v)) return 0;
    if (v >= 2.0e9f) return 2000000000;
    if (v <= -2.0e9f) return -2000000000;
    return static_cast<int64_t>(v);
}

// Opens a new batch unless the last one has the same pass, kind and colour.
void Extend(Scene& scene, ScenePass pass, PrimitiveKind kind, SceneColour colour, std::size_t firstPoint,
            uint32_t count) {
    if (!scene.batches.empty()) {
        SceneBatch& last = scene.batches.back();
        if (last.pass == pass && last.kind == kind && last.colour == colour && kind != PrimitiveKind::kLineStrip) {
            last.count += count;
            return;
        }
    }
    scene.batches.push_back({pass, kind, colour, static_cast<uint32_t>(firstPoint), count});
}

void AddLine(Scene& scene, ScenePass pass, SceneColour colour, float x1, float y1, float x2, float y2) {
    const std::size_t first = scene.points.size() / 2;
    scene.points.insert(scene.points.end(), {x1, y1, x2, y2});
    Extend(scene, pass, PrimitiveKind::kLines, colour, first, 2);
}

void AddPoint(Scene& scene, ScenePass pass, SceneColour colour, float x, float y) {
    const std::size_t first = scene.points.size() / 2;
    scene.points.insert(scene.points.end(), {x, y});
    Extend(scene, pass, PrimitiveKind::kPoints, colour, first, 1);
}

void AddPvsOverlay(Scene& scene) {
    const auto n = static_cast<int32_t>(subsectorPolygons.size());
    if (mapMode != MapMode::kPvsTest || n == 0) return;
    const int32_t chosen = pvsChosenSubsector;
    const bool hasRow = chosen >= 0 && chosen < n && pvsSubsectors == n &&
                        pvsMatrix.size() == static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    const uint8_t* row =
        hasRow ? pvsMatrix.data() + static_cast<std::size_t>(chosen) * static_cast<std::size_t>(n) : nullptr;
    auto colourOf = [&](int32_t i) {
        if (i == chosen) return kPvsChosenColour;
        if (row && row[i]) return kPvsVisibleColour;
        return kPvsOtherColour;
    };
    // Subsectors do not overlap, so grouping them by colour changes no
    // pixel and leaves three draw calls.
    for (const SceneColour colour : {kPvsOtherColour, kPvsVisibleColour, kPvsChosenColour}) {
        const std::size_t first = scene.points.size() / 2;
        for (int32_t i = 0; i < n; ++i) {
            const auto& polygon = subsectorPolygons[static_cast<std::size_t>(i)];
            if (polygon.size() < 3 || !(colourOf(i) == colour)) continue;
            // A fan over the convex outline.
            for (std::size_t k = 1; k + 1 < polygon.size(); ++k) {
                scene.points.insert(scene.points.end(), {polygon[0].x, polygon[0].y, polygon[k].x, polygon[k].y,
                                                         polygon[k + 1].x, polygon[k + 1].y});
            }
        }
        const std::size_t count = scene.points.size() / 2 - first;
        if (count)
            Extend(scene, ScenePass::kPvsOverlay, PrimitiveKind::kTriangles, colour, first,
                   static_cast<uint32_t>(count));
    }
}

void AddGrid(Scene& scene) {
    const int64_t g = gridSize;
    if (g <= 0) return;
    const float left = viewCentreX - visibleWidth / 2, right = viewCentreX + visibleWidth / 2;
    const float top = viewCentreY + visibleHeight / 2, bottom = viewCentreY - visibleHeight / 2;
    {
        const auto x1 = static_cast<float>(Trunc(left - 5)), x2 = static_cast<float>(Trunc(right + 5));
        const int64_t last = Trunc(bottom - static_cast<float>(g));
        int64_t y = Trunc(top + static_cast<float>(g)) / g * g;
        for (int64_t lines = 0; y >= last && lines < kMaxGridLines; y -= g, ++lines) {
            AddLine(scene, ScenePass::kGrid, kGridColour, x1, static_cast<float>(y), x2, static_cast<float>(y));
        }
    }
    {
        const auto y1 = static_cast<float>(Trunc(top + 5)), y2 = static_cast<float>(Trunc(bottom - 5));
        const int64_t last = Trunc(right + static_cast<float>(g));
        int64_t x = Trunc(left - static_cast<float>(g)) / g * g;
        for (int64_t lines = 0; x <= last && lines < kMaxGridLines; x += g, ++lines) {
            AddLine(scene, ScenePass::kGrid, kGridColour, static_cast<float>(x), y1, static_cast<float>(x), y2);
        }
    }
}

void AddAxes(Scene& scene) {
    if (!showAxes) return;
    const float left = viewCentreX - visibleWidth / 2 - 5, right = viewCentreX + visibleWidth / 2 + 5;
    const float top = viewCentreY + visibleHeight / 2 + 5, bottom = viewCentreY - visibleHeight / 2 - 5;
    AddLine(scene, ScenePass::kAxes, kAxesColour, left, 0, right, 0);
    AddLine(scene, ScenePass::kAxes, kAxesColour, 0, top, 0, bottom);
}

void AddInvisibleLines(Scene& scene) {
    if (!showBspLines) return;
    for (const InvisibleLine& l : invisibleLines) {
        AddLine(scene, ScenePass::kInvisibleLines, kInvisibleLineColour, l.x1, l.y1, l.x2, l.y2);
    }
}

const Sector* SelectedSector() {
    return selection.kind == kObjectSector ? static_cast<const Sector*>(selection.object) : nullptr;
}

bool OfSector(const Linedef* l, const Sector* s) { return s && (l->right.sector == s || l->left.sector == s); }

void AddLinedefs(Scene& scene) {
    const bool hoverShown = mapMode == MapMode::kDrawSector || mapMode == MapMode::kInsertVertex;
    const void* hovered = hoverShown && hover.kind == kObjectLinedef ? hover.object : nullptr;
    const void* selected = selection.kind == kObjectLinedef ? selection.object : nullptr;
    const Sector* sector = SelectedSector();
    for (const Linedef* l = linedefs; l; l = l->next) {
        const bool red = (hovered && l == hovered) || (selected && l == selected) || OfSector(l, sector);
        const SceneColour colour = red ? kHighlightColour : kNormalColour;
        const Vertex* a = l->startVertex;
        const Vertex* b = l->endVertex;
        AddLine(scene, ScenePass::kLinedefs, colour, a->x, a->y, b->x, b->y);
        if (l == selected) {
            // The tick points to the right side.
            float nx = b->y - a->y, ny = -(b->x - a->x);
            if (nx == 0 && ny == 0) continue;
            NormalizeVector(nx, ny);
            const float mx = (a->x + b->x) / 2, my = (a->y + b->y) / 2;
            const float length = kTickLength / viewScale;
            AddLine(scene, ScenePass::kLinedefs, colour, mx, my, mx + nx * length, my + ny * length);
        }
    }
}

void AddVertices(Scene& scene) {
    // The selected sector's corners, sorted for look-up.
    static std::vector<const Vertex*> corners;
    corners.clear();
    if (const Sector* sector = SelectedSector()) {
        for (const Linedef* l = linedefs; l; l = l->next) {
            if (!OfSector(l, sector)) continue;
            corners.push_back(l->startVertex);
            corners.push_back(l->endVertex);
        }
        std::sort(corners.begin(), corners.end());
    }
    const void* hovered = mapMode == MapMode::kDrawSector && hover.kind == kObjectVertex ? hover.object : nullptr;
    const void* selected = selection.kind == kObjectVertex ? selection.object : nullptr;
    for (const Vertex* v = vertices; v; v = v->next) {
        const bool red = (hovered && v == hovered) || (selected && v == selected) ||
                         (!corners.empty() && std::binary_search(corners.begin(), corners.end(), v));
        AddPoint(scene, ScenePass::kVertices, red ? kHighlightColour : kNormalColour, v->x, v->y);
    }
    if (mapMode == MapMode::kDrawSector && numDrawPoints > 0) {
        const bool onIt = hover.kind == kObjectVertex && hover.object == nullptr;
        AddPoint(scene, ScenePass::kFirstDrawPoint, onIt ? kHighlightColour : kDrawingColour, drawPoints[0].x,
                 drawPoints[0].y);
    }
}

void AddThings(Scene& scene) {
    const void* selected = selection.kind == kObjectThing ? selection.object : nullptr;
    for (const Thing* t = things; t; t = t->next) {
        const SceneColour colour = selected && t == selected ? kHighlightColour : kNormalColour;
        const bool known = t->typeIndex >= 0 && t->typeIndex < kNumThingTypes;
        const int32_t category = known ? thingTypes[t->typeIndex].category : kNumThingCategories - 1;
        const float r = known ? static_cast<float>(thingTypes[t->typeIndex].radius) : 0.0f;
        if (r <= 0 || category < 0 || category >= kNumThingCategories - 1) {
            const float h = kSpotHalfSize;
            AddLine(scene, ScenePass::kThings, colour, t->x - h, t->y - h, t->x + h, t->y + h);
            AddLine(scene, ScenePass::kThings, colour, t->x + h, t->y - h, t->x - h, t->y + h);
            continue;
        }
        float s0, s1, t0, t1;
        IconTexCoords(category, s0, s1, t0, t1);
        const std::size_t first = scene.iconPoints.size() / 2;
        scene.iconPoints.insert(scene.iconPoints.end(),
                                {t->x - r, t->y - r, t->x + r, t->y - r, t->x + r, t->y + r, t->x - r, t->y + r});
        // The cell's top row at the quad's top: the icon stands upright.
        scene.iconTexCoords.insert(scene.iconTexCoords.end(), {s0, t1, s1, t1, s1, t0, s0, t0});
        Extend(scene, ScenePass::kThings, PrimitiveKind::kIconQuads, colour, first, 4);
    }
}

void AddDrawing(Scene& scene) {
    if (mapMode != MapMode::kDrawSector || numDrawPoints <= 0) return;
    const std::size_t first = scene.points.size() / 2;
    // The placed points and the rubber-band point after them.
    for (int32_t i = 0; i <= numDrawPoints && i <= kMaxDrawPoints; ++i) {
        scene.points.insert(scene.points.end(), {drawPoints[i].x, drawPoints[i].y});
    }
    Extend(scene, ScenePass::kDrawing, PrimitiveKind::kLineStrip, kDrawingColour, first,
           static_cast<uint32_t>(scene.points.size() / 2 - first));
}

}  // namespace

void IconTexCoords(int32_t category, float& s0, float& s1, float& t0, float& t1) {
    const int32_t cell = thingCategoryIconCells[category];
    const float cellSize = 1.0f / kAtlasCells;
    s0 = static_cast<float>(cell % kAtlasCells) * cellSize;
    t0 = static_cast<float>(cell / kAtlasCells) * cellSize;
    // These three icons sit a little to the right in their cells.
    if (category == 3 || category == 4 || category == 7) s0 += 0.006f;
    s1 = s0 + cellSize;
    t1 = t0 + cellSize;
}

void BuildScene(Scene& scene) {
    scene.points.clear();
    scene.iconPoints.clear();
    scene.iconTexCoords.clear();
    scene.batches.clear();
    // Room for the usual frame at once; capacity stays between frames.
    scene.points.reserve(static_cast<std::size_t>(numlinedefs) * 4 + static_cast<std::size_t>(numvertices) * 2 +
                         static_cast<std::size_t>(numthings) * 8 + invisibleLines.size() * 4 + 1024);
    scene.iconPoints.reserve(static_cast<std::size_t>(numthings) * 8);
    scene.iconTexCoords.reserve(static_cast<std::size_t>(numthings) * 8);

    AddPvsOverlay(scene);
    AddGrid(scene);
    AddAxes(scene);
    AddInvisibleLines(scene);
    AddLinedefs(scene);
    AddVertices(scene);
    AddThings(scene);
    AddDrawing(scene);
}
