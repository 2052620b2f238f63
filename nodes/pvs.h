// Potentially visible sets between the built subsectors: which subsector
// can be seen from which through chains of see-through edges (portals).
// Kept for the PVS test view; the REJECT lump does not use it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "nodes/bsp.h"

struct PortalLink {
    float startX, startY;  // the end of the shared piece nearer the source portal's start
    float endX, endY;
    int32_t neighbour;  // the subsector on the other side
};

// n, and the n by n matrix (row: from, column: seen) of the last PVS pass.
extern int32_t pvsSubsectors;
extern std::vector<uint8_t> pvsMatrix;

// Called now and then while the flood runs with the sources done so far;
// returning false cancels the pass (FailBuild). None when empty.
extern std::function<bool(int32_t done, int32_t total)> pvsProgress;

// Threads of the fast flood: 0 for one per hardware thread.
extern int32_t pvsThreads;

// Computes the matrix from the portal lists of the last BSP output.
void BuildPVS();

// The links of every subsector, in subsector order.
std::vector<std::vector<PortalLink>> MakePortalLinks(const std::vector<SegList>& portals);

// Whether portal q of another subsector runs against portal p along its
// line and shares a piece of it; len, t1 and t2 are what AddPortalLink needs.
bool PortalsOverlap(const Seg& p, const Seg& q, float& len, float& t1, float& t2);
PortalLink AddPortalLink(const Seg& p, const Seg& q, int32_t neighbour, float len, float t1, float t2);

// The flood as first written: every open chain followed to its end. The
// tests compare its matrix with the fast one.
std::vector<uint8_t> FloodPlain(const std::vector<std::vector<PortalLink>>& links);
// threads: how many work at once, 0 for one per hardware thread. The matrix
// does not depend on it.
std::vector<uint8_t> FloodFast(const std::vector<std::vector<PortalLink>>& links, int32_t threads = 0);
