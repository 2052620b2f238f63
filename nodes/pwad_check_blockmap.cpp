// The built-map check of the blockmap: every list well formed, every
// linedef in every block it passes through.
#include <algorithm>
#include <cmath>

#include "base/little_endian.h"
#include "nodes/pwad_check_parts.h"

namespace pwad_check {
namespace {

struct BlockGrid {
    int ox, oy, columns, rows;
    std::vector<std::vector<uint16_t>> listed;  // by block, row by row
};

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
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

// The header and every block's list; false when the header or the offsets
// do not fit in the lump.
bool ReadBlockLists(const BuiltMap& map, BlockGrid& grid, Problems& problems) {
    const std::string& blockmap = map.blockmap;
    if (blockmap.size() < 8) {
        problems.Add("blockmap", "no header");
        return false;
    }
    grid.ox = ReadI16(blockmap, 0), grid.oy = ReadI16(blockmap, 2), grid.columns = ReadU16(blockmap, 4),
    grid.rows = ReadU16(blockmap, 6);
    const std::size_t words = blockmap.size() / 2;
    if (words < 4 + static_cast<std::size_t>(grid.columns) * grid.rows) {
        problems.Add("blockmap", "offsets do not fit");
        return false;
    }
    const auto numLines = static_cast<long>(map.linedefs.size());
    grid.listed.resize(static_cast<std::size_t>(grid.columns) * grid.rows);
    for (std::size_t block = 0; block < grid.listed.size(); ++block) {
        std::size_t w = ReadU16(blockmap, 2 * (4 + block));
        if (w >= words || ReadU16(blockmap, 2 * w) != 0) {
            problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " list does not start with 0");
            continue;
        }
        std::vector<uint16_t>& list = grid.listed[block];
        for (++w; w < words && ReadU16(blockmap, 2 * w) != 0xFFFF; ++w) {
            const uint16_t line = ReadU16(blockmap, 2 * w);
            if (line >= numLines || (!list.empty() && line <= list.back())) {
                problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " lists linedef " + Num(line));
            }
            list.push_back(line);
        }
        if (w >= words) problems.Add("blockmap", "block " + Num(static_cast<long long>(block)) + " list not ended");
    }
    return true;
}

// Whether the linedef can stop nothing that moves: two-sided with no
// special, no blocking flag and the same floor and ceiling on both sides,
// or facing only closed sectors (floor at the ceiling), where nothing moves.
// Some node builders (the game's own levels') leave such lines out of the
// blockmap, and the engines do not mind.
bool BlocksNothing(const BuiltMap& map, const LinedefRecord& line) {
    auto sector = [&](uint16_t side) -> const SectorRecord* {
        if (side >= map.sidedefs.size() || map.sidedefs[side].sector >= map.sectors.size()) return nullptr;
        return &map.sectors[map.sidedefs[side].sector];
    };
    const SectorRecord* front = sector(line.right);
    const SectorRecord* back = line.left == kNoSidedef ? nullptr : sector(line.left);
    if (!front || (line.left != kNoSidedef && !back)) return false;
    auto closed = [](const SectorRecord* s) { return !s || s->floorHeight >= s->ceilingHeight; };
    if (closed(front) && closed(back)) return true;
    return back && line.special == 0 && (line.flags & 3) == 0 && front->floorHeight == back->floorHeight &&
           front->ceilingHeight == back->ceilingHeight;
}

void CheckLinedefInBlocks(const BuiltMap& map, const BlockGrid& grid, long i, Problems& problems) {
    const int ox = grid.ox, oy = grid.oy, columns = grid.columns, rows = grid.rows;
    const V a = Point(map, map.linedefs[i].start), b = Point(map, map.linedefs[i].end);
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
            const auto& l = grid.listed[static_cast<std::size_t>(r) * columns + c];
            if (!std::binary_search(l.begin(), l.end(), static_cast<uint16_t>(i))) {
                problems.Add(!BlocksNothing(map, map.linedefs[i]), "blockmap",
                             "linedef " + Num(i) + " missing from block " + Num(c) + "," + Num(r));
            }
        }
    }
}

}  // namespace

void CheckBlockmap(const BuiltMap& map, Problems& problems) {
    BlockGrid grid;
    if (!ReadBlockLists(map, grid, problems)) return;
    for (long i = 0; i < static_cast<long>(map.linedefs.size()); ++i) CheckLinedefInBlocks(map, grid, i, problems);
}

}  // namespace pwad_check
