// Geometry on the map records, in float32 throughout.
#include "model/geometry.h"

#include <cmath>

#include "model/map.h"

Vertex* MakeVertex(float x, float y) {
    for (Vertex* v = vertices; v; v = v->next) {
        if (v->x == x && v->y == y) return v;
    }
    auto* v = new Vertex{};
    v->x = x;
    v->y = y;
    AppendVertex(v);
    return v;
}

void SplitLinedef(const DrawPoint& point, Linedef* linedef) {
    Vertex* v = MakeVertex(point.x, point.y);
    auto* copy = new Linedef(*linedef);
    linedef->endVertex = v;
    copy->startVertex = v;
    AppendLinedef(copy);
    MarkModified();
}

bool SegmentsCross(const DrawPoint& a, const DrawPoint& b, const DrawPoint& c, const DrawPoint& d) {
    return SegmentsCross(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y);
}

namespace {
// The linedef's length and the unit vector along it, start to end.
float UnitDirection(const Linedef* l, float& ux, float& uy) {
    const float dx = l->endVertex->x - l->startVertex->x;
    const float dy = l->endVertex->y - l->startVertex->y;
    const float len = std::sqrt(dx * dx + dy * dy);
    ux = dx / len;
    uy = dy / len;
    return len;
}
}  // namespace

bool PointOnLinedef(const DrawPoint& p, const Linedef* l) {
    const Vertex* s = l->startVertex;
    float ux, uy;
    const float len = UnitDirection(l, ux, uy);
    const float px = p.x - s->x;
    const float py = p.y - s->y;
    const float dist = ux * py - uy * px;
    if (!(-kOnLineTolerance < dist && dist < kOnLineTolerance)) return false;
    const float t = ux * px + uy * py;
    return -kOnLineTolerance < t && t < len + kOnLineTolerance;
}

Linedef* FindLinedefAt(const DrawPoint& point) {
    for (Linedef* l = linedefs; l; l = l->next) {
        if (PointOnLinedef(point, l)) return l;
    }
    return nullptr;
}

bool PointInSector(const DrawPoint& p, const Sector* sector) {
    bool inside = false;
    for (const Linedef* l = linedefs; l; l = l->next) {
        if (l->right.sector != sector && l->left.sector != sector) continue;
        // A linedef with the sector on both sides lies inside it: it would
        // cross the ray twice, which leaves the count as it was.
        if (l->right.sector == l->left.sector) continue;
        if (EdgeCrossesRay(l->startVertex->x - p.x, l->startVertex->y - p.y, l->endVertex->x - p.x,
                           l->endVertex->y - p.y)) {
            inside = !inside;
        }
    }
    return inside;
}

Sector* FindSectorAt(const DrawPoint& point) {
    for (Sector* s = sectors; s; s = s->next) {
        if (PointInSector(point, s)) return s;
    }
    return nullptr;
}

void ProjectOntoLinedef(DrawPoint& p, const Linedef* l) {
    const Vertex* s = l->startVertex;
    float ux, uy;
    UnitDirection(l, ux, uy);
    const float t = (p.y - s->y) * uy + (p.x - s->x) * ux;
    p.x = t * ux + s->x;
    p.y = t * uy + s->y;
}

float NormalizeVector(float& x, float& y) {
    const float len = std::sqrt(x * x + y * y);
    x = x / len;
    y = y / len;
    return len;
}

namespace {
bool Excludes(const DrawPoint& p, const Linedef* l) {
    if (p.kind == kDrawOnLinedef) return p.object == l;
    if (p.kind == kDrawOnVertex) return p.object == l->startVertex || p.object == l->endVertex;
    return false;
}
}  // namespace

bool EdgeCrossesLinedefs(const DrawPoint& a, const DrawPoint& b) {
    for (const Linedef* l = linedefs; l; l = l->next) {
        if (Excludes(a, l) || Excludes(b, l)) continue;
        const Vertex* s = l->startVertex;
        const Vertex* e = l->endVertex;
        if (SegmentsCross(a.x, a.y, b.x, b.y, s->x, s->y, e->x, e->y)) return true;
    }
    return false;
}

DrawPoint PointAtVertex(Vertex* vertex) { return {vertex->x, vertex->y, kDrawOnVertex, vertex}; }
