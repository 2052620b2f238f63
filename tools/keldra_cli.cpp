// keldra-cli: works on map files without the editor's window.
//
//   keldra-cli info MAP.kdm          prints the map slot and the record counts
//   keldra-cli resave IN.kdm OUT.kdm loads a map and saves it under a new name
//   keldra-cli script FILE           runs a map script (see map_script.h); - reads stdin
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "model/map.h"
#include "model/map_file.h"
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
                 "       keldra-cli script FILE|-\n");
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

int Run(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[1] == "info") return Info(args[2]);
    if (args.size() == 4 && args[1] == "resave") return Resave(args[2], args[3]);
    if (args.size() == 3 && args[1] == "script") return Script(args[2]);
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
