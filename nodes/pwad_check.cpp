// The built-map validator: the lumps and the layout, the references between
// records, the reject size, then the parts in their order.
#include "nodes/pwad_check.h"

#include <cmath>

#include "nodes/pwad_check_parts.h"

namespace pwad_check {
namespace {

constexpr int kNumLumps = 10;
const char* const kOrder[kNumLumps] = {"THINGS",   "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",
                                       "SSECTORS", "NODES",    "SECTORS",  "REJECT",   "BLOCKMAP"};
// Each lump holds whole records of this size (BLOCKMAP whole 16-bit words).
const std::size_t kSizes[kNumLumps] = {kThingSize,     kLinedefSize, kSidedefSize, kVertexSize, kSegSize,
                                       kSubsectorSize, kNodeSize,    kSectorSize,  1,           2};

// The ten lumps after the marker in their order; false when one is not
// where it belongs.
bool ReadLumps(const WadFile& wad, int at, const std::string& marker, std::string (&lump)[kNumLumps],
               Problems& problems) {
    for (int i = 0; i < kNumLumps; ++i) {
        const int index = at + 1 + i;
        if (index >= static_cast<int>(wad.lumps.size()) || wad.lumps[index].name != kOrder[i]) {
            problems.Add("lump order", std::string(kOrder[i]) + " is not lump " + Num(i + 1) + " after " + marker);
            return false;
        }
        lump[i] = LumpBytes(wad, index);
        if (lump[i].size() % kSizes[i] != 0)
            problems.Add("lump size", std::string(kOrder[i]) + " size " + Num(lump[i].size()));
    }
    return true;
}

// The layout this editor writes: one map, the lumps one after another and
// the directory right after them.
void CheckLayout(const WadFile& wad, int at, Problems& problems) {
    if (wad.kind != "PWAD" || wad.lumps.size() != 11 || at != 0) problems.Add("layout", "not a PWAD of 11 lumps");
    uint32_t expected = kWadHeaderSize;
    for (std::size_t i = 0; i < wad.lumps.size(); ++i) {
        if (wad.lumps[i].offset != expected)
            problems.Add("layout", wad.lumps[i].name + " not right after the lump before it");
        expected = wad.lumps[i].offset + wad.lumps[i].size;
    }
    if (wad.directory != expected || wad.bytes.size() != expected + kWadDirectoryEntrySize * wad.lumps.size()) {
        problems.Add("layout", "directory not right after the lumps");
    }
}

BuiltMap DecodeMap(std::string (&lump)[kNumLumps]) {
    BuiltMap map;
    map.linedefs = ReadRecords(lump[1], ReadLinedefRecord);
    map.sidedefs = ReadRecords(lump[2], ReadSidedefRecord);
    map.vertexes = ReadRecords(lump[3], ReadVertexRecord);
    map.segs = ReadRecords(lump[4], ReadSegRecord);
    map.subsectors = ReadRecords(lump[5], ReadSubsectorRecord);
    map.nodes = ReadRecords(lump[6], ReadNodeRecord);
    map.sectors = ReadRecords(lump[7], ReadSectorRecord);
    map.reject = std::move(lump[8]);
    map.blockmap = std::move(lump[9]);
    return map;
}

void CheckLinedefs(const BuiltMap& map, Problems& problems) {
    const auto numVerts = static_cast<long>(map.vertexes.size()), numSides = static_cast<long>(map.sidedefs.size());
    for (long i = 0; i < static_cast<long>(map.linedefs.size()); ++i) {
        const LinedefRecord& l = map.linedefs[i];
        if (l.start >= numVerts || l.end >= numVerts) problems.Add("linedef vertex", "linedef " + Num(i));
        if (l.right >= numSides) problems.Add("linedef sidedef", "linedef " + Num(i) + " right side " + Num(l.right));
        if (l.left != kNoSidedef && l.left >= numSides)
            problems.Add("linedef sidedef", "linedef " + Num(i) + " left side " + Num(l.left));
        if (l.left != kNoSidedef && !(l.flags & 4)) problems.Add("two-sided flag", "linedef " + Num(i));
    }
}

void CheckSidedefs(const BuiltMap& map, Problems& problems) {
    for (long i = 0; i < static_cast<long>(map.sidedefs.size()); ++i) {
        if (map.sidedefs[i].sector >= map.sectors.size()) problems.Add("sidedef sector", "sidedef " + Num(i));
    }
}

void CheckReject(const BuiltMap& map, bool ownLayout, Problems& problems) {
    const auto numSectors = static_cast<long>(map.sectors.size());
    const long wanted = (numSectors * numSectors + 7) / 8;
    if (static_cast<long>(map.reject.size()) < wanted) problems.Add("reject", "too small");
    if (ownLayout && static_cast<long>(map.reject.size()) != wanted) problems.Add("reject", "size");
}

}  // namespace

namespace {
void AddLimited(std::vector<std::string>& list, int& count, const std::string& kind, const std::string& detail) {
    if (++count <= 3)
        list.push_back(kind + ": " + detail);
    else if (count == 4)
        list.push_back(kind + ": ...");
}
}  // namespace

void Problems::Add(const std::string& kind, const std::string& detail) {
    AddLimited(list, perKind[kind], kind, detail);
}

void Problems::AddDeviation(const std::string& kind, const std::string& detail) {
    if (!deviations) {
        Add(kind, detail);
        return;
    }
    AddLimited(*deviations, perKind["deviation " + kind], kind, detail);
}

double Distance(V a, V b, V p) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return 0;
    return ((p.y - a.y) * dx - (p.x - a.x) * dy) / len;
}

std::string Num(long long n) { return std::to_string(n); }

}  // namespace pwad_check

std::vector<std::string> CheckBuiltMap(const WadFile& wad, const std::string& marker, bool ownLayout,
                                       std::vector<std::string>* deviations) {
    using namespace pwad_check;
    Problems problems;
    if (deviations) deviations->clear();
    problems.deviations = deviations;
    const int at = FindLump(wad, marker);
    if (at < 0) return {"no lump " + marker};
    std::string lump[kNumLumps];
    if (!ReadLumps(wad, at, marker, lump, problems)) return problems.list;
    if (ownLayout) CheckLayout(wad, at, problems);
    if (!problems.list.empty()) return problems.list;

    const BuiltMap map = DecodeMap(lump);
    CheckLinedefs(map, problems);
    CheckSidedefs(map, problems);
    if (!problems.list.empty()) return problems.list;

    CheckSegs(map, problems);
    CheckSubsectors(map, problems);
    CheckTree(map, problems);
    CheckReject(map, ownLayout, problems);
    CheckBlockmap(map, problems);
    return problems.list;
}
