// The BSP builder: cuts every linedef side into segs, chooses partition
// lines among them by cost, splits the segs that cross, and lays invisible
// lines along each partition line where it runs through a sector, until
// every leaf holds a closed, convex subsector. All geometry is float32.
//
// Orientation is the game's: a point is in front of a directed line when it
// lies to its right (y up), behind it when to its left.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/report.h"
#include "model/geometry.h"

struct Seg {
    float x1, y1;
    float x2, y2;
    int32_t linedef;  // number of the source linedef, -1 for an invisible line
    int32_t side;     // 0 along the right sidedef, 1 along the left, -1 invisible
    float offset;     // from that side's first vertex to the seg's start
    uint8_t emitted;  // set when the seg is written out
};

using SegList = std::vector<Seg>;

struct Divline {
    float x, y;
    float dx, dy;  // not normalised
};

struct BspNode {
    std::unique_ptr<SegList> segs;  // a leaf's segs; null in an inner node
    float x, y, dx, dy;             // an inner node's partition line
    // The partition seg's linedef and side, from which the written
    // partition line is taken.
    int32_t partitionLinedef = -1;
    int32_t partitionSide = 0;
    std::unique_ptr<BspNode> front;
    std::unique_ptr<BspNode> back;

    BspNode() = default;
    BspNode(const BspNode&) = delete;
    BspNode& operator=(const BspNode&) = delete;
    ~BspNode();
};

extern int32_t cuts;  // seg splits of the current build

// Makes the initial segs of every linedef side, in linedef order.
std::unique_ptr<SegList> MakeSegs();

// Builds the tree for the list, which it takes over.
std::unique_ptr<BspNode> BuildBspTree(std::unique_ptr<SegList> segs);

// Asked before every node of the tree; true stops the build (FailBuild).
// None when empty.
extern std::function<bool()> bspCancelRequested;

// 0 front, 1 back, -1 on the line (within 0.1).
int PointSide(const Divline& line, float x, float y);
// 0 front, 1 back, -2 crossing.
int SegSide(const Seg& seg, const Divline& line);
// Fraction along the seg's line (given as a divline) where it meets line.
float InterceptVector(const Divline& segLine, const Divline& line);
// Cuts the seg to its front piece and returns its back piece.
Seg SplitSeg(Seg& seg, const Divline& line);
int32_t EvaluatePartition(const SegList& segs, int32_t candidate, int32_t bestCost);
void PartitionSegs(SegList& segs, int32_t partition, SegList& front, SegList& back);

inline Divline SegLine(const Seg& s) { return {s.x1, s.y1, s.x2 - s.x1, s.y2 - s.y1}; }
inline bool IsInvisible(const Seg& s) { return s.side == -1; }

// Whether two points are the same within the tolerance (both differences strictly inside).
inline bool PointsNear(float ax, float ay, float bx, float by) {
    const float dx = ax - bx;
    const float dy = ay - by;
    return -kOnLineTolerance < dx && dx < kOnLineTolerance && -kOnLineTolerance < dy && dy < kOnLineTolerance;
}

inline float SegLength(const Seg& s) {
    const float dx = s.x2 - s.x1;
    const float dy = s.y2 - s.y1;
    return std::sqrt(dx * dx + dy * dy);
}

// A build stops on an internal inconsistency by throwing this; the build
// driver turns it into a warning and leaves the map and any old PWAD alone.
struct BuildFailure {
    std::string message;
};
[[noreturn]] void FailBuild(const char* format, ...) KELDRA_PRINTF(1, 2);
