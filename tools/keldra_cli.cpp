// keldra-cli: works on map files without the editor's window.
//
//   keldra-cli info MAP.kdm          prints the map slot and the record counts
//   keldra-cli resave IN.kdm OUT.kdm loads a map and saves it under a new name
//   keldra-cli script FILE           runs a map script (see map_script.h); - reads stdin
//   keldra-cli build MAP.kdm [-o OUT.wad] [--debug] [--reference]
//                    [--pvs] [--pvs-matrix FILE] [--pvs-seconds N]
//                                    builds the PWAD (beside the map unless -o) and
//                                    prints its counts and the build time; with
//                                    --pvs also the PVS (Ctrl+C stops it cleanly)
//   keldra-cli import WAD MAPxx -o MAP.kdm
//                                    reads a map of the game's own format
//   keldra-cli check WAD [MAPxx]     checks the structure of a built map
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/config.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_import.h"
#include "nodes/build.h"
#include "nodes/pwad_check.h"
#include "nodes/pvs.h"
#include "nodes/pwad_writer.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"
#include "resources/game_tables.h"
#include "tools/map_script.h"

#ifdef _WIN32
#include "platform/win32.h"
#endif

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: keldra-cli info MAP.kdm\n"
                 "       keldra-cli resave IN.kdm OUT.kdm\n"
                 "       keldra-cli script FILE|-\n"
                 "       keldra-cli build MAP.kdm [-o OUT.wad] [--debug] [--reference]\n"
                 "                        [--pvs] [--pvs-matrix FILE] [--pvs-seconds N]\n"
                 "       keldra-cli import WAD MAPxx -o MAP.kdm\n"
                 "       keldra-cli check WAD [MAPxx]\n");
    return 2;
}

int Info(const std::string& path) {
    if (!LoadMapFile(path)) return 1;
    std::printf("%s: %s, %d vertices, %d linedefs, %d sectors, %d things\n", path.c_str(), mapSlotNames[mapSlot - 1],
                numvertices, numlinedefs, numsectors, numthings);
    return 0;
}

int Resave(const std::string& from, const std::string& to) {
    if (!LoadMapFile(from)) return 1;
    SetMapFileName(to);
    return SaveMapFile() ? 0 : 1;
}

int Script(const std::string& path) {
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!ReadWholeFile(path, text)) {
        std::fprintf(stderr, "keldra-cli: cannot read %s\n", path.c_str());
        return 1;
    }
    std::string error;
    if (!RunMapScript(text, error)) {
        std::fprintf(stderr, "keldra-cli: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted = true; }

// Progress of a PVS pass on stderr about once a second; false (cancel) after
// Ctrl+C or past the time limit.
bool ReportPvsProgress(int32_t done, int32_t total, std::chrono::steady_clock::time_point start, double limitSeconds) {
    static auto last = std::chrono::steady_clock::now();
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - start).count();
    if (interrupted || (limitSeconds > 0 && elapsed > limitSeconds)) return false;
    if (now - last > std::chrono::seconds(1)) {
        std::fprintf(stderr, "PVS: %d of %d subsectors, %.0f s\n", done, total, elapsed);
        last = now;
    }
    return true;
}

int Build(const std::vector<std::string>& args) {
    std::string map, out, matrixPath;
    double pvsSeconds = 0;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else if (args[i] == "--debug") buildoption2 = 1;
        else if (args[i] == "--reference") useReferenceLookups = true;
        else if (args[i] == "--pvs") buildoption1 = 1;
        else if (args[i] == "--pvs-matrix" && i + 1 < args.size()) matrixPath = args[++i], buildoption1 = 1;
        else if (args[i] == "--pvs-seconds" && i + 1 < args.size()) pvsSeconds = std::atof(args[++i].c_str()), buildoption1 = 1;
        else if (map.empty()) map = args[i];
        else return Usage();
    }
    if (map.empty()) return Usage();
    if (!LoadMapFile(map)) return 1;
    if (!out.empty()) pwadPath = out;
    const auto start = std::chrono::steady_clock::now();
    std::signal(SIGINT, OnInterrupt);
    pvsProgress = [start, pvsSeconds](int32_t done, int32_t total) {
        return ReportPvsProgress(done, total, start, pvsSeconds);
    };
    const bool built = BuildMap();
    std::signal(SIGINT, SIG_DFL);
    if (!built) return 1;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %s, %d segs, %d subsectors, %d nodes, %d splits, %d vertexes, %d sidedefs", pwadPath.c_str(),
                MapLumpName(mapSlot).c_str(), lastBuild.segs, lastBuild.subsectors, lastBuild.nodes, lastBuild.cuts,
                lastBuild.vertexes, lastBuild.sidedefs);
    if (buildoption1) {
        long long visible = 0;
        for (uint8_t v : pvsMatrix) visible += v;
        std::printf(", PVS of %d subsectors with %lld visible pairs", pvsSubsectors, visible);
        if (!matrixPath.empty()) {
            std::string text;
            for (int32_t r = 0; r < pvsSubsectors; ++r) {
                for (int32_t c = 0; c < pvsSubsectors; ++c) text.push_back(pvsMatrix[static_cast<std::size_t>(r) * pvsSubsectors + c] ? '1' : '0');
                text.push_back('\n');
            }
            if (!WriteWholeFile(matrixPath, text, false)) std::fprintf(stderr, "keldra-cli: cannot write %s\n", matrixPath.c_str());
        }
    }
    std::printf(", %.1f ms\n", ms);
    return 0;
}

int Import(const std::vector<std::string>& args) {
    if (args.size() != 6 || args[4] != "-o") return Usage();
    WadFile wad;
    std::string error;
    if (!ReadWad(args[2], wad, error) || !ImportMap(wad, args[3], error)) {
        std::fprintf(stderr, "keldra-cli: %s: %s\n", args[2].c_str(), error.c_str());
        return 1;
    }
    SetMapFileName(args[5]);
    return SaveMapFile() ? 0 : 1;
}

int Check(const std::vector<std::string>& args) {
    if (args.size() != 3 && args.size() != 4) return Usage();
    WadFile wad;
    std::string error;
    if (!ReadWad(args[2], wad, error)) {
        std::fprintf(stderr, "keldra-cli: %s: %s\n", args[2].c_str(), error.c_str());
        return 1;
    }
    std::string marker = args.size() == 4 ? args[3] : (wad.lumps.empty() ? "" : wad.lumps[0].name);
    // Our own PWADs hold exactly one map and are checked for their whole layout.
    const bool own = args.size() == 3;
    const auto problems = CheckBuiltMap(wad, marker, own);
    for (const std::string& p : problems) std::printf("%s: %s: %s\n", args[2].c_str(), marker.c_str(), p.c_str());
    if (problems.empty()) std::printf("%s: %s: sound\n", args[2].c_str(), marker.c_str());
    return problems.empty() ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[1] == "info") return Info(args[2]);
    if (args.size() == 4 && args[1] == "resave") return Resave(args[2], args[3]);
    if (args.size() == 3 && args[1] == "script") return Script(args[2]);
    if (args.size() >= 3 && args[1] == "build") return Build(args);
    if (args.size() >= 2 && args[1] == "import") return Import(args);
    if (args.size() >= 2 && args[1] == "check") return Check(args);
    return Usage();
}
}  // namespace

#ifdef _WIN32
// Wide arguments, so that paths in any language arrive whole as UTF-8.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(Narrow(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv, argv + argc)); }
#endif
