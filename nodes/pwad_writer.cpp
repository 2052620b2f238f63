// Writing the map lumps and the WAD container around them.
#include "nodes/pwad_writer.h"

#include <cstring>
#include <unordered_map>

#include "model/map.h"
#include "nodes/blockmap.h"
#include "nodes/bsp_output.h"
#include "nodes/lumps.h"
#include "resources/game_tables.h"
#include "resources/wad_file.h"

namespace {

// The 16-bit fields keep the low 16 bits of the model's 32-bit numbers.
int16_t Low16(int32_t v) { return static_cast<int16_t>(v); }
uint16_t LowU16(int32_t v) { return static_cast<uint16_t>(v); }

// The coordinates were checked against 16 bits before the build began.
void MakeThingsLump(Lumps& lumps) {
    for (const Thing* t = things; t; t = t->next) {
        lumps.things.push_back(
            {TruncateToInt16(t->x), TruncateToInt16(t->y), Low16(t->angle), Low16(t->type), Low16(t->flags)});
    }
}

int32_t SectorNumber(const std::unordered_map<const Sector*, int32_t>& numbers, const Sector* sector) {
    auto found = numbers.find(sector);
    if (found == numbers.end()) FailBuild("SectorNumForPtr: pointer not found");
    return found->second;
}

uint16_t AddSidedef(Lumps& lumps, const Sidedef& side, const std::unordered_map<const Sector*, int32_t>& numbers) {
    SidedefRecord record{
        Low16(side.xOffset), Low16(side.yOffset), {}, {}, {}, LowU16(SectorNumber(numbers, side.sector))};
    std::memcpy(record.upper, side.upper, 8);
    std::memcpy(record.lower, side.lower, 8);
    std::memcpy(record.middle, side.middle, 8);
    std::string key;
    AppendSidedefRecord(key, record);
    auto found = lumps.sidedefNumbers.find(key);
    if (found != lumps.sidedefNumbers.end()) return found->second;
    const auto number = lumps.sidedefs.size();
    // The last number stands for "no sidedef".
    if (number >= kNoSidedef) FailBuild("AddSidedef: SIDEDEFS が %d 個より多くなります", 0xFFFF);
    lumps.sidedefs.push_back(record);
    lumps.sidedefNumbers.emplace(std::move(key), static_cast<uint16_t>(number));
    return static_cast<uint16_t>(number);
}

void MakeLinedefsLump(Lumps& lumps, const std::unordered_map<const Sector*, int32_t>& sectorNumbers) {
    for (const Linedef* l = linedefs; l; l = l->next) {
        const uint16_t start =
            FindOrAddVertex(lumps, TruncateToInt16(l->startVertex->x), TruncateToInt16(l->startVertex->y));
        const uint16_t end = FindOrAddVertex(lumps, TruncateToInt16(l->endVertex->x), TruncateToInt16(l->endVertex->y));
        const bool twoSided = l->left.sector != nullptr;
        const uint16_t right = AddSidedef(lumps, l->right, sectorNumbers);
        const uint16_t left = twoSided ? AddSidedef(lumps, l->left, sectorNumbers) : kNoSidedef;
        const auto flags = static_cast<uint16_t>(LowU16(l->flags) | (twoSided ? 0x0004 : 0));
        lumps.linedefs.push_back({start, end, flags, LowU16(l->special), LowU16(l->tag), right, left});
    }
}

void MakeSectorsLump(Lumps& lumps) {
    for (const Sector* s = sectors; s; s = s->next) {
        SectorRecord record{Low16(s->floorHeight), Low16(s->ceilingHeight), {},           {},
                            Low16(s->light),       Low16(s->special),       Low16(s->tag)};
        std::memcpy(record.floorFlat, s->floorFlat, 8);
        std::memcpy(record.ceilingFlat, s->ceilingFlat, 8);
        lumps.sectors.push_back(record);
    }
}

}  // namespace

std::string WritePwad(BspNode& root, BuildStats& stats) {
    invisibleLines.clear();
    subsectorPolygons.clear();
    std::unordered_map<const Sector*, int32_t> sectorNumbers;
    int32_t n = 0;
    for (const Sector* s = sectors; s; s = s->next) sectorNumbers[s] = n++;

    Lumps lumps;
    MakeThingsLump(lumps);
    MakeLinedefsLump(lumps, sectorNumbers);
    EmitBsp(root, lumps);
    MakeSectorsLump(lumps);

    const auto numSectorRecords = static_cast<int64_t>(lumps.sectors.size());
    WadWriter wad;
    AppendLump(wad, MapLumpName(mapSlot), "");
    AppendLump(wad, "THINGS", RecordsLump(lumps.things, AppendThingRecord));
    AppendLump(wad, "LINEDEFS", RecordsLump(lumps.linedefs, AppendLinedefRecord));
    AppendLump(wad, "SIDEDEFS", RecordsLump(lumps.sidedefs, AppendSidedefRecord));
    AppendLump(wad, "VERTEXES", RecordsLump(lumps.vertexes, AppendVertexRecord));
    AppendLump(wad, "SEGS", RecordsLump(lumps.segs, AppendSegRecord));
    AppendLump(wad, "SSECTORS", RecordsLump(lumps.subsectors, AppendSubsectorRecord));
    AppendLump(wad, "NODES", RecordsLump(lumps.nodes, AppendNodeRecord));
    AppendLump(wad, "SECTORS", RecordsLump(lumps.sectors, AppendSectorRecord));
    AppendLump(wad, "REJECT",
               std::string(static_cast<std::size_t>((numSectorRecords * numSectorRecords + 7) / 8), '\0'));
    AppendLump(wad, "BLOCKMAP", BuildBlockmap());
    stats.segs = static_cast<int32_t>(lumps.segs.size());
    stats.subsectors = static_cast<int32_t>(lumps.subsectors.size());
    stats.nodes = static_cast<int32_t>(lumps.nodes.size());
    stats.vertexes = static_cast<int32_t>(lumps.vertexes.size());
    stats.sidedefs = static_cast<int32_t>(lumps.sidedefs.size());
    std::string file = FinishWad(wad, "PWAD");
    stats.bytes = static_cast<int64_t>(file.size());
    return file;
}
