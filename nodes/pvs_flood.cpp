// The fast PVS flood: the plain flood's marks with bounds that stop chains
// early, and the sources shared among worker threads.
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "nodes/bsp.h"
#include "nodes/pvs.h"
#include "nodes/pvs_chain.h"

namespace {

// Every link numbered in order of subsector: those of subsector s from
// first[s] to first[s + 1]. For the searches of the bounds, which test a
// subsector's links four at a time, the links are also kept in blocks of
// four, s's from firstBlock[s] to firstBlock[s + 1]: a block's points and
// neighbours lie together, in one or two cache lines. A lane left over has
// the subsector itself as its neighbour, which a search has entered already.
struct LinkPoints {
    struct alignas(16) Block {
        float startX[4], startY[4], endX[4], endY[4];
        int32_t neighbour[4];
    };
    std::vector<int32_t> first, firstBlock;
    std::vector<Block> blocks;

    explicit LinkPoints(const std::vector<std::vector<PortalLink>>& links) {
        int32_t count = 0;
        for (int32_t s = 0; s < static_cast<int32_t>(links.size()); ++s) {
            first.push_back(count);
            firstBlock.push_back(static_cast<int32_t>(blocks.size()));
            const auto& out = links[s];
            count += static_cast<int32_t>(out.size());
            for (std::size_t b = 0; b < out.size(); b += 4) {
                Block& block = blocks.emplace_back();
                for (std::size_t k = 0; k < 4; ++k) {
                    const bool used = b + k < out.size();
                    const PortalLink& l = out[used ? b + k : b];
                    block.startX[k] = l.startX, block.startY[k] = l.startY;
                    block.endX[k] = l.endX, block.endY[k] = l.endY;
                    block.neighbour[k] = used ? l.neighbour : s;
                }
            }
        }
        first.push_back(count);
        firstBlock.push_back(static_cast<int32_t>(blocks.size()));
    }
};

// The flood with the same marks, found with less work:
// - the crossing test of a chain checks only the pairs its newest portal
//   adds, from stored signs;
// - a source stops once everything its links reach is marked;
// - every portal stays in the chain once passed, so a chain whose first
//   portal is e and which passed portal c can only go on through portals g
//   that leave {e, c, g} open: the subsectors so reachable from c (found once
//   per e and c) bound what the chain can still mark. The chain keeps the
//   intersection of these bounds over its portals, and is not followed once
//   everything in it is marked, nor tested through a portal whose neighbour
//   it does not hold;
// - past a portal much narrower than the first, the same bound from that
//   portal instead of the first is tighter, and holds for every chain that
//   keeps it;
// - a subsector is marked when a chain first reaches it, so that the chains
//   beyond it no longer count it as something still to mark;
// - the part of a chain from any of its subsectors t on is itself an open
//   chain from t, so what the chain marks beyond t is in t's row: the rows
//   finished so far, by any thread, narrow the bound further. On real maps
//   this cuts the work about threefold, since most of what a source's links
//   reach is hidden from the subsectors its chains pass;
// - for the same reason a chain that reaches t marks t in the rows of all the
//   subsectors it passed, not only in the source's: those sources start with
//   most of their row known, and stop sooner.
// The rest depends on the source alone, so each worker thread has its own.
struct FastFlood {
    using Bits = std::vector<uint64_t>;
    // A portal narrower than this part of the chain's first also bounds the
    // chain beyond it (NarrowBoundFor).
    static constexpr float kNarrow = 0.25f;
    const std::vector<std::vector<PortalLink>>& links;
    std::vector<uint8_t>& matrix;
    int32_t n;
    SignedChain chain;
    std::vector<uint8_t> inChain;        // by subsector
    const LinkPoints* points = nullptr;  // its numbers are the links' numbers
    std::size_t words = 0;               // of a set of subsectors
    uint64_t* rowBits = nullptr;         // the source's row among the shared rows
    int32_t source = 0;
    int32_t marked = 0;                                     // in the row
    int32_t reachable = 0;                                  // subsectors the link graph reaches from the source
    const std::vector<int32_t>* reachableCounts = nullptr;  // by source
    bool done = false;
    // Set by the waiting thread to cancel: one source can take seconds on a
    // big map, so the chains look at it too.
    const std::atomic<bool>* stop = nullptr;
    // Every row as a bit set of the marks found so far, by any thread, and
    // whether it is finished. Threads set bits in rows they do not own, so
    // every access to a word is atomic; a mark another thread made is
    // acquired with the word, so that the row's finished flag publishes it
    // with the source's own marks.
    uint64_t* rows = nullptr;
    const std::atomic<uint8_t>* rowFinished = nullptr;

    uint64_t* RowOf(int32_t t) const { return &rows[static_cast<std::size_t>(t) * words]; }
    static uint64_t Load(const uint64_t* word) {
        return std::atomic_ref<uint64_t>(*const_cast<uint64_t*>(word)).load(std::memory_order_acquire);
    }
    static bool Holds(const uint64_t* set, int32_t t) {
        return (Load(&set[static_cast<std::size_t>(t) >> 6]) >> (t & 63)) & 1;
    }
    // Sets bit t; whether it was clear.
    static bool SetBit(uint64_t* set, int32_t t) {
        std::atomic_ref<uint64_t> word(set[static_cast<std::size_t>(t) >> 6]);
        const uint64_t bit = uint64_t{1} << (t & 63);
        return !(word.load(std::memory_order_acquire) & bit) && !(word.fetch_or(bit, std::memory_order_acq_rel) & bit);
    }
    // Subsector t's row, or null while it is not finished.
    const uint64_t* FinishedRow(int32_t t) const {
        return rowFinished[t].load(std::memory_order_acquire) ? RowOf(t) : nullptr;
    }

    // A set of subsectors kept as its words lo to hi - 1, the others zero:
    // bounds are local, and big maps have many words.
    struct Bound {
        std::size_t lo = 0, hi = 0;
        Bits bits;
    };
    std::unordered_map<int32_t, Bound> bounds;  // for the current first portal, by link number
    std::vector<Bits> live;                     // by chain depth: the intersection so far, whole
    std::vector<std::size_t> liveLo, liveHi;    // by chain depth: its words that may be set
    // By chain position: the portal's squared length, the narrowest portal
    // from position 1 to there, and the narrow bounds of that portal by link
    // number, while it stays in the chain.
    std::vector<float> lengthSq;
    std::vector<int32_t> narrowest;
    std::vector<std::unordered_map<int32_t, Bound>> narrowBounds;
    // By chain depth: the links still to follow from the subsector there,
    // with their bounds (in bounds, which keeps its elements in place).
    struct NextLink {
        int32_t unmarked, link;
        const Bound* bound;
    };
    std::deque<std::vector<NextLink>> nextLinks;  // a deque: growing keeps each depth's list in place
    Bits enterable;                               // scratch of the searches, zero between them
    std::vector<int32_t> queue;

    FastFlood(const std::vector<std::vector<PortalLink>>& l, std::vector<uint8_t>& m)
        : links(l), matrix(m), n(static_cast<int32_t>(l.size())), inChain(static_cast<std::size_t>(n), 0) {}

    void Mark(int32_t t) {
        if (SetBit(rowBits, t) && ++marked == reachable) done = true;
    }

    // The chain reached t at position d: the part of it from each subsector
    // it passed is an open chain from there, so t is in their rows too.
    void MarkAlongChain(int32_t t, int32_t d) {
        for (int32_t i = 1; i < d; ++i) {
            const int32_t v = chain.subsector[i];
            if (!rowFinished[v].load(std::memory_order_relaxed)) SetBit(RowOf(v), t);
        }
    }

    // Into bound: the subsectors reachable from c's neighbour through links g
    // that three leaves open, to subsectors in enterable's words lo to hi - 1
    // (the others zero). Each subsector entered is taken out of enterable, so
    // that one bit test per link says whether to try it; the words are left
    // zero.
    void Reach(const PortalLink& c, Bound& bound, const OpenBeyondPair& three, std::size_t lo, std::size_t hi) {
        const LinkPoints& at = *points;
        uint64_t* const enter = enterable.data();
        auto take = [enter](int32_t v) {
            uint64_t& word = enter[static_cast<std::size_t>(v) >> 6];
            const uint64_t bit = uint64_t{1} << (v & 63);
            const bool was = word & bit;
            word &= ~bit;
            return was;
        };
        queue.clear();
        queue.push_back(c.neighbour);
        take(c.neighbour);
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const int32_t u = queue[q];
            for (int32_t b = at.firstBlock[u]; b < at.firstBlock[u + 1]; ++b) {
                const LinkPoints::Block& block = at.blocks[b];
                uint32_t wanted = 0;
                for (int32_t k = 0; k < 4; ++k) {
                    const int32_t v = block.neighbour[k];
                    wanted |= static_cast<uint32_t>((enter[static_cast<std::size_t>(v) >> 6] >> (v & 63)) & 1) << k;
                }
                if (!wanted) continue;
                for (uint32_t open = wanted & three.OpenOfFour(block.startX, block.startY, block.endX, block.endY, 4);
                     open; open &= open - 1) {
                    const int32_t v = block.neighbour[std::countr_zero(open)];
                    if (take(v)) queue.push_back(v);
                }
            }
        }
        std::fill(enterable.begin() + static_cast<std::ptrdiff_t>(lo),
                  enterable.begin() + static_cast<std::ptrdiff_t>(hi), 0);
        const auto [least, most] = std::minmax_element(queue.begin(), queue.end());
        bound.lo = static_cast<std::size_t>(*least) >> 6;
        bound.hi = (static_cast<std::size_t>(*most) >> 6) + 1;
        bound.bits.assign(bound.hi - bound.lo, 0);
        for (int32_t u : queue) bound.bits[(static_cast<std::size_t>(u) >> 6) - bound.lo] |= uint64_t{1} << (u & 63);
    }

    // The bound of link c, leaving subsector from at chain depth d.
    const Bound& BoundFor(const PortalLink& c, int32_t id, int32_t from, int32_t d) {
        auto found = bounds.find(id);
        if (found != bounds.end()) return found->second;
        // Every chain through c passes the first subsector after the source,
        // c's own and c's neighbour, and from each of them on is a chain from
        // there: it enters only what their rows hold, once finished.
        const int32_t passed[3] = {c.neighbour, from, d >= 2 ? chain.subsector[1] : from};
        std::fill(enterable.begin(), enterable.end(), ~uint64_t{0});
        if (n & 63) enterable[words - 1] = (uint64_t{1} << (n & 63)) - 1;
        enterable[static_cast<std::size_t>(source) >> 6] &= ~(uint64_t{1} << (source & 63));
        for (int32_t v : passed) {
            if (const uint64_t* row = FinishedRow(v)) {
                for (std::size_t w = 0; w < words; ++w) enterable[w] &= Load(&row[w]);
            }
        }
        Bound& bound = bounds[id];
        Reach(c, bound, OpenBeyondPair(chain, 0, c), 0, words);
        return bound;
    }

    // The bound of link c from the chain's portal at position a instead of
    // its first: the links g beyond c that leave {portal a, c, g} open. Behind
    // a long first portal a narrow one further on bounds much tighter. The
    // search stays within live[a + 1], which holds all that any chain
    // through the first a + 1 portals can reach, so the bound holds for all
    // of them and is kept until position a gets another portal.
    const Bound& NarrowBoundFor(int32_t a, const PortalLink& c, int32_t id) {
        auto found = narrowBounds[a].find(id);
        if (found != narrowBounds[a].end()) return found->second;
        const std::size_t lo = liveLo[a + 1], hi = liveHi[a + 1];
        std::copy(live[a + 1].begin() + static_cast<std::ptrdiff_t>(lo),
                  live[a + 1].begin() + static_cast<std::ptrdiff_t>(hi),
                  enterable.begin() + static_cast<std::ptrdiff_t>(lo));
        Bound& bound = narrowBounds[a][id];
        Reach(c, bound, OpenBeyondPair(chain, a, c), lo, hi);
        return bound;
    }

    // Into after, the words of set and bound from from to to, which narrow to
    // the bound's; whether anything in it is still unmarked.
    bool Intersect(Bits& after, const Bits& set, const Bound& bound, std::size_t& from, std::size_t& to) const {
        from = std::max(from, bound.lo), to = std::min(to, bound.hi);
        uint64_t unmarked = 0;
        for (std::size_t w = from; w < to; ++w) {
            after[w] = set[w] & bound.bits[w - bound.lo];
            unmarked |= after[w] & ~Load(&rowBits[w]);
        }
        return unmarked != 0;
    }

    // Room for a chain at depth d and the one below it.
    void Grow(int32_t d) {
        if (static_cast<int32_t>(live.size()) > d + 1) return;
        const std::size_t size = std::max<std::size_t>(16, 2 * static_cast<std::size_t>(d) + 2);
        chain.Resize(size);
        live.resize(size, Bits(words));
        liveLo.resize(size, 0);
        liveHi.resize(size, 0);
        lengthSq.resize(size, 0);
        narrowest.resize(size, 0);
        narrowBounds.resize(size);
        nextLinks.resize(size);
    }

    void SetLength(int32_t d, const PortalLink& l) {
        const float dx = l.endX - l.startX, dy = l.endY - l.startY;
        lengthSq[d] = dx * dx + dy * dy;
        narrowest[d] = d <= 1 || lengthSq[d] < lengthSq[narrowest[d - 1]] ? d : narrowest[d - 1];
    }

    void Flood(int32_t t, int32_t d) {
        Grow(d);
        inChain[t] = 1;
        Mark(t);  // before its chains, whose bounds may hold t
        MarkAlongChain(t, d);
        // The part of any chain from t on is a chain from t, open as the
        // whole is: what it marks later, t's own row holds, once finished.
        if (const uint64_t* fromT = FinishedRow(t)) {
            Bits& here = live[d];
            for (std::size_t w = liveLo[d]; w < liveHi[d]; ++w) here[w] &= Load(&fromT[w]);
        }
        const auto& out = links[t];
        const std::size_t lo = liveLo[d], hi = liveHi[d];
        // The links to follow, the one whose bound holds the most still to
        // mark first: what its chains mark need not be looked for by the
        // others, which then stop sooner.
        auto& next = nextLinks[d];
        next.clear();
        for (int32_t k = 0; k < static_cast<int32_t>(out.size()); ++k) {
            const int32_t u = out[k].neighbour;
            const std::size_t uw = static_cast<std::size_t>(u) >> 6;
            // An open chain through a link keeps every (first portal, c,
            // link) open, so the bound of every c before holds its neighbour.
            if (inChain[u] || uw < lo || uw >= hi || !((live[d][uw] >> (u & 63)) & 1)) continue;
            const Bound& bound = BoundFor(out[k], points->first[t] + k, t, d);
            int32_t unmarked = 0;
            for (std::size_t w = std::max(lo, bound.lo); w < std::min(hi, bound.hi); ++w)
                unmarked += std::popcount(live[d][w] & bound.bits[w - bound.lo] & ~Load(&rowBits[w]));
            if (unmarked) next.push_back({unmarked, k, &bound});
        }
        std::stable_sort(next.begin(), next.end(),
                         [](const NextLink& a, const NextLink& b) { return a.unmarked > b.unmarked; });
        for (const NextLink& candidate : next) {
            if (done || stop->load(std::memory_order_relaxed)) break;
            const int32_t k = candidate.link;
            const PortalLink& f = out[k];
            const Bits& before = live[d];  // here: deeper chains may move live
            // What the chain through f could still mark, if anything.
            Bits& after = live[d + 1];
            std::size_t from = lo, to = hi;
            if (!Intersect(after, before, *candidate.bound, from, to)) continue;
            if (d >= 2) {
                const int32_t a = narrowest[d - 1];
                if (lengthSq[a] < kNarrow * kNarrow * lengthSq[0] &&
                    !Intersect(after, after, NarrowBoundFor(a, f, points->first[t] + k), from, to)) {
                    continue;
                }
            }
            // Only the words from the first to the last that hold any are live.
            while (!after[from]) ++from;
            while (!after[to - 1]) --to;
            liveLo[d + 1] = from, liveHi[d + 1] = to;
            chain.Set(d, t, f);
            SetLength(d, f);
            if (!narrowBounds[d].empty()) narrowBounds[d].clear();
            if (chain.OpenWithNewest(d)) Flood(f.neighbour, d + 1);
        }
        inChain[t] = 0;
    }

    void FromSource(int32_t s) {
        source = s;
        rowBits = RowOf(s);
        reachable = (*reachableCounts)[s];
        // What the chains of other sources marked here already counts.
        marked = 0;
        for (std::size_t w = 0; w < words; ++w) marked += std::popcount(Load(&rowBits[w]));
        done = marked == reachable;
        inChain[s] = 1;
        Grow(1);
        for (const PortalLink& e : links[s]) {
            if (done) break;
            chain.Set(0, s, e);
            SetLength(0, e);
            bounds.clear();
            live[1].assign(words, ~uint64_t{0});
            liveLo[1] = 0, liveHi[1] = words;
            Flood(e.neighbour, 1);
        }
        inChain[s] = 0;
        uint8_t* row = &matrix[static_cast<std::size_t>(s) * n];
        for (int32_t t = 0; t < n; ++t) row[t] = Holds(rowBits, t);
    }
};

// How many subsectors the links reach from each subsector, itself aside,
// whatever the geometry: once a row holds them all nothing more can be
// marked. On real maps every link has one back, and that is the size of the
// subsector's component, found once for all of it.
std::vector<int32_t> ReachableCounts(const std::vector<std::vector<PortalLink>>& links) {
    const auto n = static_cast<int32_t>(links.size());
    std::vector<uint64_t> pairs;
    for (int32_t u = 0; u < n; ++u) {
        for (const PortalLink& l : links[u]) pairs.push_back(uint64_t(uint32_t(u)) << 32 | uint32_t(l.neighbour));
    }
    std::sort(pairs.begin(), pairs.end());
    const bool bothWays = std::all_of(pairs.begin(), pairs.end(), [&](uint64_t p) {
        return std::binary_search(pairs.begin(), pairs.end(), p << 32 | p >> 32);
    });
    std::vector<int32_t> counts(static_cast<std::size_t>(n), -1);
    std::vector<uint8_t> reached(static_cast<std::size_t>(n), 0);
    std::vector<int32_t> stack, found;
    for (int32_t s = 0; s < n; ++s) {
        if (counts[s] >= 0) continue;
        stack.assign(1, s);
        found.assign(1, s);
        reached[s] = 1;
        while (!stack.empty()) {
            const int32_t u = stack.back();
            stack.pop_back();
            for (const PortalLink& l : links[u]) {
                if (!reached[l.neighbour]) {
                    reached[l.neighbour] = 1;
                    found.push_back(l.neighbour);
                    stack.push_back(l.neighbour);
                }
            }
        }
        // The source itself counts only if it is reached again: never here,
        // as it was marked reached first.
        const auto count = static_cast<int32_t>(found.size()) - 1;
        for (int32_t u : found) {
            if (bothWays) counts[u] = count;
            reached[u] = 0;
        }
        counts[s] = count;
    }
    return counts;
}

}  // namespace

std::vector<uint8_t> FloodFast(const std::vector<std::vector<PortalLink>>& links, int32_t threads) {
    const auto n = static_cast<int32_t>(links.size());
    std::vector<uint8_t> matrix(static_cast<std::size_t>(n) * n, 0);
    const LinkPoints points(links);
    const std::vector<int32_t> reachableCounts = ReachableCounts(links);
    // A row depends on its source alone, so the threads may take the
    // sources in any order and still write the same matrix. The marks other
    // sources' chains leave in a row and the rows finished so far only stop
    // chains that could mark nothing new: which ones there are changes the
    // time, never the result.
    const std::size_t words = (static_cast<std::size_t>(n) + 63) / 64;
    std::vector<uint64_t> rows(static_cast<std::size_t>(n) * words, 0);
    std::vector<std::atomic<uint8_t>> rowFinished(static_cast<std::size_t>(n));  // all 0
    // Sources in a scattered order: neighbouring subsectors see much the
    // same, and taken far apart each finished row bounds chains all over
    // the map and leaves marks in rows that are not started yet.
    std::vector<int32_t> order(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) order[i] = i;
    uint64_t random = 0x9e3779b97f4a7c15ull;
    for (int32_t i = n - 1; i > 0; --i) {
        random = random * 6364136223846793005ull + 1442695040888963407ull;
        std::swap(order[i], order[static_cast<int32_t>((random >> 33) % static_cast<uint64_t>(i + 1))]);
    }
    auto flooder = [&] {
        auto flood = std::make_unique<FastFlood>(links, matrix);
        flood->points = &points;
        flood->reachableCounts = &reachableCounts;
        flood->rows = rows.data();
        flood->rowFinished = rowFinished.data();
        flood->enterable.assign(words, 0);
        flood->words = words;
        return flood;
    };
    if (threads <= 0) threads = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, std::max(n, 1));
    if (pvsProgress && !pvsProgress(0, n)) FailBuild("BuildPVS: 中止しました");

    // The workers take sources in turn (one worker too, so that a cancel
    // needs no wait for a long source to end); this thread only waits,
    // reports progress and passes on a cancel, so pvsProgress runs where it did.
    std::atomic<int32_t> next{0}, finished{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable wake;
    std::exception_ptr failure;
    auto work = [&] {
        try {
            auto flood = flooder();
            flood->stop = &stop;
            for (int32_t i; !stop && (i = next++) < n;) {
                const int32_t s = order[i];
                flood->FromSource(s);
                if (!stop) rowFinished[s].store(1, std::memory_order_release);
                if (++finished == n) {
                    std::lock_guard<std::mutex> lock(mutex);
                    wake.notify_all();
                }
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            if (!failure) failure = std::current_exception();
            stop = true;
            wake.notify_all();
        }
    };
    std::vector<std::thread> pool;
    auto joinAll = [&] {
        for (std::thread& t : pool) t.join();
        pool.clear();
    };
    bool cancelled = false;
    try {
        for (int32_t t = 0; t < threads; ++t) pool.emplace_back(work);
        std::unique_lock<std::mutex> lock(mutex);
        while (finished < n && !stop) {
            wake.wait_for(lock, std::chrono::milliseconds(100));
            if (finished == n || stop || !pvsProgress) continue;
            lock.unlock();
            cancelled = !pvsProgress(finished, n);
            lock.lock();
            if (cancelled) stop = true;
        }
    } catch (...) {
        stop = true;
        joinAll();
        throw;
    }
    joinAll();
    if (failure) std::rethrow_exception(failure);
    if (cancelled) FailBuild("BuildPVS: 中止しました");
    if (pvsProgress) pvsProgress(n, n);
    return matrix;
}
