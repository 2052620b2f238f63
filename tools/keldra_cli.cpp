// keldra-cli: works on map files and WADs without the editor's window: map
// information, resaving, map scripts, builds with their checks, imports of
// the game's levels and the game's art. `keldra-cli --help` lists the commands.
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "base/report.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "model/map_import.h"
#include "nodes/build.h"
#include "nodes/pvs.h"
#include "nodes/pwad_check.h"
#include "nodes/sector_lookup.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "resources/catalogue.h"
#include "resources/game_tables.h"
#include "resources/images.h"
#include "tools/map_script.h"

#ifdef _WIN32
#include "platform/win32.h"
#endif

namespace {

const char* const kUsage =
    "usage: keldra-cli info MAP.kdm\n"
    "       keldra-cli resave IN.kdm OUT.kdm\n"
    "       keldra-cli script FILE|-\n"
    "       keldra-cli build MAP.kdm [-o OUT.wad] [--debug] [--reference]\n"
    "                        [--pvs] [--pvs-matrix FILE] [--pvs-seconds N] [--pvs-threads N]\n"
    "       keldra-cli import WAD MAPxx -o MAP.kdm\n"
    "       keldra-cli check WAD [MAPxx]\n"
    "       keldra-cli catalogue [IWAD]\n"
    "       keldra-cli export-image texture|flat|sprite NAME -o OUT.ppm|OUT.bmp [--iwad IWAD]\n"
    "       keldra-cli help | --help | --version\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int Help() {
    std::fputs(kUsage, stdout);
    std::printf("\nCommands of a map script (one a line; positions in map units):\n%s", MapScriptUsage().c_str());
    return 0;
}

int Version() {
    std::printf("keldra-cli %s\n", KELDRA_VERSION);
    return 0;
}

// Messages shown while the tool works on a file begin with the file's name.
void WorkingOn(const std::string& path) { SetMessagePrefix("keldra-cli: " + path + ": "); }

int Info(const std::string& path) {
    WorkingOn(path);
    if (!LoadMapFile(path)) return 1;
    std::printf("%s: %s, %d vertices, %d linedefs, %d sectors, %d things\n", path.c_str(), mapSlotNames[mapSlot - 1],
                numvertices, numlinedefs, numsectors, numthings);
    return 0;
}

int Resave(const std::string& from, const std::string& to) {
    WorkingOn(from);
    if (!LoadMapFile(from)) return 1;
    WorkingOn(to);
    SetMapFileName(to);
    return SaveMapFile() ? 0 : 1;
}

int Script(const std::string& path) {
    WorkingOn(path);
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!ReadWholeFile(path, text)) {
        std::fprintf(stderr, "keldra-cli: cannot read %s\n", path.c_str());
        return 1;
    }
    std::string error;
    ResetMapHistory();  // the empty map the script starts from is a state to undo to
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

// A time limit in seconds: a number above zero, nothing else.
bool ParseSeconds(const std::string& text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(seconds) && seconds > 0;
}

int Build(const std::vector<std::string>& args) {
    std::string map, out, matrixPath;
    bool outGiven = false, matrixGiven = false;
    double pvsSeconds = 0;
    BuildOptions options;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "-o" && hasValue)
            out = args[++i], outGiven = true;
        else if (args[i] == "--debug")
            SetDebugLogEnabled(true);
        else if (args[i] == "--reference")
            useReferenceLookups = true;
        else if (args[i] == "--pvs")
            options.computePvs = true;
        else if (args[i] == "--pvs-matrix" && hasValue)
            matrixPath = args[++i], matrixGiven = options.computePvs = true;
        else if (args[i] == "--pvs-seconds" && hasValue) {
            if (!ParseSeconds(args[++i], pvsSeconds)) {
                std::fprintf(stderr, "keldra-cli: --pvs-seconds takes a number of seconds above 0, not '%s'\n",
                             args[i].c_str());
                return 2;
            }
            options.computePvs = true;
        } else if (args[i] == "--pvs-threads" && hasValue) {
            char* end = nullptr;
            const long threads = std::strtol(args[++i].c_str(), &end, 10);
            if (args[i].empty() || *end != '\0' || threads < 0 || threads > 256) {
                std::fprintf(
                    stderr,
                    "keldra-cli: --pvs-threads takes a number of threads from 0 (one per core) to 256, not '%s'\n",
                    args[i].c_str());
                return 2;
            }
            pvsThreads = static_cast<int32_t>(threads);
            options.computePvs = true;
        } else if (map.empty())
            map = args[i];
        else
            return Usage();
    }
    if (map.empty()) return Usage();
    if ((outGiven && out.empty()) || (matrixGiven && matrixPath.empty())) {
        std::fprintf(stderr, "keldra-cli: an empty file name after %s\n",
                     outGiven && out.empty() ? "-o" : "--pvs-matrix");
        return 2;
    }
    WorkingOn(map);
    if (!LoadMapFile(map)) return 1;
    if (!out.empty()) pwadPath = out;
    const auto start = std::chrono::steady_clock::now();
    std::signal(SIGINT, OnInterrupt);
    options.cancelRequested = [] { return interrupted.load(); };
    pvsProgress = [start, pvsSeconds](int32_t done, int32_t total) {
        return ReportPvsProgress(done, total, start, pvsSeconds);
    };
    const bool built = BuildMap(options);
    std::signal(SIGINT, SIG_DFL);
    if (!built) return 1;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %s, %d segs, %d subsectors, %d nodes, %d splits, %d vertexes, %d sidedefs", pwadPath.c_str(),
                MapLumpName(mapSlot).c_str(), lastBuild.segs, lastBuild.subsectors, lastBuild.nodes, lastBuild.cuts,
                lastBuild.vertexes, lastBuild.sidedefs);
    if (options.computePvs) {
        long long visible = 0;
        for (uint8_t v : pvsMatrix) visible += v;
        std::printf(", PVS of %d subsectors with %lld visible pairs", pvsSubsectors, visible);
    }
    std::printf(", %.1f ms\n", ms);
    if (!matrixPath.empty()) {
        std::string text;
        for (int32_t r = 0; r < pvsSubsectors; ++r) {
            for (int32_t c = 0; c < pvsSubsectors; ++c) {
                text.push_back(pvsMatrix[static_cast<std::size_t>(r) * pvsSubsectors + c] ? '1' : '0');
            }
            text.push_back('\n');
        }
        if (!WriteWholeFile(matrixPath, text, false)) {
            std::fprintf(stderr, "keldra-cli: %s: cannot write the PVS matrix\n", matrixPath.c_str());
            return 1;
        }
    }
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
    WorkingOn(args[5]);
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
    std::vector<std::string> deviations;
    const auto problems = CheckBuiltMap(wad, marker, own, &deviations);
    for (const std::string& p : problems) std::printf("%s: %s: %s\n", args[2].c_str(), marker.c_str(), p.c_str());
    for (const std::string& d : deviations) {
        std::printf("%s: %s: accepted by the engines: %s\n", args[2].c_str(), marker.c_str(), d.c_str());
    }
    if (problems.empty()) std::printf("%s: %s: sound\n", args[2].c_str(), marker.c_str());
    return problems.empty() ? 0 : 1;
}

bool LoadCatalogue(const std::string& path) {
    std::string error;
    if (LoadIwadFile(path, &error)) return true;
    std::fprintf(stderr, "keldra-cli: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

int CatalogueInfo(const std::vector<std::string>& args) {
    const std::string path = args.size() > 2 ? args[2] : "doom2.wad";
    const auto start = std::chrono::steady_clock::now();
    if (!LoadCatalogue(path)) return 1;
    BuildPalettes();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    int missingPatches = 0;
    for (const std::string& p : catalogue.patches) missingPatches += p.empty();
    std::string missingSprites;
    for (int row = 0; row < kNumThingTypes; ++row) {
        if (*thingTypes[row].spriteName && catalogue.sprites[row].empty()) {
            missingSprites += std::string(missingSprites.empty() ? "" : ", ") + thingTypes[row].spriteName + " (" +
                              thingTypes[row].name + ")";
        }
    }
    std::printf(
        "%s: %zu lumps, %zu patches (%d missing), %zu textures, %zu flats, sprites missing: %s; loaded in %.1f ms\n",
        path.c_str(), catalogue.wad.lumps.size(), catalogue.patches.size(), missingPatches, catalogue.textures.size(),
        catalogue.flats.size(), missingSprites.empty() ? "none" : missingSprites.c_str(), ms);
    for (const std::string& damage : catalogue.damage) std::printf("%s: damaged: %s\n", path.c_str(), damage.c_str());
    return 0;
}

int ExportImage(const std::vector<std::string>& args) {
    std::string kind, name, out, iwad = "doom2.wad";
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--iwad" && i + 1 < args.size())
            iwad = args[++i];
        else if (kind.empty())
            kind = args[i];
        else if (name.empty())
            name = args[i];
        else
            return Usage();
    }
    if (name.empty() || out.empty()) return Usage();
    if (!LoadCatalogue(iwad)) return 1;
    BuildPalettes();
    char field[8] = {};
    std::memcpy(field, name.data(), std::min<std::size_t>(name.size(), 8));
    Image image;
    const Palette* palette = &basePalette;
    std::string missing;  // patches a texture is made of that the IWAD lacks
    if (kind == "texture") {
        const int n = FindTexture(field);
        if (n >= 0) {
            image = ComposeTexture(catalogue.textures[n]);
            for (const PatchPlacement& p : catalogue.textures[n].placements) {
                const bool known = p.patch >= 0 && p.patch < static_cast<int>(catalogue.patches.size());
                if (known && !catalogue.patches[p.patch].empty()) continue;
                missing += (missing.empty() ? "" : ", ") +
                           (known ? catalogue.patchNames[p.patch] : "number " + std::to_string(p.patch));
            }
        }
    } else if (kind == "flat") {
        const int n = FindFlat(field);
        if (n >= 0) image = FlatImage(catalogue.flats[n]);
    } else if (kind == "sprite") {
        // NAME is a thing type table row, or its sprite lump name.
        for (int row = 0; row < kNumThingTypes; ++row) {
            if (std::to_string(row) == name || name == thingTypes[row].spriteName) {
                image = PictureToBitmap(catalogue.sprites[row]);
                palette = &PaletteForThingType(thingTypes[row].type);
                break;
            }
        }
    } else {
        return Usage();
    }
    if (image.width == 0) {
        std::fprintf(stderr, "keldra-cli: no %s %s in %s\n", kind.c_str(), name.c_str(), iwad.c_str());
        return 1;
    }
    const bool bmp = out.size() > 4 && out.compare(out.size() - 4, 4, ".bmp") == 0;
    if (!WriteWholeFile(out, bmp ? EncodeBmp(image, *palette) : EncodePpm(image, *palette), false)) {
        std::fprintf(stderr, "keldra-cli: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %s %s, %d by %d\n", out.c_str(), kind.c_str(), name.c_str(), image.width, image.height);
    if (!missing.empty()) {
        // The image is written, but it is not the texture: say so and fail.
        std::fprintf(stderr, "keldra-cli: %s: texture %s drawn without its missing patches: %s\n", iwad.c_str(),
                     name.c_str(), missing.c_str());
        return 1;
    }
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 2 && (args[1] == "help" || args[1] == "--help" || args[1] == "-h")) return Help();
    if (args.size() == 2 && args[1] == "--version") return Version();
    if (args.size() == 3 && args[1] == "info") return Info(args[2]);
    if (args.size() == 4 && args[1] == "resave") return Resave(args[2], args[3]);
    if (args.size() == 3 && args[1] == "script") return Script(args[2]);
    if (args.size() >= 3 && args[1] == "build") return Build(args);
    if (args.size() >= 2 && args[1] == "import") return Import(args);
    if (args.size() >= 2 && args[1] == "check") return Check(args);
    if (args.size() >= 2 && args[1] == "catalogue") return CatalogueInfo(args);
    if (args.size() >= 2 && args[1] == "export-image") return ExportImage(args);
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
