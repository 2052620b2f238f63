// The native map file: layout, round trips, refused files and failed saves.
#include "model/map_file.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

#include "app/title.h"
#include "base/little_endian.h"
#include "model/map.h"
#include "tests/test_support.h"

namespace {

// Writes the file layout by hand, independent of the code under test.
struct Bytes {
    std::string data;
    Bytes& Label(const char* label) {
        data.append(label, 4);
        return *this;
    }
    Bytes& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Bytes& F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return I32(static_cast<int32_t>(bits));
    }
    Bytes& Name(const char* name) {
        char field[8] = {};
        std::memcpy(field, name, std::min<std::size_t>(std::strlen(name), 8));
        data.append(field, 8);
        return *this;
    }
    Bytes& Raw(const char* bytes, std::size_t n) {
        data.append(bytes, n);
        return *this;
    }
};

void PutI32(std::string& data, std::size_t offset, int32_t v) {
    for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

// Two vertices, one sector, one one-sided linedef, one thing; link slots of
// the non-last records carry an arbitrary nonzero value as old files do.
std::string HandWrittenFile(int32_t lastThingLink = 0) {
    Bytes b;
    b.Label("KDM ").I32(5);
    b.Label("VERT").I32(2);
    b.F32(-64.5f).F32(128.0f).Raw("\x01\x02\x03\x04\x05\x06\x07\x08", 8).I32(0x00A1B2C3);
    b.F32(32.0f).F32(-16.25f).Raw("\0\0\0\0\0\0\0\0", 8).I32(0);
    b.Label("SCTR").I32(1);
    b.I32(-8).I32(120).Name("FLOOR4_8").Name("CEIL3_5").I32(144).I32(9).I32(3).I32(0);
    b.Label("LINE").I32(1);
    b.I32(1).I32(0).I32(1).I32(11).I32(0);
    b.I32(4).I32(-2).Name("-").Name("-").Name("STARTAN3").I32(0);
    b.I32(0).I32(0).Name("-").Name("-").Name("-").I32(-1);
    b.I32(0);
    b.Label("THNG").I32(1);
    b.F32(0.0f).F32(16.0f).I32(90).I32(3001).I32(7).I32(9).I32(lastThingLink);
    return b.data;
}

class MapFileTest : public EditorTest {
protected:
    // A map with every field set, 8-character names and spare bytes included.
    void BuildFullMap() {
        const float coordinates[][2] = {{0, 0}, {256.5f, 0}, {256.5f, -128.25f}, {0, -128.25f}, {-1e6f, 3e-5f}};
        for (int i = 0; i < 5; ++i) {
            auto* v = new Vertex{};
            v->x = coordinates[i][0];
            v->y = coordinates[i][1];
            for (int k = 0; k < 8; ++k) v->spare[k] = static_cast<uint8_t>(0x11 * (i + 1) + k);
            AppendVertex(v);
        }
        for (int i = 0; i < 2; ++i) {
            auto* s = new Sector{};
            s->floorHeight = -24 + i;
            s->ceilingHeight = 256 * (i + 1);
            SetName(s->floorFlat, i ? "FLOOR0_1" : "NUKAGE1");
            SetName(s->ceilingFlat, "CEIL5_12");
            s->light = 200 - i;
            s->special = 7 + i;
            s->tag = 40 + i;
            AppendSector(s);
        }
        for (int i = 0; i < 4; ++i) {
            auto* l = new Linedef{};
            l->startVertex = VertexForNum(i);
            l->endVertex = VertexForNum((i + 1) % 4);
            l->flags = 1 << i;
            l->special = 100 + i;
            l->tag = i;
            l->right = {i, -i, {}, {}, {}, SectorForNum(i % 2)};
            SetName(l->right.upper, "STARTAN3");
            SetName(l->right.lower, "BROWNGRN");
            SetName(l->right.middle, "-");
            l->left = {-7, 9, {}, {}, {}, i == 2 ? SectorForNum(0) : nullptr};
            SetName(l->left.upper, "BIGDOOR1");
            SetName(l->left.lower, "SUPPORT2");
            SetName(l->left.middle, "MIDGRATE");
            AppendLinedef(l);
        }
        for (int i = 0; i < 3; ++i) {
            auto* t = new Thing{};
            t->x = 12.5f * i;
            t->y = -3.0f * i;
            t->angle = 45 * i;
            t->type = 3000 + i;
            t->flags = 31 - i;
            t->typeIndex = 10 * i + 1;
            AppendThing(t);
        }
        mapSlot = 32;
    }

    // What a load must leave alone when it refuses a file.
    struct Snapshot {
        std::string bytes, path, pwad;
        int32_t modified, slot, saves;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() { return {EncodeMapFile(), mapFilePath, pwadPath, mapModified, mapSlot, saveCount}; }
};

TEST_F(MapFileTest, HandWrittenFileDecodesToKnownValues) {
    WriteFileBytes("fixture.kdm", HandWrittenFile());
    mapModified = 1;
    ASSERT_TRUE(LoadMapFile("fixture.kdm"));
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(mapSlot, 5);
    ASSERT_EQ(numvertices, 2);
    EXPECT_EQ(vertices->x, -64.5f);
    EXPECT_EQ(vertices->y, 128.0f);
    EXPECT_EQ(std::memcmp(vertices->spare, "\x01\x02\x03\x04\x05\x06\x07\x08", 8), 0);
    EXPECT_EQ(vertices->next->y, -16.25f);

    ASSERT_EQ(numsectors, 1);
    EXPECT_EQ(sectors->floorHeight, -8);
    EXPECT_EQ(sectors->ceilingHeight, 120);
    EXPECT_TRUE(NameEquals(sectors->floorFlat, "FLOOR4_8"));
    EXPECT_TRUE(NameEquals(sectors->ceilingFlat, "CEIL3_5"));
    EXPECT_EQ(sectors->light, 144);
    EXPECT_EQ(sectors->special, 9);
    EXPECT_EQ(sectors->tag, 3);

    ASSERT_EQ(numlinedefs, 1);
    const Linedef& l = *linedefs;
    EXPECT_EQ(l.startVertex, vertices->next);
    EXPECT_EQ(l.endVertex, vertices);
    EXPECT_EQ(l.flags, 1);
    EXPECT_EQ(l.special, 11);
    EXPECT_EQ(l.right.xOffset, 4);
    EXPECT_EQ(l.right.yOffset, -2);
    EXPECT_TRUE(NameEquals(l.right.middle, "STARTAN3"));
    EXPECT_EQ(l.right.sector, sectors);
    EXPECT_EQ(l.left.sector, nullptr);

    ASSERT_EQ(numthings, 1);
    EXPECT_EQ(things->y, 16.0f);
    EXPECT_EQ(things->angle, 90);
    EXPECT_EQ(things->type, 3001);
    EXPECT_EQ(things->flags, 7);
    EXPECT_EQ(things->typeIndex, 9);

    EXPECT_EQ(mapFilePath, "fixture.kdm");
    EXPECT_EQ(pwadPath, "fixture.wad");
    EXPECT_EQ(mapModified, 0);
    EXPECT_EQ(saveCount, 0);
    EXPECT_EQ(LastWindowTitle(), "Keldra - [fixture.kdm - MAP05]");
}

TEST_F(MapFileTest, SaveWritesTheLayoutFieldByField) {
    WriteFileBytes("fixture.kdm", HandWrittenFile());
    ASSERT_TRUE(LoadMapFile("fixture.kdm"));
    SetMapFileName("copy.kdm");
    MarkModified();
    ASSERT_TRUE(SaveMapFile());
    EXPECT_EQ(mapModified, 0);
    EXPECT_EQ(saveCount, 1);
    EXPECT_EQ(LastWindowTitle(), "Keldra - [copy.kdm - MAP05]");

    // Same bytes as the hand-written file, except that the writer puts its
    // own nonzero value into the first vertex's link slot.
    std::string written = ReadFileBytes("copy.kdm");
    std::string expected = HandWrittenFile();
    ASSERT_EQ(written.size(), expected.size());
    const std::size_t firstVertexLink = 16 + 16;
    EXPECT_NE(written.substr(firstVertexLink, 4), std::string(4, '\0'));
    written.replace(firstVertexLink, 4, expected.substr(firstVertexLink, 4));
    EXPECT_EQ(written, expected);
}

TEST_F(MapFileTest, EveryFieldSurvivesARoundTripByteForByte) {
    BuildFullMap();
    SetMapFileName("full.kdm");
    ASSERT_TRUE(SaveMapFile());
    const std::string first = ReadFileBytes("full.kdm");
    EXPECT_EQ(first.size(), 40u + 5 * 20 + 2 * 40 + 4 * 96 + 3 * 28);

    ASSERT_TRUE(LoadMapFile("full.kdm"));
    EXPECT_EQ(numvertices, 5);
    EXPECT_EQ(numlinedefs, 4);
    EXPECT_EQ(linedefs->next->next->left.sector, sectors);
    EXPECT_EQ(linedefs->left.sector, nullptr);
    EXPECT_EQ(VertexForNum(4)->spare[7], 0x55 + 7);

    SetMapFileName("again.kdm");
    ASSERT_TRUE(SaveMapFile());
    EXPECT_EQ(ReadFileBytes("again.kdm"), first);
    ASSERT_TRUE(SaveMapFile());  // saving twice without edits
    EXPECT_EQ(ReadFileBytes("again.kdm"), first);
    EXPECT_EQ(saveCount, 2);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MapFileTest, EmptyMapIsFortyBytes) {
    mapSlot = 17;
    ASSERT_TRUE(SaveMapFile());
    const std::string expected = Bytes()
                                     .Label("KDM ")
                                     .I32(17)
                                     .Label("VERT")
                                     .I32(0)
                                     .Label("SCTR")
                                     .I32(0)
                                     .Label("LINE")
                                     .I32(0)
                                     .Label("THNG")
                                     .I32(0)
                                     .data;
    EXPECT_EQ(ReadFileBytes("untitled.kdm"), expected);
    mapSlot = 1;
    ASSERT_TRUE(LoadMapFile("untitled.kdm"));
    EXPECT_EQ(mapSlot, 17);
    EXPECT_EQ(numvertices + numsectors + numlinedefs + numthings, 0);
}

TEST_F(MapFileTest, NonzeroLastLinkWarnsAndLoads) {
    WriteFileBytes("linked.kdm", HandWrittenFile(0x1234));
    ASSERT_TRUE(LoadMapFile("linked.kdm"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"最後の Thing の next フィールドが NULL になっていません"});
    EXPECT_EQ(numthings, 1);
    EXPECT_EQ(things->next, nullptr);
    EXPECT_EQ(numvertices, 2);
}

TEST_F(MapFileTest, LeftSideNumbersThatNameNoSectorBecomeOneSided) {
    std::string bytes = HandWrittenFile();
    const std::size_t leftSector = 16 + 2 * 20 + 8 + 40 + 8 + 88;
    for (int32_t number : {-1, 1, 99, INT32_MIN}) {
        PutI32(bytes, leftSector, number);
        WriteFileBytes("left.kdm", bytes);
        ASSERT_TRUE(LoadMapFile("left.kdm")) << number;
        EXPECT_EQ(linedefs->left.sector, nullptr) << number;
    }
    PutI32(bytes, leftSector, 0);
    WriteFileBytes("left.kdm", bytes);
    ASSERT_TRUE(LoadMapFile("left.kdm"));
    EXPECT_EQ(linedefs->left.sector, sectors);
}

TEST_F(MapFileTest, RefusedFilesLeaveTheMapAsItWas) {
    const std::string good = HandWrittenFile();
    const std::size_t vertChunk = 8, sctrChunk = 16 + 2 * 20, lineChunk = sctrChunk + 8 + 40,
                      thngChunk = lineChunk + 8 + 96, line = lineChunk + 8, thing = thngChunk + 8;
    auto with = [&](std::size_t offset, int32_t value) {
        std::string b = good;
        PutI32(b, offset, value);
        return b;
    };
    auto label = [&](std::size_t offset) {
        std::string b = good;
        b[offset] = 'x';
        return b;
    };
    const float nan = std::nanf("");
    uint32_t nanBits;
    std::memcpy(&nanBits, &nan, 4);

    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "LoadMapFile: KDM ラベルが見つかりません"},
        {"wrong label", label(0), "LoadMapFile: KDM ラベルが見つかりません"},
        {"lower-case label", "kdm " + good.substr(4), "LoadMapFile: KDM ラベルが見つかりません"},
        {"no map slot", good.substr(0, 6), "LoadMapFile: ファイルが途中で終わっています"},
        {"map slot 0", with(4, 0), "LoadMapFile: マップ番号 0 が 1 から 32 の範囲にありません"},
        {"map slot 33", with(4, 33), "LoadMapFile: マップ番号 33 が 1 から 32 の範囲にありません"},
        {"VERT label", label(vertChunk), "LoadMapFile: VERT ラベルが見つかりません"},
        {"SCTR label", label(sctrChunk), "LoadMapFile: SCTR ラベルが見つかりません"},
        {"LINE label", label(lineChunk), "LoadMapFile: LINE ラベルが見つかりません"},
        {"THNG label", label(thngChunk), "LoadMapFile: THNG ラベルが見つかりません"},
        {"negative count", with(vertChunk + 4, -1), "LoadMapFile: Vertex の数 (-1) が正しくありません"},
        {"huge count", with(sctrChunk + 4, INT32_MAX), "LoadMapFile: ファイルが途中で終わっています"},
        {"one record short", with(thngChunk + 4, 2), "LoadMapFile: ファイルが途中で終わっています"},
        {"cut inside a record", good.substr(0, good.size() - 1), "LoadMapFile: ファイルが途中で終わっています"},
        {"cut after a label", good.substr(0, thngChunk + 4), "LoadMapFile: ファイルが途中で終わっています"},
        {"no thing chunk", good.substr(0, thngChunk), "LoadMapFile: THNG ラベルが見つかりません"},
        {"start vertex", with(line, 2), "LoadMapFile: Linedef 0 の始点の Vertex (2) が見つかりません"},
        {"end vertex", with(line + 4, -1), "LoadMapFile: Linedef 0 の終点の Vertex (-1) が見つかりません"},
        {"linedef of no length", with(line + 4, ReadI32(good, line)),
         "LoadMapFile: Linedef 0 の始点と終点が同じ位置にあります"},
        {"right sector", with(line + 52, -1), "LoadMapFile: Linedef 0 の右側の Sector (-1) が見つかりません"},
        {"vertex not a number", with(16, static_cast<int32_t>(nanBits)),
         "LoadMapFile: Vertex 0 の座標が数ではありません"},
        {"thing not a number", with(thing + 4, 0x7F800000), "LoadMapFile: Thing 0 の座標が数ではありません"},
        {"thing type row", with(thing + 20, 121), "LoadMapFile: Thing 0 の種類 (121) がありません"},
        {"negative type row", with(thing + 20, -1), "LoadMapFile: Thing 0 の種類 (-1) がありません"},
    };

    BuildFullMap();
    SetMapFileName("current.kdm");
    mapModified = 1;
    saveCount = 2;
    const Snapshot before = Take();
    for (const auto& c : cases) {
        WriteFileBytes("bad.kdm", c.bytes);
        EXPECT_FALSE(LoadMapFile("bad.kdm")) << c.what;
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.what;
        EXPECT_TRUE(Take() == before) << c.what;
    }
    EXPECT_FALSE(LoadMapFile("missing.kdm"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"LoadMapFile: ファイルが開けません"});
    EXPECT_TRUE(Take() == before);
}

TEST_F(MapFileTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    BuildFullMap();
    SetMapFileName("keep.kdm");
    ASSERT_TRUE(SaveMapFile());
    const std::string old = ReadFileBytes("keep.kdm");

    things->angle = 270;
    MarkModified();
    // A file of the user's that looks like a temporary file is not touched.
    WriteFileBytes("keep.kdm.tmp", "mine");
    {
        const FileSizeLimit diskFull(16);
        EXPECT_FALSE(SaveMapFile());
    }
    EXPECT_EQ(Messages(), std::vector<std::string>{"SaveMapFile: keep.kdm に書き込めません"});
    EXPECT_EQ(ReadFileBytes("keep.kdm"), old);
    EXPECT_EQ(ReadFileBytes("keep.kdm.tmp"), "mine");
    EXPECT_EQ(FilesHere(), (std::vector<std::string>{"keep.kdm", "keep.kdm.tmp"}));  // no temporary left
    EXPECT_EQ(mapModified, 1);
    EXPECT_EQ(saveCount, 1);
    ASSERT_TRUE(SaveMapFile());
    EXPECT_EQ(ReadFileBytes("keep.kdm.tmp"), "mine");

    // A folder that does not exist.
    SetMapFileName("no/such/folder/map.kdm");
    EXPECT_FALSE(SaveMapFile());
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("no"));
}

TEST_F(MapFileTest, BrokenReferenceIsFatalAndLeavesTheOldFile) {
    BuildFullMap();
    SetMapFileName("keep.kdm");
    ASSERT_TRUE(SaveMapFile());
    const std::string old = ReadFileBytes("keep.kdm");

    Vertex stray{};
    Vertex* kept = linedefs->next->endVertex;
    linedefs->next->endVertex = &stray;
    EXPECT_THROW(SaveMapFile(), FatalExit);
    EXPECT_EQ(Messages(), std::vector<std::string>{"VertexNumForPtr: pointer not found\nプログラムは終了します"});
    linedefs->next->endVertex = kept;
    EXPECT_EQ(ReadFileBytes("keep.kdm"), old);
}

TEST_F(MapFileTest, CountThatDisagreesWithTheListWarnsAndWritesTheRecords) {
    BuildFullMap();
    numsectors = 5;
    ASSERT_TRUE(SaveMapFile());
    EXPECT_EQ(Messages(), std::vector<std::string>{"SaveMapFile: Sector の数が合いません"});
    ASSERT_TRUE(LoadMapFile("untitled.kdm"));
    EXPECT_EQ(numsectors, 2);
    EXPECT_EQ(numthings, 3);
}

// Truncated and bit-flipped files: never a crash, and either a sound map or
// a refusal that leaves the current map alone.
TEST_F(MapFileTest, DamagedFilesNeverBreakTheEditor) {
    BuildFullMap();
    const std::string good = EncodeMapFile();
    ClearMap();
    auto checkSound = [] {
        int n = 0;
        for (Vertex* v = vertices; v; v = v->next) ++n;
        EXPECT_EQ(n, numvertices);
        n = 0;
        for (Linedef* l = linedefs; l; l = l->next, ++n) {
            ASSERT_NE(l->startVertex, nullptr);
            ASSERT_NE(l->endVertex, nullptr);
            ASSERT_NE(l->right.sector, nullptr);
            VertexNumForPtr(l->startVertex);
            VertexNumForPtr(l->endVertex);
            SectorNumForPtr(l->right.sector);
        }
        EXPECT_EQ(n, numlinedefs);
        for (Thing* t = things; t; t = t->next) EXPECT_TRUE(t->typeIndex >= 0 && t->typeIndex < 121);
    };

    for (std::size_t length = 0; length < good.size(); ++length) {
        WriteFileBytes("cut.kdm", good.substr(0, length));
        EXPECT_FALSE(LoadMapFile("cut.kdm")) << length;
        EXPECT_EQ(numvertices, 0);
    }
    Messages();

    std::mt19937 random(20261210);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) bytes[random() % bytes.size()] ^= static_cast<char>(1u << (random() % 8));
        WriteFileBytes("flip.kdm", bytes);
        const std::string before = EncodeMapFile();
        if (LoadMapFile("flip.kdm")) {
            ++loaded;
            checkSound();
        } else {
            EXPECT_EQ(EncodeMapFile(), before);
        }
        Messages();
    }
    // Most flips hit coordinates, names and numbers that any value is fine for.
    EXPECT_GT(loaded, 0);
}

}  // namespace
