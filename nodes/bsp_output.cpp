// BSP output: post-order node numbering, front-first subsectors.
#include "nodes/bsp_output.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "base/report.h"
#include "model/map.h"

std::vector<InvisibleLine> invisibleLines;
std::vector<std::vector<PolygonPoint>> subsectorPolygons;
std::vector<SegList> portalLists;
int16_t rootBox[4] = {0, 0, 0, 0};

namespace {

enum { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

struct RunningBox {
    float top, bottom, left, right;
};
RunningBox box;

// Whether each linedef, by number, is two-sided, for the portal lists.
std::vector<uint8_t> twoSided;

int32_t EmitSubsectorSegs(SegList& segs, Lumps& lumps) {
    SegList portals;
    box = {-2147483648.0f, 2147483648.0f, 2147483648.0f, -2147483648.0f};
    int32_t invisible = 0;
    for (Seg& s : segs) {
        if (s.emitted) LogDebug("ERROR: line regrouped\n");
        s.emitted = 1;
        if (IsInvisible(s)) {
            portals.push_back(s);
            ++invisible;
            continue;
        }
        if (s.linedef >= 0 && s.linedef < static_cast<int32_t>(twoSided.size()) && twoSided[s.linedef]) {
            portals.push_back(s);
        }
        box.top = std::max({box.top, s.y1, s.y2});
        box.bottom = std::min({box.bottom, s.y1, s.y2});
        box.left = std::min({box.left, s.x1, s.x2});
        box.right = std::max({box.right, s.x1, s.x2});
        const uint16_t start = FindOrAddVertex(lumps, TruncateToInt16(s.x1), TruncateToInt16(s.y1));
        const uint16_t end = FindOrAddVertex(lumps, TruncateToInt16(s.x2), TruncateToInt16(s.y2));
        const float dx = s.x2 - s.x1;
        const float dy = s.y2 - s.y1;
        const float a = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
        const auto angle = static_cast<int32_t>(static_cast<double>(a) / 6.28318530718 * 65536.0);
        lumps.segs.push_back({start, end, static_cast<uint16_t>(angle), static_cast<uint16_t>(s.linedef),
                              static_cast<int16_t>(s.side), TruncateToInt16(s.offset)});
    }
    portalLists.push_back(std::move(portals));
    return invisible;
}

int32_t ProcessSubsector(SegList& segs, Lumps& lumps) {
    const auto count = static_cast<int32_t>(segs.size());
    if (count < 1) FailBuild("ProcessSubsector: count = %i", count);
    const auto first = static_cast<uint16_t>(lumps.segs.size());
    const int32_t invisible = EmitSubsectorSegs(segs, lumps);
    const int32_t written = count - invisible;
    if (written < 1) FailBuild("ProcessSubsector: a subsector has no seg to write");
    lumps.subsectors.push_back({static_cast<uint16_t>(written), first});
    return static_cast<int32_t>(lumps.subsectors.size()) - 1;
}

// The written partition line: the partition seg's linedef as its vertices
// are written, turned round for a seg on the left side, so that the game
// sorts by the line the tree was built on.
std::vector<const Linedef*> linedefByNumber;

// A partition line's direction in 16 bits. Only the direction counts, so
// one too long for 16 bits is shortened: exactly when its two parts share a
// factor, else to the nearest direction that fits.
void FitDirection(int32_t& dx, int32_t& dy) {
    auto fits = [&] { return dx >= -32768 && dx <= 32767 && dy >= -32768 && dy <= 32767; };
    if (fits()) return;
    const int32_t common = std::gcd(dx, dy);
    dx /= common, dy /= common;
    if (fits()) return;
    const double scale = 32767.0 / std::max(std::abs(dx), std::abs(dy));
    dx = static_cast<int32_t>(std::lround(dx * scale));
    dy = static_cast<int32_t>(std::lround(dy * scale));
}

void PartitionLine(const BspNode& node, NodeRecord& record) {
    const Linedef* l = nullptr;
    if (node.partitionLinedef >= 0 && node.partitionLinedef < static_cast<int32_t>(linedefByNumber.size())) {
        l = linedefByNumber[node.partitionLinedef];
    }
    int32_t dx, dy;
    if (!l) {
        record.x = TruncateToInt16(node.x);
        record.y = TruncateToInt16(node.y);
        // A partition seg's extent is below 65536 but may not fit in 16 bits.
        dx = static_cast<int32_t>(node.dx);
        dy = static_cast<int32_t>(node.dy);
    } else {
        const Vertex* from = node.partitionSide == 1 ? l->endVertex : l->startVertex;
        const Vertex* to = node.partitionSide == 1 ? l->startVertex : l->endVertex;
        record.x = TruncateToInt16(from->x);
        record.y = TruncateToInt16(from->y);
        dx = TruncateToInt16(to->x) - record.x;
        dy = TruncateToInt16(to->y) - record.y;
    }
    FitDirection(dx, dy);
    record.dx = static_cast<int16_t>(dx);
    record.dy = static_cast<int16_t>(dy);
}

uint16_t EmitLeaf(BspNode& node, int16_t out[4], Lumps& lumps) {
    CheckSubsector(*node.segs);
    const int32_t number = ProcessSubsector(*node.segs, lumps);
    node.segs.reset();
    out[kTop] = TruncateToInt16(box.top);
    out[kBottom] = TruncateToInt16(box.bottom);
    out[kLeft] = TruncateToInt16(box.left);
    out[kRight] = TruncateToInt16(box.right);
    if (number > 0x7FFF) FailBuild("EmitNode: SSECTORS が %d 個より多くなります", 0x7FFF + 1);
    return static_cast<uint16_t>(number | kSubsectorChild);
}

// A node whose children are being emitted, right first.
struct EmitFrame {
    BspNode* node;
    NodeRecord record;
    int next;  // 0 the right child, 1 the left one, 2 both done
};

// Emits the tree in post order (a node after its right, then its left
// subtree) with a stack of its own, so that no depth of the tree can
// overflow the program's stack. Returns the root's child number; out gets
// its box.
uint16_t EmitNode(BspNode& root, int16_t out[4], Lumps& lumps) {
    if (root.segs) return EmitLeaf(root, out, lumps);
    std::vector<EmitFrame> stack;
    auto push = [&](BspNode& node) {
        EmitFrame frame{&node, {}, 0};
        PartitionLine(node, frame.record);
        stack.push_back(frame);
    };
    push(root);
    while (true) {
        EmitFrame& frame = stack.back();
        if (frame.next < 2) {
            const bool right = frame.next++ == 0;
            BspNode& child = right ? *frame.node->front : *frame.node->back;
            if (child.segs) {
                (right ? frame.record.right : frame.record.left) =
                    EmitLeaf(child, right ? frame.record.rightBox : frame.record.leftBox, lumps);
            } else {
                push(child);  // frame is not used after this
            }
            continue;
        }
        const NodeRecord record = frame.record;
        stack.pop_back();
        lumps.nodes.push_back(record);
        const int16_t nodeBox[4] = {std::max(record.rightBox[kTop], record.leftBox[kTop]),
                                    std::min(record.rightBox[kBottom], record.leftBox[kBottom]),
                                    std::min(record.rightBox[kLeft], record.leftBox[kLeft]),
                                    std::max(record.rightBox[kRight], record.leftBox[kRight])};
        const auto number = static_cast<int32_t>(lumps.nodes.size()) - 1;
        if (number > 0x7FFF) FailBuild("EmitNode: NODES が %d 個より多くなります", 0x7FFF + 1);
        if (stack.empty()) {
            std::copy(nodeBox, nodeBox + 4, out);
            return static_cast<uint16_t>(number);
        }
        EmitFrame& parent = stack.back();
        const bool wasRight = parent.next == 1;
        (wasRight ? parent.record.right : parent.record.left) = static_cast<uint16_t>(number);
        std::copy(nodeBox, nodeBox + 4, wasRight ? parent.record.rightBox : parent.record.leftBox);
    }
}

}  // namespace

int16_t TruncateToInt16(float value) {
    if (!(value > -2147483649.0f && value < 2147483648.0f)) return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(value) & 0xFFFF));
}

void ClearBuildTables() {
    invisibleLines.clear();
    subsectorPolygons.clear();
    portalLists.clear();
}

uint16_t FindOrAddVertex(Lumps& lumps, int16_t x, int16_t y) {
    const uint32_t key = (static_cast<uint32_t>(static_cast<uint16_t>(x)) << 16) | static_cast<uint16_t>(y);
    auto found = lumps.vertexNumbers.find(key);
    if (found != lumps.vertexNumbers.end()) return found->second;
    const auto number = lumps.vertexes.size();
    if (number > 0xFFFF) FailBuild("FindOrAddVertex: VERTEXES が %d 個より多くなります", 0xFFFF + 1);
    lumps.vertexes.push_back({x, y});
    lumps.vertexNumbers.emplace(key, static_cast<uint16_t>(number));
    return static_cast<uint16_t>(number);
}

void CheckSubsector(const SegList& segs) {
    const auto n = static_cast<int32_t>(segs.size());
    // Every subsector has an entry, empty when its outline is not known, so
    // that entry i is always subsector i for the PVS pass and the view.
    if (n == 0) {
        LogDebug("CheckSubsector: a subsector has not any seg\n");
        subsectorPolygons.emplace_back();
        return;
    }
    if (n < 3) LogDebug("CheckSubsector: a subsector has only one or two segs\n");
    for (const Seg& s : segs) {
        if (IsInvisible(s)) invisibleLines.push_back({s.x1, s.y1, s.x2, s.y2});
    }
    for (const Seg& s : segs) {
        if (SegLength(s) < 1.0f) LogDebug("CheckSubsector: a subsector has a seg of the length less than 1.0\n");
    }
    bool convex = true;
    for (int32_t i = 0; i < n && convex; ++i) {
        const Divline line = SegLine(segs[i]);
        for (int32_t j = 0; j < n; ++j) {
            if (j != i && SegSide(segs[j], line) != 0) {
                LogDebug("CheckSubsector: a subsector is not convex\n");
                convex = false;
                break;
            }
        }
    }

    std::vector<PolygonPoint> polygon = {{segs[0].x1, segs[0].y1}};
    float ex = segs[0].x2;
    float ey = segs[0].y2;
    while (!PointsNear(ex, ey, polygon[0].x, polygon[0].y)) {
        polygon.push_back({ex, ey});
        const Seg* next = nullptr;
        for (int32_t j = 1; j < n; ++j) {
            if (PointsNear(segs[j].x1, segs[j].y1, ex, ey)) {
                next = &segs[j];
                break;
            }
        }
        // A walk that finds no way on, or goes round without coming back to
        // its first point, does not close.
        if (!next || static_cast<int32_t>(polygon.size()) > n) {
            LogDebug("CheckSubsector: a subsector is not closed\n");
            subsectorPolygons.emplace_back();
            return;
        }
        ex = next->x2;
        ey = next->y2;
    }
    if (static_cast<int32_t>(polygon.size()) != n) {
        LogDebug("CheckSubsector: the numbers of the segs and the vertices do not match\n");
    }
    subsectorPolygons.push_back(std::move(polygon));
}

void EmitBsp(BspNode& root, Lumps& lumps) {
    lumps.segs.clear();
    lumps.subsectors.clear();
    lumps.nodes.clear();
    portalLists.clear();
    twoSided.clear();
    linedefByNumber.clear();
    for (const Linedef* l = linedefs; l; l = l->next) {
        twoSided.push_back(l->left.sector ? 1 : 0);
        linedefByNumber.push_back(l);
    }
    EmitNode(root, rootBox, lumps);
    twoSided.clear();
    linedefByNumber.clear();
    if (lumps.segs.size() > 0x10000) FailBuild("EmitBsp: SEGS が %d 個より多くなります", 0x10000);
}
