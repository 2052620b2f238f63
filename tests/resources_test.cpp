// The catalogue and the images, on a tiny IWAD written here and on Freedoom.
#include <algorithm>
#include <cstring>
#include <random>

#include "base/names.h"
#include "base/report.h"
#include "platform/files.h"
#include "resources/catalogue.h"
#include "resources/images.h"
#include "tests/test_support.h"

namespace {

std::vector<TestLump> TinyIwadLumps() {
    std::string playpal;
    for (int i = 0; i < 256; ++i) {
        playpal.push_back(static_cast<char>(i));
        playpal.push_back(static_cast<char>(255 - i));
        playpal.push_back(static_cast<char>(i / 2));
    }
    std::string pnames;
    AppendU32(pnames, 3);
    pnames += Name8("PATCHA") + Name8("PATCHB") + Name8("MISSING");
    const std::string patchA = PictureLump(3, 4, {{{0, {10, 11, 12, 13}}}, {}, {{1, {20, 21}}, {3, {22}}}});
    const std::string patchB = PictureLump(2, 2, {{{0, {30, 31}}}, {{0, {32, 33}}}});
    // WALL, 6 by 5: PATCHA at (-1, 1), the missing patch, PATCHB at (4, -1) and at (1, 2).
    std::string texture = Name8("wall");
    AppendU32(texture, 0);
    AppendU16(texture, 6);
    AppendU16(texture, 5);
    AppendU32(texture, 0);
    const int placements[4][3] = {{-1, 1, 0}, {0, 0, 2}, {4, -1, 1}, {1, 2, 1}};
    AppendU16(texture, 4);
    for (const auto& p : placements) {
        AppendU16(texture, p[0]);
        AppendU16(texture, p[1]);
        AppendU16(texture, p[2]);
        AppendU16(texture, 1);
        AppendU16(texture, 0);
    }
    std::string texture1;
    AppendU32(texture1, 1);
    AppendU32(texture1, 8);
    texture1 += texture;
    std::string flat;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) flat.push_back(static_cast<char>((x + 2 * y) & 255));
    const std::string sprite = PictureLump(2, 3, {{{0, {112, 113, 5}}}, {{1, {127, 7}}}});
    return {{"PLAYPAL", playpal},   {"pnames", pnames}, {"PATCHA", patchA}, {"PATCHB", patchB},
            {"TEXTURE1", texture1}, {"PLAYA1", sprite}, {"F_START", ""},    {"F1_START", ""},
            {"FLAT1", flat},        {"F1_END", ""},     {"F_END", ""},      {"PNAMES", "a second one, never read"}};
}

std::string TinyIwad(const char* kind = "IWAD") { return WadBytes(kind, TinyIwadLumps()); }

// The tiny IWAD with one lump's bytes changed by damage.
std::string TinyIwadWith(const std::string& name, void (*damage)(std::string& lump)) {
    auto lumps = TinyIwadLumps();
    for (auto& [lumpName, bytes] : lumps) {
        if (lumpName == name) damage(bytes);
    }
    return WadBytes("IWAD", lumps);
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
    EXPECT_EQ(FindTexture("WALL\0\0\0\0"), 0);      // lower case in the file, any case here
    EXPECT_EQ(FindTexture("W\0\0\0\0\0\0\0"), -1);  // a name only begun is not found
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

// The game finds textures, flats and patches by their whole name: a name
// that begins a longer one listed before it is still found as itself.
TEST_F(ResourcesTest, NamesAreLookedUpWhole) {
    ASSERT_EQ(
        LoadIwad(ArtIwad({"GLASS1B", "GLASS1", "BROVINE2", "brovine", "CR64HBB"}, {"FLAT17", "FLAT1", "FLAT5_1"})), 1);
    struct Case {
        const char* name;
        int texture;
        int flat;
    } cases[] = {
        {"GLASS1", 1, -1}, {"glass1b", 0, -1}, {"BROVINE", 3, -1}, {"GLASS", -1, -1}, {"CR64HB", -1, -1},
        {"FLAT1", -1, 1},  {"flat17", -1, 0},  {"FLAT5", -1, -1},  {"FLAT", -1, -1},  {"GLASS1BX", -1, -1},
    };
    for (const Case& c : cases) {
        char field[8] = {};
        std::memcpy(field, c.name, std::min<std::size_t>(std::strlen(c.name), 8));
        EXPECT_EQ(FindTexture(field), c.texture) << c.name;
        EXPECT_EQ(FindFlat(field), c.flat) << c.name;
    }

    // The patch ROCK is not the sprite ROCKA0 that comes first.
    std::string pnames;
    AppendU32(pnames, 1);
    pnames += Name8("rock");
    std::string texture1;
    AppendU32(texture1, 1);
    AppendU32(texture1, 8);
    texture1 += Name8("A-ROCK");
    for (int v : {0, 0, 2, 2, 0, 0, 1, 0, 0, 0, 1, 0}) AppendU16(texture1, v);
    const std::string sprite = PictureLump(1, 1, {{{0, {9}}}});
    const std::string rock = PictureLump(2, 2, {{{0, {5, 6}}}, {{0, {7, 8}}}});
    ASSERT_EQ(LoadIwad(WadBytes("IWAD", {{"PLAYPAL", std::string(768, '\0')},
                                         {"PNAMES", pnames},
                                         {"ROCKA0", sprite},
                                         {"ROCK", rock},
                                         {"TEXTURE1", texture1}})),
              1);
    EXPECT_EQ(catalogue.patches[0], rock);
    EXPECT_EQ(FindLumpByName("Rock"), 3);
    EXPECT_EQ(FindLumpByName("ROC"), 5);  // not there: the lump count
    EXPECT_EQ(ComposeTexture(catalogue.textures[0]).pixels[0], 5);
}

TEST_F(ResourcesTest, RefusedFilesSayWhy) {
    const struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"a PWAD", TinyIwad("PWAD"), "IWAD ではありません (PWAD)"},
        {"a cut header", "IWAD", "WAD ファイルではありません"},
        {"no PNAMES", WadBytes("IWAD", {{"PLAYPAL", std::string(768, '\0')}}), "PNAMES lump が見つかりません"},
        {"no TEXTURE1", WadBytes("IWAD", {{"PLAYPAL", std::string(768, '\0')}, {"PNAMES", std::string(4, '\0')}}),
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
    // Names that begin longer names listed before them.
    for (const char* name : {"GLASS1", "GLASS2", "BROVINE", "ASHWALL", "CR64HBB", "CR64HGB", "CRLWDL6", "CRLWDH6"}) {
        EXPECT_EQ(TextureName(FindTexture(name)), name);
    }
    for (const char* name : {"FLAT1", "FLAT2", "FLAT5"}) {
        const int flat = FindFlat(name);
        ASSERT_GE(flat, 0) << name;
        EXPECT_EQ(NameText(catalogue.flats[flat].name), name);
    }
    const int rock = FindLumpByName("ROCK");
    ASSERT_LT(rock, static_cast<int>(catalogue.wad.lumps.size()));
    EXPECT_EQ(catalogue.wad.lumps[rock].name, "ROCK");
    const auto patch = std::find(catalogue.patchNames.begin(), catalogue.patchNames.end(), "ROCK");
    ASSERT_NE(patch, catalogue.patchNames.end());
    EXPECT_EQ(catalogue.patches[patch - catalogue.patchNames.begin()].size(), catalogue.wad.lumps[rock].size);
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
