// Reading and writing the map lumps' records field by field.
#include "resources/map_lumps.h"

#include <cstring>

#include "base/little_endian.h"

namespace {

void ReadName(const std::string& lump, std::size_t at, char (&name)[8]) { std::memcpy(name, lump.data() + at, 8); }

void PutName(std::string& out, const char (&name)[8]) { out.append(name, 8); }

}  // namespace

ThingRecord ReadThingRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kThingSize;
    return {ReadI16(lump, at), ReadI16(lump, at + 2), ReadI16(lump, at + 4), ReadI16(lump, at + 6),
            ReadI16(lump, at + 8)};
}

LinedefRecord ReadLinedefRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kLinedefSize;
    return {ReadU16(lump, at),     ReadU16(lump, at + 2),  ReadU16(lump, at + 4), ReadU16(lump, at + 6),
            ReadU16(lump, at + 8), ReadU16(lump, at + 10), ReadU16(lump, at + 12)};
}

SidedefRecord ReadSidedefRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kSidedefSize;
    SidedefRecord r;
    r.xOffset = ReadI16(lump, at);
    r.yOffset = ReadI16(lump, at + 2);
    ReadName(lump, at + 4, r.upper);
    ReadName(lump, at + 12, r.lower);
    ReadName(lump, at + 20, r.middle);
    r.sector = ReadU16(lump, at + 28);
    return r;
}

VertexRecord ReadVertexRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kVertexSize;
    return {ReadI16(lump, at), ReadI16(lump, at + 2)};
}

SegRecord ReadSegRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kSegSize;
    return {ReadU16(lump, at),     ReadU16(lump, at + 2), ReadU16(lump, at + 4),
            ReadU16(lump, at + 6), ReadI16(lump, at + 8), ReadI16(lump, at + 10)};
}

SubsectorRecord ReadSubsectorRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kSubsectorSize;
    return {ReadU16(lump, at), ReadU16(lump, at + 2)};
}

NodeRecord ReadNodeRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kNodeSize;
    NodeRecord r;
    r.x = ReadI16(lump, at);
    r.y = ReadI16(lump, at + 2);
    r.dx = ReadI16(lump, at + 4);
    r.dy = ReadI16(lump, at + 6);
    for (std::size_t k = 0; k < 4; ++k) {
        r.rightBox[k] = ReadI16(lump, at + 8 + 2 * k);
        r.leftBox[k] = ReadI16(lump, at + 16 + 2 * k);
    }
    r.right = ReadU16(lump, at + 24);
    r.left = ReadU16(lump, at + 26);
    return r;
}

SectorRecord ReadSectorRecord(const std::string& lump, std::size_t index) {
    const std::size_t at = index * kSectorSize;
    SectorRecord r;
    r.floorHeight = ReadI16(lump, at);
    r.ceilingHeight = ReadI16(lump, at + 2);
    ReadName(lump, at + 4, r.floorFlat);
    ReadName(lump, at + 12, r.ceilingFlat);
    r.light = ReadI16(lump, at + 20);
    r.special = ReadI16(lump, at + 22);
    r.tag = ReadI16(lump, at + 24);
    return r;
}

void AppendThingRecord(std::string& lump, const ThingRecord& r) {
    for (int16_t v : {r.x, r.y, r.angle, r.type, r.flags}) PutU16(lump, static_cast<uint16_t>(v));
}

void AppendLinedefRecord(std::string& lump, const LinedefRecord& r) {
    for (uint16_t v : {r.start, r.end, r.flags, r.special, r.tag, r.right, r.left}) PutU16(lump, v);
}

void AppendSidedefRecord(std::string& lump, const SidedefRecord& r) {
    PutU16(lump, static_cast<uint16_t>(r.xOffset));
    PutU16(lump, static_cast<uint16_t>(r.yOffset));
    PutName(lump, r.upper);
    PutName(lump, r.lower);
    PutName(lump, r.middle);
    PutU16(lump, r.sector);
}

void AppendVertexRecord(std::string& lump, const VertexRecord& r) {
    PutU16(lump, static_cast<uint16_t>(r.x));
    PutU16(lump, static_cast<uint16_t>(r.y));
}

void AppendSegRecord(std::string& lump, const SegRecord& r) {
    for (uint16_t v : {r.start, r.end, r.angle, r.linedef}) PutU16(lump, v);
    PutU16(lump, static_cast<uint16_t>(r.side));
    PutU16(lump, static_cast<uint16_t>(r.offset));
}

void AppendSubsectorRecord(std::string& lump, const SubsectorRecord& r) {
    PutU16(lump, r.count);
    PutU16(lump, r.first);
}

void AppendNodeRecord(std::string& lump, const NodeRecord& r) {
    for (int16_t v : {r.x, r.y, r.dx, r.dy}) PutU16(lump, static_cast<uint16_t>(v));
    for (int16_t v : r.rightBox) PutU16(lump, static_cast<uint16_t>(v));
    for (int16_t v : r.leftBox) PutU16(lump, static_cast<uint16_t>(v));
    PutU16(lump, r.right);
    PutU16(lump, r.left);
}

void AppendSectorRecord(std::string& lump, const SectorRecord& r) {
    PutU16(lump, static_cast<uint16_t>(r.floorHeight));
    PutU16(lump, static_cast<uint16_t>(r.ceilingHeight));
    PutName(lump, r.floorFlat);
    PutName(lump, r.ceilingFlat);
    for (int16_t v : {r.light, r.special, r.tag}) PutU16(lump, static_cast<uint16_t>(v));
}
