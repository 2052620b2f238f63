// Fuzz target: any bytes as a map file. A file is refused or loaded into a
// sound map that saves and loads again to the same bytes.
#include "model/map.h"
#include "model/map_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/map_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartQuietly();
    try {
        if (!LoadMapBytes(Bytes(data, size), "fuzz.kdm")) return 0;
        const std::string problems = CheckMapInvariants();
        if (!problems.empty()) Broken("a loaded map is not sound:\n" + problems);
        const std::string saved = EncodeMapFile();
        if (!LoadMapBytes(saved, "fuzz.kdm") || EncodeMapFile() != saved)
            Broken("a loaded map does not save and load again");
    } catch (const FatalExit& fatal) {
        Broken("fatal error: " + fatal.text);
    }
    ClearMap();
    return 0;
}
