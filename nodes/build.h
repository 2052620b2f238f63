// The build command: the current map into a playable PWAD at the PWAD path.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct BuildStats {
    int32_t segs;        // SEGS records
    int32_t subsectors;  // SSECTORS records
    int32_t nodes;       // NODES records
    int32_t vertexes;    // VERTEXES records
    int32_t sidedefs;    // SIDEDEFS records
    int32_t cuts;        // seg splits
    int64_t bytes;       // size of the PWAD
};

// What a build does beyond the PWAD itself.
struct BuildOptions {
    bool computePvs = false;  // run the PVS pass and keep its matrix for the view
    // Asked now and then while the tree is built, and once more before the
    // PWAD is replaced; true stops the build and keeps the old PWAD. The PVS
    // pass asks pvsProgress instead.
    std::function<bool()> cancelRequested;
};

// What the last successful build wrote.
extern BuildStats lastBuild;

// Builds the map and replaces the PWAD. A map that cannot be built (or a
// PWAD path that is the map file itself) is refused with a warning; the map
// and any earlier PWAD then stay as they were. True when the PWAD was
// written.
bool BuildMap(const BuildOptions& options);

// The build without the file: the PWAD's bytes and counts; false, with the
// warning shown, when the map cannot be built.
bool BuildPwad(const BuildOptions& options, std::string& wad, BuildStats& stats);
