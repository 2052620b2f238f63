// Writing the map lumps and the WAD container around them.
#include "nodes/pwad_writer.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "model/map.h"
#include "nodes/blockmap.h"
#include "nodes/bsp_output.h"
#include "nodes/lumps.h"

namespace {

struct DirectoryEntry {
    uint32_t offset;
    uint32_t size;
    char name[8];
};

struct WadWriter {
    std::string file = std::string(12, '\0');  // the header is filled in last
    std::vector<DirectoryEntry> directory;

    void WriteLump(const char* name, const std::string& data) {
        DirectoryEntry entry{static_cast<uint32_t>(file.size()), static_cast<uint32_t>(data.size()), {}};
        for (int i = 0; i < 8 && name[i]; ++i) entry.name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
        directory.push_back(entry);
        file += data;
    }

    std::string Finish() {
        const auto directoryOffset = static_cast<uint32_t>(file.size());
        for (const DirectoryEntry& e : directory) {
            PutU32(file, e.offset);
            PutU32(file, e.size);
            file.append(e.name, 8);
        }
        std::string header = "PWAD";
        PutU32(header, static_cast<uint32_t>(directory.size()));
        PutU32(header, directoryOffset);
        file.replace(0, 12, header);
        return std::move(file);
    }
};

// A number taken from a 32-bit field: its low 16 bits.
uint32_t Low16(int32_t v) { return static_cast<uint32_t>(v) & 0xFFFF; }

void CheckCoordinate(float v, const char* what, int number) {
    if (!(v > -32769.0f && v < 32768.0f)) {
        FailBuild("WritePwad: %s %d の座標 %.1f が -32768 から 32767 の範囲にありません", what, number, static_cast<double>(v));
    }
}

void MakeThingsLump(Lumps& lumps) {
    int number = 0;
    for (const Thing* t = things; t; t = t->next, ++number) {
        CheckCoordinate(t->x, "Thing", number);
        CheckCoordinate(t->y, "Thing", number);
        PutU16(lumps.things, static_cast<uint16_t>(TruncateToInt16(t->x)));
        PutU16(lumps.things, static_cast<uint16_t>(TruncateToInt16(t->y)));
        PutU16(lumps.things, Low16(t->angle));
        PutU16(lumps.things, Low16(t->type));
        PutU16(lumps.things, Low16(t->flags));
    }
}

int32_t SectorNumber(const std::unordered_map<const Sector*, int32_t>& numbers, const Sector* sector) {
    auto found = numbers.find(sector);
    if (found == numbers.end()) FailBuild("SectorNumForPtr: pointer not found");
    return found->second;
}

uint16_t AddSidedef(Lumps& lumps, const Sidedef& side, const std::unordered_map<const Sector*, int32_t>& numbers) {
    std::string record;
    PutU16(record, Low16(side.xOffset));
    PutU16(record, Low16(side.yOffset));
    record.append(side.upper, 8);
    record.append(side.lower, 8);
    record.append(side.middle, 8);
    PutU16(record, Low16(SectorNumber(numbers, side.sector)));
    auto found = lumps.sidedefNumbers.find(record);
    if (found != lumps.sidedefNumbers.end()) return found->second;
    const auto number = lumps.sidedefs.size() / kSidedefSize;
    // 65535 stands for "no sidedef".
    if (number >= 0xFFFF) FailBuild("AddSidedef: SIDEDEFS が %d 個より多くなります", 0xFFFF);
    lumps.sidedefs += record;
    lumps.sidedefNumbers.emplace(std::move(record), static_cast<uint16_t>(number));
    return static_cast<uint16_t>(number);
}

void MakeLinedefsLump(Lumps& lumps, const std::unordered_map<const Sector*, int32_t>& sectorNumbers) {
    int number = 0;
    for (const Linedef* l = linedefs; l; l = l->next, ++number) {
        for (const Vertex* v : {l->startVertex, l->endVertex}) {
            CheckCoordinate(v->x, "Linedef の Vertex", number);
            CheckCoordinate(v->y, "Linedef の Vertex", number);
        }
        const uint16_t start = FindOrAddVertex(lumps, TruncateToInt16(l->startVertex->x), TruncateToInt16(l->startVertex->y));
        const uint16_t end = FindOrAddVertex(lumps, TruncateToInt16(l->endVertex->x), TruncateToInt16(l->endVertex->y));
        const bool twoSided = l->left.sector != nullptr;
        const uint16_t right = AddSidedef(lumps, l->right, sectorNumbers);
        const uint16_t left = twoSided ? AddSidedef(lumps, l->left, sectorNumbers) : 0xFFFF;
        PutU16(lumps.linedefs, start);
        PutU16(lumps.linedefs, end);
        PutU16(lumps.linedefs, Low16(l->flags) | (twoSided ? 0x0004 : 0));
        PutU16(lumps.linedefs, Low16(l->special));
        PutU16(lumps.linedefs, Low16(l->tag));
        PutU16(lumps.linedefs, right);
        PutU16(lumps.linedefs, left);
    }
}

void MakeSectorsLump(Lumps& lumps) {
    for (const Sector* s = sectors; s; s = s->next) {
        PutU16(lumps.sectors, Low16(s->floorHeight));
        PutU16(lumps.sectors, Low16(s->ceilingHeight));
        lumps.sectors.append(s->floorFlat, 8);
        lumps.sectors.append(s->ceilingFlat, 8);
        PutU16(lumps.sectors, Low16(s->light));
        PutU16(lumps.sectors, Low16(s->special));
        PutU16(lumps.sectors, Low16(s->tag));
    }
}

}  // namespace

std::string MapLumpName(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, slot < 10 ? "map0%i" : "map%i", slot);
    for (char* c = name; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    return name;
}

std::string WritePwad(BspNode& root, BuildStats& stats) {
    invisibleLines.clear();
    subsectorPolygons.clear();
    std::unordered_map<const Sector*, int32_t> sectorNumbers;
    int32_t n = 0;
    for (const Sector* s = sectors; s; s = s->next) sectorNumbers[s] = n++;

    Lumps lumps;
    WadWriter wad;
    wad.WriteLump(MapLumpName(mapSlot).c_str(), "");
    MakeThingsLump(lumps);
    MakeLinedefsLump(lumps, sectorNumbers);
    EmitBsp(root, lumps);
    MakeSectorsLump(lumps);

    std::string vertexes;
    vertexes.reserve(lumps.vertexes.size() * kVertexSize);
    for (const VertexRecord& v : lumps.vertexes) {
        PutU16(vertexes, static_cast<uint16_t>(v.x));
        PutU16(vertexes, static_cast<uint16_t>(v.y));
    }
    const auto numSectorRecords = static_cast<int64_t>(lumps.sectors.size() / kSectorSize);
    wad.WriteLump("things", lumps.things);
    wad.WriteLump("linedefs", lumps.linedefs);
    wad.WriteLump("sidedefs", lumps.sidedefs);
    wad.WriteLump("vertexes", vertexes);
    wad.WriteLump("segs", lumps.segs);
    wad.WriteLump("ssectors", lumps.ssectors);
    wad.WriteLump("nodes", lumps.nodes);
    wad.WriteLump("sectors", lumps.sectors);
    wad.WriteLump("reject", std::string(static_cast<std::size_t>((numSectorRecords * numSectorRecords + 7) / 8), '\0'));
    wad.WriteLump("blockmap", BuildBlockmap());
    stats.segs = static_cast<int32_t>(lumps.segs.size() / kSegSize);
    stats.subsectors = static_cast<int32_t>(lumps.ssectors.size() / kSubsectorSize);
    stats.nodes = static_cast<int32_t>(lumps.nodes.size() / kNodeSize);
    stats.vertexes = static_cast<int32_t>(lumps.vertexes.size());
    stats.sidedefs = static_cast<int32_t>(lumps.sidedefs.size() / kSidedefSize);
    std::string file = wad.Finish();
    stats.bytes = static_cast<int64_t>(file.size());
    return file;
}
