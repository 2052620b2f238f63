// BSP output: post-order node numbering, front-first subsectors.
#include "nodes/bsp_output.h"

#include <algorithm>
#include <cmath>

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

void PartitionLine(const BspNode& node, int16_t line[4]) {
    const Linedef* l = nullptr;
    if (node.partitionLinedef >= 0 && node.partitionLinedef < static_cast<int32_t>(linedefByNumber.size())) {
        l = linedefByNumber[node.partitionLinedef];
    }
    if (!l) {
        line[0] = TruncateToInt16(node.x);
        line[1] = TruncateToInt16(node.y);
        line[2] = TruncateToInt16(node.dx);
        line[3] = TruncateToInt16(node.dy);
        return;
    }
    const Vertex* from = node.partitionSide == 1 ? l->endVertex : l->startVertex;
    const Vertex* to = node.partitionSide == 1 ? l->startVertex : l->endVertex;
    line[0] = TruncateToInt16(from->x);
    line[1] = TruncateToInt16(from->y);
    line[2] = static_cast<int16_t>(TruncateToInt16(to->x) - line[0]);
    line[3] = static_cast<int16_t>(TruncateToInt16(to->y) - line[1]);
}

uint16_t EmitNode(BspNode& node, int16_t out[4], Lumps& lumps) {
    if (node.segs) {
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
    int16_t line[4];
    PartitionLine(node, line);
    NodeRecord record{line[0], line[1], line[2], line[3], {}, {}, 0, 0};
    record.right = EmitNode(*node.front, record.rightBox, lumps);
    record.left = EmitNode(*node.back, record.leftBox, lumps);
    lumps.nodes.push_back(record);
    const int16_t* rightBox = record.rightBox;
    const int16_t* leftBox = record.leftBox;
    out[kTop] = std::max(rightBox[kTop], leftBox[kTop]);
    out[kBottom] = std::min(rightBox[kBottom], leftBox[kBottom]);
    out[kLeft] = std::min(rightBox[kLeft], leftBox[kLeft]);
    out[kRight] = std::max(rightBox[kRight], leftBox[kRight]);
    const auto number = static_cast<int32_t>(lumps.nodes.size()) - 1;
    if (number > 0x7FFF) FailBuild("EmitNode: NODES が %d 個より多くなります", 0x7FFF + 1);
    return static_cast<uint16_t>(number);
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
