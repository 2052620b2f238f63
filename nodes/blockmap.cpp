// Blockmap building.
#include "nodes/blockmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/little_endian.h"
#include "model/map.h"
#include "nodes/bsp.h"
#include "nodes/bsp_output.h"
#include "nodes/sector_lookup.h"

namespace {

struct Line {
    float ax, ay, bx, by;
};

// Appends the block's list: 0, the linedefs touching it in linedef order,
// 0xFFFF. candidates holds, in linedef order, every linedef whose bounding
// box may reach the block; the others fail the first test anyway.
void MakeBlockList(std::vector<uint16_t>& words, const std::vector<Line>& lines, const std::vector<int32_t>& candidates,
                   int c, int r, int originX, int originY) {
    const float x0 = static_cast<float>(c * 128 + originX);
    const float y0 = static_cast<float>(r * 128 + originY);
    const float x1 = x0 + 128;
    const float y1 = y0 + 128;
    words.push_back(0);
    for (int32_t i : candidates) {
        const Line& l = lines[i];
        if ((l.ax < x0 && l.bx < x0) || (l.ax > x1 && l.bx > x1) || (l.ay < y0 && l.by < y0) ||
            (l.ay > y1 && l.by > y1)) {
            continue;
        }
        const float dx = l.bx - l.ax;
        const float dy = l.by - l.ay;
        bool taken = dx == 0 || dy == 0;
        if (!taken) {
            const Divline line = {l.ax, l.ay, dx, dy};
            if (dx * dy > 0)
                taken = PointSide(line, x0, y1) != PointSide(line, x1, y0);
            else
                taken = PointSide(line, x1, y1) != PointSide(line, x0, y0);
        }
        if (taken) words.push_back(static_cast<uint16_t>(i));
    }
    words.push_back(0xFFFF);
}

}  // namespace

std::string BuildBlockmap() {
    const int top = rootBox[0], bottom = rootBox[1], left = rootBox[2], right = rootBox[3];
    // The origin lies 8 units outside the map, but no further than 16 bits
    // reach: the grid must start at or before every vertex.
    const int originX = std::max(left - 8, -32768);
    const int originY = std::max(bottom - 8, -32768);
    const int columns = (right - originX + 135) / 128;
    const int rows = (top - originY + 135) / 128;
    std::vector<Line> lines;
    for (const Linedef* l = linedefs; l; l = l->next) {
        lines.push_back({l->startVertex->x, l->startVertex->y, l->endVertex->x, l->endVertex->y});
    }

    // Each linedef into the blocks its bounding box reaches, edges included.
    std::vector<std::vector<int32_t>> candidates(static_cast<std::size_t>(columns) * rows);
    auto block = [](float v, int origin) {
        return static_cast<int>(std::floor((v - static_cast<float>(origin)) / 128));
    };
    for (int32_t i = 0; i < static_cast<int32_t>(lines.size()); ++i) {
        const Line& l = lines[i];
        int c0 = std::max(0, block(std::min(l.ax, l.bx), originX) - 1);
        int c1 = std::min(columns - 1, block(std::max(l.ax, l.bx), originX));
        int r0 = std::max(0, block(std::min(l.ay, l.by), originY) - 1);
        int r1 = std::min(rows - 1, block(std::max(l.ay, l.by), originY));
        if (useReferenceLookups) c0 = r0 = 0, c1 = columns - 1, r1 = rows - 1;
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) candidates[static_cast<std::size_t>(r) * columns + c].push_back(i);
        }
    }

    std::vector<uint16_t> words = {static_cast<uint16_t>(originX), static_cast<uint16_t>(originY),
                                   static_cast<uint16_t>(columns), static_cast<uint16_t>(rows)};
    words.resize(4 + static_cast<std::size_t>(columns) * rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (words.size() > 0xFFFF) FailBuild("BuildBlockmap: BLOCKMAP が大きすぎます");
            words[4 + static_cast<std::size_t>(r) * columns + c] = static_cast<uint16_t>(words.size());
            MakeBlockList(words, lines, candidates[static_cast<std::size_t>(r) * columns + c], c, r, originX, originY);
        }
    }
    if (words.size() > 0x10000) FailBuild("BuildBlockmap: BLOCKMAP が大きすぎます");
    std::string lump;
    lump.reserve(words.size() * 2);
    for (uint16_t w : words) PutU16(lump, w);
    return lump;
}
