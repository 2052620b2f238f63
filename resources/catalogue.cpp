// Loading the catalogue, checking every count and offset against the lump
// it points into.
#include "resources/catalogue.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/names.h"
#include "base/report.h"
#include "platform/files.h"

Catalogue catalogue;

namespace {

// Whether two lump names are the same, letter case ignored, as the game
// compares them: a name is never found by a longer one it begins.
bool SameName(const std::string& stored, const std::string& wanted) {
    if (wanted.size() != stored.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(stored[i])) !=
            std::toupper(static_cast<unsigned char>(wanted[i]))) {
            return false;
        }
    }
    return true;
}

int FindIn(const Catalogue& c, const std::string& name) {
    for (int i = 0; i < static_cast<int>(c.wad.lumps.size()); ++i) {
        if (SameName(c.wad.lumps[i].name, name)) return i;
    }
    return static_cast<int>(c.wad.lumps.size());
}

// The lump, or false when it is missing.
bool ReadLump(const Catalogue& c, const std::string& name, std::string& out) {
    const int index = FindIn(c, name);
    if (index >= static_cast<int>(c.wad.lumps.size())) return false;
    out = LumpBytes(c.wad, index);
    return true;
}

// A damaged part: said in the debug log and kept in the catalogue's list.
void Damage(Catalogue& c, const std::string& text) {
    LogDebug("%s\n", text.c_str());
    c.damage.push_back(text);
}

std::string Text(const char* format, long long a, long long b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The count at the start of a lump of entries of entrySize bytes, cut to
// the entries the lump holds: those that are there are still read.
int32_t CountThatFits(Catalogue& c, const std::string& lump, std::size_t entrySize, const char* what) {
    const auto count = static_cast<int32_t>(ReadU32(lump, 0));
    const auto fits = static_cast<int32_t>((lump.size() - 4) / entrySize);
    if (count >= 0 && count <= fits) return count;
    const int32_t kept = count < 0 ? 0 : fits;
    Damage(c, Text(what, count, kept));
    return kept;
}

void ReadTextures(Catalogue& c, const std::string& lump) {
    if (lump.size() < 4) return;
    const int32_t count =
        CountThatFits(c, lump, 4, "TEXTURE1: テクスチャの数 %lld が lump に収まりません (%lld 個を読みます)");
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t at = ReadU32(lump, 4 + 4 * static_cast<std::size_t>(i));
        if (at > lump.size() || lump.size() - at < 22) {
            Damage(c, Text("TEXTURE1: テクスチャ %lld が lump の外にあります", i));
            continue;
        }
        TextureRecord t{};
        std::memcpy(t.name, lump.data() + at, 8);
        t.width = ReadI16(lump, at + 12);
        t.height = ReadI16(lump, at + 14);
        const int16_t placements = ReadI16(lump, at + 20);
        if (placements < 0 || static_cast<std::size_t>(placements) > (lump.size() - at - 22) / 10 || t.width <= 0 ||
            t.height <= 0 || t.width > kMaxImageSide || t.height > kMaxImageSide) {
            Damage(c, "TEXTURE1: テクスチャ " + NameText(t.name) + " が正しくありません");
            continue;
        }
        for (int16_t p = 0; p < placements; ++p) {
            const std::size_t b = at + 22 + 10 * static_cast<std::size_t>(p);
            t.placements.push_back({ReadI16(lump, b), ReadI16(lump, b + 2), ReadI16(lump, b + 4)});
        }
        c.textures.push_back(std::move(t));
    }
}

}  // namespace

int FindLumpByName(const std::string& name) { return FindIn(catalogue, name); }

int LoadIwad(const std::string& bytes, std::string* error) {
    Catalogue c;
    std::string problem;
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return 0;
    };
    if (!ParseWad(bytes, c.wad, problem)) return fail(problem);
    if (c.wad.kind != "IWAD") return fail("IWAD ではありません (" + c.wad.kind + ")");

    std::string pnames, texture1;
    for (const auto& [name, lump] :
         {std::pair<const char*, std::string*>{"PNAMES", &pnames}, {"TEXTURE1", &texture1}, {"PLAYPAL", &c.palette}}) {
        if (!ReadLump(c, name, *lump)) return fail(std::string(name) + " lump が見つかりません");
    }

    if (pnames.size() >= 4) {
        const int32_t count =
            CountThatFits(c, pnames, 8, "PNAMES: パッチの数 %lld が lump に収まりません (%lld 個を読みます)");
        for (int32_t i = 0; i < count; ++i) {
            const std::string name = NameText(pnames.data() + 4 + 8 * static_cast<std::size_t>(i));
            std::string picture;
            if (!ReadLump(c, name, picture)) LogDebug("%s lump が見つかりません\n", name.c_str());
            c.patchNames.push_back(name);
            c.patches.push_back(std::move(picture));
        }
    }
    ReadTextures(c, texture1);

    const int lumps = static_cast<int>(c.wad.lumps.size());
    const int start = FindIn(c, "F_START");
    if (start < lumps) {
        const int end = FindIn(c, "F_END");
        for (int i = start + 1; i <= end - 1 && i < lumps; ++i) {
            if (c.wad.lumps[i].size == 0) continue;
            Flat flat{};
            SetName(flat.name, c.wad.lumps[i].name.c_str());
            flat.pixels = LumpBytes(c.wad, i);
            flat.pixels.resize(4096, '\0');  // a short flat is shown with index 0 where it ends
            c.flats.push_back(std::move(flat));
        }
    }

    for (int row = 0; row < kNumThingTypes; ++row) {
        const char* name = thingTypes[row].spriteName;
        if (!*name) continue;
        if (!ReadLump(c, name, c.sprites[row])) LogDebug("%s lump が見つかりません\n", name);
    }
    // Everything needed is copied out; the file's bytes are not kept.
    c.wad.bytes = std::string();
    catalogue = std::move(c);
    return 1;
}

int LoadIwadFile(const std::string& path, std::string* error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        if (error) *error = "ファイルを読み込めません";
        return 0;
    }
    return LoadIwad(bytes, error);
}

int FindTexture(const char* name) {
    const std::string wanted = NameText(name);
    for (int i = 0; i < static_cast<int>(catalogue.textures.size()); ++i) {
        if (SameName(NameText(catalogue.textures[i].name), wanted)) return i;
    }
    return -1;
}

int FindFlat(const char* name) {
    const std::string wanted = NameText(name);
    for (int i = 0; i < static_cast<int>(catalogue.flats.size()); ++i) {
        if (SameName(NameText(catalogue.flats[i].name), wanted)) return i;
    }
    return -1;
}

std::string TextureName(int number) {
    if (number < 0 || number >= static_cast<int>(catalogue.textures.size())) return "-";
    return NameText(catalogue.textures[number].name);
}
