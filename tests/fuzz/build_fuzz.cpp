// Fuzz target: any bytes as a map file, built when it loads. A build refuses
// with a warning or gives a PWAD whose structure is in range; it never
// crashes, whatever the geometry.
#include "model/map.h"
#include "model/map_file.h"
#include "nodes/build.h"
#include "nodes/pwad_check.h"
#include "resources/wad_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartQuietly();
    try {
        if (!LoadMapBytes(Bytes(data, size), "fuzz.kdm") || numlinedefs > 2000) return 0;
        std::string pwad;
        BuildStats stats;
        if (BuildPwad({}, pwad, stats)) {
            WadFile wad;
            std::string error;
            if (!ParseWad(pwad, wad, error)) Broken("a built PWAD is not a WAD: " + error);
            CheckBuiltMap(wad, wad.lumps[0].name, true);  // may find faults of a crossing map; must not crash
        }
    } catch (const FatalExit& fatal) {
        Broken("fatal error: " + fatal.text);
    }
    ClearMap();
    return 0;
}
