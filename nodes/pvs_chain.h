// The chain of portals a PVS flood follows from one source, and the test
// whether a straight line may still pass all of them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/geometry.h"
#include "nodes/pvs.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KELDRA_SSE2_SIDES 1
#endif

// The side test of SegmentsCross, from the differences to the point and
// the segment's direction: (dy * bx - dx * by) >= 0. The four-lane form does
// the same single-precision operations in the same order, so the same bits.
inline bool OnNonNegativeSide(float dx, float dy, float bx, float by) { return (dy * bx - dx * by) >= 0; }
#ifdef KELDRA_SSE2_SIDES
inline uint64_t Sides4(__m128 dx, __m128 dy, __m128 bx, __m128 by) {
    const __m128 v = _mm_sub_ps(_mm_mul_ps(dy, bx), _mm_mul_ps(dx, by));
    return static_cast<uint64_t>(_mm_movemask_ps(_mm_cmpge_ps(v, _mm_setzero_ps())));
}
#endif

// Bit k of the first count bits (words stride apart) is whether point k lies
// on the non-negative side of the segment from (ox, oy) along (bx, by).
inline void SideBits(const float* xs, const float* ys, int32_t count, float ox, float oy, float bx, float by,
                     uint64_t* bits, std::size_t stride) {
    for (int32_t base = 0; base < count; base += 64) {
        const int32_t end = std::min(count, base + 64);
        uint64_t word = 0;
        int32_t k = base;
#ifdef KELDRA_SSE2_SIDES
        const __m128 vox = _mm_set1_ps(ox), voy = _mm_set1_ps(oy), vbx = _mm_set1_ps(bx), vby = _mm_set1_ps(by);
        for (; k + 4 <= end; k += 4) {
            const __m128 dx = _mm_sub_ps(_mm_loadu_ps(xs + k), vox), dy = _mm_sub_ps(_mm_loadu_ps(ys + k), voy);
            word |= Sides4(dx, dy, vbx, vby) << (k - base);
        }
#endif
        for (; k < end; ++k)
            word |= static_cast<uint64_t>(OnNonNegativeSide(xs[k] - ox, ys[k] - oy, bx, by)) << (k - base);
        bits[static_cast<std::size_t>(base / 64) * stride] = word;
    }
}

// The same side test with a segment of its own per point: bit k is whether
// (px, py) lies on the non-negative side of the segment from (ox[k], oy[k])
// along (bx[k], by[k]).
inline uint64_t SideBitsAcross(const float* ox, const float* oy, const float* bx, const float* by, int32_t count,
                               float px, float py) {
    uint64_t word = 0;
    int32_t k = 0;
#ifdef KELDRA_SSE2_SIDES
    const __m128 vpx = _mm_set1_ps(px), vpy = _mm_set1_ps(py);
    for (; k + 4 <= count; k += 4) {
        const __m128 dx = _mm_sub_ps(vpx, _mm_loadu_ps(ox + k)), dy = _mm_sub_ps(vpy, _mm_loadu_ps(oy + k));
        word |= Sides4(dx, dy, _mm_loadu_ps(bx + k), _mm_loadu_ps(by + k)) << k;
    }
#endif
    for (; k < count; ++k) word |= static_cast<uint64_t>(OnNonNegativeSide(px - ox[k], py - oy[k], bx[k], by[k])) << k;
    return word;
}

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

// The operations of OpenBeyondPair's test on one portal (floats and bools)
// or four (SSE lanes and lane masks): the same single-precision operations
// in the same order, so the same signs.
struct OneLane {
    using Float = float;
    using Mask = bool;
    static Float Set(float v) { return v; }
    static Float Sub(Float a, Float b) { return a - b; }
    static Mask Side(Float dx, Float dy, Float bx, Float by) { return OnNonNegativeSide(dx, dy, bx, by); }
    static Mask FromBool(bool b) { return b; }
    static Mask Differ(Mask a, Mask b) { return a != b; }
    static Mask And(Mask a, Mask b) { return a && b; }
    static Mask Or(Mask a, Mask b) { return a || b; }
};
#ifdef KELDRA_SSE2_SIDES
struct FourLanes {
    using Float = __m128;
    using Mask = __m128;
    static Float Set(float v) { return _mm_set1_ps(v); }
    static Float Sub(Float a, Float b) { return _mm_sub_ps(a, b); }
    static Mask Side(Float dx, Float dy, Float bx, Float by) {
        return _mm_cmpge_ps(_mm_sub_ps(_mm_mul_ps(dy, bx), _mm_mul_ps(dx, by)), _mm_setzero_ps());
    }
    static Mask FromBool(bool b) { return b ? _mm_castsi128_ps(_mm_set1_epi32(-1)) : _mm_setzero_ps(); }
    static Mask Differ(Mask a, Mask b) { return _mm_xor_ps(a, b); }
    static Mask And(Mask a, Mask b) { return _mm_and_ps(a, b); }
    static Mask Or(Mask a, Mask b) { return _mm_or_ps(a, b); }
};
#endif

// Whether a line may pass portals p, c and g - Chain::OpenAll(3),
// sign for sign - for one pair p, c already open together and many g. A
// crossing is two sides that differ on each segment, so the sides that only
// involve p and c are found once, and each g takes the fourteen of its own.
struct OpenBeyondPair {
    // The values the test takes from p and c alone, in the lanes of L once
    // per pair rather than once per g. Every difference is the same float
    // expression the plain test computes.
    template <class L>
    struct Spread {
        using F = typename L::Float;
        using M = typename L::Mask;
        F psx, psy, pex, pey, csx, csy, cex, cey;
        F startX, startY, endX, endY;                              // c's point minus p's
        F pEndX, pEndY, cEndX, cEndY;                              // p's and c's end minus p's start
        F pEndFromCX, pEndFromCY, cEndFromCX, cEndFromCY;          // the same from c's start
        F pStartX, pStartY, cStartX, cStartY;                      // p's and c's start minus p's end
        F pStartFromCX, pStartFromCY, cStartFromCX, cStartFromCY;  // the same from c's end
        M pEndByStarts, cEndByStarts;                              // sides against the segment p's start to c's
        M pStartByEnds, cStartByEnds;                              // sides against the segment p's end to c's

        Spread(float Psx, float Psy, float Pex, float Pey, float Csx, float Csy, float Cex, float Cey)
            : psx(L::Set(Psx)),
              psy(L::Set(Psy)),
              pex(L::Set(Pex)),
              pey(L::Set(Pey)),
              csx(L::Set(Csx)),
              csy(L::Set(Csy)),
              cex(L::Set(Cex)),
              cey(L::Set(Cey)),
              startX(L::Set(Csx - Psx)),
              startY(L::Set(Csy - Psy)),
              endX(L::Set(Cex - Pex)),
              endY(L::Set(Cey - Pey)),
              pEndX(L::Set(Pex - Psx)),
              pEndY(L::Set(Pey - Psy)),
              cEndX(L::Set(Cex - Psx)),
              cEndY(L::Set(Cey - Psy)),
              pEndFromCX(L::Set(Pex - Csx)),
              pEndFromCY(L::Set(Pey - Csy)),
              cEndFromCX(L::Set(Cex - Csx)),
              cEndFromCY(L::Set(Cey - Csy)),
              pStartX(L::Set(Psx - Pex)),
              pStartY(L::Set(Psy - Pey)),
              cStartX(L::Set(Csx - Pex)),
              cStartY(L::Set(Csy - Pey)),
              pStartFromCX(L::Set(Psx - Cex)),
              pStartFromCY(L::Set(Psy - Cey)),
              cStartFromCX(L::Set(Csx - Cex)),
              cStartFromCY(L::Set(Csy - Cey)),
              pEndByStarts(L::FromBool(OnNonNegativeSide(Pex - Psx, Pey - Psy, Csx - Psx, Csy - Psy))),
              cEndByStarts(L::FromBool(OnNonNegativeSide(Cex - Psx, Cey - Psy, Csx - Psx, Csy - Psy))),
              pStartByEnds(L::FromBool(OnNonNegativeSide(Psx - Pex, Psy - Pey, Cex - Pex, Cey - Pey))),
              cStartByEnds(L::FromBool(OnNonNegativeSide(Csx - Pex, Csy - Pey, Cex - Pex, Cey - Pey))) {}
    };

    Spread<OneLane> one;
#ifdef KELDRA_SSE2_SIDES
    Spread<FourLanes> four;
#endif

    // p is the chain's portal at position a.
    OpenBeyondPair(const Chain& chain, int32_t a, const PortalLink& c)
        : one(chain.sx[a], chain.sy[a], chain.ex[a], chain.ey[a], c.startX, c.startY, c.endX, c.endY)
#ifdef KELDRA_SSE2_SIDES
          ,
          four(chain.sx[a], chain.sy[a], chain.ex[a], chain.ey[a], c.startX, c.startY, c.endX, c.endY)
#endif
    {
    }

    // Whether some start segment crosses some end segment, for the portals
    // with start (gsx, gsy) and end (gex, gey), in the lanes of L.
    template <class L>
    static typename L::Mask Crossing(const Spread<L>& k, typename L::Float gsx, typename L::Float gsy,
                                     typename L::Float gex, typename L::Float gey) {
        using F = typename L::Float;
        using M = typename L::Mask;
        // End points against the start segments p-c, p-g and c-g.
        const M gEndPC = L::Side(L::Sub(gex, k.psx), L::Sub(gey, k.psy), k.startX, k.startY);
        const F pgx = L::Sub(gsx, k.psx), pgy = L::Sub(gsy, k.psy), cgx = L::Sub(gsx, k.csx), cgy = L::Sub(gsy, k.csy);
        const M pEndPG = L::Side(k.pEndX, k.pEndY, pgx, pgy);
        const M cEndPG = L::Side(k.cEndX, k.cEndY, pgx, pgy);
        const M gEndPG = L::Side(L::Sub(gex, k.psx), L::Sub(gey, k.psy), pgx, pgy);
        const M pEndCG = L::Side(k.pEndFromCX, k.pEndFromCY, cgx, cgy);
        const M cEndCG = L::Side(k.cEndFromCX, k.cEndFromCY, cgx, cgy);
        const M gEndCG = L::Side(L::Sub(gex, k.csx), L::Sub(gey, k.csy), cgx, cgy);
        // Start points against the end segments p-c, p-g and c-g.
        const M gStartPC = L::Side(L::Sub(gsx, k.pex), L::Sub(gsy, k.pey), k.endX, k.endY);
        const F qgx = L::Sub(gex, k.pex), qgy = L::Sub(gey, k.pey), dgx = L::Sub(gex, k.cex), dgy = L::Sub(gey, k.cey);
        const M pStartPG = L::Side(k.pStartX, k.pStartY, qgx, qgy);
        const M cStartPG = L::Side(k.cStartX, k.cStartY, qgx, qgy);
        const M gStartPG = L::Side(L::Sub(gsx, k.pex), L::Sub(gsy, k.pey), qgx, qgy);
        const M pStartCG = L::Side(k.pStartFromCX, k.pStartFromCY, dgx, dgy);
        const M cStartCG = L::Side(k.cStartFromCX, k.cStartFromCY, dgx, dgy);
        const M gStartCG = L::Side(L::Sub(gsx, k.cex), L::Sub(gsy, k.cey), dgx, dgy);
        // Every start segment against every end segment but p-c against p-c.
        auto both = [](M a, M b, M c, M d) { return L::And(L::Differ(a, b), L::Differ(c, d)); };
        M cross = both(k.pEndByStarts, gEndPC, pStartPG, cStartPG);
        cross = L::Or(cross, both(k.cEndByStarts, gEndPC, pStartCG, cStartCG));
        cross = L::Or(cross, both(pEndPG, cEndPG, k.pStartByEnds, gStartPC));
        cross = L::Or(cross, both(pEndPG, gEndPG, pStartPG, gStartPG));
        cross = L::Or(cross, both(cEndPG, gEndPG, pStartCG, gStartCG));
        cross = L::Or(cross, both(pEndCG, cEndCG, k.cStartByEnds, gStartPC));
        cross = L::Or(cross, both(pEndCG, gEndCG, cStartPG, gStartPG));
        cross = L::Or(cross, both(cEndCG, gEndCG, cStartCG, gStartCG));
        return cross;
    }

    bool Open(const PortalLink& g) const { return !Crossing<OneLane>(one, g.startX, g.startY, g.endX, g.endY); }

    // Bit k of the first count (up to four) is Open of the portal with
    // start (gsx[k], gsy[k]) and end (gex[k], gey[k]); the arrays may be read
    // four floats past count.
    uint32_t OpenOfFour(const float* gsx, const float* gsy, const float* gex, const float* gey, int32_t count) const {
#ifdef KELDRA_SSE2_SIDES
        const __m128 cross =
            Crossing<FourLanes>(four, _mm_loadu_ps(gsx), _mm_loadu_ps(gsy), _mm_loadu_ps(gex), _mm_loadu_ps(gey));
        return ~static_cast<uint32_t>(_mm_movemask_ps(cross)) & ((1u << count) - 1);
#else
        uint32_t open = 0;
        for (int32_t k = 0; k < count; ++k)
            open |= static_cast<uint32_t>(Open({gsx[k], gsy[k], gex[k], gey[k], 0})) << k;
        return open;
#endif
    }
};

// The fast flood's chain: beside the points it keeps, for every pair of
// start points the side of each end point, and for every pair of end points
// the side of each start point - the signs SegmentsCross compares - as bit
// sets. Adding position d computes only the signs that involve d, a row at
// a time in plain loops over float arrays that the compiler turns into
// vector code, and finds the new crossing pairs a whole bit set at a time.
// Every sign is the very expression SegmentsCross computes.
struct SignedChain : Chain {
    int32_t capacity = 0;   // positions the sign sets have room for
    std::size_t width = 0;  // words of one bit set
    std::size_t pairs = 0;  // pairs of positions below capacity
    // Word w of the bit set of pair p is at [w * pairs + p], so that bit d
    // of all pairs is one run of words.
    std::vector<uint64_t> endSides;    // by start pair (i, j): bit l = side of end point l
    std::vector<uint64_t> startSides;  // by end pair (l, m): bit i = side of start point i
    // Scratch of one step of 64 positions or more, rows of width words: by
    // end point l, bit i = side of l against start pair (i, d); by start
    // point i, bit l = side of i against end pair (l, d).
    std::vector<uint64_t> byEnd, byStart;
    std::vector<uint8_t> endFlip;    // by start pair (i, j), j < d: side of end point d
    std::vector<uint8_t> startFlip;  // by end pair (l, m), m < d: side of start point d
    std::vector<float> ax, ay;       // start point d minus start point i
    std::vector<float> gx, gy;       // end point d minus end point l
    std::vector<uint8_t> flags;      // one row of signs

    static std::size_t PairIndex(int32_t i, int32_t j) { return static_cast<std::size_t>(j) * (j - 1) / 2 + i; }

    void Reserve(int32_t positions) {
        if (positions <= capacity) return;
        const int32_t grown = std::max({positions, 2 * capacity, 64});
        const std::size_t grownWidth = (static_cast<std::size_t>(grown) + 63) / 64;
        const std::size_t grownPairs = PairIndex(0, grown);
        std::vector<uint64_t> ends(grownPairs * grownWidth, 0), starts(grownPairs * grownWidth, 0);
        for (std::size_t w = 0; w < width; ++w) {
            for (std::size_t p = 0; p < pairs; ++p) {
                ends[w * grownPairs + p] = endSides[w * pairs + p];
                starts[w * grownPairs + p] = startSides[w * pairs + p];
            }
        }
        endSides.swap(ends);
        startSides.swap(starts);
        capacity = grown;
        width = grownWidth;
        pairs = grownPairs;
        byEnd.assign(static_cast<std::size_t>(grown) * width, 0);
        byStart.assign(static_cast<std::size_t>(grown) * width, 0);
        endFlip.assign(pairs, 0);
        startFlip.assign(pairs, 0);
        for (auto* v : {&ax, &ay, &gx, &gy}) v->assign(static_cast<std::size_t>(grown), 0.0f);
        flags.assign(width * 64, 0);
    }

    // The first count flags (0 or 1) as bits into words stride apart, eight
    // at a time: a multiply gathers the low bits of eight bytes into the top
    // byte. Flags past count are masked off.
    void PackFlags(int32_t count, uint64_t* bits, std::size_t stride) const {
        static_assert(std::endian::native == std::endian::little);
        for (int32_t w = 0; w * 64 < count; ++w) {
            const int32_t left = count - w * 64;
            const int32_t groups = std::min(8, (left + 7) / 8);
            uint64_t word = 0;
            for (int32_t g = 0; g < groups; ++g) {
                uint64_t eight;
                std::memcpy(&eight, &flags[static_cast<std::size_t>(w) * 64 + g * 8], 8);
                word |= ((eight * 0x0102040810204080ull) >> 56) << (8 * g);
            }
            if (left < 64) word &= (uint64_t{1} << left) - 1;
            bits[w * stride] = word;
        }
    }

    // Sets bit d of the first count pairs' sets to their flips.
    void SetBitOfPairs(std::vector<uint64_t>& sides, const std::vector<uint8_t>& flip, std::size_t count, int32_t d) {
        uint64_t* words = &sides[static_cast<std::size_t>(d >> 6) * pairs];
        const int32_t shift = d & 63;
        const uint64_t keep = ~(uint64_t{1} << shift);
        for (std::size_t p = 0; p < count; ++p) words[p] = (words[p] & keep) | (uint64_t{flip[p]} << shift);
    }

    // The sides of end points 0 to d against the start pairs (i, d).
    void KeepEndSides(int32_t d) {
        const float* const sxs = sx.data();
        const float* const sys = sy.data();
        const float* const exs = ex.data();
        const float* const eys = ey.data();
        for (int32_t i = 0; i < d; ++i)
            SideBits(exs, eys, d + 1, sxs[i], sys[i], ax[i], ay[i], &endSides[PairIndex(i, d)], pairs);
    }

    // Whether positions 0 to d stay open, 0 to d - 1 being open: no segment
    // between start points crosses one between end points, of the pairs
    // that use position d. The pairs with start pair (i, d) come first, so
    // that a closed chain stops before half of the signs.
    bool OpenWithNewest(int32_t d) {
        Reserve(d + 1);
        const float* const sxs = sx.data();
        const float* const sys = sy.data();
        const float* const exs = ex.data();
        const float* const eys = ey.data();
        // The SegmentsCross sign of end point l against start pair (i, j):
        // ((ey[l] - sy[i]) * (sx[j] - sx[i]) - (ex[l] - sx[i]) * (sy[j] - sy[i])) >= 0,
        // and of start point i against end pair (l, m):
        // ((ex[m] - ex[l]) * (sy[i] - ey[l]) - (ey[m] - ey[l]) * (sx[i] - ex[l])) >= 0.
        for (int32_t i = 0; i < d; ++i) ax[i] = sxs[d] - sxs[i], ay[i] = sys[d] - sys[i];
        for (int32_t l = 0; l < d; ++l) gx[l] = exs[d] - exs[l], gy[l] = eys[d] - eys[l];
        if (d < 64) return OpenInOneWord(d);
        FindStartSides(d);
        FindStartFlips(d);
        if (!OpenInWords(d)) return false;
        KeepSigns(d, false, false);
        return true;
    }

    // Keeps the signs of position d, open, for the positions after it. A
    // repeated point's flips and pair sets are copied from the point before.
    void KeepSigns(int32_t d, bool sameStart, bool sameEnd) {
        if (sameStart) FlipsFromBitBefore(startSides, startFlip, d);
        if (sameEnd) FlipsFromBitBefore(endSides, endFlip, d);
        SetBitOfPairs(endSides, endFlip, PairIndex(0, d), d);
        SetBitOfPairs(startSides, startFlip, PairIndex(0, d), d);
        if (sameStart)
            RepeatPairs(endSides, d);
        else
            KeepEndSides(d);
        if (sameEnd) RepeatPairs(startSides, d);
    }

    // The sides of start points 0 to d against the end pairs (l, d).
    void FindStartSides(int32_t d) {
        // fx * (sy - py) is (sy - py) * fx to the bit: the same side test.
        for (int32_t l = 0; l < d; ++l)
            SideBits(sx.data(), sy.data(), d + 1, ex[l], ey[l], gx[l], gy[l], &startSides[PairIndex(l, d)], pairs);
    }

    // The sides of start point d against the end pairs (l, m), m < d.
    void FindStartFlips(int32_t d) {
        const float* const exs = ex.data();
        const float* const eys = ey.data();
        const float px = sx[d], py = sy[d];
        for (int32_t m = 1; m < d; ++m) {
            const float qx = exs[m], qy = eys[m];
            uint8_t* flip = &startFlip[PairIndex(0, m)];
            for (int32_t l = 0; l < m; ++l)
                flip[l] = ((qx - exs[l]) * (py - eys[l]) - (qy - eys[l]) * (px - exs[l])) >= 0;
        }
    }

    // Whether point d of a sequence is point d - 1, bit for bit: then every
    // sign that uses it is the very computation that used d - 1.
    static bool SameAsBefore(const std::vector<float>& xs, const std::vector<float>& ys, int32_t d) {
        return d > 0 && std::bit_cast<uint32_t>(xs[d]) == std::bit_cast<uint32_t>(xs[d - 1]) &&
               std::bit_cast<uint32_t>(ys[d]) == std::bit_cast<uint32_t>(ys[d - 1]);
    }

    // The flips of the pairs before d from bit d - 1 of their sets, for a
    // point d that is point d - 1.
    void FlipsFromBitBefore(const std::vector<uint64_t>& sides, std::vector<uint8_t>& flip, int32_t d) const {
        const uint64_t* words = &sides[static_cast<std::size_t>((d - 1) >> 6) * pairs];
        const int32_t shift = (d - 1) & 63;
        const std::size_t count = PairIndex(0, d);
        for (std::size_t p = 0; p < count; ++p) flip[p] = static_cast<uint8_t>((words[p] >> shift) & 1);
    }

    // The sets of the pairs (a, d), below 64 positions, for a point d that is
    // point d - 1: those of (a, d - 1), bit d set already; (d - 1, d) has no
    // length, so every side test against it comes out non-negative.
    void RepeatPairs(std::vector<uint64_t>& sides, int32_t d) {
        for (int32_t a = 0; a + 1 < d; ++a) sides[PairIndex(a, d)] = sides[PairIndex(a, d - 1)];
        sides[PairIndex(d - 1, d)] = ~uint64_t{0};
    }

    // The sides of end point d against the start pairs (i, j), j < d.
    void FindEndFlips(int32_t d) {
        const float* const sxs = sx.data();
        const float* const sys = sy.data();
        const float px = ex[d], py = ey[d];
        for (int32_t j = 1; j < d; ++j) {
            const float qx = sxs[j], qy = sys[j];
            uint8_t* flip = &endFlip[PairIndex(0, j)];
            for (int32_t i = 0; i < j; ++i)
                flip[i] = ((py - sys[i]) * (qx - sxs[i]) - (px - sxs[i]) * (qy - sys[i])) >= 0;
        }
    }

    // Below 64 positions every set is one word: the sets by end point (bit
    // i: its side against start pair (i, d)) and by start point (bit l: its
    // side against end pair (l, d)) are found directly, four signs at a time.
    // The sets by start pair (i, d) are kept for later positions only when
    // the chain stays open.
    // A start point that repeats the one before adds no start segment that
    // is not there already: the one between the two has no length, and the
    // others are the same floats. So the start pairs (i, d) need no checking
    // and their signs are copied; the same for a repeated end point.
    bool OpenInOneWord(int32_t d) {
        const bool sameStart = SameAsBefore(sx, sy, d), sameEnd = SameAsBefore(ex, ey, d);
        if (!sameEnd) FindStartSides(d);
        if (!sameStart && !OpenWithNewStart(d, sameEnd)) return false;
        if (!sameEnd && !OpenWithNewEnd(d)) return false;
        KeepSigns(d, sameStart, sameEnd);
        return true;
    }

    // Start pairs (i, d), all i at once, against each end pair (l, m); the
    // end pairs (l, d) not when end point d repeats d - 1, whose pairs are
    // checked already.
    bool OpenWithNewStart(int32_t d, bool sameEnd) {
        FindStartFlips(d);
        uint64_t byEndPoint[64];
        for (int32_t l = 0; l <= d; ++l)
            byEndPoint[l] = SideBitsAcross(sx.data(), sy.data(), ax.data(), ay.data(), d, ex[l], ey[l]);
        for (int32_t m = 1; m <= (sameEnd ? d - 1 : d); ++m) {
            const uint64_t* st = &startSides[PairIndex(0, m)];
            const uint8_t* flip = &startFlip[PairIndex(0, m)];
            const uint64_t em = byEndPoint[m];
            uint64_t crossing = 0;
            if (m < d) {
                for (int32_t l = 0; l < m; ++l) crossing |= (st[l] ^ (0 - uint64_t{flip[l]})) & (byEndPoint[l] ^ em);
            } else {
                for (int32_t l = 0; l < m; ++l) crossing |= (st[l] ^ (0 - ((st[l] >> d) & 1))) & (byEndPoint[l] ^ em);
            }
            if (crossing) return false;
        }
        return true;
    }

    // Older start pairs (i, j) against the end pairs (l, d), all l at once.
    bool OpenWithNewEnd(int32_t d) {
        uint64_t byStartPoint[64];
        for (int32_t j = 0; j < d; ++j)
            byStartPoint[j] = SideBitsAcross(ex.data(), ey.data(), gx.data(), gy.data(), d, sx[j], sy[j]);
        FindEndFlips(d);
        for (int32_t j = 1; j < d; ++j) {
            const uint64_t* e = &endSides[PairIndex(0, j)];
            const uint8_t* flip = &endFlip[PairIndex(0, j)];
            const uint64_t tj = byStartPoint[j];
            uint64_t crossing = 0;
            for (int32_t i = 0; i < j; ++i) crossing |= (e[i] ^ (0 - uint64_t{flip[i]})) & (byStartPoint[i] ^ tj);
            if (crossing) return false;
        }
        return true;
    }

    // The same for chains of 64 positions or more.
    bool OpenInWords(int32_t d) {
        const float* const sxs = sx.data();
        const float* const sys = sy.data();
        const float* const exs = ex.data();
        const float* const eys = ey.data();
        const float* const axs = ax.data();
        const float* const ays = ay.data();
        const float* const gxs = gx.data();
        const float* const gys = gy.data();
        uint8_t* const f = flags.data();
        const std::size_t used = (static_cast<std::size_t>(d) + 63) / 64;  // words for bits 0 to d - 1
        for (int32_t l = 0; l <= d; ++l) {
            const float px = exs[l], py = eys[l];
            for (int32_t i = 0; i < d; ++i) f[i] = ((py - sys[i]) * axs[i] - (px - sxs[i]) * ays[i]) >= 0;
            PackFlags(d, &byEnd[l * width], 1);
        }
        const int32_t dw = d >> 6, db = d & 63;
        for (int32_t m = 1; m <= d; ++m) {
            const uint64_t* em = &byEnd[m * width];
            for (int32_t l = 0; l < m; ++l) {
                const std::size_t p = PairIndex(l, m);
                const uint64_t* st = &startSides[p];
                const bool side = m == d ? (st[dw * pairs] >> db) & 1 : startFlip[p] != 0;
                const uint64_t flip = side ? ~uint64_t{0} : 0;
                const uint64_t* el = &byEnd[l * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((st[w * pairs] ^ flip) & (el[w] ^ em[w])) return false;
                }
            }
        }
        for (int32_t i = 0; i < d; ++i) {
            const float px = sxs[i], py = sys[i];
            for (int32_t l = 0; l < d; ++l) f[l] = (gxs[l] * (py - eys[l]) - gys[l] * (px - exs[l])) >= 0;
            PackFlags(d, &byStart[i * width], 1);
        }
        FindEndFlips(d);
        for (int32_t j = 1; j < d; ++j) {
            const uint64_t* tj = &byStart[j * width];
            for (int32_t i = 0; i < j; ++i) {
                const std::size_t p = PairIndex(i, j);
                const uint64_t* e = &endSides[p];
                const uint64_t flip = endFlip[p] ? ~uint64_t{0} : 0;
                const uint64_t* ti = &byStart[i * width];
                for (std::size_t w = 0; w < used; ++w) {
                    if ((e[w * pairs] ^ flip) & (ti[w] ^ tj[w])) return false;
                }
            }
        }
        return true;
    }
};
