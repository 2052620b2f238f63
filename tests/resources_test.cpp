// The catalogue and the images, on a tiny IWAD written here and on Freedoom.
#include <cstring>
#include <random>

#include "base/report.h"
#include "platform/files.h"
#include "resources/catalogue.h"
#include "resources/images.h"
#include "tests/test_support.h"

namespace {

struct Lump {
    std::string name, data;
};

std::string Wad(const char* kind, const std::vector<Lump>& lumps) {
    std::string body, directory;
    auto put32 = [](std::string& s, uint32_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
    };
    for (const Lump& l : lumps) {
        put32(directory, 12 + static_cast<uint32_t>(body.size()));
        put32(directory, static_cast<uint32_t>(l.data.size()));
        directory += l.name + std::string(8 - l.name.size(), '\0');
        body += l.data;
    }
    std::string out = kind;
    put32(out, static_cast<uint32_t>(lumps.size()));
    put32(out, 12 + static_cast<uint32_t>(body.size()));
    return out + body + directory;
}

void PutU16(std::string& s, int v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string& s, uint32_t v) {
    PutU16(s, static_cast<int>(v & 0xFFFF));
    PutU16(s, static_cast<int>(v >> 16));
}

// A picture lump: per column, its posts (top row and pixels).
using Post = std::pair<int, std::vector<uint8_t>>;
std::string Picture(int width, int height, const std::vector<std::vector<Post>>& columns) {
    std::string header, data;
    PutU16(header, width);
    PutU16(header, height);
    PutU16(header, 0);
    PutU16(header, 0);
    const std::size_t start = 8 + 4 * columns.size();
    for (const auto& posts : columns) {
        PutU32(header, static_cast<uint32_t>(start + data.size()));
        for (const Post& p : posts) {
            data.push_back(static_cast<char>(p.first));
            data.push_back(static_cast<char>(p.second.size()));
            data.push_back(0);
            data.append(p.second.begin(), p.second.end());
            data.push_back(0);
        }
        data.push_back(static_cast<char>(255));
    }
    return header + data;
}

std::string Name8(const char* name) { return std::string(name) + std::string(8 - std::strlen(name), '\0'); }

std::vector<Lump> TinyIwadLumps() {
    std::string playpal;
    for (int i = 0; i < 256; ++i) {
        playpal.push_back(static_cast<char>(i));
        playpal.push_back(static_cast<char>(255 - i));
        playpal.push_back(static_cast<char>(i / 2));
    }
    std::string pnames;
    PutU32(pnames, 3);
    pnames += Name8("PATCHA") + Name8("PATCHB") + Name8("MISSING");
    const std::string patchA = Picture(3, 4, {{{0, {10, 11, 12, 13}}}, {}, {{1, {20, 21}}, {3, {22}}}});
    const std::string patchB = Picture(2, 2, {{{0, {30, 31}}}, {{0, {32, 33}}}});
    // WALL, 6 by 5: PATCHA at (-1, 1), the missing patch, PATCHB at (4, -1) and at (1, 2).
    std::string texture = Name8("wall");
    PutU32(texture, 0);
    PutU16(texture, 6);
    PutU16(texture, 5);
    PutU32(texture, 0);
    const int placements[4][3] = {{-1, 1, 0}, {0, 0, 2}, {4, -1, 1}, {1, 2, 1}};
    PutU16(texture, 4);
    for (const auto& p : placements) {
        PutU16(texture, p[0]);
        PutU16(texture, p[1]);
        PutU16(texture, p[2]);
        PutU16(texture, 1);
        PutU16(texture, 0);
    }
    std::string texture1;
    PutU32(texture1, 1);
    PutU32(texture1, 8);
    texture1 += texture;
    std::string flat;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) flat.push_back(static_cast<char>((x + 2 * y) & 255));
    const std::string sprite = Picture(2, 3, {{{0, {112, 113, 5}}}, {{1, {127, 7}}}});
    return {{"PLAYPAL", playpal},   {"pnames", pnames}, {"PATCHA", patchA}, {"PATCHB", patchB},
            {"TEXTURE1", texture1}, {"PLAYA1", sprite}, {"F_START", ""},    {"F1_START", ""},
            {"FLAT1", flat},        {"F1_END", ""},     {"F_END", ""},      {"PNAMES", "a second one, never read"}};
}

std::string TinyIwad(const char* kind = "IWAD") { return Wad(kind, TinyIwadLumps()); }

// The tiny IWAD with one lump's bytes changed by damage.
std::string TinyIwadWith(const std::string& name, void (*damage)(std::string& lump)) {
    auto lumps = TinyIwadLumps();
    for (auto& [lumpName, bytes] : lumps) {
        if (lumpName == name) damage(bytes);
    }
    return Wad("IWAD", lumps);
}

class ResourcesTest : public EditorTest {};

TEST_F(ResourcesTest, TinyIwadDecodesPixelByPixel) {
    SetDebugLogEnabled(true);
    ASSERT_EQ(LoadIwad(TinyIwad()), 1);
    // The missing patch first, then every thing sprite this IWAD lacks.
    const std::string log = ReadFileBytes("debug.txt");
    EXPECT_EQ(log.rfind(Utf8ToCp932("MISSING lump が見つかりません\nPOSSA1 lump が見つかりません\n"), 0), 0u);
    EXPECT_EQ(log.find("PLAYA1"), std::string::npos);
    ASSERT_EQ(catalogue.textures.size(), 1u);
    ASSERT_EQ(catalogue.patches.size(), 3u);
    EXPECT_TRUE(catalogue.patches[2].empty());
    EXPECT_EQ(FindTexture("WALL\0\0\0\0"), 0);  // lower case in the file, any case here
    EXPECT_EQ(FindTexture("W\0\0\0\0\0\0\0"), 0);
    EXPECT_EQ(FindTexture("-\0\0\0\0\0\0\0"), -1);
    EXPECT_EQ(TextureName(-1), "-");
    EXPECT_EQ(TextureName(0), "wall");

    // Later placements overwrite earlier ones; clipping at every edge; 0 where nothing is.
    const Image wall = ComposeTexture(catalogue.textures[0]);
    EXPECT_EQ(wall.stride, 8);
    const uint8_t expected[5][6] = {
        {0, 0, 0, 0, 31, 33}, {0, 0, 0, 0, 0, 0}, {0, 30, 32, 0, 0, 0}, {0, 31, 33, 0, 0, 0}, {0, 22, 0, 0, 0, 0},
    };
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(wall.pixels[y * 8 + x], x < 6 ? expected[y][x] : 0) << x << "," << y;
        }
    }

    // Nested markers are skipped; the flat as it is.
    ASSERT_EQ(catalogue.flats.size(), 1u);
    EXPECT_EQ(FindFlat("flat1\0\0\0"), 0);
    const Image flat = FlatImage(catalogue.flats[0]);
    EXPECT_EQ(flat.pixels[63 * 64 + 10], (10 + 126) & 255);

    // The player sprite in the four player palettes.
    const Image sprite = PictureToBitmap(catalogue.sprites[0]);
    ASSERT_EQ(sprite.width, 2);
    EXPECT_EQ(sprite.pixels[0], 112);
    EXPECT_EQ(sprite.pixels[1], 0);  // column 1 starts one row down
    EXPECT_EQ(sprite.pixels[4 + 1], 127);
    EXPECT_EQ(catalogue.sprites[1], catalogue.sprites[0]);  // player 2 start shares it
    BuildPalettes();
    EXPECT_EQ(basePalette[112].red, 112);
    EXPECT_EQ(PaletteForThingType(1)[112].red, 112);
    EXPECT_EQ(PaletteForThingType(2)[112].red, 96);
    EXPECT_EQ(PaletteForThingType(3)[127].red, 79);
    EXPECT_EQ(PaletteForThingType(4)[120].green, 255 - 40);
    EXPECT_EQ(PaletteForThingType(58)[200].red, 100);
    EXPECT_EQ(PaletteForThingType(58)[201].green, (255 - 201) >> 1);

    const auto menu = ThingMenuItems();
    ASSERT_EQ(menu.size(), 10u);
    EXPECT_TRUE(menu[0][0].hasPicture);   // player 1 start
    EXPECT_FALSE(menu[0][4].hasPicture);  // deathmatch start: no sprite
    EXPECT_FALSE(menu[1][0].hasPicture);  // not in this IWAD
}

TEST_F(ResourcesTest, RefusedFilesSayWhy) {
    const struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"a PWAD", TinyIwad("PWAD"), "IWAD ではありません (PWAD)"},
        {"a cut header", "IWAD", "WAD ファイルではありません"},
        {"no PNAMES", Wad("IWAD", {{"PLAYPAL", std::string(768, '\0')}}), "PNAMES lump が見つかりません"},
        {"no TEXTURE1", Wad("IWAD", {{"PLAYPAL", std::string(768, '\0')}, {"PNAMES", std::string(4, '\0')}}),
         "TEXTURE1 lump が見つかりません"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(LoadIwad(c.bytes, &error), 0) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
    std::string error;
    EXPECT_EQ(LoadIwadFile("doom2.wad", &error), 0);  // none in the scratch folder
    EXPECT_EQ(error, "ファイルを読み込めません");
}

TEST_F(ResourcesTest, DamagedPartsAreLeftOutOrCutAndListed) {
    const struct {
        const char* what;
        std::string bytes;
        std::size_t patches, textures;
        std::vector<std::string> damage;
    } cases[] = {
        // One name more than the lump holds: the three that are there stay.
        {"PNAMES count one too high",
         TinyIwadWith("pnames", [](std::string& l) { l[0] = 4; }),
         3,
         1,
         {"PNAMES: パッチの数 4 が lump に収まりません (3 個を読みます)"}},
        {"a texture of 32767 by 32767",
         TinyIwadWith("TEXTURE1", [](std::string& l) { l.replace(8 + 12, 4, "\xff\x7f\xff\x7f"); }),
         3,
         0,
         {"TEXTURE1: テクスチャ wall が正しくありません"}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(LoadIwad(c.bytes), 1) << c.what;
        EXPECT_EQ(catalogue.patches.size(), c.patches) << c.what;
        EXPECT_EQ(catalogue.textures.size(), c.textures) << c.what;
        EXPECT_EQ(catalogue.damage, c.damage) << c.what;
    }
}

// Truncated and bit-flipped IWADs never crash the loader or the decoders.
TEST_F(ResourcesTest, DamagedIwadsNeverCrash) {
    const std::string good = TinyIwad();
    std::mt19937 random(4);
    auto sound = [](const Image& image) {
        return image.stride >= image.width &&
               image.pixels.size() == static_cast<std::size_t>(image.stride) * image.height;
    };
    int loaded = 0;
    auto useAll = [&] {
        ++loaded;
        for (const TextureRecord& t : catalogue.textures) {
            const Image image = ComposeTexture(t);
            EXPECT_TRUE(sound(image) && image.width == t.width && image.height == t.height);
        }
        for (const Flat& f : catalogue.flats) EXPECT_TRUE(sound(FlatImage(f)));
        for (const std::string& s : catalogue.sprites) EXPECT_TRUE(sound(PictureToBitmap(s)));
        for (const std::string& p : catalogue.patches) EXPECT_TRUE(sound(PictureToBitmap(p)));
        BuildPalettes();
        EXPECT_EQ(basePalette.size(), 256u);
    };
    for (std::size_t length = 0; length < good.size(); length += 7) {
        if (LoadIwad(good.substr(0, length))) useAll();
    }
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int f = 0; f < flips; ++f) bytes[random() % bytes.size()] ^= static_cast<char>(1u << (random() % 8));
        if (LoadIwad(bytes)) useAll();
    }
    // Most flips hit pixels and names, which load: the decoders really ran.
    EXPECT_GT(loaded, 1000);
}

TEST_F(ResourcesTest, FreedoomHasWhatTheTablesNeed) {
    if (LoadIwadFile("/usr/share/games/doom/freedoom2.wad") != 1) GTEST_SKIP() << "freedoom2.wad is not installed";
    for (const std::string& p : catalogue.patches) EXPECT_FALSE(p.empty());
    for (const TextureRecord& t : catalogue.textures) {
        const Image image = ComposeTexture(t);
        EXPECT_EQ(image.width, t.width);
    }
    EXPECT_GE(FindTexture("STARTAN3"), 0);
    EXPECT_GE(FindFlat("FLOOR1_1"), 0);
    EXPECT_GE(FindFlat("FLAT18\0\0"), 0);
    // Freedoom keeps the front views of these two monsters as BOS2A1 and
    // SPIDA1, where DOOM II has BOS2A1C1 and SPIDA1D1.
    std::vector<std::string> missing;
    for (int row = 0; row < kNumThingTypes; ++row) {
        if (*thingTypes[row].spriteName && catalogue.sprites[row].empty())
            missing.push_back(thingTypes[row].spriteName);
        if (!catalogue.sprites[row].empty()) {
            EXPECT_GT(PictureToBitmap(catalogue.sprites[row]).width, 0) << row;
        }
    }
    EXPECT_EQ(missing, (std::vector<std::string>{"BOS2A1C1", "SPIDA1D1"}));
}

}  // namespace
