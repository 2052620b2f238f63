// Reading and writing the native map file, field by field, little-endian.
//
// Layout: "KDM ", the map slot, then the chunks "VERT", "SCTR", "LINE" and
// "THNG", each a label, a record count and the records. Every record ends in
// a link slot: 0 in the last record of a chunk, nonzero in the others.
#include "model/map_file.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/little_endian.h"
#include "base/report.h"
#include "model/map.h"
#include "model/map_events.h"
#include "model/map_history.h"
#include "platform/files.h"
#include "resources/thing_types.h"

namespace {

// The value written into every link slot but the last of a chunk.
constexpr uint32_t kLinkedSlot = 1;

// --- writing ---

void PutBytes(std::string& out, const void* bytes, std::size_t n) { out.append(static_cast<const char*>(bytes), n); }
void PutLink(std::string& out, const void* next) { PutU32(out, next ? kLinkedSlot : 0); }

void PutSide(std::string& out, const Sidedef& side, int32_t sectorNumber) {
    PutI32(out, side.xOffset);
    PutI32(out, side.yOffset);
    PutBytes(out, side.upper, 8);
    PutBytes(out, side.lower, 8);
    PutBytes(out, side.middle, 8);
    PutI32(out, sectorNumber);
}

// Counts a list for the chunk header and warns when the count variable
// disagrees; the file gets the number of records actually written.
template <class T>
int32_t CountForChunk(const T* head, int32_t expected, const char* kind) {
    int32_t walked = 0;
    for (const T* r = head; r; r = r->next) ++walked;
    if (walked != expected) ShowWarning("SaveMapFile: %s の数が合いません", kind);
    return walked;
}

// --- reading ---

struct Reader {
    const std::string& bytes;
    std::size_t pos = 0;

    bool Has(std::size_t n) const { return bytes.size() - pos >= n; }
    uint32_t U32() {
        pos += 4;
        return ReadU32(bytes, pos - 4);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() {
        pos += 4;
        return ReadF32(bytes, pos - 4);
    }
    void Bytes(void* to, std::size_t n) {
        std::memcpy(to, bytes.data() + pos, n);
        pos += n;
    }
};

// A file decoded into records that are not yet part of the map.
struct DecodedMap {
    int32_t slot = 1;
    std::vector<std::unique_ptr<Vertex>> vertices;
    std::vector<std::unique_ptr<Sector>> sectors;
    std::vector<std::unique_ptr<Linedef>> linedefs;
    std::vector<std::unique_ptr<Thing>> things;
    std::vector<std::string> warnings;  // shown once the map is loaded
};

std::string Message(const char* format, ...) KELDRA_PRINTF(1, 2);
std::string Message(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

const char* const kTruncated = "LoadMapFile: ファイルが途中で終わっています";

// Reads a chunk's label and count; checks that the records fit in the file
// before anything is allocated for them.
bool ReadChunkHeader(Reader& in, const char* label, const char* kind, int recordSize, int32_t& count,
                     std::string& error) {
    if (!in.Has(4) || std::memcmp(in.bytes.data() + in.pos, label, 4) != 0) {
        error = Message("LoadMapFile: %s ラベルが見つかりません", label);
        return false;
    }
    in.pos += 4;
    if (!in.Has(4)) {
        error = kTruncated;
        return false;
    }
    count = in.I32();
    if (count < 0) {
        error = Message("LoadMapFile: %s の数 (%d) が正しくありません", kind, count);
        return false;
    }
    if ((in.bytes.size() - in.pos) / static_cast<std::size_t>(recordSize) < static_cast<std::size_t>(count)) {
        error = kTruncated;
        return false;
    }
    return true;
}

void CheckLastLink(DecodedMap& map, uint32_t link, const char* kind) {
    if (link != 0) map.warnings.push_back(Message("最後の %s の next フィールドが NULL になっていません", kind));
}

void ReadSide(Reader& in, Sidedef& side, int32_t& sectorNumber) {
    side.xOffset = in.I32();
    side.yOffset = in.I32();
    in.Bytes(side.upper, 8);
    in.Bytes(side.lower, 8);
    in.Bytes(side.middle, 8);
    sectorNumber = in.I32();
    side.sector = nullptr;
}

bool DecodeHeader(Reader& in, DecodedMap& map, std::string& error) {
    if (!in.Has(4) || std::memcmp(in.bytes.data(), "KDM ", 4) != 0) {
        error = "LoadMapFile: KDM ラベルが見つかりません";
        return false;
    }
    in.pos = 4;
    if (!in.Has(4)) {
        error = kTruncated;
        return false;
    }
    map.slot = in.I32();
    if (map.slot < 1 || map.slot > 32) {
        error = Message("LoadMapFile: マップ番号 %d が 1 から 32 の範囲にありません", map.slot);
        return false;
    }
    return true;
}

bool DecodeVertices(Reader& in, DecodedMap& map, std::string& error) {
    int32_t count = 0;
    uint32_t link = 0;
    if (!ReadChunkHeader(in, "VERT", "Vertex", kVertexRecordSize, count, error)) return false;
    for (int32_t i = 0; i < count; ++i) {
        auto v = std::make_unique<Vertex>();
        v->x = in.F32();
        v->y = in.F32();
        in.Bytes(v->spare, 8);
        link = in.U32();
        if (!std::isfinite(v->x) || !std::isfinite(v->y)) {
            error = Message("LoadMapFile: Vertex %d の座標が数ではありません", i);
            return false;
        }
        map.vertices.push_back(std::move(v));
    }
    if (count > 0) CheckLastLink(map, link, "Vertex");
    return true;
}

bool DecodeSectors(Reader& in, DecodedMap& map, std::string& error) {
    int32_t count = 0;
    uint32_t link = 0;
    if (!ReadChunkHeader(in, "SCTR", "Sector", kSectorRecordSize, count, error)) return false;
    for (int32_t i = 0; i < count; ++i) {
        auto s = std::make_unique<Sector>();
        s->floorHeight = in.I32();
        s->ceilingHeight = in.I32();
        in.Bytes(s->floorFlat, 8);
        in.Bytes(s->ceilingFlat, 8);
        s->light = in.I32();
        s->special = in.I32();
        s->tag = in.I32();
        link = in.U32();
        map.sectors.push_back(std::move(s));
    }
    if (count > 0) CheckLastLink(map, link, "Sector");
    return true;
}

// Linedefs come after the vertices and sectors they refer to by number.
bool DecodeLinedefs(Reader& in, DecodedMap& map, std::string& error) {
    const auto numVertices = static_cast<int32_t>(map.vertices.size());
    const auto numSectors = static_cast<int32_t>(map.sectors.size());
    int32_t count = 0;
    uint32_t link = 0;
    if (!ReadChunkHeader(in, "LINE", "Linedef", kLinedefRecordSize, count, error)) return false;
    for (int32_t i = 0; i < count; ++i) {
        auto l = std::make_unique<Linedef>();
        int32_t start = in.I32();
        int32_t end = in.I32();
        l->flags = in.I32();
        l->special = in.I32();
        l->tag = in.I32();
        int32_t rightSector = 0;
        int32_t leftSector = 0;
        ReadSide(in, l->right, rightSector);
        ReadSide(in, l->left, leftSector);
        link = in.U32();
        if (start < 0 || start >= numVertices) {
            error = Message("LoadMapFile: Linedef %d の始点の Vertex (%d) が見つかりません", i, start);
            return false;
        }
        if (end < 0 || end >= numVertices) {
            error = Message("LoadMapFile: Linedef %d の終点の Vertex (%d) が見つかりません", i, end);
            return false;
        }
        if (rightSector < 0 || rightSector >= numSectors) {
            error = Message("LoadMapFile: Linedef %d の右側の Sector (%d) が見つかりません", i, rightSector);
            return false;
        }
        l->startVertex = map.vertices[start].get();
        l->endVertex = map.vertices[end].get();
        // Every editing operation refuses to make a linedef of no length.
        if (l->startVertex->x == l->endVertex->x && l->startVertex->y == l->endVertex->y) {
            error = Message("LoadMapFile: Linedef %d の始点と終点が同じ位置にあります", i);
            return false;
        }
        l->right.sector = map.sectors[rightSector].get();
        // A left side number that names no sector (-1 in files we write) is one-sided.
        l->left.sector = (leftSector >= 0 && leftSector < numSectors) ? map.sectors[leftSector].get() : nullptr;
        map.linedefs.push_back(std::move(l));
    }
    if (count > 0) CheckLastLink(map, link, "Linedef");
    return true;
}

bool DecodeThings(Reader& in, DecodedMap& map, std::string& error) {
    int32_t count = 0;
    uint32_t link = 0;
    if (!ReadChunkHeader(in, "THNG", "Thing", kThingRecordSize, count, error)) return false;
    for (int32_t i = 0; i < count; ++i) {
        auto t = std::make_unique<Thing>();
        t->x = in.F32();
        t->y = in.F32();
        t->angle = in.I32();
        t->type = in.I32();
        t->flags = in.I32();
        t->typeIndex = in.I32();
        link = in.U32();
        if (!std::isfinite(t->x) || !std::isfinite(t->y)) {
            error = Message("LoadMapFile: Thing %d の座標が数ではありません", i);
            return false;
        }
        if (t->typeIndex < 0 || t->typeIndex >= kNumThingTypes) {
            error = Message("LoadMapFile: Thing %d の種類 (%d) がありません", i, t->typeIndex);
            return false;
        }
        map.things.push_back(std::move(t));
    }
    if (count > 0) CheckLastLink(map, link, "Thing");
    return true;
}

bool DecodeMapFile(const std::string& bytes, DecodedMap& map, std::string& error) {
    Reader in{bytes};
    return DecodeHeader(in, map, error) && DecodeVertices(in, map, error) && DecodeSectors(in, map, error) &&
           DecodeLinedefs(in, map, error) && DecodeThings(in, map, error);
}

}  // namespace

std::string EncodeMapFile() {
    // Every reference is numbered before anything is written, so a broken
    // reference ends the program without touching the file on disk.
    std::vector<int32_t> numbers;
    numbers.reserve(static_cast<std::size_t>(numlinedefs) * 4);
    for (const Linedef* l = linedefs; l; l = l->next) {
        numbers.push_back(VertexNumForPtr(l->startVertex));
        numbers.push_back(VertexNumForPtr(l->endVertex));
        numbers.push_back(SectorNumForPtr(l->right.sector));
        numbers.push_back(l->left.sector ? SectorNumForPtr(l->left.sector) : -1);
    }

    std::string out;
    out.reserve(40 + static_cast<std::size_t>(numvertices) * kVertexRecordSize +
                static_cast<std::size_t>(numsectors) * kSectorRecordSize +
                static_cast<std::size_t>(numlinedefs) * kLinedefRecordSize +
                static_cast<std::size_t>(numthings) * kThingRecordSize);
    out += "KDM ";
    PutI32(out, mapSlot);

    out += "VERT";
    PutI32(out, CountForChunk(vertices, numvertices, "Vertex"));
    for (const Vertex* v = vertices; v; v = v->next) {
        PutF32(out, v->x);
        PutF32(out, v->y);
        PutBytes(out, v->spare, 8);
        PutLink(out, v->next);
    }

    out += "SCTR";
    PutI32(out, CountForChunk(sectors, numsectors, "Sector"));
    for (const Sector* s = sectors; s; s = s->next) {
        PutI32(out, s->floorHeight);
        PutI32(out, s->ceilingHeight);
        PutBytes(out, s->floorFlat, 8);
        PutBytes(out, s->ceilingFlat, 8);
        PutI32(out, s->light);
        PutI32(out, s->special);
        PutI32(out, s->tag);
        PutLink(out, s->next);
    }

    out += "LINE";
    PutI32(out, CountForChunk(linedefs, numlinedefs, "Linedef"));
    std::size_t n = 0;
    for (const Linedef* l = linedefs; l; l = l->next, n += 4) {
        PutI32(out, numbers[n]);
        PutI32(out, numbers[n + 1]);
        PutI32(out, l->flags);
        PutI32(out, l->special);
        PutI32(out, l->tag);
        PutSide(out, l->right, numbers[n + 2]);
        PutSide(out, l->left, numbers[n + 3]);
        PutLink(out, l->next);
    }

    out += "THNG";
    PutI32(out, CountForChunk(things, numthings, "Thing"));
    for (const Thing* t = things; t; t = t->next) {
        PutF32(out, t->x);
        PutF32(out, t->y);
        PutI32(out, t->angle);
        PutI32(out, t->type);
        PutI32(out, t->flags);
        PutI32(out, t->typeIndex);
        PutLink(out, t->next);
    }
    return out;
}

bool SaveMapFile() {
    if (!WriteWholeFile(mapFilePath, EncodeMapFile(), false)) {
        ShowWarning("SaveMapFile: %s に書き込めません", mapFilePath.c_str());
        return false;
    }
    ++saveCount;
    mapModified = 0;
    NoteMapSaved();
    NotifyMapEvent(MapEvent::kStateChanged);
    return true;
}

bool LoadMapFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        ShowWarning("LoadMapFile: ファイルが開けません");
        return false;
    }
    return LoadMapBytes(bytes, path);
}

bool LoadMapBytes(const std::string& bytes, const std::string& path) {
    DecodedMap map;
    std::string error;
    if (!DecodeMapFile(bytes, map, error)) {
        ShowWarning("%s", error.c_str());
        return false;
    }

    ClearMap();
    mapSlot = map.slot;
    for (auto& v : map.vertices) AppendVertex(v.release());
    for (auto& s : map.sectors) AppendSector(s.release());
    for (auto& l : map.linedefs) AppendLinedef(l.release());
    for (auto& t : map.things) AppendThing(t.release());
    SetMapFileName(path);
    mapModified = 0;
    ResetMapHistory();
    NotifyMapEvent(MapEvent::kStateChanged);
    for (const std::string& warning : map.warnings) ShowWarning("%s", warning.c_str());
    return true;
}

bool RestoreMapBytes(const std::string& bytes) {
    DecodedMap map;
    std::string error;
    if (!DecodeMapFile(bytes, map, error)) return false;
    const int32_t saves = saveCount;
    ClearMap();
    saveCount = saves;
    mapSlot = map.slot;
    for (auto& v : map.vertices) AppendVertex(v.release());
    for (auto& s : map.sectors) AppendSector(s.release());
    for (auto& l : map.linedefs) AppendLinedef(l.release());
    for (auto& t : map.things) AppendThing(t.release());
    return true;
}
