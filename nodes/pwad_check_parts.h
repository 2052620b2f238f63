// The parts of the built-map check: the map's records as the check reads
// them, the problem list, and one check per lump or property.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "resources/map_lumps.h"

// The parts' names are the validator's own.
namespace pwad_check {

// Vertex positions are whole units and seg ends were cut from exact
// positions: a point may lie this far from where the exact one was.
constexpr double kSlack = 1.5;

// Faults break the game; deviations are departures from the exact
// structure that the engines accept (they may show as small drawing or
// movement flaws). Unless they are to be kept apart, both go to list.
struct Problems {
    std::vector<std::string> list;
    std::vector<std::string>* deviations = nullptr;  // where deviations go when kept apart
    std::map<std::string, int> perKind;
    // At most three of a kind are listed, then "...".
    void Add(const std::string& kind, const std::string& detail);
    void AddDeviation(const std::string& kind, const std::string& detail);
    void Add(bool fault, const std::string& kind, const std::string& detail) {
        fault ? Add(kind, detail) : AddDeviation(kind, detail);
    }
};

// How far beside a node's line a seg end may lie and still be drawn right
// but for slime trails.
constexpr double kNodeSideDeviation = 16;

struct V {
    double x, y;
};

// Signed distance of p from the directed line a->b: negative on the right (front).
double Distance(V a, V b, V p);
std::string Num(long long n);

// The records, and the two lumps that are not records.
struct BuiltMap : MapRecords {
    std::string reject;
    std::string blockmap;
};

// Vertex n of the map.
inline V Point(const BuiltMap& map, long n) {
    return {static_cast<double>(map.vertexes[n].x), static_cast<double>(map.vertexes[n].y)};
}

// Every seg on its linedef's side, with its offset and angle.
void CheckSegs(const BuiltMap& map, Problems& problems);
// Every seg in exactly one subsector, and every subsector convex.
void CheckSubsectors(const BuiltMap& map, Problems& problems);
// The tree from the root: every node and subsector reached once, the
// segs on the right side of the partition lines and within the boxes.
void CheckTree(const BuiltMap& map, Problems& problems);
// The blockmap's lists well formed, every linedef in every block it passes through.
void CheckBlockmap(const BuiltMap& map, Problems& problems);

}  // namespace pwad_check
