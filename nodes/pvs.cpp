// The PVS pass: portal links, then a flood from every subsector through
// every chain of portals that some straight line might still pass.
#include "nodes/pvs.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "base/report.h"
#include "model/geometry.h"
#include "nodes/bsp_output.h"
#include "nodes/pvs_chain.h"
#include "nodes/sector_lookup.h"

int32_t pvsSubsectors = 0;
std::vector<uint8_t> pvsMatrix;
std::function<bool(int32_t, int32_t)> pvsProgress;
int32_t pvsThreads = 0;

namespace {

bool SamePoint(float ax, float ay, float bx, float by) { return ax == bx && ay == by; }

}  // namespace

bool PortalsOverlap(const Seg& p, const Seg& q, float& len, float& t1, float& t2) {
    if (std::min(q.y1, q.y2) - kOnLineTolerance > std::max(p.y1, p.y2) + kOnLineTolerance) return false;
    if (std::min(p.y1, p.y2) - kOnLineTolerance > std::max(q.y1, q.y2) + kOnLineTolerance) return false;
    if (std::min(q.x1, q.x2) - kOnLineTolerance > std::max(p.x1, p.x2) + kOnLineTolerance) return false;
    if (std::max(q.x1, q.x2) + kOnLineTolerance < std::min(p.x1, p.x2) - kOnLineTolerance) return false;
    float ux = p.x2 - p.x1, uy = p.y2 - p.y1;
    len = NormalizeVector(ux, uy);
    const float c1 = ux * (q.y1 - p.y1) - uy * (q.x1 - p.x1);
    const float c2 = ux * (q.y2 - p.y1) - uy * (q.x2 - p.x1);
    if (!(-kOnLineTolerance <= c1 && c1 <= kOnLineTolerance && -kOnLineTolerance <= c2 && c2 <= kOnLineTolerance))
        return false;
    if ((q.x2 - q.x1) * ux + (q.y2 - q.y1) * uy > 0.0f) return false;
    t1 = (q.x1 - p.x1) * ux + (q.y1 - p.y1) * uy;
    t2 = (q.x2 - p.x1) * ux + (q.y2 - p.y1) * uy;
    if (SamePoint(q.x2, q.y2, p.x1, p.y1) || SamePoint(q.x1, q.y1, p.x2, p.y2)) return true;
    if (t1 > len - kOnLineTolerance && t2 > len - kOnLineTolerance) return false;
    if (t1 < kOnLineTolerance && t2 < kOnLineTolerance) return false;
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
                        if (found != cells.end())
                            candidates.insert(candidates.end(), found->second.begin(), found->second.end());
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
                if (PortalsOverlap(p, q, len, t1, t2))
                    links[s].push_back(AddPortalLink(p, q, r.subsector, len, t1, t2));
            }
        }
    }
    return links;
}

namespace {

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

void BuildPVS() {
    const auto n = static_cast<int32_t>(portalLists.size());
    if (n != static_cast<int32_t>(subsectorPolygons.size())) {
        FailBuild("BuildPVS: numsubsectors と subsecportals の要素数が合いません");
    }
    LogDebug("numsubsectors = %d\n", n);
    const auto links = MakePortalLinks(portalLists);
    pvsMatrix = useReferenceLookups ? FloodPlain(links) : FloodFast(links, pvsThreads);
    pvsSubsectors = n;
}
