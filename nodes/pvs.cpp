// The PVS pass: portal links, then a flood from every subsector through
// every chain of portals that some straight line might still pass.
#include "nodes/pvs.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "base/report.h"
#include "model/geometry.h"
#include "nodes/bsp_output.h"
#include "nodes/sector_lookup.h"

int32_t pvsSubsectors = 0;
std::vector<uint8_t> pvsMatrix;
std::function<bool(int32_t, int32_t)> pvsProgress;

namespace {

constexpr float kEpsilon = 0.1f;

bool SamePoint(float ax, float ay, float bx, float by) { return ax == bx && ay == by; }

}  // namespace

bool PortalsOverlap(const Seg& p, const Seg& q, float& len, float& t1, float& t2) {
    if (std::min(q.y1, q.y2) - kEpsilon > std::max(p.y1, p.y2) + kEpsilon) return false;
    if (std::min(p.y1, p.y2) - kEpsilon > std::max(q.y1, q.y2) + kEpsilon) return false;
    if (std::min(q.x1, q.x2) - kEpsilon > std::max(p.x1, p.x2) + kEpsilon) return false;
    if (std::max(q.x1, q.x2) + kEpsilon < std::min(p.x1, p.x2) - kEpsilon) return false;
    float ux = p.x2 - p.x1, uy = p.y2 - p.y1;
    len = NormalizeVector(ux, uy);
    const float c1 = ux * (q.y1 - p.y1) - uy * (q.x1 - p.x1);
    const float c2 = ux * (q.y2 - p.y1) - uy * (q.x2 - p.x1);
    if (!(-kEpsilon <= c1 && c1 <= kEpsilon && -kEpsilon <= c2 && c2 <= kEpsilon)) return false;
    if ((q.x2 - q.x1) * ux + (q.y2 - q.y1) * uy > 0.0f) return false;
    t1 = (q.x1 - p.x1) * ux + (q.y1 - p.y1) * uy;
    t2 = (q.x2 - p.x1) * ux + (q.y2 - p.y1) * uy;
    if (SamePoint(q.x2, q.y2, p.x1, p.y1) || SamePoint(q.x1, q.y1, p.x2, p.y2)) return true;
    if (t1 > len - kEpsilon && t2 > len - kEpsilon) return false;
    if (t1 < kEpsilon && t2 < kEpsilon) return false;
    return true;
}

PortalLink AddPortalLink(const Seg& p, const Seg& q, int32_t neighbour, float len, float t1, float t2) {
    const bool endMeetsStart = SamePoint(q.x2, q.y2, p.x1, p.y1);
    const bool startMeetsEnd = SamePoint(q.x1, q.y1, p.x2, p.y2);
    PortalLink link = {p.x1, p.y1, p.x2, p.y2, neighbour};
    auto startAt = [&](float x, float y) { link.startX = x, link.startY = y; };
    auto endAt = [&](float x, float y) { link.endX = x, link.endY = y; };
    if (endMeetsStart && startMeetsEnd) {
        // the whole portal
    } else if (endMeetsStart) {
        if (t1 <= len) endAt(q.x1, q.y1);
    } else if (startMeetsEnd) {
        if (t2 >= 0) startAt(q.x2, q.y2);
    } else if (0 < t1 && t1 < len) {
        if (t2 >= 0) startAt(q.x2, q.y2);
        endAt(q.x1, q.y1);
    } else if ((t1 <= 0 || t1 >= len) && 0 < t2 && t2 < len) {
        startAt(q.x2, q.y2);
        if (!(t1 > len)) endAt(q.x1, q.y1);
    }
    return link;
}

std::vector<std::vector<PortalLink>> MakePortalLinks(const std::vector<SegList>& portals) {
    const auto n = static_cast<int32_t>(portals.size());
    std::vector<std::vector<PortalLink>> links(static_cast<std::size_t>(n));
    // Portals by the 64-unit cells their boxes reach, so that a portal is
    // compared only with those near it; candidates are then taken in the
    // order the plain comparison meets them: by subsector, then by portal.
    struct Ref {
        int32_t subsector, portal;
    };
    constexpr float kCell = 64.0f;
    std::unordered_map<int64_t, std::vector<Ref>> cells;
    auto cellKey = [](int32_t cx, int32_t cy) { return (static_cast<int64_t>(cx) << 32) ^ static_cast<uint32_t>(cy); };
    auto range = [&](const Seg& s, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) {
        x0 = static_cast<int32_t>(std::floor((std::min(s.x1, s.x2) - 1) / kCell));
        x1 = static_cast<int32_t>(std::floor((std::max(s.x1, s.x2) + 1) / kCell));
        y0 = static_cast<int32_t>(std::floor((std::min(s.y1, s.y2) - 1) / kCell));
        y1 = static_cast<int32_t>(std::floor((std::max(s.y1, s.y2) + 1) / kCell));
    };
    if (!useReferenceLookups) {
        for (int32_t t = 0; t < n; ++t) {
            for (int32_t k = 0; k < static_cast<int32_t>(portals[t].size()); ++k) {
                const Seg& q = portals[t][k];
                if (SegLength(q) == 0) continue;
                int32_t x0, y0, x1, y1;
                range(q, x0, y0, x1, y1);
                for (int32_t cx = x0; cx <= x1; ++cx)
                    for (int32_t cy = y0; cy <= y1; ++cy) cells[cellKey(cx, cy)].push_back({t, k});
            }
        }
    }
    std::vector<Ref> candidates;
    for (int32_t s = 0; s < n; ++s) {
        for (const Seg& p : portals[s]) {
            // A portal of no length has no direction to compare with.
            if (SegLength(p) == 0) continue;
            candidates.clear();
            if (useReferenceLookups) {
                for (int32_t t = 0; t < n; ++t)
                    for (int32_t k = 0; k < static_cast<int32_t>(portals[t].size()); ++k) candidates.push_back({t, k});
            } else {
                int32_t x0, y0, x1, y1;
                range(p, x0, y0, x1, y1);
                for (int32_t cx = x0; cx <= x1; ++cx) {
                    for (int32_t cy = y0; cy <= y1; ++cy) {
                        auto found = cells.find(cellKey(cx, cy));
                        if (found != cells.end()) candidates.insert(candidates.end(), found->second.begin(), found->second.end());
                    }
                }
                std::sort(candidates.begin(), candidates.end(), [](const Ref& a, const Ref& b) {
                    return a.subsector != b.subsector ? a.subsector < b.subsector : a.portal < b.portal;
                });
                candidates.erase(std::unique(candidates.begin(), candidates.end(),
                                             [](const Ref& a, const Ref& b) {
                                                 return a.subsector == b.subsector && a.portal == b.portal;
                                             }),
                                 candidates.end());
            }
            for (const Ref& r : candidates) {
                if (r.subsector == s) continue;
                const Seg& q = portals[r.subsector][r.portal];
                if (SegLength(q) == 0) continue;
                float len = 0, t1 = 0, t2 = 0;
                if (PortalsOverlap(p, q, len, t1, t2)) links[s].push_back(AddPortalLink(p, q, r.subsector, len, t1, t2));
            }
        }
    }
    return links;
}

namespace {

// The chain of portals being followed from one source.
struct Chain {
    std::vector<int32_t> subsector;
    std::vector<float> sx, sy, ex, ey;  // start and end points of the link leaving each position
    void Resize(std::size_t n) {
        for (auto* v : {&sx, &sy, &ex, &ey}) v->resize(n);
        subsector.resize(n);
    }
    void Set(int32_t d, int32_t s, const PortalLink& l) {
        subsector[d] = s;
        sx[d] = l.startX, sy[d] = l.startY, ex[d] = l.endX, ey[d] = l.endY;
    }
    bool Cross(int32_t i, int32_t j, int32_t l, int32_t m) const {
        return SegmentsCross(sx[i], sy[i], sx[j], sy[j], ex[l], ey[l], ex[m], ey[m]);
    }
    // Whether a line may pass positions 0 to k - 1: no segment between two
    // start points crosses one between two end points.
    bool OpenAll(int32_t k) const {
        for (int32_t i = 0; i < k; ++i)
            for (int32_t j = i + 1; j < k; ++j)
                for (int32_t l = 0; l < k; ++l)
                    for (int32_t m = l + 1; m < k; ++m)
                        if (Cross(i, j, l, m)) return false;
        return true;
    }
};

// The fast flood's chain: beside the points it keeps, for every pair of
// start points the side of each end point, and for every pair of end points
// the side of each start point - the signs SegmentsCross compares - as bit
// sets. Adding position d computes only the signs that involve d, and the
// new crossing pairs are found a whole bit set at a time.
struct SignedChain : Chain {
    int32_t capacity = 0;  // positions the sign sets have room for
    std::size_t width = 0;  // words of one bit set
    std::vector<uint64_t> endSides;    // by start pair (i, j): bit l = side of end point l
    std::vector<uint64_t> startSides;  // by end pair (l, m): bit i = side of start point i
    std::vector<uint64_t> byEnd;       // scratch, by end point l: bit i = side of l against start pair (i, d)
    std::vector<uint64_t> byStart;     // scratch, by start point i: bit l = side of i against end pair (l, d)

    static std::size_t PairIndex(int32_t i, int32_t j) { return static_cast<std::size_t>(j) * (j - 1) / 2 + i; }
    uint64_t* EndSides(int32_t i, int32_t j) { return &endSides[PairIndex(i, j) * width]; }
    uint64_t* StartSides(int32_t l, int32_t m) { return &startSides[PairIndex(l, m) * width]; }
    static bool Bit(const uint64_t* bits, int32_t k) { return (bits[k >> 6] >> (k & 63)) & 1; }
    static void SetBit(uint64_t* bits, int32_t k, bool on) {
        const uint64_t mask = uint64_t{1} << (k & 63);
        if (on) bits[k >> 6] |= mask;
        else bits[k >> 6] &= ~mask;
    }

    void Reserve(int32_t positions) {
        if (positions <= capacity) return;
        const int32_t grown = std::max({positions, 2 * capacity, 64});
        const std::size_t grownWidth = (static_cast<std::size_t>(grown) + 63) / 64;
        const std::size_t pairs = PairIndex(0, grown);
        std::vector<uint64_t> ends(pairs * grownWidth, 0), starts(pairs * grownWidth, 0);
        for (std::size_t p = 0; p < PairIndex(0, capacity); ++p) {
            for (std::size_t w = 0; w < width; ++w) {
                ends[p * grownWidth + w] = endSides[p * width + w];
                starts[p * grownWidth + w] = startSides[p * width + w];
            }
        }
        endSides.swap(ends);
        startSides.swap(starts);
        capacity = grown;
        width = grownWidth;
        byEnd.assign(static_cast<std::size_t>(grown) * width, 0);
        byStart.assign(static_cast<std::size_t>(grown) * width, 0);
    }

    // The sign SegmentsCross takes for end point l against start pair (i, j).
    bool EndSide(int32_t i, int32_t j, int32_t l) const {
        const float exx = sx[j] - sx[i];
        const float exy = sy[j] - sy[i];
        return ((ey[l] - sy[i]) * exx - (ex[l] - sx[i]) * exy) >= 0;
    }
    // The sign for start point i against end pair (l, m).
    bool StartSide(int32_t l, int32_t m, int32_t i) const {
        const float fx = ex[m] - ex[l];
        const float fy = ey[m] - ey[l];
        return (fx * (sy[i] - ey[l]) - fy * (sx[i] - ex[l])) >= 0;
    }

    // Whether positions 0 to d stay open, 0 to d - 1 being open: no segment
    // between start points crosses one between end points, of the pairs
    // that use position d.
    bool OpenWithNewest(int32_t d) {
        Reserve(d + 1);
        const std::size_t used = static_cast<std::size_t>(d) / 64 + 1;  // words for bits 0 to d
        uint64_t below[8];  // mask of bits 0 to d - 1 (chains stay far below 512 portals)
        if (used > 8) return OpenWithNewestSlowly(d);
        for (std::size_t w = 0; w < used; ++w) {
            const int64_t from = static_cast<int64_t>(w) * 64;
            below[w] = d - from >= 64 ? ~uint64_t{0} : (d - from <= 0 ? 0 : (uint64_t{1} << (d - from)) - 1);
        }
        for (int32_t k = 0; k <= d; ++k) {
            for (std::size_t w = 0; w < used; ++w) byEnd[k * width + w] = byStart[k * width + w] = 0;
        }
        for (int32_t i = 0; i < d; ++i) {
            uint64_t* e = EndSides(i, d);
            for (std::size_t w = 0; w < used; ++w) e[w] = 0;
            for (int32_t l = 0; l <= d; ++l) {
                if (EndSide(i, d, l)) {
                    SetBit(e, l, true);
                    SetBit(&byEnd[l * width], i, true);
                }
            }
        }
        for (int32_t j = 1; j < d; ++j)
            for (int32_t i = 0; i < j; ++i) SetBit(EndSides(i, j), d, EndSide(i, j, d));
        for (int32_t l = 0; l < d; ++l) {
            uint64_t* st = StartSides(l, d);
            for (std::size_t w = 0; w < used; ++w) st[w] = 0;
            for (int32_t i = 0; i <= d; ++i) {
                if (StartSide(l, d, i)) {
                    SetBit(st, i, true);
                    SetBit(&byStart[i * width], l, true);
                }
            }
        }
        for (int32_t m = 1; m < d; ++m)
            for (int32_t l = 0; l < m; ++l) SetBit(StartSides(l, m), d, StartSide(l, m, d));

        // Start pairs (i, d), all i at once, against each end pair (l, m).
        for (int32_t m = 1; m <= d; ++m) {
            for (int32_t l = 0; l < m; ++l) {
                const uint64_t* st = StartSides(l, m);
                const uint64_t flip = Bit(st, d) ? ~uint64_t{0} : 0;
                const uint64_t* el = &byEnd[l * width];
                const uint64_t* em = &byEnd[m * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((st[w] ^ flip) & (el[w] ^ em[w]) & below[w]) return false;
                }
            }
        }
        // Older start pairs (i, j) against the end pairs (l, d), all l at once.
        for (int32_t j = 1; j < d; ++j) {
            for (int32_t i = 0; i < j; ++i) {
                const uint64_t* e = EndSides(i, j);
                const uint64_t flip = Bit(e, d) ? ~uint64_t{0} : 0;
                const uint64_t* ti = &byStart[i * width];
                const uint64_t* tj = &byStart[j * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((e[w] ^ flip) & (ti[w] ^ tj[w]) & below[w]) return false;
                }
            }
        }
        return true;
    }

    // The same by SegmentsCross itself, for chains beyond the masks above.
    bool OpenWithNewestSlowly(int32_t d) const {
        for (int32_t i = 0; i < d; ++i)
            for (int32_t l = 0; l <= d; ++l)
                for (int32_t m = l + 1; m <= d; ++m)
                    if (Cross(i, d, l, m)) return false;
        for (int32_t i = 0; i < d; ++i)
            for (int32_t j = i + 1; j < d; ++j)
                for (int32_t l = 0; l < d; ++l)
                    if (Cross(i, j, l, d)) return false;
        return true;
    }
};

struct PlainFlood {
    const std::vector<std::vector<PortalLink>>& links;
    std::vector<uint8_t>& matrix;
    int32_t n;
    Chain chain;

    void Flood(int32_t t, int32_t d) {
        for (const PortalLink& f : links[t]) {
            bool inChain = false;
            for (int32_t i = 0; i < d && !inChain; ++i) inChain = chain.subsector[i] == f.neighbour;
            if (inChain) continue;
            if (static_cast<int32_t>(chain.subsector.size()) <= d) chain.Resize(d + 1);
            chain.Set(d, t, f);
            if (chain.OpenAll(d + 1)) Flood(f.neighbour, d + 1);
        }
        matrix[static_cast<std::size_t>(chain.subsector[0]) * n + t] = 1;
    }
};

// The flood with the same marks, found with less work:
// - the crossing test of a chain checks only the pairs its newest portal
//   adds, from stored signs;
// - a source stops once everything its links reach is marked;
// - every portal stays in the chain once passed, so a chain whose first
//   portal is e and which passed portal c can only go on through portals g
//   that leave {e, c, g} open: the subsectors so reachable from c (found once
//   per e and c) bound what the chain can still mark. The chain keeps the
//   intersection of these bounds over its portals, and is not followed once
//   everything in it is marked.
struct FastFlood {
    using Bits = std::vector<uint64_t>;
    const std::vector<std::vector<PortalLink>>& links;
    std::vector<uint8_t>& matrix;
    int32_t n;
    SignedChain chain;
    std::vector<uint8_t> inChain;    // by subsector
    std::vector<int32_t> firstLink;  // links of subsector s are numbered from firstLink[s]
    std::size_t words = 0;           // of a set of subsectors
    uint8_t* row = nullptr;
    Bits rowBits;
    int32_t source = 0;
    int32_t marked = 0;     // in the row
    int32_t reachable = 0;  // subsectors the link graph reaches from the source
    bool done = false;

    std::unordered_map<int32_t, Bits> bounds;  // for the current first portal, by link number
    std::vector<Bits> live;                    // by chain depth: the intersection so far
    std::vector<uint8_t> seen;
    std::vector<int32_t> queue;

    FastFlood(const std::vector<std::vector<PortalLink>>& l, std::vector<uint8_t>& m)
        : links(l), matrix(m), n(static_cast<int32_t>(l.size())), inChain(static_cast<std::size_t>(n), 0) {}

    void Mark(int32_t t) {
        if (!row[t]) {
            row[t] = 1;
            rowBits[static_cast<std::size_t>(t) >> 6] |= uint64_t{1} << (t & 63);
            if (++marked == reachable) done = true;
        }
    }

    // Whether the first portal, c and g leave a line through all three (the
    // first portal and c being open already).
    bool OpenThree(const PortalLink& c, const PortalLink& g) const {
        const float s[3][2] = {{chain.sx[0], chain.sy[0]}, {c.startX, c.startY}, {g.startX, g.startY}};
        const float e[3][2] = {{chain.ex[0], chain.ey[0]}, {c.endX, c.endY}, {g.endX, g.endY}};
        static const int kPairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
        for (const auto& a : kPairs) {
            for (const auto& b : kPairs) {
                if (a[1] == 1 && b[1] == 1) continue;
                if (SegmentsCross(s[a[0]][0], s[a[0]][1], s[a[1]][0], s[a[1]][1], e[b[0]][0], e[b[0]][1], e[b[1]][0],
                                  e[b[1]][1])) {
                    return false;
                }
            }
        }
        return true;
    }

    const Bits& BoundFor(const PortalLink& c, int32_t id) {
        auto found = bounds.find(id);
        if (found != bounds.end()) return found->second;
        Bits& bound = bounds[id];
        bound.assign(words, 0);
        queue.clear();
        queue.push_back(c.neighbour);
        seen[c.neighbour] = 1;
        for (std::size_t q = 0; q < queue.size(); ++q) {
            for (const PortalLink& g : links[queue[q]]) {
                if (seen[g.neighbour] || g.neighbour == source) continue;
                if (!OpenThree(c, g)) continue;
                seen[g.neighbour] = 1;
                queue.push_back(g.neighbour);
            }
        }
        for (int32_t u : queue) {
            seen[u] = 0;
            bound[static_cast<std::size_t>(u) >> 6] |= uint64_t{1} << (u & 63);
        }
        return bound;
    }

    void Flood(int32_t t, int32_t d) {
        if (static_cast<int32_t>(chain.subsector.size()) <= d) chain.Resize(2 * d + 2);
        if (static_cast<int32_t>(live.size()) <= d + 1) live.resize(2 * d + 2, Bits(words));
        inChain[t] = 1;
        const auto& out = links[t];
        for (int32_t k = 0; k < static_cast<int32_t>(out.size()); ++k) {
            if (done) break;
            const PortalLink& f = out[k];
            if (inChain[f.neighbour]) continue;
            // What the chain through f could still mark, if anything.
            const Bits& bound = BoundFor(f, firstLink[t] + k);
            const Bits& before = live[d];
            Bits& after = live[d + 1];
            uint64_t unmarked = 0;
            for (std::size_t w = 0; w < words; ++w) {
                after[w] = before[w] & bound[w];
                unmarked |= after[w] & ~rowBits[w];
            }
            if (!unmarked) continue;
            chain.Set(d, t, f);
            if (chain.OpenWithNewest(d)) Flood(f.neighbour, d + 1);
        }
        inChain[t] = 0;
        Mark(t);
    }

    void FromSource(int32_t s) {
        source = s;
        row = &matrix[static_cast<std::size_t>(s) * n];
        rowBits.assign(words, 0);
        // Everything the links reach, whatever the geometry: once all of it
        // is marked nothing more can be.
        std::vector<int32_t> stack = {s};
        std::vector<uint8_t> reached(static_cast<std::size_t>(n), 0);
        reached[s] = 1;
        reachable = 0;
        while (!stack.empty()) {
            const int32_t u = stack.back();
            stack.pop_back();
            for (const PortalLink& l : links[u]) {
                if (!reached[l.neighbour]) {
                    reached[l.neighbour] = 1;
                    ++reachable;
                    stack.push_back(l.neighbour);
                }
            }
        }
        marked = 0;
        done = reachable == 0;
        inChain[s] = 1;
        if (live.size() < 2) live.resize(16, Bits(words));
        for (const PortalLink& e : links[s]) {
            if (done) break;
            if (chain.subsector.empty()) chain.Resize(16);
            chain.Set(0, s, e);
            bounds.clear();
            live[1].assign(words, ~uint64_t{0});
            Flood(e.neighbour, 1);
        }
        inChain[s] = 0;
    }
};

}  // namespace

std::vector<uint8_t> FloodPlain(const std::vector<std::vector<PortalLink>>& links) {
    const auto n = static_cast<int32_t>(links.size());
    std::vector<uint8_t> matrix(static_cast<std::size_t>(n) * n, 0);
    PlainFlood flood{links, matrix, n, {}};
    for (int32_t s = 0; s < n; ++s) {
        if (pvsProgress && !pvsProgress(s, n)) FailBuild("BuildPVS: 中止しました");
        for (const PortalLink& e : links[s]) {
            if (flood.chain.subsector.empty()) flood.chain.Resize(1);
            flood.chain.Set(0, s, e);
            flood.Flood(e.neighbour, 1);
        }
    }
    return matrix;
}

std::vector<uint8_t> FloodFast(const std::vector<std::vector<PortalLink>>& links) {
    const auto n = static_cast<int32_t>(links.size());
    std::vector<uint8_t> matrix(static_cast<std::size_t>(n) * n, 0);
    FastFlood flood(links, matrix);
    int32_t total = 0;
    for (const auto& l : links) {
        flood.firstLink.push_back(total);
        total += static_cast<int32_t>(l.size());
    }
    flood.seen.assign(static_cast<std::size_t>(n), 0);
    flood.words = (static_cast<std::size_t>(n) + 63) / 64;
    for (int32_t s = 0; s < n; ++s) {
        if (pvsProgress && !pvsProgress(s, n)) FailBuild("BuildPVS: 中止しました");
        flood.FromSource(s);
    }
    if (pvsProgress) pvsProgress(n, n);
    return matrix;
}

void BuildPVS() {
    const auto n = static_cast<int32_t>(portalLists.size());
    if (n != static_cast<int32_t>(subsectorPolygons.size())) {
        FailBuild("BuildPVS: numsubsectors と subsecportals の要素数が合いません");
    }
    LogDebug("numsubsectors = %d\n", n);
    const auto links = MakePortalLinks(portalLists);
    pvsMatrix = useReferenceLookups ? FloodPlain(links) : FloodFast(links);
    pvsSubsectors = n;
}
