// The invariant checker the editing tests run after every step.
#include "tests/map_invariants.h"

#include <cmath>
#include <sstream>
#include <unordered_set>

#include "model/map.h"
#include "model/sector_drawing.h"
#include "resources/thing_types.h"

namespace {
template <class T>
std::unordered_set<const void*> Members(const T* head, int32_t count, const char* name, std::ostringstream& out) {
    std::unordered_set<const void*> members;
    for (const T* r = head; r; r = r->next) {
        if (!members.insert(r).second) {
            out << name << " list has a cycle\n";
            break;
        }
    }
    if (static_cast<int32_t>(members.size()) != count)
        out << name << " count " << count << " but " << members.size() << " records\n";
    return members;
}
}  // namespace

std::string CheckMapInvariants() {
    std::ostringstream out;
    const auto vertexSet = Members(vertices, numvertices, "vertex", out);
    const auto sectorSet = Members(sectors, numsectors, "sector", out);
    const auto linedefSet = Members(linedefs, numlinedefs, "linedef", out);
    const auto thingSet = Members(things, numthings, "thing", out);

    for (const Vertex* v = vertices; v; v = v->next) {
        if (!std::isfinite(v->x) || !std::isfinite(v->y)) out << "vertex at a position that is not a number\n";
    }
    int n = 0;
    for (const Linedef* l = linedefs; l; l = l->next, ++n) {
        if (!vertexSet.count(l->startVertex) || !vertexSet.count(l->endVertex)) {
            out << "linedef " << n << " refers to a vertex not in the list\n";
            continue;
        }
        if (l->startVertex == l->endVertex ||
            (l->startVertex->x == l->endVertex->x && l->startVertex->y == l->endVertex->y)) {
            out << "linedef " << n << " has no length\n";
        }
        if (!l->right.sector || !sectorSet.count(l->right.sector)) out << "linedef " << n << " right sector missing\n";
        if (l->left.sector && !sectorSet.count(l->left.sector))
            out << "linedef " << n << " left sector not in the list\n";
    }
    for (const Thing* t = things; t; t = t->next) {
        if (t->typeIndex < 0 || t->typeIndex >= kNumThingTypes) out << "thing with type row " << t->typeIndex << "\n";
    }

    auto checkObject = [&](const MapObject& o, const char* what) {
        const void* p = o.object;
        switch (o.kind) {
            case kObjectNone:
                break;
            case kObjectVertex:
                if (p && !vertexSet.count(p)) out << what << " vertex not in the list\n";
                break;
            case kObjectLinedef:
                if (!linedefSet.count(p)) out << what << " linedef not in the list\n";
                break;
            case kObjectSector:
                if (!sectorSet.count(p)) out << what << " sector not in the list\n";
                break;
            case kObjectThing:
                if (!thingSet.count(p)) out << what << " thing not in the list\n";
                break;
            default:
                out << what << " of kind " << o.kind << "\n";
        }
    };
    checkObject(selection, "selection");
    checkObject(hover, "hover");
    for (int i = 0; i < numDrawPoints; ++i) {
        const DrawPoint& p = drawPoints[i];
        if (p.kind == kDrawOnVertex && !vertexSet.count(p.object)) out << "draw point " << i << " vertex gone\n";
        if (p.kind == kDrawOnLinedef && !linedefSet.count(p.object)) out << "draw point " << i << " linedef gone\n";
    }
    return out.str();
}
