// The records of a map's lumps as the game stores them: one plain struct of
// the on-disk fields per lump, with its reader and its writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::size_t kThingSize = 10;
constexpr std::size_t kLinedefSize = 14;
constexpr std::size_t kSidedefSize = 30;
constexpr std::size_t kVertexSize = 4;
constexpr std::size_t kSegSize = 12;
constexpr std::size_t kSubsectorSize = 4;
constexpr std::size_t kNodeSize = 28;
constexpr std::size_t kSectorSize = 26;

// The sidedef number that stands for "no side".
constexpr uint16_t kNoSidedef = 0xFFFF;
// The NODES child number marking a subsector.
constexpr uint16_t kSubsectorChild = 0x8000;

struct ThingRecord {
    int16_t x, y, angle, type, flags;
};
struct LinedefRecord {
    uint16_t start, end, flags, special, tag, right, left;
};
struct SidedefRecord {
    int16_t xOffset, yOffset;
    char upper[8], lower[8], middle[8];
    uint16_t sector;
};
struct VertexRecord {
    int16_t x, y;
};
struct SegRecord {
    uint16_t start, end, angle, linedef;
    int16_t side, offset;
};
struct SubsectorRecord {
    uint16_t count, first;  // the subsector's segs: first to first + count - 1
};
struct NodeRecord {
    int16_t x, y, dx, dy;  // the partition line, in its direction
    int16_t rightBox[4];   // top, bottom, left, right of the right child
    int16_t leftBox[4];
    uint16_t right, left;  // children; kSubsectorChild marks a subsector
};
struct SectorRecord {
    int16_t floorHeight, ceilingHeight;
    char floorFlat[8], ceilingFlat[8];
    int16_t light, special, tag;
};

// The structs hold exactly the fields on disk, so that sizeof a record is its
// size in the lump (the readers and writers still go field by field: the
// bytes are little-endian whatever the machine).
static_assert(sizeof(ThingRecord) == kThingSize);
static_assert(sizeof(LinedefRecord) == kLinedefSize);
static_assert(sizeof(SidedefRecord) == kSidedefSize);
static_assert(sizeof(VertexRecord) == kVertexSize);
static_assert(sizeof(SegRecord) == kSegSize);
static_assert(sizeof(SubsectorRecord) == kSubsectorSize);
static_assert(sizeof(NodeRecord) == kNodeSize);
static_assert(sizeof(SectorRecord) == kSectorSize);

// A map's records, lump by lump.
struct MapRecords {
    std::vector<ThingRecord> things;
    std::vector<LinedefRecord> linedefs;
    std::vector<SidedefRecord> sidedefs;
    std::vector<VertexRecord> vertexes;
    std::vector<SegRecord> segs;
    std::vector<SubsectorRecord> subsectors;
    std::vector<NodeRecord> nodes;
    std::vector<SectorRecord> sectors;
};

// Record number index of a lump; the caller has checked that it lies in the lump.
ThingRecord ReadThingRecord(const std::string& lump, std::size_t index);
LinedefRecord ReadLinedefRecord(const std::string& lump, std::size_t index);
SidedefRecord ReadSidedefRecord(const std::string& lump, std::size_t index);
VertexRecord ReadVertexRecord(const std::string& lump, std::size_t index);
SegRecord ReadSegRecord(const std::string& lump, std::size_t index);
SubsectorRecord ReadSubsectorRecord(const std::string& lump, std::size_t index);
NodeRecord ReadNodeRecord(const std::string& lump, std::size_t index);
SectorRecord ReadSectorRecord(const std::string& lump, std::size_t index);

// The record appended to a lump's bytes.
void AppendThingRecord(std::string& lump, const ThingRecord& record);
void AppendLinedefRecord(std::string& lump, const LinedefRecord& record);
void AppendSidedefRecord(std::string& lump, const SidedefRecord& record);
void AppendVertexRecord(std::string& lump, const VertexRecord& record);
void AppendSegRecord(std::string& lump, const SegRecord& record);
void AppendSubsectorRecord(std::string& lump, const SubsectorRecord& record);
void AppendNodeRecord(std::string& lump, const NodeRecord& record);
void AppendSectorRecord(std::string& lump, const SectorRecord& record);

// Every whole record of a lump, e.g. ReadRecords(bytes, ReadThingRecord);
// bytes after the last whole record are not read.
template <class Record>
std::vector<Record> ReadRecords(const std::string& lump, Record (*read)(const std::string&, std::size_t)) {
    std::vector<Record> records(lump.size() / sizeof(Record));
    for (std::size_t i = 0; i < records.size(); ++i) records[i] = read(lump, i);
    return records;
}

// The lump of the records, e.g. RecordsLump(things, AppendThingRecord).
template <class Record>
std::string RecordsLump(const std::vector<Record>& records, void (*append)(std::string&, const Record&)) {
    std::string lump;
    lump.reserve(records.size() * sizeof(Record));
    for (const Record& r : records) append(lump, r);
    return lump;
}
