// The chain of portals a PVS flood follows from one source, and the test
// whether a straight line may still pass all of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/geometry.h"
#include "nodes/pvs.h"

// The chain of portals being followed from one source.
struct Chain {
    std::vector<int32_t> subsector;
    std::vector<float> sx, sy, ex, ey;  // start and end points of the link leaving each position
    void Resize(std::size_t n) {
        for (auto* v : {&sx, &sy, &ex, &ey}) v->resize(n);
        subsector.resize(n);
    }
    void Set(int32_t d, int32_t s, const PortalLink& l) {
        subsector[d] = s;
        sx[d] = l.startX, sy[d] = l.startY, ex[d] = l.endX, ey[d] = l.endY;
    }
    bool Cross(int32_t i, int32_t j, int32_t l, int32_t m) const {
        return SegmentsCross(sx[i], sy[i], sx[j], sy[j], ex[l], ey[l], ex[m], ey[m]);
    }
    // Whether a line may pass positions 0 to k - 1: no segment between two
    // start points crosses one between two end points.
    bool OpenAll(int32_t k) const {
        for (int32_t i = 0; i < k; ++i)
            for (int32_t j = i + 1; j < k; ++j)
                for (int32_t l = 0; l < k; ++l)
                    for (int32_t m = l + 1; m < k; ++m)
                        if (Cross(i, j, l, m)) return false;
        return true;
    }
};

// The fast flood's chain: beside the points it keeps, for every pair of
// start points the side of each end point, and for every pair of end points
// the side of each start point - the signs SegmentsCross compares - as bit
// sets. Adding position d computes only the signs that involve d, and the
// new crossing pairs are found a whole bit set at a time.
struct SignedChain : Chain {
    int32_t capacity = 0;  // positions the sign sets have room for
    std::size_t width = 0;  // words of one bit set
    std::vector<uint64_t> endSides;    // by start pair (i, j): bit l = side of end point l
    std::vector<uint64_t> startSides;  // by end pair (l, m): bit i = side of start point i
    std::vector<uint64_t> byEnd;       // scratch, by end point l: bit i = side of l against start pair (i, d)
    std::vector<uint64_t> byStart;     // scratch, by start point i: bit l = side of i against end pair (l, d)

    static std::size_t PairIndex(int32_t i, int32_t j) { return static_cast<std::size_t>(j) * (j - 1) / 2 + i; }
    uint64_t* EndSides(int32_t i, int32_t j) { return &endSides[PairIndex(i, j) * width]; }
    uint64_t* StartSides(int32_t l, int32_t m) { return &startSides[PairIndex(l, m) * width]; }
    static bool Bit(const uint64_t* bits, int32_t k) { return (bits[k >> 6] >> (k & 63)) & 1; }
    static void SetBit(uint64_t* bits, int32_t k, bool on) {
        const uint64_t mask = uint64_t{1} << (k & 63);
        if (on) bits[k >> 6] |= mask;
        else bits[k >> 6] &= ~mask;
    }

    void Reserve(int32_t positions) {
        if (positions <= capacity) return;
        const int32_t grown = std::max({positions, 2 * capacity, 64});
        const std::size_t grownWidth = (static_cast<std::size_t>(grown) + 63) / 64;
        const std::size_t pairs = PairIndex(0, grown);
        std::vector<uint64_t> ends(pairs * grownWidth, 0), starts(pairs * grownWidth, 0);
        for (std::size_t p = 0; p < PairIndex(0, capacity); ++p) {
            for (std::size_t w = 0; w < width; ++w) {
                ends[p * grownWidth + w] = endSides[p * width + w];
                starts[p * grownWidth + w] = startSides[p * width + w];
            }
        }
        endSides.swap(ends);
        startSides.swap(starts);
        capacity = grown;
        width = grownWidth;
        byEnd.assign(static_cast<std::size_t>(grown) * width, 0);
        byStart.assign(static_cast<std::size_t>(grown) * width, 0);
    }

    // The sign SegmentsCross takes for end point l against start pair (i, j).
    bool EndSide(int32_t i, int32_t j, int32_t l) const {
        const float exx = sx[j] - sx[i];
        const float exy = sy[j] - sy[i];
        return ((ey[l] - sy[i]) * exx - (ex[l] - sx[i]) * exy) >= 0;
    }
    // The sign for start point i against end pair (l, m).
    bool StartSide(int32_t l, int32_t m, int32_t i) const {
        const float fx = ex[m] - ex[l];
        const float fy = ey[m] - ey[l];
        return (fx * (sy[i] - ey[l]) - fy * (sx[i] - ex[l])) >= 0;
    }

    // Whether positions 0 to d stay open, 0 to d - 1 being open: no segment
    // between start points crosses one between end points, of the pairs
    // that use position d.
    bool OpenWithNewest(int32_t d) {
        Reserve(d + 1);
        const std::size_t used = static_cast<std::size_t>(d) / 64 + 1;  // words for bits 0 to d
        uint64_t below[8];  // mask of bits 0 to d - 1 (chains stay far below 512 portals)
        if (used > 8) return OpenWithNewestSlowly(d);
        for (std::size_t w = 0; w < used; ++w) {
            const int64_t from = static_cast<int64_t>(w) * 64;
            below[w] = d - from >= 64 ? ~uint64_t{0} : (d - from <= 0 ? 0 : (uint64_t{1} << (d - from)) - 1);
        }
        for (int32_t k = 0; k <= d; ++k) {
            for (std::size_t w = 0; w < used; ++w) byEnd[k * width + w] = byStart[k * width + w] = 0;
        }
        for (int32_t i = 0; i < d; ++i) {
            uint64_t* e = EndSides(i, d);
            for (std::size_t w = 0; w < used; ++w) e[w] = 0;
            for (int32_t l = 0; l <= d; ++l) {
                if (EndSide(i, d, l)) {
                    SetBit(e, l, true);
                    SetBit(&byEnd[l * width], i, true);
                }
            }
        }
        for (int32_t j = 1; j < d; ++j)
            for (int32_t i = 0; i < j; ++i) SetBit(EndSides(i, j), d, EndSide(i, j, d));
        for (int32_t l = 0; l < d; ++l) {
            uint64_t* st = StartSides(l, d);
            for (std::size_t w = 0; w < used; ++w) st[w] = 0;
            for (int32_t i = 0; i <= d; ++i) {
                if (StartSide(l, d, i)) {
                    SetBit(st, i, true);
                    SetBit(&byStart[i * width], l, true);
                }
            }
        }
        for (int32_t m = 1; m < d; ++m)
            for (int32_t l = 0; l < m; ++l) SetBit(StartSides(l, m), d, StartSide(l, m, d));

        // Start pairs (i, d), all i at once, against each end pair (l, m).
        for (int32_t m = 1; m <= d; ++m) {
            for (int32_t l = 0; l < m; ++l) {
                const uint64_t* st = StartSides(l, m);
                const uint64_t flip = Bit(st, d) ? ~uint64_t{0} : 0;
                const uint64_t* el = &byEnd[l * width];
                const uint64_t* em = &byEnd[m * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((st[w] ^ flip) & (el[w] ^ em[w]) & below[w]) return false;
                }
            }
        }
        // Older start pairs (i, j) against the end pairs (l, d), all l at once.
        for (int32_t j = 1; j < d; ++j) {
            for (int32_t i = 0; i < j; ++i) {
                const uint64_t* e = EndSides(i, j);
                const uint64_t flip = Bit(e, d) ? ~uint64_t{0} : 0;
                const uint64_t* ti = &byStart[i * width];
                const uint64_t* tj = &byStart[j * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((e[w] ^ flip) & (ti[w] ^ tj[w]) & below[w]) return false;
                }
            }
        }
        return true;
    }

    // The same by SegmentsCross itself, for chains beyond the masks above.
    bool OpenWithNewestSlowly(int32_t d) const {
        for (int32_t i = 0; i < d; ++i)
            for (int32_t l = 0; l <= d; ++l)
                for (int32_t m = l + 1; m <= d; ++m)
                    if (Cross(i, d, l, m)) return false;
        for (int32_t i = 0; i < d; ++i)
            for (int32_t j = i + 1; j < d; ++j)
                for (int32_t l = 0; l < d; ++l)
                    if (Cross(i, j, l, d)) return false;
        return true;
    }
};

