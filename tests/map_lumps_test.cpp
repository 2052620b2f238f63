// The map lumps' records and the WAD writer, against bytes written out by hand.
#include "resources/map_lumps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "resources/wad_file.h"

namespace {

// The bytes of a text such as "fe ff 34".
std::string Bytes(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
        out.push_back(static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

// The bytes as such a text, so that a failure shows which byte differs.
std::string Hex(const std::string& bytes) {
    std::string out;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        out += (out.empty() ? "" : " ") + std::string(two);
    }
    return out;
}

// One record of each kind as the game stores it.
const std::string kThing = "fe ff 34 12 02 01 ff 7f 00 80";
const std::string kLinedef = "02 01 fe ff 04 03 06 05 08 07 0a 09 ff ff";
const std::string kSidedef =
    "ff ff 02 01 53 54 41 52 54 41 4e 33 2d 00 00 00 00 00 00 00 44 4f 4f 52 33 00 00 00 01 80";
const std::string kVertex = "00 80 ff 7f";
const std::string kSeg = "01 00 02 80 00 c0 04 03 01 00 fd ff";
const std::string kSubsector = "02 01 dc fe";
const std::string kNode = "ff ff 02 00 04 03 fa fa 0a 00 f6 ff ec ff 14 00 2c 01 d4 fe 70 fe 90 01 05 80 06 00";
const std::string kSector = "f0 ff 08 01 46 4c 4f 4f 52 34 5f 38 46 5f 53 4b 59 31 00 00 a0 00 09 00 fe ff";

// The record is written as hex; read back from a lump where it is record
// 1, it writes the same bytes again.
template <class Record>
void ExpectRecordBytes(const char* what, const Record& record, void (*append)(std::string&, const Record&),
                       Record (*read)(const std::string&, std::size_t), const std::string& hex) {
    std::string written;
    append(written, record);
    EXPECT_EQ(Hex(written), hex) << what;
    const std::string lump = std::string(sizeof(Record), '\x55') + Bytes(hex);
    std::string again;
    append(again, read(lump, 1));
    EXPECT_EQ(Hex(again), hex) << what;
}

TEST(MapLumps, EveryRecordKindInTheGamesByteOrder) {
    ExpectRecordBytes("thing", ThingRecord{-2, 0x1234, 258, 0x7FFF, -32768}, AppendThingRecord, ReadThingRecord,
                      kThing);
    ExpectRecordBytes("linedef", LinedefRecord{0x0102, 0xFFFE, 0x0304, 0x0506, 0x0708, 0x090A, kNoSidedef},
                      AppendLinedefRecord, ReadLinedefRecord, kLinedef);
    ExpectRecordBytes(
        "sidedef",
        SidedefRecord{-1, 0x0102, {'S', 'T', 'A', 'R', 'T', 'A', 'N', '3'}, {'-'}, {'D', 'O', 'O', 'R', '3'}, 0x8001},
        AppendSidedefRecord, ReadSidedefRecord, kSidedef);
    ExpectRecordBytes("vertex", VertexRecord{-32768, 0x7FFF}, AppendVertexRecord, ReadVertexRecord, kVertex);
    ExpectRecordBytes("seg", SegRecord{1, 0x8002, 0xC000, 0x0304, 1, -3}, AppendSegRecord, ReadSegRecord, kSeg);
    ExpectRecordBytes("subsector", SubsectorRecord{0x0102, 0xFEDC}, AppendSubsectorRecord, ReadSubsectorRecord,
                      kSubsector);
    ExpectRecordBytes("node", NodeRecord{-1, 2, 0x0304, -0x0506, {10, -10, -20, 20}, {300, -300, -400, 400}, 0x8005, 6},
                      AppendNodeRecord, ReadNodeRecord, kNode);
    ExpectRecordBytes(
        "sector",
        SectorRecord{
            -16, 0x0108, {'F', 'L', 'O', 'O', 'R', '4', '_', '8'}, {'F', '_', 'S', 'K', 'Y', '1'}, 0xA0, 9, -2},
        AppendSectorRecord, ReadSectorRecord, kSector);
}

TEST(MapLumps, SignedAndUnsignedFieldsReadAsTheGameMeansThem) {
    EXPECT_EQ(ReadThingRecord(Bytes(kThing), 0).flags, -32768);
    EXPECT_EQ(ReadLinedefRecord(Bytes(kLinedef), 0).end, 0xFFFE);
    EXPECT_EQ(ReadVertexRecord(Bytes(kVertex), 0).x, -32768);
    const SegRecord seg = ReadSegRecord(Bytes(kSeg), 0);
    EXPECT_EQ(seg.angle, 0xC000);
    EXPECT_EQ(seg.offset, -3);
    const NodeRecord node = ReadNodeRecord(Bytes(kNode), 0);
    EXPECT_EQ(node.dy, -0x0506);
    EXPECT_EQ(node.leftBox[2], -400);
    EXPECT_EQ(node.right, 0x8005);
    EXPECT_EQ(ReadSidedefRecord(Bytes(kSidedef), 0).sector, 0x8001);
    EXPECT_EQ(ReadSectorRecord(Bytes(kSector), 0).tag, -2);
}

TEST(MapLumps, WholeLumpsOfRecords) {
    // Bytes after the last whole record are not a record.
    const auto vertexes = ReadRecords(Bytes("01 00 02 00 fd ff 04 80 07 00 08"), ReadVertexRecord);
    ASSERT_EQ(vertexes.size(), 2u);
    EXPECT_EQ(vertexes[1].x, -3);
    EXPECT_EQ(Hex(RecordsLump(vertexes, AppendVertexRecord)), "01 00 02 00 fd ff 04 80");
    EXPECT_EQ(RecordsLump(std::vector<SegRecord>{}, AppendSegRecord), "");
}

TEST(WadWriter, WritesWhatTheReaderReads) {
    WadWriter writer;
    AppendLump(writer, "MAP07", "");
    AppendLump(writer, "THINGS", "abc");
    AppendLump(writer, "LONGNAME9", "defg");
    const std::string file = FinishWad(writer, "PWAD");
    // PWAD, 3 lumps, the directory at 12 + 7 bytes of lumps.
    EXPECT_EQ(Hex(file.substr(0, kWadHeaderSize)), "50 57 41 44 03 00 00 00 13 00 00 00");
    EXPECT_EQ(Hex(file.substr(19, kWadDirectoryEntrySize)), "0c 00 00 00 00 00 00 00 4d 41 50 30 37 00 00 00");
    EXPECT_EQ(file.size(), 19 + 3 * kWadDirectoryEntrySize);

    WadFile wad;
    std::string error;
    ASSERT_TRUE(ParseWad(file, wad, error)) << error;
    EXPECT_EQ(wad.kind, "PWAD");
    EXPECT_EQ(wad.directory, 19u);
    const struct {
        const char* name;
        uint32_t offset, size;
        const char* data;
    } expected[] = {{"MAP07", 12, 0, ""}, {"THINGS", 12, 3, "abc"}, {"LONGNAME", 15, 4, "defg"}};
    ASSERT_EQ(wad.lumps.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(wad.lumps[i].name, expected[i].name);
        EXPECT_EQ(wad.lumps[i].offset, expected[i].offset) << expected[i].name;
        EXPECT_EQ(wad.lumps[i].size, expected[i].size) << expected[i].name;
        EXPECT_EQ(LumpBytes(wad, static_cast<int>(i)), expected[i].data);
    }

    // Finishing leaves the writer empty for the next file.
    EXPECT_EQ(Hex(FinishWad(writer, "IWAD")), "49 57 41 44 00 00 00 00 0c 00 00 00");
}

}  // namespace
