// The map lumps of a PWAD as record buffers while a build writes them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/little_endian.h"

struct VertexRecord {
    int16_t x, y;
};

struct Lumps {
    std::string things;    // 10-byte records
    std::string linedefs;  // 14-byte records
    std::string sidedefs;  // 30-byte records
    std::vector<VertexRecord> vertexes;
    std::string segs;      // 12-byte records
    std::string ssectors;  // 4-byte records
    std::string nodes;     // 28-byte records
    std::string sectors;   // 26-byte records
    std::string reject;
    std::string blockmap;

    // Where each record already stands, so finding one is not a walk.
    std::unordered_map<uint32_t, uint16_t> vertexNumbers;
    std::unordered_map<std::string, uint16_t> sidedefNumbers;
};

constexpr int kThingSize = 10;
constexpr int kLinedefSize = 14;
constexpr int kSidedefSize = 30;
constexpr int kVertexSize = 4;
constexpr int kSegSize = 12;
constexpr int kSubsectorSize = 4;
constexpr int kNodeSize = 28;
constexpr int kSectorSize = 26;
