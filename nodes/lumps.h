// The records of a map's lumps while a build writes them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "resources/map_lumps.h"

struct Lumps : MapRecords {
    // Where each record already stands, so finding one is not a walk.
    std::unordered_map<uint32_t, uint16_t> vertexNumbers;
    std::unordered_map<std::string, uint16_t> sidedefNumbers;  // by the record's bytes
};
