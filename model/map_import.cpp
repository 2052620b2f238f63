// Importing a map from a WAD.
#include "model/map_import.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/report.h"
#include "model/map.h"
#include "resources/thing_types.h"

namespace {

// The lump of the map's group: the marker's following lumps up to the next
// marker-like name.
int MapLump(const WadFile& wad, int marker, const char* name) {
    static const char* const kMapLumps[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS", "SSECTORS",
                                            "NODES", "SECTORS", "REJECT", "BLOCKMAP", "BEHAVIOR", "SCRIPTS"};
    for (int i = marker + 1; i < static_cast<int>(wad.lumps.size()); ++i) {
        bool known = false;
        for (const char* k : kMapLumps) known = known || wad.lumps[i].name == k;
        if (!known) break;
        if (wad.lumps[i].name == name) return i;
    }
    return -1;
}

int ThingRow(int32_t type) {
    for (int row = 0; row < kNumThingTypes; ++row) {
        if (thingTypes[row].type == type) return row;
    }
    return -1;
}

}  // namespace

bool ImportMap(const WadFile& wad, const std::string& marker, std::string& error) {
    const int at = FindLump(wad, marker);
    if (at < 0) {
        error = marker + " がありません";
        return false;
    }
    int slot = 0;
    if (marker.size() == 5 && marker.compare(0, 3, "MAP") == 0) slot = std::atoi(marker.c_str() + 3);
    if (slot < 1 || slot > 32) {
        error = marker + " は MAP01 から MAP32 のマップではありません";
        return false;
    }
    std::string lumps[5];
    const char* const names[5] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SECTORS"};
    const int sizes[5] = {10, 14, 30, 4, 26};
    for (int i = 0; i < 5; ++i) {
        const int lump = MapLump(wad, at, names[i]);
        if (lump < 0) {
            error = marker + " に " + names[i] + " がありません";
            return false;
        }
        lumps[i] = LumpBytes(wad, lump);
        if (lumps[i].size() % sizes[i] != 0) {
            error = marker + " の " + names[i] + " の大きさが正しくありません";
            return false;
        }
    }
    const std::string& thingBytes = lumps[0];
    const std::string& lineBytes = lumps[1];
    const std::string& sideBytes = lumps[2];
    const std::string& vertexBytes = lumps[3];
    const std::string& sectorBytes = lumps[4];
    const std::size_t numSides = sideBytes.size() / 30;

    std::vector<std::unique_ptr<Vertex>> newVertices;
    for (std::size_t i = 0; i < vertexBytes.size(); i += 4) {
        auto v = std::make_unique<Vertex>();
        v->x = ReadI16(vertexBytes, i);
        v->y = ReadI16(vertexBytes, i + 2);
        newVertices.push_back(std::move(v));
    }
    std::vector<std::unique_ptr<Sector>> newSectors;
    for (std::size_t i = 0; i < sectorBytes.size(); i += 26) {
        auto s = std::make_unique<Sector>();
        s->floorHeight = ReadI16(sectorBytes, i);
        s->ceilingHeight = ReadI16(sectorBytes, i + 2);
        std::memcpy(s->floorFlat, sectorBytes.data() + i + 4, 8);
        std::memcpy(s->ceilingFlat, sectorBytes.data() + i + 12, 8);
        s->light = ReadI16(sectorBytes, i + 20);
        s->special = ReadI16(sectorBytes, i + 22);
        s->tag = ReadI16(sectorBytes, i + 24);
        newSectors.push_back(std::move(s));
    }
    auto readSide = [&](uint16_t number, Sidedef& side) {
        const std::size_t i = static_cast<std::size_t>(number) * 30;
        side.xOffset = ReadI16(sideBytes, i);
        side.yOffset = ReadI16(sideBytes, i + 2);
        std::memcpy(side.upper, sideBytes.data() + i + 4, 8);
        std::memcpy(side.lower, sideBytes.data() + i + 12, 8);
        std::memcpy(side.middle, sideBytes.data() + i + 20, 8);
        const uint16_t sector = ReadU16(sideBytes, i + 28);
        if (sector >= newSectors.size()) return false;
        side.sector = newSectors[sector].get();
        return true;
    };

    int skippedLines = 0;
    std::vector<std::unique_ptr<Linedef>> newLinedefs;
    for (std::size_t i = 0; i < lineBytes.size(); i += 14) {
        const uint16_t v1 = ReadU16(lineBytes, i), v2 = ReadU16(lineBytes, i + 2);
        const uint16_t right = ReadU16(lineBytes, i + 10), left = ReadU16(lineBytes, i + 12);
        const int number = static_cast<int>(i / 14);
        if (v1 >= newVertices.size() || v2 >= newVertices.size() || (right != 0xFFFF && right >= numSides) ||
            (left != 0xFFFF && left >= numSides)) {
            error = marker + " の LINEDEF " + std::to_string(number) + " が無い VERTEX か SIDEDEF を指しています";
            return false;
        }
        const Vertex* a = newVertices[v1].get();
        const Vertex* b = newVertices[v2].get();
        if (right == 0xFFFF || (a->x == b->x && a->y == b->y)) {
            ++skippedLines;
            continue;
        }
        auto l = std::make_unique<Linedef>();
        l->startVertex = newVertices[v1].get();
        l->endVertex = newVertices[v2].get();
        l->flags = ReadU16(lineBytes, i + 4);
        l->special = ReadU16(lineBytes, i + 6);
        l->tag = ReadU16(lineBytes, i + 8);
        bool ok = readSide(right, l->right);
        if (left != 0xFFFF) {
            ok = readSide(left, l->left) && ok;
        } else {
            SetName(l->left.upper, "-");
            SetName(l->left.lower, "-");
            SetName(l->left.middle, "-");
        }
        if (!ok) {
            error = marker + " の LINEDEF " + std::to_string(number) + " の SIDEDEF が無い SECTOR を指しています";
            return false;
        }
        newLinedefs.push_back(std::move(l));
    }

    int skippedThings = 0;
    std::vector<std::unique_ptr<Thing>> newThings;
    for (std::size_t i = 0; i < thingBytes.size(); i += 10) {
        const int row = ThingRow(ReadI16(thingBytes, i + 6));
        if (row < 0) {
            ++skippedThings;
            continue;
        }
        auto t = std::make_unique<Thing>();
        t->x = ReadI16(thingBytes, i);
        t->y = ReadI16(thingBytes, i + 2);
        t->angle = ReadI16(thingBytes, i + 4);
        t->type = thingTypes[row].type;
        t->flags = ReadI16(thingBytes, i + 8);
        t->typeIndex = row;
        newThings.push_back(std::move(t));
    }

    ClearMap();
    mapSlot = slot;
    for (auto& v : newVertices) AppendVertex(v.release());
    for (auto& s : newSectors) AppendSector(s.release());
    for (auto& l : newLinedefs) AppendLinedef(l.release());
    for (auto& t : newThings) AppendThing(t.release());
    MarkModified();
    if (skippedLines || skippedThings) {
        ShowWarning("ImportMap: %s の LINEDEF %d 個 (右側が無いか長さが 0) と Thing %d 個 (表に無い種類) を読み込みませんでした",
                    marker.c_str(), skippedLines, skippedThings);
    }
    return true;
}
