// The PVS pass: portal links, the flood, and the fast flood against the plain one.
#include "nodes/pvs.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <thread>

#include "base/report.h"
#include "model/map.h"
#include "nodes/bsp_output.h"
#include "nodes/build.h"
#include "nodes/pvs_chain.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"
#include "tests/test_support.h"

namespace {

class PvsTest : public EditorTest {
protected:
    static Seg Portal(float x1, float y1, float x2, float y2) { return {x1, y1, x2, y2, -1, -1, 0.0f, 0}; }
    // Builds the current map with the PVS into out.wad.
    bool BuildWithPvs() {
        pwadPath = "out.wad";
        BuildOptions options;
        options.computePvs = true;
        return BuildMap(options);
    }
    static std::string Room(int x0, int y0, int x1, int y1) {
        return "sector " + std::to_string(x0) + " " + std::to_string(y0) + "  " + std::to_string(x0) + " " +
               std::to_string(y1) + "  " + std::to_string(x1) + " " + std::to_string(y1) + "  " + std::to_string(x1) +
               " " + std::to_string(y0) + "\n";
    }
};

TEST_F(PvsTest, PortalsLinkWhereTheyShareAPieceRunningAgainstEachOther) {
    const Seg p = Portal(0, 0, 100, 0);
    const struct {
        const char* what;
        Seg q;
        bool linked;
        float sx, sy, ex, ey;  // the link, when linked
    } cases[] = {
        {"the whole edge", Portal(100, 0, 0, 0), true, 0, 0, 100, 0},
        {"a piece inside", Portal(70, 0, 30, 0), true, 30, 0, 70, 0},
        {"over the end", Portal(150, 0, 60, 0), true, 60, 0, 100, 0},
        {"over the start", Portal(40, 0, -20, 0), true, 0, 0, 40, 0},
        {"ending at the start", Portal(60, 0, 0, 0), true, 0, 0, 60, 0},
        {"beyond the start", Portal(-10, 0, -60, 0), false, 0, 0, 0, 0},
        {"0.05 beside", Portal(100, 0.05f, 0, 0.05f), true, 0, 0, 100, 0},
        {"0.2 beside", Portal(100, 0.2f, 0, 0.2f), false, 0, 0, 0, 0},
        {"the same way", Portal(0, 0, 100, 0), false, 0, 0, 0, 0},
        {"beyond the end", Portal(180, 0, 120, 0), false, 0, 0, 0, 0},
        {"across", Portal(50, -10, 50, 10), false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        float len = 0, t1 = 0, t2 = 0;
        const bool linked = PortalsOverlap(p, c.q, len, t1, t2);
        EXPECT_EQ(linked, c.linked) << c.what;
        if (!linked || !c.linked) continue;
        const PortalLink link = AddPortalLink(p, c.q, 7, len, t1, t2);
        EXPECT_EQ(link.neighbour, 7);
        EXPECT_FLOAT_EQ(link.startX, c.sx) << c.what;
        EXPECT_FLOAT_EQ(link.startY, c.sy) << c.what;
        EXPECT_FLOAT_EQ(link.endX, c.ex) << c.what;
        EXPECT_FLOAT_EQ(link.endY, c.ey) << c.what;
    }
    // Portals of no length are left out.
    const std::vector<SegList> portals = {
        {Portal(0, 0, 100, 0), Portal(5, 5, 5, 5)}, {Portal(100, 0, 0, 0)}, {Portal(5, 5, 5, 5)}};
    const auto links = MakePortalLinks(portals);
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].size(), 1u);
    EXPECT_EQ(links[1].size(), 1u);
    EXPECT_TRUE(links[2].empty());
}

TEST_F(PvsTest, AStraightCorridorSeesItselfWhole) {
    // 70 rooms make chains longer than one 64-bit word of signs.
    for (const int rooms : {6, 70}) {
        for (const int32_t threads : {1, 3}) {
            ClearMap();
            std::string script;
            for (int i = 0; i < rooms; ++i) script += Room(i * 64, 0, (i + 1) * 64, 64);
            RunScript(script);
            SetDebugLogEnabled(true);
            pvsThreads = threads;
            ASSERT_TRUE(BuildWithPvs());
            const int32_t n = pvsSubsectors;
            ASSERT_EQ(n, lastBuild.subsectors);
            ASSERT_GE(n, rooms);
            for (int32_t r = 0; r < n; ++r)
                for (int32_t c = 0; c < n; ++c)
                    ASSERT_EQ(pvsMatrix[static_cast<std::size_t>(r) * n + c], r != c)
                        << rooms << " rooms, " << r << "," << c;
            EXPECT_NE(ReadFileBytes("debug.txt").find("numsubsectors = " + std::to_string(n) + "\n"),
                      std::string::npos);
        }
    }
}

TEST_F(PvsTest, ThePvsChangesNothingInThePwad) {
    RunScript(Room(0, 0, 256, 256) + "sector 64 64  192 64  192 192  64 192\n" + Room(256, 64, 512, 192));
    pwadPath = "off.wad";
    ASSERT_TRUE(BuildMap({}));
    EXPECT_TRUE(subsectorPolygons.empty());
    ASSERT_TRUE(BuildWithPvs());
    EXPECT_EQ(ReadFileBytes("out.wad"), ReadFileBytes("off.wad"));
    EXPECT_EQ(static_cast<int32_t>(subsectorPolygons.size()), pvsSubsectors);
}

TEST_F(PvsTest, ACancelledPassKeepsTheOldPwad) {
    RunScript(Room(0, 0, 256, 256) + Room(256, 0, 512, 256) + Room(512, 0, 768, 256));
    for (const int32_t threads : {1, 2}) {
        WriteFileBytes("out.wad", "an earlier build");
        pvsThreads = threads;
        pvsProgress = [](int32_t, int32_t) { return false; };
        EXPECT_FALSE(BuildWithPvs());
        pvsProgress = nullptr;
        EXPECT_EQ(Messages(), std::vector<std::string>{"BuildPVS: 中止しました\nビルドを中止しました"});
        EXPECT_EQ(ReadFileBytes("out.wad"), "an earlier build");
    }
}

// With workers, progress is still reported from the thread that started the
// pass, from the first source to the last.
TEST_F(PvsTest, ProgressComesFromTheCallingThread) {
    std::string rooms;
    for (int i = 0; i < 40; ++i) rooms += Room(i * 64, (i % 3) * 16, (i + 1) * 64, (i % 3) * 16 + 64);
    RunScript(rooms);
    pvsThreads = 2;
    const std::thread::id caller = std::this_thread::get_id();
    int calls = 0;
    bool elsewhere = false;
    int32_t lastDone = -1, total = 0;
    pvsProgress = [&](int32_t done, int32_t of) {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        ++calls;
        lastDone = done, total = of;
        return true;
    };
    ASSERT_TRUE(BuildWithPvs());
    EXPECT_FALSE(elsewhere);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(lastDone, total);
    EXPECT_EQ(total, pvsSubsectors);
}

// The side bits the chain keeps, four at a time, against the side that
// SegmentsCross finds, on points within rounding of the line, where the
// products round and a sign found any other way may differ. Segment c-d,
// d far on the negative side, crosses a-b between its ends, so
// SegmentsCross(a, b, c, d) holds exactly when c is on the non-negative side.
TEST(PvsSides, SideBitsRoundAsSegmentsCrossDoes) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-20000.0f, 20000.0f), along(0.2f, 0.8f), off(-0.004f, 0.004f);
    constexpr int kPoints = 45;  // not a multiple of four: the single steps too
    struct Segment {
        float ax, ay, bx, by;
    };
    auto crossingPoint = [&](const Segment& s, float& x, float& y, float& farX, float& farY) {
        const float len = std::hypot(s.bx - s.ax, s.by - s.ay);
        const float nx = -(s.by - s.ay) / len, ny = (s.bx - s.ax) / len;  // the left normal
        const float t = along(random), o = off(random);
        x = s.ax + t * (s.bx - s.ax) + o * nx, y = s.ay + t * (s.by - s.ay) + o * ny;
        farX = x - 1000 * nx, farY = y - 1000 * ny;
    };
    auto randomSegment = [&] {
        Segment s;
        do s = {coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
        while (std::hypot(s.bx - s.ax, s.by - s.ay) < 1000);
        return s;
    };
    int sides[2][2] = {};  // [across][side]
    for (int round = 0; round < 100; ++round) {
        // Many points against one segment.
        const Segment s = randomSegment();
        float xs[kPoints], ys[kPoints];
        bool expected[kPoints];
        for (int k = 0; k < kPoints; ++k) {
            float farX, farY;
            crossingPoint(s, xs[k], ys[k], farX, farY);
            expected[k] = SegmentsCross(s.ax, s.ay, s.bx, s.by, xs[k], ys[k], farX, farY);
        }
        uint64_t bits = 0;
        SideBits(xs, ys, kPoints, s.ax, s.ay, s.bx - s.ax, s.by - s.ay, &bits, 1);
        for (int k = 0; k < kPoints; ++k) {
            ASSERT_EQ(((bits >> k) & 1) != 0, expected[k]) << "round " << round << ", point " << k;
            ++sides[0][expected[k]];
        }
        // One point against many segments through it.
        float ox[kPoints], oy[kPoints], dx[kPoints], dy[kPoints], px = 0, py = 0;
        for (int k = 0; k < kPoints; ++k) {
            Segment through = randomSegment();
            float farX, farY;
            if (k == 0) {
                crossingPoint(through, px, py, farX, farY);
            } else {
                // Shifted so that the point lies within rounding of it.
                float x, y;
                crossingPoint(through, x, y, farX, farY);
                through = {through.ax + px - x, through.ay + py - y, through.bx + px - x, through.by + py - y};
            }
            const float len = std::hypot(through.bx - through.ax, through.by - through.ay);
            farX = px + 1000 * (through.by - through.ay) / len, farY = py - 1000 * (through.bx - through.ax) / len;
            ox[k] = through.ax, oy[k] = through.ay, dx[k] = through.bx - through.ax, dy[k] = through.by - through.ay;
            expected[k] = SegmentsCross(through.ax, through.ay, through.bx, through.by, px, py, farX, farY);
        }
        bits = SideBitsAcross(ox, oy, dx, dy, kPoints, px, py);
        for (int k = 0; k < kPoints; ++k) {
            ASSERT_EQ(((bits >> k) & 1) != 0, expected[k]) << "round " << round << ", segment " << k;
            ++sides[1][expected[k]];
        }
    }
    for (const auto& across : sides) EXPECT_GT(std::min(across[0], across[1]), 500);
}

// The chain test that keeps signs against the plain crossing test of every
// pair that uses the newest position. Portals across a corridor leave the
// line y = 32 open; now and then one above it may close the chain, or one
// turned round does, and is tried again, as the flood tries the next portal.
// Some portals share the start point, the end point or both with the one
// before, as portals that meet at a corner do. After three tries a portal
// that lets every line through keeps the chain growing past 64 positions,
// where a set of signs takes more than one word.
// Integer points keep the float signs exact.
TEST_F(PvsTest, TheChainTestWithSignsMatchesThePlainCrossingTest) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        auto draw = [&](int lo, int hi) { return static_cast<float>(lo + static_cast<int>(random() % (hi - lo + 1))); };
        SignedChain chain;
        chain.Resize(80);
        int closed = 0;
        for (int32_t d = 0; d < 80; ++d) {
            for (int tries = 0;; ++tries) {
                const float x = 8.0f * d;
                PortalLink link = {x, draw(0, 30), x + draw(-2, 2), draw(34, 64), d};
                const unsigned kind = random() % 8;
                if (tries == 3) {
                    link = {x, -1000, x, 1000, d};
                } else if (kind < 2) {
                    link.startY = draw(36, 50), link.endY = draw(52, 64);
                } else if (kind == 2) {
                    std::swap(link.startY, link.endY);
                }
                // The start point, the end point or both of the portal before.
                const unsigned repeat = random() % 6;
                if (d > 0 && tries < 3 && repeat < 3) {
                    if (repeat != 1) link.startX = chain.sx[d - 1], link.startY = chain.sy[d - 1];
                    if (repeat != 0) link.endX = chain.ex[d - 1], link.endY = chain.ey[d - 1];
                }
                chain.Set(d, d, link);
                if (d == 0) break;
                bool crossing = false;
                for (int32_t i = 0; i < d; ++i)
                    for (int32_t l = 0; l <= d; ++l)
                        for (int32_t m = l + 1; m <= d; ++m) crossing = crossing || chain.Cross(i, d, l, m);
                for (int32_t i = 0; i < d; ++i)
                    for (int32_t j = i + 1; j < d; ++j)
                        for (int32_t l = 0; l < d; ++l) crossing = crossing || chain.Cross(i, j, l, d);
                ASSERT_EQ(chain.OpenWithNewest(d), !crossing) << "seed " << seed << ", position " << d;
                if (!crossing) break;
                ASSERT_LT(tries, 3) << "seed " << seed << ", position " << d;
                ++closed;
            }
        }
        EXPECT_GT(closed, 5) << "seed " << seed;
    }
}

// A portal that repeats the end (or start) point of the one before and
// whose new point crosses only the segment ending at that repeated point:
// nothing but the pairs with the point before can find the crossing.
TEST(PvsChain, ARepeatedPointStillFindsTheCrossingBesideIt) {
    const struct {
        const char* what;
        PortalLink third;
        bool open;
    } cases[] = {
        {"end repeated, start across the last end segment", {4, 20, 8, 10, 2}, false},
        {"end repeated, start behind", {16, -4, 8, 10, 2}, true},
        {"start repeated, end across the last start segment", {8, 0, 4, -10, 2}, false},
        {"start repeated, end beyond", {8, 0, 16, 14, 2}, true},
        {"both repeated", {8, 0, 8, 10, 2}, true},
    };
    for (const auto& c : cases) {
        SignedChain chain;
        chain.Resize(3);
        chain.Set(0, 0, {0, 0, 0, 10, 0});
        chain.Set(1, 1, {8, 0, 8, 10, 1});
        ASSERT_TRUE(chain.OpenWithNewest(1)) << c.what;
        chain.Set(2, 2, c.third);
        EXPECT_EQ(chain.OpenAll(3), c.open) << c.what;
        EXPECT_EQ(chain.OpenWithNewest(2), c.open) << c.what;
    }
}

// The three-portal test the bounds use gives the plain crossing test's
// answer for every third portal beyond an open pair, the pair at the start
// of the chain or further on, one portal at a time or four. Points on a small grid repeat and line up;
// points on one slanted line leave signs that only the rounding decides.
TEST(PvsChain, TheTestBeyondAnOpenPairMatchesThePlainCrossingTest) {
    std::mt19937 random(5);
    const std::function<float()> kinds[] = {
        [&] { return static_cast<float>(random() % 7); },
        [&] { return static_cast<float>(random() % 90) / 7.0f; },
    };
    for (const auto& coordinate : kinds) {
        int open = 0, closed = 0;
        for (int n = 0; n < 20000; ++n) {
            // On the slanted line y = 3x / 7, with a little off it now and then.
            auto portal = [&](int32_t neighbour) {
                PortalLink l = {coordinate(), coordinate(), coordinate(), coordinate(), neighbour};
                if (random() % 2) l.startY = l.startX * 3.0f / 7.0f + static_cast<float>(random() % 3) * 1e-3f;
                if (random() % 2) l.endY = l.endX * 3.0f / 7.0f;
                return l;
            };
            const PortalLink p = portal(0), c = portal(1), g = portal(2);
            Chain plain;
            plain.Resize(3);
            plain.Set(0, 0, p);
            plain.Set(1, 1, c);
            if (!plain.OpenAll(2)) continue;
            plain.Set(2, 2, g);
            const bool expected = plain.OpenAll(3);
            (expected ? open : closed) += 1;
            const int32_t at = static_cast<int32_t>(random() % 2);
            Chain chain;
            chain.Resize(2);
            chain.Set(0, 0, {100, 100, 100, 120, 1});
            chain.Set(at, 0, p);
            const OpenBeyondPair three(chain, at, c);
            ASSERT_EQ(three.Open(g), expected) << "case " << n << " at position " << at;
            // Four at a time, g among three others, some lanes left out.
            const PortalLink four[4] = {portal(2), portal(2), portal(2), portal(2)};
            const int32_t lane = static_cast<int32_t>(random() % 4),
                          count = lane + 1 + static_cast<int32_t>(random() % (4 - lane));
            float gsx[8] = {}, gsy[8] = {}, gex[8] = {}, gey[8] = {};
            for (int32_t k = 0; k < 4; ++k) {
                const PortalLink& l = k == lane ? g : four[k];
                gsx[k] = l.startX, gsy[k] = l.startY, gex[k] = l.endX, gey[k] = l.endY;
            }
            const uint32_t lanes = three.OpenOfFour(gsx, gsy, gex, gey, count);
            for (int32_t k = 0; k < 4; ++k) {
                const bool one = k < count && three.Open(k == lane ? g : four[k]);
                ASSERT_EQ((lanes >> k) & 1, one ? 1u : 0u) << "case " << n << ", lane " << k << " of " << count;
            }
        }
        EXPECT_GT(open, 100);
        EXPECT_GT(closed, 100);
    }
}

// The fast flood marks exactly what the plain one marks, on one thread or
// several: corridors that bend, rooms in rooms, pillars, and seeded random
// rooms, some joined by corridors at random heights.
TEST_F(PvsTest, FastFloodGivesThePlainMatrix) {
    std::vector<std::string> maps = {
        Room(0, 0, 128, 64) + Room(128, 0, 256, 64) + Room(192, 64, 256, 192) + Room(192, 192, 320, 256) +
            Room(320, 128, 384, 256),
        Room(0, 0, 512, 512) + Room(128, 128, 384, 384) + Room(192, 192, 320, 320) + Room(512, 192, 640, 320),
        Room(0, 0, 384, 256) + "sector 96 96  160 96  160 160  96 160\nsector 224 64  288 64  288 192  224 192\n",
    };
    // A corridor winding round a block: rooms in a ring.
    std::string ring;
    for (int i = 0; i < 5; ++i) ring += Room(i * 96, 0, (i + 1) * 96, 96) + Room(i * 96, 384, (i + 1) * 96, 480);
    for (int i = 1; i < 4; ++i) ring += Room(0, i * 96, 96, (i + 1) * 96) + Room(384, i * 96, 480, (i + 1) * 96);
    maps.push_back(ring);
    std::mt19937 random(6);
    for (int m = 0; m < 3; ++m) {
        std::string rooms;
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                const int x = c * 200, y = r * 200, w = 96 + 8 * static_cast<int>(random() % 8);
                rooms += Room(x, y, x + w, y + w);
                if (c > 0) rooms += Room(x - 200 + 96 + 8 * 0, y + 24, x, y + 56);
                if (random() % 3 == 0)
                    rooms += "sector " + std::to_string(x + 40) + " " + std::to_string(y + 40) + "  " +
                             std::to_string(x + 56) + " " + std::to_string(y + 40) + "  " + std::to_string(x + 56) +
                             " " + std::to_string(y + 56) + "  " + std::to_string(x + 40) + " " +
                             std::to_string(y + 56) + "\n";
            }
        }
        maps.push_back(rooms);
    }
    for (int m = 0; m < 2; ++m) {
        std::string rooms;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) {
                const int x = c * 240, y = r * 240;
                rooms += Room(x, y, x + 160, y + 160);
                const int at = 8 + 8 * static_cast<int>(random() % 16);
                if (c > 0) rooms += Room(x - 80, y + at, x, y + at + 24);
                if (r > 0 && random() % 2 == 0) rooms += Room(x + at, y - 80, x + at + 24, y);
            }
        }
        maps.push_back(rooms);
    }
    int partlyVisible = 0;
    for (const std::string& map : maps) {
        ClearMap();
        RunScript(map);
        Messages();
        ASSERT_TRUE(BuildWithPvs());
        const std::vector<uint8_t> fast = pvsMatrix;
        for (const int32_t threads : {1, 2, 5}) {
            pvsThreads = threads;
            ASSERT_TRUE(BuildWithPvs());
            EXPECT_EQ(pvsMatrix, fast) << threads << " threads\n" << map;
        }
        pvsThreads = 0;
        // The plain links, the plain flood and the plain look-ups.
        useReferenceLookups = true;
        ASSERT_TRUE(BuildWithPvs());
        useReferenceLookups = false;
        EXPECT_EQ(fast, pvsMatrix) << map;
        long visible = 0;
        for (uint8_t v : fast) visible += v;
        EXPECT_GT(visible, 0);
        if (visible < static_cast<long>(fast.size()) - pvsSubsectors) ++partlyVisible;
    }
    // Maps where not everything sees everything, so that the bounds prune.
    EXPECT_GE(partlyVisible, 5);
}

// Where a subsector sees another that does not see it back, marks the fast
// flood takes from one row into another must still come out as the plain
// flood's. Built maps are almost symmetric; these grids of cells are not:
// each way through an edge gets its own random piece of it, and some edges
// only one way. In the second kind of grid some pieces are narrow gaps and
// the others nearly whole edges, so chains pass narrow portals behind wide
// ones, which bound them on their own.
TEST(PvsFlood, OneWayLinksGiveThePlainMatrix) {
    constexpr int kSide = 5;
    constexpr float kCell = 64;
    std::mt19937 random(11);
    struct Kind {
        const char* what;
        std::function<float()> inset;  // of a piece from each end of its edge
    };
    const Kind kinds[] = {
        {"random pieces", [&] { return static_cast<float>(random() % 24); }},
        {"narrow gaps and wide openings",
         [&] { return static_cast<float>(random() % 3 == 0 ? 26 + random() % 5 : random() % 4); }},
    };
    for (int grid = 0; grid < 8; ++grid) {
        const Kind& kind = kinds[grid % 2];
        auto inset = [&] { return kind.inset(); };
        std::vector<std::vector<PortalLink>> links(kSide * kSide);
        auto cell = [](int r, int c) { return r * kSide + c; };
        // The link from (r, c) to the cell beyond the edge crossed going
        // (dr, dc); start on the left of the way, end on the right.
        auto link = [&](int r, int c, int dr, int dc) {
            const float x0 = c * kCell, y0 = r * kCell, x1 = x0 + kCell, y1 = y0 + kCell;
            float sx, sy, ex, ey;
            if (dc == 1)
                sx = ex = x1, sy = y1 - inset(), ey = y0 + inset();
            else if (dc == -1)
                sx = ex = x0, sy = y0 + inset(), ey = y1 - inset();
            else if (dr == 1)
                sy = ey = y1, sx = x0 + inset(), ex = x1 - inset();
            else
                sy = ey = y0, sx = x1 - inset(), ex = x0 + inset();
            links[cell(r, c)].push_back({sx, sy, ex, ey, cell(r + dr, c + dc)});
        };
        for (int r = 0; r < kSide; ++r) {
            for (int c = 0; c < kSide; ++c) {
                const int ways[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
                for (const auto& w : ways) {
                    const int r2 = r + w[0], c2 = c + w[1];
                    if (r2 < 0 || r2 >= kSide || c2 < 0 || c2 >= kSide || random() % 8 == 0) continue;
                    link(r, c, w[0], w[1]);
                }
            }
        }
        const std::vector<uint8_t> plain = FloodPlain(links);
        int oneWay = 0;
        for (int a = 0; a < kSide * kSide; ++a)
            for (int b = 0; b < kSide * kSide; ++b)
                oneWay += plain[a * kSide * kSide + b] > plain[b * kSide * kSide + a];
        EXPECT_GT(oneWay, 0) << kind.what << ", grid " << grid;
        for (const int32_t threads : {1, 2, 5})
            EXPECT_EQ(FloodFast(links, threads), plain)
                << kind.what << ", grid " << grid << ", " << threads << " threads";
    }
}

}  // namespace
