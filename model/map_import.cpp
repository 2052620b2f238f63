// Importing a map from a WAD.
#include "model/map_import.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/names.h"
#include "base/report.h"
#include "model/map.h"
#include "resources/map_lumps.h"
#include "resources/thing_types.h"

namespace {

// The map as read, before it replaces the current one.
struct ImportedMap {
    std::vector<std::unique_ptr<Vertex>> vertices;
    std::vector<std::unique_ptr<Sector>> sectors;
    std::vector<std::unique_ptr<Linedef>> linedefs;
    std::vector<std::unique_ptr<Thing>> things;
    int skippedLines = 0;
    int skippedThings = 0;
};

// The lump of the map's group: the marker's following lumps up to the next
// marker-like name.
int MapLump(const WadFile& wad, int marker, const char* name) {
    static const char* const kMapLumps[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",     "SSECTORS",
                                            "NODES",  "SECTORS",  "REJECT",   "BLOCKMAP", "BEHAVIOR", "SCRIPTS"};
    for (int i = marker + 1; i < static_cast<int>(wad.lumps.size()); ++i) {
        bool known = false;
        for (const char* k : kMapLumps) known = known || wad.lumps[i].name == k;
        if (!known) break;
        if (wad.lumps[i].name == name) return i;
    }
    return -1;
}

// The records of the group's lump named name; false with a message when it
// is missing or does not hold whole records.
template <class Record>
bool ReadLump(const WadFile& wad, int at, const std::string& marker, const char* name,
              Record (*read)(const std::string&, std::size_t), std::vector<Record>& records, std::string& error) {
    const int lump = MapLump(wad, at, name);
    if (lump < 0) {
        error = marker + " に " + name + " がありません";
        return false;
    }
    const std::string bytes = LumpBytes(wad, lump);
    if (bytes.size() % sizeof(Record) != 0) {
        error = marker + " の " + name + " の大きさが正しくありません";
        return false;
    }
    records = ReadRecords(bytes, read);
    return true;
}

bool ReadMapLumps(const WadFile& wad, int at, const std::string& marker, MapRecords& lumps, std::string& error) {
    return ReadLump(wad, at, marker, "THINGS", ReadThingRecord, lumps.things, error) &&
           ReadLump(wad, at, marker, "LINEDEFS", ReadLinedefRecord, lumps.linedefs, error) &&
           ReadLump(wad, at, marker, "SIDEDEFS", ReadSidedefRecord, lumps.sidedefs, error) &&
           ReadLump(wad, at, marker, "VERTEXES", ReadVertexRecord, lumps.vertexes, error) &&
           ReadLump(wad, at, marker, "SECTORS", ReadSectorRecord, lumps.sectors, error);
}

void ReadVertexes(const std::vector<VertexRecord>& records, ImportedMap& map) {
    for (const VertexRecord& r : records) {
        auto v = std::make_unique<Vertex>();
        v->x = r.x;
        v->y = r.y;
        map.vertices.push_back(std::move(v));
    }
}

void ReadSectors(const std::vector<SectorRecord>& records, ImportedMap& map) {
    for (const SectorRecord& r : records) {
        auto s = std::make_unique<Sector>();
        s->floorHeight = r.floorHeight;
        s->ceilingHeight = r.ceilingHeight;
        std::memcpy(s->floorFlat, r.floorFlat, 8);
        std::memcpy(s->ceilingFlat, r.ceilingFlat, 8);
        s->light = r.light;
        s->special = r.special;
        s->tag = r.tag;
        map.sectors.push_back(std::move(s));
    }
}

// A linedef's side from its sidedef; false when that names no sector of the map.
bool ReadSide(const SidedefRecord& r, const ImportedMap& map, Sidedef& side) {
    side.xOffset = r.xOffset;
    side.yOffset = r.yOffset;
    std::memcpy(side.upper, r.upper, 8);
    std::memcpy(side.lower, r.lower, 8);
    std::memcpy(side.middle, r.middle, 8);
    if (r.sector >= map.sectors.size()) return false;
    side.sector = map.sectors[r.sector].get();
    return true;
}

// The linedefs with copies of their sidedefs, after the vertices and sectors.
bool ReadLinedefs(const MapRecords& lumps, const std::string& marker, ImportedMap& map, std::string& error) {
    const std::size_t numSides = lumps.sidedefs.size();
    for (std::size_t i = 0; i < lumps.linedefs.size(); ++i) {
        const LinedefRecord& r = lumps.linedefs[i];
        if (r.start >= map.vertices.size() || r.end >= map.vertices.size() ||
            (r.right != kNoSidedef && r.right >= numSides) || (r.left != kNoSidedef && r.left >= numSides)) {
            error = marker + " の LINEDEF " + std::to_string(i) + " が無い VERTEX か SIDEDEF を指しています";
            return false;
        }
        Vertex* a = map.vertices[r.start].get();
        Vertex* b = map.vertices[r.end].get();
        if (r.right == kNoSidedef || (a->x == b->x && a->y == b->y)) {
            ++map.skippedLines;
            continue;
        }
        auto l = std::make_unique<Linedef>();
        l->startVertex = a;
        l->endVertex = b;
        l->flags = r.flags;
        l->special = r.special;
        l->tag = r.tag;
        bool ok = ReadSide(lumps.sidedefs[r.right], map, l->right);
        if (r.left != kNoSidedef) {
            ok = ReadSide(lumps.sidedefs[r.left], map, l->left) && ok;
        } else {
            SetName(l->left.upper, "-");
            SetName(l->left.lower, "-");
            SetName(l->left.middle, "-");
        }
        if (!ok) {
            error = marker + " の LINEDEF " + std::to_string(i) + " の SIDEDEF が無い SECTOR を指しています";
            return false;
        }
        map.linedefs.push_back(std::move(l));
    }
    return true;
}

int ThingRow(int32_t type) {
    for (int row = 0; row < kNumThingTypes; ++row) {
        if (thingTypes[row].type == type) return row;
    }
    return -1;
}

void ReadThings(const std::vector<ThingRecord>& records, ImportedMap& map) {
    for (const ThingRecord& r : records) {
        const int row = ThingRow(r.type);
        if (row < 0) {
            ++map.skippedThings;
            continue;
        }
        auto t = std::make_unique<Thing>();
        t->x = r.x;
        t->y = r.y;
        t->angle = r.angle;
        t->type = thingTypes[row].type;
        t->flags = r.flags;
        t->typeIndex = row;
        map.things.push_back(std::move(t));
    }
}

void ReplaceCurrentMap(ImportedMap& map, int slot) {
    ClearMap();
    mapSlot = slot;
    for (auto& v : map.vertices) AppendVertex(v.release());
    for (auto& s : map.sectors) AppendSector(s.release());
    for (auto& l : map.linedefs) AppendLinedef(l.release());
    for (auto& t : map.things) AppendThing(t.release());
    MarkModified();
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
    MapRecords lumps;
    if (!ReadMapLumps(wad, at, marker, lumps, error)) return false;
    ImportedMap map;
    ReadVertexes(lumps.vertexes, map);
    ReadSectors(lumps.sectors, map);
    if (!ReadLinedefs(lumps, marker, map, error)) return false;
    ReadThings(lumps.things, map);
    ReplaceCurrentMap(map, slot);
    if (map.skippedLines || map.skippedThings) {
        ShowWarning(
            "ImportMap: %s の LINEDEF %d 個 (右側が無いか長さが 0) と Thing %d 個 (表に無い種類) "
            "を読み込みませんでした",
            marker.c_str(), map.skippedLines, map.skippedThings);
    }
    return true;
}
