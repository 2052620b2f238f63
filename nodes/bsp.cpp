// The BSP builder.
#include "nodes/bsp.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "base/report.h"
#include "model/map.h"
#include "nodes/sector_lookup.h"

int32_t cuts = 0;

namespace {

constexpr int32_t kNoPartition = std::numeric_limits<int32_t>::max();

struct Point {
    float x, y;
};

// Points found on the partition line while one partition step runs; null
// at all other times.
std::vector<Point>* divlinePoints = nullptr;

void NotePoint(float x, float y) {
    if (divlinePoints) divlinePoints->push_back({x, y});
}

int Sign(float v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// The points come from the partition line; a seg that joins two of them
// has both ends within 0.1 of them in x and y, so within 0.1 + 0.1 * sqrt(2)
// of the line. nearLine lists, in list order, the segs that close to it (or
// every seg); only they are searched.
void AddInvisibleLines(const SegList& segs, const std::vector<int32_t>& nearLine, SegList& front, SegList& back,
                       const std::vector<Point>& points) {
    Point prev = points[0];
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point cur = points[k];
        if (std::fabs(cur.x - prev.x) < kOnLineTolerance && std::fabs(cur.y - prev.y) < kOnLineTolerance) {
            prev = cur;
            continue;
        }
        const Seg* joining = nullptr;
        for (int32_t i : nearLine) {
            const Seg& s = segs[i];
            if ((PointsNear(s.x1, s.y1, prev.x, prev.y) && PointsNear(s.x2, s.y2, cur.x, cur.y)) ||
                (PointsNear(s.x1, s.y1, cur.x, cur.y) && PointsNear(s.x2, s.y2, prev.x, prev.y))) {
                joining = &s;
                break;
            }
        }
        if (joining) {
            if (IsInvisible(*joining)) LogDebug("AddInvisibleLines: an invisible line coincide with the divline\n");
        } else {
            const float mx = prev.x + 0.5f * (cur.x - prev.x);
            const float my = prev.y + 0.5f * (cur.y - prev.y);
            if (FindSectorNumberAt(mx, my) >= 0) {
                front.push_back({prev.x, prev.y, cur.x, cur.y, -1, -1, 0.0f, 0});
                back.push_back({cur.x, cur.y, prev.x, prev.y, -1, -1, 0.0f, 0});
            }
        }
        prev = cur;
    }
}

}  // namespace

void FailBuild(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw BuildFailure{text};
}

std::unique_ptr<SegList> MakeSegs() {
    auto segs = std::make_unique<SegList>();
    segs->reserve(static_cast<std::size_t>(numlinedefs) * 2);
    int32_t index = 0;
    for (const Linedef* l = linedefs; l; l = l->next, ++index) {
        const Vertex* s = l->startVertex;
        const Vertex* e = l->endVertex;
        segs->push_back({s->x, s->y, e->x, e->y, index, 0, 0.0f, 0});
        if (l->left.sector) segs->push_back({e->x, e->y, s->x, s->y, index, 1, 0.0f, 0});
    }
    return segs;
}

namespace {
// A divline with its direction divided by its length once, for testing many
// points: the same float steps as computing them for every point.
struct SideTest {
    float x, y, ux, uy;
    explicit SideTest(const Divline& line) {
        const float len = std::sqrt(line.dx * line.dx + line.dy * line.dy);
        x = line.x;
        y = line.y;
        ux = line.dx / len;
        uy = line.dy / len;
    }
    float Distance(float px, float py) const { return (py - y) * ux - (px - x) * uy; }
    int Side(float px, float py) const {
        const float d = Distance(px, py);
        if (d < -kOnLineTolerance) return 0;
        if (d > kOnLineTolerance) return 1;
        return -1;
    }
};

int SegSideOf(const Seg& seg, const Divline& line, const SideTest& test) {
    const int s1 = test.Side(seg.x1, seg.y1);
    const int s2 = test.Side(seg.x2, seg.y2);
    if (s1 == s2 && s1 >= 0) return s1;
    if (s1 == -1 && s2 == -1) {
        NotePoint(seg.x1, seg.y1);
        NotePoint(seg.x2, seg.y2);
        if (Sign(seg.x2 - seg.x1) != Sign(line.dx)) return 1;
        if (Sign(seg.y2 - seg.y1) != Sign(line.dy)) return 1;
        return 0;
    }
    if (s1 == -1) {
        NotePoint(seg.x1, seg.y1);
        return s2;
    }
    if (s2 == -1) {
        NotePoint(seg.x2, seg.y2);
        return s1;
    }
    return -2;
}
}  // namespace

int PointSide(const Divline& line, float x, float y) { return SideTest(line).Side(x, y); }

int SegSide(const Seg& seg, const Divline& line) { return SegSideOf(seg, line, SideTest(line)); }

float InterceptVector(const Divline& v2, const Divline& v1) {
    const float den = v2.dy * v1.dx - v2.dx * v1.dy;
    if (den == 0) FailBuild("InterceptVector: parallel");
    const float num = (v1.y - v2.y) * v1.dx - (v1.x - v2.x) * v1.dy;
    const float t = num / den;
    if (t <= 0 || t >= 1) LogDebug("InterceptVector: intersection outside line\n");
    return t;
}

Seg SplitSeg(Seg& seg, const Divline& line) {
    ++cuts;
    Seg piece = seg;
    const float t = InterceptVector(SegLine(seg), line);
    const float dx = seg.x2 - seg.x1;
    const float dy = seg.y2 - seg.y1;
    const float ix = seg.x1 + t * dx;
    const float iy = seg.y1 + t * dy;
    const float len = std::sqrt(dx * dx + dy * dy);
    const float offsetAtCut = seg.offset + len * t;
    if (SideTest(line).Side(seg.x1, seg.y1) == 0) {
        seg.x2 = ix;
        seg.y2 = iy;
        piece.x1 = ix;
        piece.y1 = iy;
        piece.offset = offsetAtCut;
    } else {
        seg.x1 = ix;
        seg.y1 = iy;
        seg.offset = offsetAtCut;
        piece.x2 = ix;
        piece.y2 = iy;
    }
    NotePoint(ix, iy);
    return piece;
}

namespace {
// A partition's cost: the larger side, plus 8 for every seg it splits.
int32_t PartitionCost(int32_t front, int32_t back, int32_t total) {
    return std::max(front, back) + 8 * (front + back - total);
}
}  // namespace

int32_t EvaluatePartition(const SegList& segs, int32_t candidate, int32_t bestCost) {
    const Divline line = SegLine(segs[candidate]);
    const SideTest test(line);
    const int32_t total = static_cast<int32_t>(segs.size());
    int32_t front = 0;
    int32_t back = 0;
    int32_t cost = 0;
    for (int32_t i = 0; i < total; ++i) {
        const Seg& seg = segs[i];
        if (IsInvisible(seg)) continue;
        if (i == candidate) {
            ++front;
        } else {
            switch (SegSideOf(seg, line, test)) {
                case 0:
                    ++front;
                    break;
                case 1:
                    ++back;
                    break;
                default:
                    ++front, ++back;
                    break;
            }
        }
        cost = PartitionCost(front, back, total);
        if (cost > bestCost) return cost;
    }
    if (front == 0 || back == 0) return kNoPartition;
    return cost;
}

void PartitionSegs(SegList& segs, int32_t partition, SegList& front, SegList& back) {
    const Seg p = segs[partition];
    const Divline line = SegLine(p);
    const SideTest test(line);
    std::vector<Point> points = {{p.x1, p.y1}, {p.x2, p.y2}};
    std::vector<int32_t> nearLine;
    constexpr float kNearLine = 0.3f;
    divlinePoints = &points;
    for (int32_t i = 0; i < static_cast<int32_t>(segs.size()); ++i) {
        Seg& seg = segs[i];
        if (i == partition) {
            front.push_back(seg);
        } else {
            switch (SegSideOf(seg, line, test)) {
                case 0:
                    front.push_back(seg);
                    break;
                case 1:
                    back.push_back(seg);
                    break;
                default: {
                    Seg piece = SplitSeg(seg, line);
                    front.push_back(seg);
                    back.push_back(piece);
                    break;
                }
            }
        }
        if (useReferenceLookups || (std::fabs(test.Distance(seg.x1, seg.y1)) <= kNearLine &&
                                    std::fabs(test.Distance(seg.x2, seg.y2)) <= kNearLine)) {
            nearLine.push_back(i);
        }
    }
    divlinePoints = nullptr;

    // Along the partition line; points of equal projection keep the order
    // they were found in.
    std::vector<std::pair<float, Point>> keyed;
    keyed.reserve(points.size());
    for (const Point& q : points) {
        float key = (q.x - p.x1) * line.dx + (q.y - p.y1) * line.dy;
        if (std::isnan(key)) key = std::numeric_limits<float>::infinity();
        keyed.push_back({key, q});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first - b.first < 0; });
    for (std::size_t i = 0; i < keyed.size(); ++i) points[i] = keyed[i].second;
    AddInvisibleLines(segs, nearLine, front, back, points);
}

namespace {

// The list's coordinates side by side, so that the side tests of one
// candidate against a whole block of segs run as vector operations.
struct SegCoords {
    std::vector<float> x1, y1, x2, y2;
    std::vector<int32_t> visible;  // 1 for a real seg, 0 for an invisible one
    explicit SegCoords(const SegList& segs) {
        for (auto* v : {&x1, &y1, &x2, &y2}) v->resize(segs.size());
        visible.resize(segs.size());
        for (std::size_t i = 0; i < segs.size(); ++i) {
            x1[i] = segs[i].x1;
            y1[i] = segs[i].y1;
            x2[i] = segs[i].x2;
            y2[i] = segs[i].y2;
            visible[i] = IsInvisible(segs[i]) ? 0 : 1;
        }
    }
};

// EvaluatePartition a block of segs at a time. Front and back only grow
// along the walk, so the running cost never falls: a block whose end cost
// stays within the best cannot stop the walk, and only a block that goes
// beyond it is walked seg by seg to find where the plain walk stops.
int32_t EvaluatePartitionInBlocks(const SegCoords& c, int32_t candidate, int32_t bestCost) {
    const float lx = c.x1[candidate], ly = c.y1[candidate];
    const float ldx = c.x2[candidate] - lx, ldy = c.y2[candidate] - ly;
    const SideTest test(Divline{lx, ly, ldx, ldy});
    const int signX = Sign(ldx), signY = Sign(ldy);
    const int32_t total = static_cast<int32_t>(c.x1.size());
    constexpr int32_t kBlock = 64;
    float d1[kBlock], d2[kBlock];
    int32_t toFront[kBlock], toBack[kBlock];
    int32_t front = 0;
    int32_t back = 0;
    for (int32_t start = 0; start < total; start += kBlock) {
        const int32_t m = std::min(kBlock, total - start);
        const float* x1 = c.x1.data() + start;
        const float* y1 = c.y1.data() + start;
        const float* x2 = c.x2.data() + start;
        const float* y2 = c.y2.data() + start;
        const int32_t* visible = c.visible.data() + start;
        // Plain arithmetic loops without branches, for the compiler to vectorise.
        for (int32_t k = 0; k < m; ++k) {
            d1[k] = (y1[k] - test.y) * test.ux - (x1[k] - test.x) * test.uy;
            d2[k] = (y2[k] - test.y) * test.ux - (x2[k] - test.x) * test.uy;
        }
        int32_t blockFront = 0, blockBack = 0;
        for (int32_t k = 0; k < m; ++k) {
            const int32_t front1 = d1[k]<-kOnLineTolerance, back1 = d1[k]> kOnLineTolerance;
            const int32_t front2 = d2[k]<-kOnLineTolerance, back2 = d2[k]> kOnLineTolerance;
            // Both ends on the line: sorted by the signs of the extents.
            const int32_t along = (front1 | back1 | front2 | back2) ^ 1;
            const float ex = x2[k] - x1[k], ey = y2[k] - y1[k];
            const int32_t opposite = (((ex > 0) - (ex < 0)) != signX) | (((ey > 0) - (ey < 0)) != signY);
            const int32_t f = ((along & (opposite ^ 1)) | ((along ^ 1) & (front1 | front2))) & visible[k];
            const int32_t b = ((along & opposite) | ((along ^ 1) & (back1 | back2))) & visible[k];
            toFront[k] = f;
            toBack[k] = b;
            blockFront += f;
            blockBack += b;
        }
        // The candidate itself counts as in front.
        if (candidate >= start && candidate < start + m) {
            const int32_t k = candidate - start;
            blockFront += 1 - toFront[k];
            blockBack -= toBack[k];
            toFront[k] = 1;
            toBack[k] = 0;
        }
        if (PartitionCost(front + blockFront, back + blockBack, total) > bestCost) {
            for (int32_t k = 0; k < m; ++k) {
                if (!visible[k]) continue;
                front += toFront[k];
                back += toBack[k];
                const int32_t cost = PartitionCost(front, back, total);
                if (cost > bestCost) return cost;
            }
        }
        front += blockFront;
        back += blockBack;
    }
    if (front == 0 || back == 0) return kNoPartition;
    return PartitionCost(front, back, total);
}

}  // namespace

namespace {

// Chooses the partition of one list and splits it, or makes the node a leaf.
void BuildNode(BspNode& node, std::unique_ptr<SegList> segs) {
    const int32_t n = static_cast<int32_t>(segs->size());
    const SegCoords coords(*segs);
    int32_t step = n / 40 + 1;
    int32_t best = kNoPartition;
    int32_t chosen = -1;
    while (true) {
        for (int32_t i = 0; i < n; i += step) {
            if (IsInvisible((*segs)[i])) continue;
            const int32_t cost =
                useReferenceLookups ? EvaluatePartition(*segs, i, best) : EvaluatePartitionInBlocks(coords, i, best);
            if (cost < best) {
                best = cost;
                chosen = i;
            }
        }
        if (best != kNoPartition || step == 1) break;
        step = 1;
    }
    if (best == kNoPartition) {
        node.segs = std::move(segs);
        return;
    }
    const Seg& p = (*segs)[chosen];
    node.x = p.x1;
    node.y = p.y1;
    node.dx = p.x2 - p.x1;
    node.dy = p.y2 - p.y1;
    node.partitionLinedef = p.linedef;
    node.partitionSide = p.side;
    auto front = std::make_unique<SegList>();
    auto back = std::make_unique<SegList>();
    PartitionSegs(*segs, chosen, *front, *back);
    segs.reset();
    node.front = std::make_unique<BspNode>();
    node.back = std::make_unique<BspNode>();
    node.front->segs = std::move(front);
    node.back->segs = std::move(back);
}

}  // namespace

std::function<bool()> bspCancelRequested;

BspNode::~BspNode() {
    // A degenerate map's tree is as deep as it has segs: free it without
    // recursing once per level.
    std::vector<std::unique_ptr<BspNode>> pending;
    if (front) pending.push_back(std::move(front));
    if (back) pending.push_back(std::move(back));
    while (!pending.empty()) {
        std::unique_ptr<BspNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->front) pending.push_back(std::move(node->front));
        if (node->back) pending.push_back(std::move(node->back));
    }
}

std::unique_ptr<BspNode> BuildBspTree(std::unique_ptr<SegList> segs) {
    // Depth first, the front side before the back, as a recursion would go,
    // but with a stack of its own: no depth of the tree can overflow the
    // program's stack.
    auto root = std::make_unique<BspNode>();
    std::vector<BspNode*> pending = {root.get()};
    root->segs = std::move(segs);
    while (!pending.empty()) {
        if (bspCancelRequested && bspCancelRequested()) FailBuild("BuildBspTree: 中止しました");
        BspNode* node = pending.back();
        pending.pop_back();
        BuildNode(*node, std::move(node->segs));
        if (node->front) {
            pending.push_back(node->back.get());
            pending.push_back(node->front.get());
        }
    }
    return root;
}
