// The WAD container shared by the game's IWAD and PWADs: a 12-byte header
// ("IWAD" or "PWAD", lump count, directory offset) and a directory of
// 16-byte entries (offset, size, 8-byte name); reading it and writing it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/little_endian.h"

constexpr std::size_t kWadHeaderSize = 12;
constexpr std::size_t kWadDirectoryEntrySize = 16;

struct WadLump {
    std::string name;  // up to 8 characters, as stored
    uint32_t offset;
    uint32_t size;
};

struct WadFile {
    std::string kind;   // "IWAD" or "PWAD"
    std::string bytes;  // the whole file
    std::vector<WadLump> lumps;
    uint32_t directory = 0;  // where the directory starts
};

// Reads a WAD; false with a message when the file cannot be read or its
// header or directory do not fit in it.
bool ReadWad(const std::string& path, WadFile& wad, std::string& error);
bool ParseWad(std::string bytes, WadFile& wad, std::string& error);

// The first lump named name at or after index from, or -1.
int FindLump(const WadFile& wad, const std::string& name, int from = 0);
// A lump's bytes.
std::string LumpBytes(const WadFile& wad, int index);

// A WAD being written: the lumps one after another behind room for the
// header, and their directory entries.
struct WadWriter {
    std::string bytes = std::string(kWadHeaderSize, '\0');
    std::vector<WadLump> lumps;
};

// Appends a lump named name (up to 8 characters are kept).
void AppendLump(WadWriter& wad, const std::string& name, const std::string& data);
// The whole file: the lumps, the directory right after them, and the header
// of the given kind ("IWAD" or "PWAD"). The writer is left empty.
std::string FinishWad(WadWriter& wad, const std::string& kind);
