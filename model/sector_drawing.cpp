// Sector drawing: point placement, crossing checks and sector creation.
#include "model/sector_drawing.h"

#include <cmath>
#include <cstring>

#include "base/report.h"
#include "model/editing.h"

DrawPoint drawPoints[kMaxDrawPoints + 1];
int32_t numDrawPoints = 0;

namespace {
const char* const kCrossingMessage = "LINEDEF が他の LINEDEF と交差することは出来ません";

bool SamePosition(const DrawPoint& a, const DrawPoint& b) { return a.x == b.x && a.y == b.y; }

Vertex* FindVertexAt(float x, float y) {
    for (Vertex* v = vertices; v; v = v->next) {
        if (v->x == x && v->y == y) return v;
    }
    return nullptr;
}
}  // namespace

void SetNoTexture(char* field) {
    field[0] = '-';
    field[1] = '\0';
}

void DetachDrawPoints(const void* record) {
    for (int32_t i = 0; i <= numDrawPoints && i <= kMaxDrawPoints; ++i) {
        DrawPoint& p = drawPoints[i];
        if (p.object && (!record || p.object == record)) {
            p.kind = kDrawFree;
            p.object = nullptr;
        }
    }
}

void SnapDrawPoint(DrawPoint& p) {
    p.kind = kDrawFree;
    p.object = nullptr;
    if (hover.kind == kObjectVertex && hover.object) {
        auto* v = static_cast<Vertex*>(hover.object);
        p = PointAtVertex(v);
    } else if (hover.kind == kObjectVertex) {
        p.x = drawPoints[0].x;
        p.y = drawPoints[0].y;
    } else if (hover.kind == kObjectLinedef && hover.object) {
        p.kind = kDrawOnLinedef;
        p.object = hover.object;
        ProjectOntoLinedef(p, static_cast<Linedef*>(hover.object));
    } else {
        SnapToGrid(p.x, p.y);
    }
}

bool AddDrawPoint(float x, float y) {
    DrawPoint p = {x, y, kDrawFree, nullptr};
    SnapDrawPoint(p);
    if (numDrawPoints == 0) {
        drawPoints[0] = drawPoints[1] = p;
        numDrawPoints = 1;
        return false;
    }
    if (SamePosition(p, drawPoints[0])) return CloseDrawing();
    if (numDrawPoints >= kMaxDrawPoints) {
        ShowWarning("一度に VERTEX が %d 個より多い SECTOR を作ることは出来ません", kMaxDrawPoints);
        return false;
    }
    // A second point on the last one would make a linedef of no length.
    if (SamePosition(p, drawPoints[numDrawPoints - 1])) {
        ShowWarning("同じ位置に続けて点を置くことは出来ません");
        return false;
    }
    if (EdgeCrossesDrawing(drawPoints[numDrawPoints - 1], p)) {
        ShowWarning("%s", kCrossingMessage);
        return false;
    }
    drawPoints[numDrawPoints] = drawPoints[numDrawPoints + 1] = p;
    ++numDrawPoints;
    return false;
}

void MoveRubberBand(float x, float y) {
    drawPoints[numDrawPoints].x = x;
    drawPoints[numDrawPoints].y = y;
}

bool RemoveLastDrawPoint() {
    if (numDrawPoints <= 1) {
        numDrawPoints = 0;
        return true;
    }
    drawPoints[numDrawPoints - 1] = drawPoints[numDrawPoints];
    --numDrawPoints;
    return false;
}

bool EdgeCrossesDrawing(const DrawPoint& a, const DrawPoint& b) {
    const int first = SamePosition(b, drawPoints[0]) ? 1 : 0;
    for (int i = first; i < numDrawPoints - 2; ++i) {
        if (SegmentsCross(a, b, drawPoints[i], drawPoints[i + 1])) return true;
    }
    return EdgeCrossesLinedefs(a, b);
}

bool CloseDrawing() {
    if (numDrawPoints < 3) return false;
    if (EdgeCrossesDrawing(drawPoints[numDrawPoints - 1], drawPoints[0])) {
        ShowWarning("%s", kCrossingMessage);
        return false;
    }
    if (!CreateSector(drawPoints, numDrawPoints)) return false;
    numDrawPoints = 0;
    return true;
}

bool IsVoidPolygon(const DrawPoint* P, int32_t n) {
    const float dx = P[0].x - P[n - 1].x;
    const float dy = P[0].y - P[n - 1].y;
    const float mx = P[n - 1].x + dx * 0.5f;
    const float my = P[n - 1].y + dy * 0.5f;
    auto side = [&](float rx, float ry) { return ry * (-dy) - rx * dx >= 0; };
    bool inside = false;
    float prevX = P[0].x - mx;
    float prevY = P[0].y - my;
    bool prevSide = side(prevX, prevY);
    for (int32_t i = 1; i < n; ++i) {
        const float curX = P[i].x - mx;
        const float curY = P[i].y - my;
        const bool curSide = side(curX, curY);
        if (curSide != prevSide) {
            const float c = curY * prevX - curX * prevY;
            if ((c >= 0) == curSide) inside = !inside;
        }
        prevX = curX;
        prevY = curY;
        prevSide = curSide;
    }
    return inside;
}

Sector* FindEnclosingSector(const DrawPoint* P, int32_t n) {
    if (n < 1) return nullptr;
    for (int32_t i = 0; i < n; ++i) {
        if (P[i].kind == kDrawFree) return FindSectorAt(P[i]);
    }
    for (int32_t i = 0; i < n; ++i) {
        const DrawPoint& a = P[i];
        const DrawPoint& b = P[(i + 1) % n];
        DrawPoint middle = {a.x + (b.x - a.x) * 0.5f, a.y + (b.y - a.y) * 0.5f, kDrawFree, nullptr};
        if (!FindLinedefAt(middle)) return FindSectorAt(middle);
    }
    return nullptr;
}

int32_t CreateSector(const DrawPoint* P, int32_t n) {
    const bool isVoid = IsVoidPolygon(P, n);
    Sector* enclosing = FindEnclosingSector(P, n);
    if (isVoid && !enclosing) {
        ShowWarning("void space の中に void space を作ることは出来ません");
        return 0;
    }
    Sector* created = nullptr;
    if (!isVoid) {
        created = new Sector(defaultSector);
        created->next = nullptr;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (created)
            AddSectorEdge(created, P[i], P[(i + 1) % n], enclosing);
        else
            AddSectorEdge(enclosing, P[i], P[(i + 1) % n], nullptr);
    }
    MarkModified();
    if (created) AppendSector(created);
    return 1;
}

void ResolveEdgeEnds(DrawPoint& a, DrawPoint& b) {
    if (a.kind == kDrawOnLinedef) {
        if (Vertex* v = FindVertexAt(a.x, a.y)) a = PointAtVertex(v);
    }
    if (b.kind == kDrawOnLinedef) {
        if (Vertex* v = FindVertexAt(b.x, b.y)) {
            b = PointAtVertex(v);
        } else if (Linedef* l = FindLinedefAt(b); l && l != b.object) {
            b.object = l;
        }
    }
}

void AddSectorEdge(Sector* sector, DrawPoint a, DrawPoint b, Sector* other) {
    ResolveEdgeEnds(a, b);
    auto* edge = new Linedef{};
    edge->startVertex = MakeVertex(a.x, a.y);
    edge->endVertex = MakeVertex(b.x, b.y);
    edge->right.sector = sector;
    Linedef* result = edge;  // the linedef that stands for this edge
    auto leftIsOther = [&] {
        if (other) edge->left.sector = other;
    };

    if (a.kind == kDrawOnVertex && b.kind == kDrawOnVertex) {
        Linedef* existing = nullptr;
        for (Linedef* l = linedefs; l && !existing; l = l->next) {
            if ((l->startVertex == a.object && l->endVertex == b.object) ||
                (l->startVertex == b.object && l->endVertex == a.object)) {
                existing = l;
            }
        }
        if (!existing) {
            leftIsOther();
        } else {
            delete edge;
            edge = nullptr;
            if (existing->startVertex == a.object)
                existing->right.sector = sector;
            else
                existing->left.sector = sector;
            result = existing;
        }
    } else if (a.kind == kDrawOnVertex && b.kind == kDrawOnLinedef) {
        auto* m = static_cast<Linedef*>(b.object);
        if (m->startVertex == a.object) {
            m->startVertex = edge->endVertex;
            if (m->left.sector) edge->left.sector = m->left.sector;
        } else if (m->endVertex == a.object) {
            m->endVertex = edge->endVertex;
            edge->left.sector = m->right.sector;
        } else {
            SplitLinedef(b, m);
            leftIsOther();
        }
    } else if (a.kind == kDrawOnLinedef && b.kind == kDrawOnVertex) {
        auto* l = static_cast<Linedef*>(a.object);
        if (l->startVertex == b.object && l->endVertex != b.object) {
            l->startVertex = edge->startVertex;
            edge->left.sector = l->right.sector;
        } else if (l->endVertex == b.object) {
            l->endVertex = edge->startVertex;
            if (l->left.sector) edge->left.sector = l->left.sector;
        } else {
            SplitLinedef(a, l);
            leftIsOther();
        }
    } else if (a.kind == kDrawOnLinedef && b.kind == kDrawOnLinedef && a.object == b.object) {
        auto* l = static_cast<Linedef*>(a.object);
        auto* copy = new Linedef(*l);
        if (l->right.sector == other) {
            l->endVertex = edge->startVertex;
            copy->startVertex = edge->endVertex;
            if (copy->left.sector) edge->left.sector = copy->left.sector;
        } else {
            l->endVertex = edge->endVertex;
            copy->startVertex = edge->startVertex;
            edge->left.sector = copy->right.sector;
        }
        AppendLinedef(copy);
    } else {
        if (a.kind == kDrawOnLinedef) SplitLinedef(a, static_cast<Linedef*>(a.object));
        if (b.kind == kDrawOnLinedef) SplitLinedef(b, static_cast<Linedef*>(b.object));
        leftIsOther();
    }

    AssignSideTextures(result);
    if (edge) AppendLinedef(edge);
}

void AssignSideTextures(Linedef* l) {
    Sidedef& right = l->right;
    Sidedef& left = l->left;
    if (!left.sector) {
        std::memcpy(right.middle, defaultMiddle, 8);
        SetNoTexture(right.upper);
        SetNoTexture(right.lower);
        return;
    }
    const Sector* r = right.sector;
    const Sector* f = left.sector;
    if (r->floorHeight > f->floorHeight) {
        std::memcpy(left.lower, defaultLower, 8);
        SetNoTexture(right.lower);
    } else if (r->floorHeight < f->floorHeight) {
        std::memcpy(right.lower, defaultLower, 8);
        SetNoTexture(left.lower);
    } else {
        SetNoTexture(left.lower);
        SetNoTexture(right.lower);
    }
    if (r->ceilingHeight > f->ceilingHeight) {
        std::memcpy(right.upper, defaultUpper, 8);
        SetNoTexture(left.upper);
    } else if (r->ceilingHeight < f->ceilingHeight) {
        std::memcpy(left.upper, defaultUpper, 8);
        SetNoTexture(right.upper);
    } else {
        SetNoTexture(left.upper);
        SetNoTexture(right.upper);
    }
    SetNoTexture(left.middle);
    SetNoTexture(right.middle);
}
