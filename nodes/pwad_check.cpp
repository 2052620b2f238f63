// The built-map validator.
#include "nodes/pwad_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>

namespace {

// Vertex positions are whole units and seg ends were cut from exact
// positions: a point may lie this far from where the exact one was.
constexpr double kSlack = 1.5;

struct Problems {
    std::vector<std::string> list;
    std::map<std::string, int> perKind;
    void Add(const std::string& kind, const std::string& detail) {
        if (++perKind[kind] <= 3) list.push_back(kind + ": " + detail);
        else if (perKind[kind] == 4) list.push_back(kind + ": ...");
    }
};

struct V {
    double x, y;
};

// Signed distance of p from the directed line a->b: negative on the right (front).
double Distance(V a, V b, V p) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return 0;
    return ((p.y - a.y) * dx - (p.x - a.x) * dy) / len;
}

bool SegmentMeetsBox(V a, V b, double x0, double y0, double x1, double y1) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

std::string Num(long long n) { return std::to_string(n); }

}  // namespace

std::vector<std::string> CheckBuiltMap(const WadFile& wad, const std::string& marker, bool ownLayout) {
    Problems problems;
    const int at = FindLump(wad, marker);
    if (at < 0) return {"no lump " + marker};
    static const char* const kOrder[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",
                                         "SSECTORS", "NODES", "SECTORS", "REJECT", "BLOCKMAP"};
    static const int kSizes[] = {10, 14, 30, 4, 12, 4, 28, 26, 1, 2};
    std::string lump[10];
    for (int i = 0; i < 10; ++i) {
        const int index = at + 1 + i;
        if (index >= static_cast<int>(wad.lumps.size()) || wad.lumps[index].name != kOrder[i]) {
            problems.Add("lump order", std::string(kOrder[i]) + " is not lump " + Num(i + 1) + " after " + marker);
            return problems.list;
        }
        lump[i] = LumpBytes(wad, index);
        if (lump[i].size() % kSizes[i] != 0) problems.Add("lump size", std::string(kOrder[i]) + " size " + Num(lump[i].size()));
    }
    if (ownLayout) {
        if (wad.kind != "PWAD" || wad.lumps.size() != 11 || at != 0) problems.Add("layout", "not a PWAD of 11 lumps");
        uint32_t expected = 12;
        for (std::size_t i = 0; i < wad.lumps.size(); ++i) {
            if (wad.lumps[i].offset != expected) problems.Add("layout", wad.lumps[i].name + " not right after the lump before it");
            expected = wad.lumps[i].offset + wad.lumps[i].size;
        }
        if (ReadU32(wad.bytes, 8) != expected || wad.bytes.size() != expected + 16 * wad.lumps.size()) {
            problems.Add("layout", "directory not right after the lumps");
        }
    }
    if (!problems.list.empty()) return problems.list;

    const std::string &things = lump[0], &lines = lump[1], &sides = lump[2], &verts = lump[3], &segs = lump[4],
                      &subs = lump[5], &nodes = lump[6], &sectors = lump[7], &reject = lump[8], &blockmap = lump[9];
    const long numLines = static_cast<long>(lines.size() / 14), numSides = static_cast<long>(sides.size() / 30),
               numVerts = static_cast<long>(verts.size() / 4), numSegs = static_cast<long>(segs.size() / 12),
               numSubs = static_cast<long>(subs.size() / 4), numNodes = static_cast<long>(nodes.size() / 28),
               numSectors = static_cast<long>(sectors.size() / 26);
    (void)things;
    auto vertex = [&](long n) { return V{static_cast<double>(ReadI16(verts, 4 * n)), static_cast<double>(ReadI16(verts, 4 * n + 2))}; };

    for (long i = 0; i < numLines; ++i) {
        const uint16_t v1 = ReadU16(lines, 14 * i), v2 = ReadU16(lines, 14 * i + 2), flags = ReadU16(lines, 14 * i + 4);
        const uint16_t right = ReadU16(lines, 14 * i + 10), left = ReadU16(lines, 14 * i + 12);
        if (v1 >= numVerts || v2 >= numVerts) problems.Add("linedef vertex", "linedef " + Num(i));
        if (right >= numSides) problems.Add("linedef sidedef", "linedef " + Num(i) + " right side " + Num(right));
        if (left != 0xFFFF && left >= numSides) problems.Add("linedef sidedef", "linedef " + Num(i) + " left side " + Num(left));
        if (left != 0xFFFF && !(flags & 4)) problems.Add("two-sided flag", "linedef " + Num(i));
    }
    for (long i = 0; i < numSides; ++i) {
        if (ReadU16(sides, 30 * i + 28) >= numSectors) problems.Add("sidedef sector", "sidedef " + Num(i));
    }
    if (!problems.list.empty()) return problems.list;

    for (long i = 0; i < numSegs; ++i) {
        const std::size_t b = 12 * static_cast<std::size_t>(i);
        const uint16_t v1 = ReadU16(segs, b), v2 = ReadU16(segs, b + 2), angle = ReadU16(segs, b + 4),
                       line = ReadU16(segs, b + 6);
        const int16_t side = ReadI16(segs, b + 8), offset = ReadI16(segs, b + 10);
        if (v1 >= numVerts || v2 >= numVerts || line >= numLines || (side != 0 && side != 1)) {
            problems.Add("seg reference", "seg " + Num(i));
            continue;
        }
        if (side == 1 && ReadU16(lines, 14 * line + 12) == 0xFFFF) {
            problems.Add("seg side", "seg " + Num(i) + " on the missing left side of linedef " + Num(line));
            continue;
        }
        V a = vertex(ReadU16(lines, 14 * line)), e = vertex(ReadU16(lines, 14 * line + 2));
        if (side == 1) std::swap(a, e);
        const V p = vertex(v1), q = vertex(v2);
        const double dx = e.x - a.x, dy = e.y - a.y, len = std::sqrt(dx * dx + dy * dy);
        const double tp = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len, tq = ((q.x - a.x) * dx + (q.y - a.y) * dy) / len;
        if (std::fabs(Distance(a, e, p)) > kSlack || std::fabs(Distance(a, e, q)) > kSlack || tp < -kSlack ||
            tq > len + kSlack || tq < tp - kSlack) {
            problems.Add("seg off its linedef", "seg " + Num(i) + " of linedef " + Num(line));
            continue;
        }
        if (std::fabs(offset - tp) > kSlack + 1) problems.Add("seg offset", "seg " + Num(i) + " offset " + Num(offset) + ", about " + Num(std::lround(tp)) + " expected");
        const double expected = std::atan2(dy, dx) / (2 * std::numbers::pi) * 65536.0;
        double diff = std::fmod(std::fabs(angle - expected), 65536.0);
        diff = std::min(diff, 65536.0 - diff);
        const double allowed = std::atan2(2.0, len) / (2 * std::numbers::pi) * 65536.0 + 2;
        if (diff > allowed) problems.Add("seg angle", "seg " + Num(i) + " angle " + Num(angle) + ", about " + Num(std::lround(expected)) + " expected");
    }

    std::vector<int> owner(static_cast<std::size_t>(numSegs), -1);
    for (long s = 0; s < numSubs; ++s) {
        const uint16_t count = ReadU16(subs, 4 * s), first = ReadU16(subs, 4 * s + 2);
        if (count == 0 || first + count > numSegs) {
            problems.Add("subsector segs", "subsector " + Num(s));
            continue;
        }
        for (long k = first; k < first + count; ++k) {
            if (owner[k] >= 0) problems.Add("subsector segs", "seg " + Num(k) + " in two subsectors");
            owner[k] = static_cast<int>(s);
        }
        // Convex: every seg end lies in front of (right of) or on every seg's
        // line. The line is taken through the seg's start in the direction
        // of its angle: whole-unit ends of a short seg point elsewhere.
        for (long i = first; i < first + count; ++i) {
            const V a = vertex(ReadU16(segs, 12 * i));
            const double angle = ReadU16(segs, 12 * i + 4) * (2 * std::numbers::pi / 65536.0);
            const V b = {a.x + 1024 * std::cos(angle), a.y + 1024 * std::sin(angle)};
            for (long j = first; j < first + count; ++j) {
                for (int end = 0; end < 2; ++end) {
                    const V p = vertex(ReadU16(segs, 12 * j + 2 * end));
                    if (Distance(a, b, p) > 2 * kSlack) {
                        problems.Add("subsector not convex", "subsector " + Num(s) + ", seg " + Num(j) + " behind seg " + Num(i));
                        j = first + count;
                        break;
                    }
                }
            }
        }
    }
    for (long k = 0; k < numSegs; ++k) {
        if (owner[k] < 0) problems.Add("subsector segs", "seg " + Num(k) + " in no subsector");
    }
    if (numNodes == 0 && numSubs != 1) problems.Add("nodes", "no nodes for " + Num(numSubs) + " subsectors");

    // The tree from the root (the last node): children numbered below their
    // parent, every node and subsector reached once, every seg end within
    // its boxes and on the right side of every partition line above it.
    std::vector<int> nodeSeen(static_cast<std::size_t>(numNodes), 0), subSeen(static_cast<std::size_t>(numSubs), 0);
    struct Bound {
        V a, b;     // a partition line, written direction
        bool back;  // the subtree lies behind it
        long node;
    };
    std::vector<Bound> bounds;
    auto subVertices = [&](long s, auto&& visit) {
        const uint16_t count = ReadU16(subs, 4 * s), first = ReadU16(subs, 4 * s + 2);
        for (long k = first; k < first + count && k < numSegs; ++k) {
            visit(vertex(ReadU16(segs, 12 * k)));
            visit(vertex(ReadU16(segs, 12 * k + 2)));
        }
    };
    // Returns the bounding box (top, bottom, left, right) of the subtree's seg ends.
    auto walk = [&](auto&& self, uint16_t child, long parent, double box[4]) -> void {
        box[0] = -1e9, box[1] = 1e9, box[2] = 1e9, box[3] = -1e9;
        auto widen = [&](V p) {
            box[0] = std::max(box[0], p.y), box[1] = std::min(box[1], p.y);
            box[2] = std::min(box[2], p.x), box[3] = std::max(box[3], p.x);
        };
        if (child & 0x8000) {
            const long s = child & 0x7FFF;
            if (s >= numSubs || subSeen[s]++) {
                problems.Add("node child", "subsector " + Num(s) + " out of range or reached twice");
                return;
            }
            subVertices(s, [&](V p) {
                widen(p);
                for (const Bound& bound : bounds) {
                    const double d = Distance(bound.a, bound.b, p);
                    if (bound.back ? d < -kSlack : d > kSlack) {
                        problems.Add("seg beside its node's line", "subsector " + Num(s) + " point (" + Num(std::lround(p.x)) + "," +
                                                                       Num(std::lround(p.y)) + ") " + Num(std::lround(std::fabs(d))) +
                                                                       " units on the wrong side of node " + Num(bound.node));
                    }
                }
            });
            return;
        }
        const long n = child;
        if (n >= numNodes || (parent >= 0 && n >= parent) || nodeSeen[n]++) {
            problems.Add("node child", "node " + Num(n) + " out of order or reached twice");
            return;
        }
        const std::size_t b = 28 * static_cast<std::size_t>(n);
        const V a = {static_cast<double>(ReadI16(nodes, b)), static_cast<double>(ReadI16(nodes, b + 2))};
        const V e = {a.x + ReadI16(nodes, b + 4), a.y + ReadI16(nodes, b + 6)};
        if (a.x == e.x && a.y == e.y) problems.Add("node line", "node " + Num(n) + " has no direction");
        for (int c = 0; c < 2; ++c) {
            double childBox[4];
            bounds.push_back({a, e, c == 1, n});
            self(self, ReadU16(nodes, b + 24 + 2 * c), n, childBox);
            bounds.pop_back();
            const std::size_t boxAt = b + 8 + 8 * c;
            const double top = ReadI16(nodes, boxAt), bottom = ReadI16(nodes, boxAt + 2),
                         left = ReadI16(nodes, boxAt + 4), right = ReadI16(nodes, boxAt + 6);
            if (childBox[0] >= childBox[1] && (childBox[0] > top + 1 || childBox[1] < bottom - 1 || childBox[2] < left - 1 || childBox[3] > right + 1)) {
                problems.Add("node box", "node " + Num(n) + (c ? " left" : " right") + " box does not hold its segs");
            }
            box[0] = std::max(box[0], childBox[0]), box[1] = std::min(box[1], childBox[1]);
            box[2] = std::min(box[2], childBox[2]), box[3] = std::max(box[3], childBox[3]);
        }
    };
    double rootBox[4];
    if (numNodes > 0) {
        walk(walk, static_cast<uint16_t>(numNodes - 1), -1, rootBox);
        for (long n = 0; n < numNodes; ++n) {
            if (!nodeSeen[n]) problems.Add("node child", "node " + Num(n) + " not in the tree");
        }
        for (long s = 0; s < numSubs; ++s) {
            if (!subSeen[s]) problems.Add("node child", "subsector " + Num(s) + " not in the tree");
        }
    }

    if (static_cast<long>(reject.size()) < (numSectors * numSectors + 7) / 8) problems.Add("reject", "too small");
    if (ownLayout && static_cast<long>(reject.size()) != (numSectors * numSectors + 7) / 8) problems.Add("reject", "size");

    // Blockmap: every list well formed, every linedef in every block it passes through.
    if (blockmap.size() < 8) {
        problems.Add("blockmap", "no header");
        return problems.list;
    }
    const int ox = ReadI16(blockmap, 0), oy = ReadI16(blockmap, 2), columns = ReadU16(blockmap, 4), rows = ReadU16(blockmap, 6);
    const std::size_t words = blockmap.size() / 2;
    if (words < 4 + static_cast<std::size_t>(columns) * rows) {
        problems.Add("blockmap", "offsets do not fit");
        return problems.list;
    }
    std::vector<std::vector<uint16_t>> listed(static_cast<std::size_t>(columns) * rows);
    for (std::size_t block = 0; block < listed.size(); ++block) {
        std::size_t w = ReadU16(blockmap, 2 * (4 + block));
        if (w >= words || ReadU16(blockmap, 2 * w) != 0) {
            problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " list does not start with 0");
            continue;
        }
        for (++w; w < words && ReadU16(blockmap, 2 * w) != 0xFFFF; ++w) {
            const uint16_t line = ReadU16(blockmap, 2 * w);
            if (line >= numLines || (!listed[block].empty() && line <= listed[block].back())) {
                problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " lists linedef " + Num(line));
            }
            listed[block].push_back(line);
        }
        if (w >= words) problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " list not ended");
    }
    for (long i = 0; i < numLines; ++i) {
        const V a = vertex(ReadU16(lines, 14 * i)), b = vertex(ReadU16(lines, 14 * i + 2));
        for (const V& p : {a, b}) {
            if (p.x < ox || p.y < oy || p.x > ox + 128.0 * columns || p.y > oy + 128.0 * rows) {
                problems.Add("blockmap", "linedef " + Num(i) + " outside the grid");
            }
        }
        const int c0 = std::max(0, static_cast<int>(std::floor((std::min(a.x, b.x) - ox) / 128)));
        const int c1 = std::min(columns - 1, static_cast<int>(std::floor((std::max(a.x, b.x) - ox) / 128)));
        const int r0 = std::max(0, static_cast<int>(std::floor((std::min(a.y, b.y) - oy) / 128)));
        const int r1 = std::min(rows - 1, static_cast<int>(std::floor((std::max(a.y, b.y) - oy) / 128)));
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                // Well inside the block: the exact line surely touches it.
                const double x0 = ox + 128.0 * c, y0 = oy + 128.0 * r;
                if (!SegmentMeetsBox(a, b, x0 + 1, y0 + 1, x0 + 127, y0 + 127)) continue;
                const auto& l = listed[static_cast<std::size_t>(r) * columns + c];
                if (!std::binary_search(l.begin(), l.end(), static_cast<uint16_t>(i))) {
                    problems.Add("blockmap", "linedef " + Num(i) + " missing from block " + Num(c) + "," + Num(r));
                }
            }
        }
    }
    return problems.list;
}
