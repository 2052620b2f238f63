// The built-map checks of the node builder's output: segs, subsectors and
// the tree of nodes.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "nodes/pwad_check_parts.h"

namespace pwad_check {
namespace {

// Whether both ends of the seg are vertices of the map; a seg that is not
// has been named already and is left out of the checks of shape.
bool EndsKnown(const BuiltMap& map, const SegRecord& seg) {
    return seg.start < map.vertexes.size() && seg.end < map.vertexes.size();
}

// Convex: every seg end lies in front of (right of) or on every seg's
// line. The line is taken through the seg's start in the direction of its
// angle: whole-unit ends of a short seg point elsewhere.
void CheckConvex(const BuiltMap& map, long s, Problems& problems) {
    const long first = map.subsectors[s].first, count = map.subsectors[s].count;
    for (long i = first; i < first + count; ++i) {
        if (!EndsKnown(map, map.segs[i])) continue;
        const V a = Point(map, map.segs[i].start);
        const double angle = map.segs[i].angle * (2 * std::numbers::pi / 65536.0);
        const V b = {a.x + 1024 * std::cos(angle), a.y + 1024 * std::sin(angle)};
        for (long j = first; j < first + count; ++j) {
            if (!EndsKnown(map, map.segs[j])) continue;
            for (const uint16_t end : {map.segs[j].start, map.segs[j].end}) {
                if (Distance(a, b, Point(map, end)) > 2 * kSlack) {
                    problems.Add("subsector not convex",
                                 "subsector " + Num(s) + ", seg " + Num(j) + " behind seg " + Num(i));
                    j = first + count;
                    break;
                }
            }
        }
    }
}

// The walk from the root: children numbered below their parent, every node
// and subsector reached once, every seg end within its boxes and on the
// right side of every partition line above it.
struct Bound {
    V a, b;     // a partition line, written direction
    bool back;  // the subtree lies behind it
    long node;
};

struct TreeWalk {
    const BuiltMap& map;
    Problems& problems;
    std::vector<int> nodeSeen, subSeen;
    std::vector<Bound> bounds;
};

// box: top, bottom, left, right
void Widen(double box[4], V p) {
    box[0] = std::max(box[0], p.y), box[1] = std::min(box[1], p.y);
    box[2] = std::min(box[2], p.x), box[3] = std::max(box[3], p.x);
}

void WalkSubsector(TreeWalk& walk, long s, double box[4]) {
    const BuiltMap& map = walk.map;
    if (s >= static_cast<long>(map.subsectors.size()) || walk.subSeen[s]++) {
        walk.problems.Add("node child", "subsector " + Num(s) + " out of range or reached twice");
        return;
    }
    const long first = map.subsectors[s].first, count = map.subsectors[s].count;
    for (long k = first; k < first + count && k < static_cast<long>(map.segs.size()); ++k) {
        if (!EndsKnown(map, map.segs[k])) continue;
        for (const uint16_t end : {map.segs[k].start, map.segs[k].end}) {
            const V p = Point(map, end);
            Widen(box, p);
            for (const Bound& bound : walk.bounds) {
                const double d = Distance(bound.a, bound.b, p);
                if (bound.back ? d < -kSlack : d > kSlack) {
                    // A few units off makes slime trails at worst; further, the point is in the wrong subtree.
                    const bool fault = std::fabs(d) > kNodeSideDeviation;
                    const std::string detail = "subsector " + Num(s) + " point (" + Num(std::lround(p.x)) + "," +
                                               Num(std::lround(p.y)) + ") " + Num(std::lround(std::fabs(d))) +
                                               " units on the wrong side of node " + Num(bound.node);
                    walk.problems.Add(fault, "seg beside its node's line", detail);
                }
            }
        }
    }
}

void EmptyBox(double box[4]) { box[0] = -1e9, box[1] = 1e9, box[2] = 1e9, box[3] = -1e9; }

void WidenBox(double box[4], const double other[4]) {
    box[0] = std::max(box[0], other[0]), box[1] = std::min(box[1], other[1]);
    box[2] = std::min(box[2], other[2]), box[3] = std::max(box[3], other[3]);
}

// A node being walked: which child comes next, the box of its seg ends so
// far, and the box of the child being walked.
struct WalkFrame {
    long node;
    int next;  // 0 the right child, 1 the left one, 2 done
    double box[4];
    double childBox[4];
};

// Enters a child of parent (-1 for the root) whose box goes to box: a
// subsector is walked at once, a node is pushed to be walked.
void EnterChild(TreeWalk& walk, std::vector<WalkFrame>& stack, uint16_t child, long parent, double box[4]) {
    EmptyBox(box);
    if (child & kSubsectorChild) {
        WalkSubsector(walk, child & 0x7FFF, box);
        return;
    }
    const long n = child;
    if (n >= static_cast<long>(walk.map.nodes.size()) || (parent >= 0 && n >= parent) || walk.nodeSeen[n]++) {
        walk.problems.Add("node child", "node " + Num(n) + " out of order or reached twice");
        return;
    }
    const NodeRecord& node = walk.map.nodes[n];
    if (node.dx == 0 && node.dy == 0) walk.problems.Add("node line", "node " + Num(n) + " has no direction");
    WalkFrame frame{n, 0, {}, {}};
    EmptyBox(frame.box);
    stack.push_back(frame);
}

// The walk from the root, with a stack of its own: a damaged NODES lump may
// chain every node under the one before it.
void Walk(TreeWalk& walk, uint16_t root) {
    std::vector<WalkFrame> stack;
    double rootBox[4];
    EnterChild(walk, stack, root, -1, rootBox);
    while (!stack.empty()) {
        WalkFrame& frame = stack.back();
        const NodeRecord& node = walk.map.nodes[frame.node];
        if (frame.next > 0) {
            // The child just walked, against the box written for it.
            walk.bounds.pop_back();
            const int c = frame.next - 1;
            const double* box = frame.childBox;
            const int16_t* written = c ? node.leftBox : node.rightBox;
            const double top = written[0], bottom = written[1], left = written[2], right = written[3];
            if (box[0] >= box[1] &&
                (box[0] > top + 1 || box[1] < bottom - 1 || box[2] < left - 1 || box[3] > right + 1)) {
                walk.problems.Add("node box",
                                  "node " + Num(frame.node) + (c ? " left" : " right") + " box does not hold its segs");
            }
            WidenBox(frame.box, box);
        }
        if (frame.next == 2) {
            double finished[4];
            std::copy(frame.box, frame.box + 4, finished);
            stack.pop_back();
            if (!stack.empty()) std::copy(finished, finished + 4, stack.back().childBox);
            continue;
        }
        const int c = frame.next++;
        const V a = {static_cast<double>(node.x), static_cast<double>(node.y)};
        const V e = {a.x + node.dx, a.y + node.dy};
        walk.bounds.push_back({a, e, c == 1, frame.node});
        const long parent = frame.node;
        EnterChild(walk, stack, c ? node.left : node.right, parent, frame.childBox);  // may move frame
    }
}

}  // namespace

void CheckSegs(const BuiltMap& map, Problems& problems) {
    const auto numVerts = static_cast<long>(map.vertexes.size()), numLines = static_cast<long>(map.linedefs.size());
    for (long i = 0; i < static_cast<long>(map.segs.size()); ++i) {
        const SegRecord& seg = map.segs[i];
        if (seg.start >= numVerts || seg.end >= numVerts || seg.linedef >= numLines ||
            (seg.side != 0 && seg.side != 1)) {
            problems.Add("seg reference", "seg " + Num(i));
            continue;
        }
        const LinedefRecord& line = map.linedefs[seg.linedef];
        if (seg.side == 1 && line.left == kNoSidedef) {
            problems.Add("seg side", "seg " + Num(i) + " on the missing left side of linedef " + Num(seg.linedef));
            continue;
        }
        V a = Point(map, line.start), e = Point(map, line.end);
        if (seg.side == 1) std::swap(a, e);
        const V p = Point(map, seg.start), q = Point(map, seg.end);
        const double dx = e.x - a.x, dy = e.y - a.y, len = std::sqrt(dx * dx + dy * dy);
        const double tp = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len, tq = ((q.x - a.x) * dx + (q.y - a.y) * dy) / len;
        if (std::fabs(Distance(a, e, p)) > kSlack || std::fabs(Distance(a, e, q)) > kSlack || tp < -kSlack ||
            tq > len + kSlack || tq < tp - kSlack) {
            problems.Add("seg off its linedef", "seg " + Num(i) + " of linedef " + Num(seg.linedef));
            continue;
        }
        // An offset only aligns the wall's texture.
        if (std::fabs(seg.offset - tp) > kSlack + 1)
            problems.AddDeviation("seg offset", "seg " + Num(i) + " offset " + Num(seg.offset) + ", about " +
                                                    Num(std::lround(tp)) + " expected");
        const double expected = std::atan2(dy, dx) / (2 * std::numbers::pi) * 65536.0;
        double diff = std::fmod(std::fabs(seg.angle - expected), 65536.0);
        diff = std::min(diff, 65536.0 - diff);
        const double allowed = std::atan2(2.0, len) / (2 * std::numbers::pi) * 65536.0 + 2;
        // The angle only orients the wall's drawing; an eighth of a turn off is no longer the same wall.
        if (diff > allowed) {
            problems.Add(
                diff > 8192, "seg angle",
                "seg " + Num(i) + " angle " + Num(seg.angle) + ", about " + Num(std::lround(expected)) + " expected");
        }
    }
}

void CheckSubsectors(const BuiltMap& map, Problems& problems) {
    const auto numSegs = static_cast<long>(map.segs.size());
    std::vector<int> owner(static_cast<std::size_t>(numSegs), -1);
    for (long s = 0; s < static_cast<long>(map.subsectors.size()); ++s) {
        const uint16_t count = map.subsectors[s].count, first = map.subsectors[s].first;
        if (count == 0 || first + count > numSegs) {
            problems.Add("subsector segs", "subsector " + Num(s));
            continue;
        }
        for (long k = first; k < first + count; ++k) {
            if (owner[k] >= 0) problems.Add("subsector segs", "seg " + Num(k) + " in two subsectors");
            owner[k] = static_cast<int>(s);
        }
        CheckConvex(map, s, problems);
    }
    for (long k = 0; k < numSegs; ++k) {
        if (owner[k] < 0) problems.Add("subsector segs", "seg " + Num(k) + " in no subsector");
    }
}

void CheckTree(const BuiltMap& map, Problems& problems) {
    const auto numNodes = static_cast<long>(map.nodes.size()), numSubs = static_cast<long>(map.subsectors.size());
    if (numNodes == 0 && numSubs != 1) problems.Add("nodes", "no nodes for " + Num(numSubs) + " subsectors");
    if (numNodes == 0) return;
    TreeWalk walk{map,
                  problems,
                  std::vector<int>(static_cast<std::size_t>(numNodes), 0),
                  std::vector<int>(static_cast<std::size_t>(numSubs), 0),
                  {}};
    Walk(walk, static_cast<uint16_t>(numNodes - 1));
    for (long n = 0; n < numNodes; ++n) {
        if (!walk.nodeSeen[n]) problems.Add("node child", "node " + Num(n) + " not in the tree");
    }
    for (long s = 0; s < numSubs; ++s) {
        if (!walk.subSeen[s]) problems.Add("node child", "subsector " + Num(s) + " not in the tree");
    }
}

}  // namespace pwad_check
