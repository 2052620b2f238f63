// An index for the node builder's sector look-ups. The even-odd rule makes
// the answer independent of the order the boundary is visited in, so the
// linedefs can be grouped by the horizontal bands they span: a ray from a
// point only ever meets the linedefs of the band the point lies in.
#include "nodes/sector_lookup.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "model/geometry.h"
#include "model/map.h"

bool useReferenceLookups = false;

namespace {

struct Edge {
    float ax, ay, bx, by;
    int32_t right, left;  // sector numbers, -1 for none; never the same
};

struct Index {
    std::vector<float> bandBottoms;           // sorted distinct vertex ys
    std::vector<std::vector<int32_t>> bands;  // edges spanning each band
    std::vector<Edge> edges;
    int32_t numSectors = 0;
    std::vector<uint8_t> inside;  // scratch, one per sector
};

Index index;

// Band i holds the ys in (bandBottoms[i], bandBottoms[i + 1]]; -1 for a y
// at or below the lowest vertex.
int32_t BandOf(float y) {
    const auto& b = index.bandBottoms;
    return static_cast<int32_t>(std::lower_bound(b.begin(), b.end(), y) - b.begin()) - 1;
}

}  // namespace

void PrepareSectorLookup() {
    index = Index{};
    std::unordered_map<const Sector*, int32_t> numbers;
    for (const Sector* s = sectors; s; s = s->next) numbers[s] = index.numSectors++;
    index.inside.assign(static_cast<std::size_t>(index.numSectors), 0);

    for (const Linedef* l = linedefs; l; l = l->next) {
        auto right = numbers.find(l->right.sector);
        auto left = numbers.find(l->left.sector);
        Edge e{l->startVertex->x,
               l->startVertex->y,
               l->endVertex->x,
               l->endVertex->y,
               right == numbers.end() ? -1 : right->second,
               left == numbers.end() ? -1 : left->second};
        if (e.left == e.right) continue;  // inside its sector: no part of a boundary
        if (e.right < 0 && e.left < 0) continue;
        index.edges.push_back(e);
        index.bandBottoms.push_back(e.ay);
        index.bandBottoms.push_back(e.by);
    }
    auto& b = index.bandBottoms;
    std::sort(b.begin(), b.end());
    b.erase(std::unique(b.begin(), b.end()), b.end());
    index.bands.assign(b.size(), {});
    for (int32_t i = 0; i < static_cast<int32_t>(index.edges.size()); ++i) {
        const Edge& e = index.edges[i];
        if (e.ay == e.by) continue;  // a ray never crosses a horizontal edge
        // The edge meets the ray of a point at y when exactly one end is at
        // or above y: for every y in (min, max], the bands from min up to max.
        const auto from = std::lower_bound(b.begin(), b.end(), std::min(e.ay, e.by)) - b.begin();
        const auto to = std::lower_bound(b.begin(), b.end(), std::max(e.ay, e.by)) - b.begin();
        for (auto band = from; band < to; ++band) index.bands[band].push_back(i);
    }
}

void ReleaseSectorLookup() { index = Index{}; }

int32_t FindSectorNumberAt(float x, float y) {
    if (useReferenceLookups) {
        const Sector* found = FindSectorAt({x, y, kDrawFree, nullptr});
        if (!found) return -1;
        int32_t n = 0;
        for (const Sector* s = sectors; s != found; s = s->next) ++n;
        return n;
    }
    const int32_t band = BandOf(y);
    if (band < 0 || band >= static_cast<int32_t>(index.bands.size())) return -1;
    auto& inside = index.inside;
    std::fill(inside.begin(), inside.end(), 0);
    for (int32_t i : index.bands[band]) {
        const Edge& e = index.edges[i];
        if (EdgeCrossesRay(e.ax - x, e.ay - y, e.bx - x, e.by - y)) {
            if (e.right >= 0) inside[e.right] ^= 1;
            if (e.left >= 0) inside[e.left] ^= 1;
        }
    }
    for (int32_t s = 0; s < index.numSectors; ++s) {
        if (inside[s]) return s;
    }
    return -1;
}
