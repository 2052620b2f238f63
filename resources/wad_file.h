// The WAD container shared by the game's IWAD and PWADs: a 12-byte header
// ("IWAD" or "PWAD", lump count, directory offset) and a directory of
// 16-byte entries (offset, size, 8-byte name).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/little_endian.h"

struct WadLump {
    std::string name;  // up to 8 characters, as stored
    uint32_t offset;
    uint32_t size;
};

struct WadFile {
    std::string kind;   // "IWAD" or "PWAD"
    std::string bytes;  // the whole file
    std::vector<WadLump> lumps;
};

// Reads a WAD; false with a message when the file cannot be read or its
// header or directory do not fit in it.
bool ReadWad(const std::string& path, WadFile& wad, std::string& error);
bool ParseWad(std::string bytes, WadFile& wad, std::string& error);

// The first lump named name at or after index from, or -1.
int FindLump(const WadFile& wad, const std::string& name, int from = 0);
// A lump's bytes.
std::string LumpBytes(const WadFile& wad, int index);
