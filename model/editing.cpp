// Vertex, thing, sector and linedef operations with their refusals.
#include "model/editing.h"

#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "base/report.h"
#include "model/geometry.h"
#include "model/sector_drawing.h"
#include "resources/thing_types.h"

int32_t gridSize = 0;

namespace {
float dragOffsetX = 0;
float dragOffsetY = 0;

bool Touches(const Linedef* l, const Vertex* v) { return l->startVertex == v || l->endVertex == v; }

bool SamePosition(const Vertex* a, const Vertex* b) { return a->x == b->x && a->y == b->y; }

// The right side a linedef gets when the sector on it goes away.
void ResetRightSide(Sidedef& side) {
    side.xOffset = 0;
    side.yOffset = 0;
    std::memcpy(side.middle, defaultMiddle, 8);
    SetNoTexture(side.lower);
    SetNoTexture(side.upper);
}
}  // namespace

void SnapToGrid(float& x, float& y) {
    if (gridSize == 0) return;
    const float g = static_cast<float>(gridSize);
    const float half = g * 0.5f;
    x = std::floor((x + half) / g) * g;
    y = std::floor((y + half) / g) * g;
}

void InsertVertex(float x, float y, Linedef* linedef) {
    DrawPoint p = {x, y, kDrawFree, nullptr};
    ProjectOntoLinedef(p, linedef);
    // Splitting at an end, or beyond one, would make a linedef of no length
    // or two that overlap.
    const Vertex* s = linedef->startVertex;
    const Vertex* e = linedef->endVertex;
    const float along = (p.x - s->x) * (e->x - s->x) + (p.y - s->y) * (e->y - s->y);
    const float length2 = (e->x - s->x) * (e->x - s->x) + (e->y - s->y) * (e->y - s->y);
    const bool atEnd = (p.x == s->x && p.y == s->y) || (p.x == e->x && p.y == e->y);
    if (!(along > 0 && along < length2) || atEnd || !std::isfinite(p.x) || !std::isfinite(p.y)) {
        ShowWarning("LINEDEF の端または外に VERTEX を挿入することは出来ません");
        return;
    }
    SplitLinedef(p, linedef);
}

void BeginDrag(float x, float y, float mouseX, float mouseY) {
    dragOffsetX = mouseX - x;
    dragOffsetY = mouseY - y;
}

void DragTo(const MapObject& object, float mouseX, float mouseY) {
    if (object.kind == kObjectVertex) {
        auto* v = static_cast<Vertex*>(object.object);
        v->x = mouseX - dragOffsetX;
        v->y = mouseY - dragOffsetY;
    } else if (object.kind == kObjectThing) {
        auto* t = static_cast<Thing*>(object.object);
        t->x = mouseX - dragOffsetX;
        t->y = mouseY - dragOffsetY;
    }
}

bool CheckVertexMove(Vertex* v) {
    SnapToGrid(v->x, v->y);
    for (const Linedef* l = linedefs; l; l = l->next) {
        if (!Touches(l, v)) continue;
        Vertex* other = l->startVertex == v ? l->endVertex : l->startVertex;
        if (SamePosition(v, other)) {
            ShowWarning("LINEDEF の長さが 0 になるような VERTEX の移動は出来ません");
            return false;
        }
        if (EdgeCrossesLinedefs(PointAtVertex(v), PointAtVertex(other))) {
            ShowWarning("LINEDEF 同士が交差するような VERTEX の移動は出来ません");
            return false;
        }
    }
    return true;
}

void DeleteVertex(Vertex* v) {
    Linedef* attached[2] = {nullptr, nullptr};
    int count = 0;
    for (Linedef* l = linedefs; l; l = l->next) {
        if (!Touches(l, v)) continue;
        if (count == 2) {
            ShowWarning("三つ以上の LINEDEF と繋がっている VERTEX を削除することは出来ません");
            return;
        }
        attached[count++] = l;
    }
    if (count == 1) {
        ShowWarning("一つの LINEDEF としか繋がっていない VERTEX です");
        return;
    }
    if (count == 0) {
        ShowWarning("孤立した VERTEX を削除します");
    } else {
        // kept: the linedef whose end at v moves to the far end of removed.
        // In a chain that is the one ending at v; when both start or both end
        // at v, the first in the list, which keeps its direction at its far
        // end so its sides keep facing their sectors.
        Linedef* kept = attached[0];
        Linedef* removed = attached[1];
        if (removed->endVertex == v && kept->startVertex == v && kept->endVertex != v) std::swap(kept, removed);
        Vertex* keptFar = kept->startVertex == v ? kept->endVertex : kept->startVertex;
        Vertex* removedFar = removed->startVertex == v ? removed->endVertex : removed->startVertex;
        if (keptFar == removedFar || SamePosition(keptFar, removedFar)) {
            ShowWarning("LINEDEF の長さが 0 になるような VERTEX の削除は出来ません");
            return;
        }
        if (EdgeCrossesLinedefs(PointAtVertex(keptFar), PointAtVertex(removedFar))) {
            ShowWarning("LINEDEF 同士が交差するような VERTEX の削除は出来ません");
            return;
        }
        if (kept->endVertex == v)
            kept->endVertex = removedFar;
        else
            kept->startVertex = removedFar;
        RemoveLinedef(removed);
    }
    RemoveVertex(v);
    MarkModified();
}

void DeleteSector(Sector* s) {
    for (Linedef* l = linedefs; l;) {
        Linedef* next = l->next;
        // A linedef with s on both sides (imported levels have them) goes with
        // it, as a one-sided one does: nothing would be left on either side.
        if (l->right.sector == s && (!l->left.sector || l->left.sector == s)) {
            RemoveLinedef(l);
        } else if (l->right.sector == s) {
            std::swap(l->startVertex, l->endVertex);
            l->right.sector = l->left.sector;
            ResetRightSide(l->right);
            l->left.sector = nullptr;
        } else if (l->left.sector == s) {
            ResetRightSide(l->right);
            l->left.sector = nullptr;
        }
        l = next;
    }
    std::unordered_map<const Vertex*, int> uses;
    for (const Linedef* l = linedefs; l; l = l->next) {
        ++uses[l->startVertex];
        ++uses[l->endVertex];
    }
    for (Vertex* v = vertices; v;) {
        Vertex* next = v->next;
        auto found = uses.find(v);
        const int n = found == uses.end() ? 0 : found->second;
        if (n == 0)
            RemoveVertex(v);
        else if (n == 1)
            LogDebug("DeleteSector: 一つの linedef としか繋がっていない vertex が見つかりました\n");
        v = next;
    }
    RemoveSector(s);
    MarkModified();
}

void DeleteThing(Thing* t) {
    RemoveThing(t);
    MarkModified();
}

void PlaceThing(float x, float y, int32_t row) {
    if (row < 0 || row >= kNumThingTypes) {
        ShowWarning("PlaceThing: 種類 %d がありません", row);
        return;
    }
    auto* t = new Thing{};
    t->x = x;
    t->y = y;
    t->angle = 90;
    t->type = thingTypes[row].type;
    t->flags = 7;
    t->typeIndex = row;
    AppendThing(t);
    MarkModified();
}

void FlipLinedef(Linedef* l) {
    if (!l->left.sector) return;
    std::swap(l->startVertex, l->endVertex);
    std::swap(l->right, l->left);
    MarkModified();
}

void DeleteSelection() {
    switch (selection.kind) {
        case kObjectVertex:
            DeleteVertex(static_cast<Vertex*>(selection.object));
            break;
        case kObjectSector:
            DeleteSector(static_cast<Sector*>(selection.object));
            break;
        case kObjectThing:
            DeleteThing(static_cast<Thing*>(selection.object));
            break;
        default:
            break;
    }
    selection = {kObjectNone, nullptr};
}

void FlipSelection() {
    if (selection.kind == kObjectLinedef && selection.object) FlipLinedef(static_cast<Linedef*>(selection.object));
}

namespace {

// The sides of a two-sided linedef facing the sector and facing the
// neighbour; null when the linedef does not part the sector from another.
struct FacingSides {
    Sidedef* own = nullptr;
    Sidedef* other = nullptr;
};

FacingSides SidesAround(Linedef& linedef, const Sector* sector) {
    if (linedef.right.sector == sector && linedef.left.sector) return {&linedef.right, &linedef.left};
    if (linedef.left.sector == sector && linedef.right.sector) return {&linedef.left, &linedef.right};
    return {};
}

// One of the sector's heights (floors or ceilings) goes from oldHeight to
// newHeight. A floor wall shows on the side of the lower floor, a ceiling
// wall on the side of the higher ceiling.
void RetextureAround(const Sector* sector, int32_t oldHeight, int32_t newHeight, int32_t Sector::*height,
                     char (Sidedef::*wall)[8], const char* texture, bool floors) {
    for (Linedef* l = linedefs; l; l = l->next) {
        const FacingSides sides = SidesAround(*l, sector);
        if (!sides.own) continue;
        const int32_t h = sides.other->sector->*height;
        // Which side shows the wall when the neighbour's height stands above.
        Sidedef* shownWhenAbove = floors ? sides.own : sides.other;
        Sidedef* shownWhenBelow = floors ? sides.other : sides.own;
        if (h > newHeight && h <= oldHeight) {
            std::memcpy(shownWhenAbove->*wall, texture, 8);
            SetName(shownWhenBelow->*wall, "-");
        } else if (h < newHeight && h >= oldHeight) {
            std::memcpy(shownWhenBelow->*wall, texture, 8);
            SetName(shownWhenAbove->*wall, "-");
        } else if (h == newHeight) {
            SetName(sides.own->*wall, "-");
            SetName(sides.other->*wall, "-");
        }
    }
}

}  // namespace

void ApplySectorHeights(Sector* sector, int32_t floorHeight, int32_t ceilingHeight) {
    if (floorHeight != sector->floorHeight) {
        RetextureAround(sector, sector->floorHeight, floorHeight, &Sector::floorHeight, &Sidedef::lower, defaultLower,
                        true);
        sector->floorHeight = floorHeight;
    }
    if (ceilingHeight != sector->ceilingHeight) {
        RetextureAround(sector, sector->ceilingHeight, ceilingHeight, &Sector::ceilingHeight, &Sidedef::upper,
                        defaultUpper, false);
        sector->ceilingHeight = ceilingHeight;
    }
}
