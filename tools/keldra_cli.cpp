// keldra-cli: works on map files without the editor's window.
//
//   keldra-cli info MAP.kdm          prints the map slot and the record counts
//   keldra-cli resave IN.kdm OUT.kdm loads a map and saves it under a new name
#include <cstdio>
#include <cstring>
#include <string>

#include "model/map.h"
#include "model/map_file.h"
#include "resources/game_tables.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: keldra-cli info MAP.kdm\n"
                 "       keldra-cli resave IN.kdm OUT.kdm\n");
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "resave") == 0) return Resave(argv[2], argv[3]);
    return Usage();
}
