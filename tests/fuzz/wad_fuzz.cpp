// Fuzz target: any bytes as a WAD, read the three ways the program reads
// WADs: as the game's IWAD into the catalogue, as a level to import, and as
// a built map to check. Each refuses or succeeds; none crashes.
#include "model/map.h"
#include "model/map_import.h"
#include "nodes/pwad_check.h"
#include "resources/catalogue.h"
#include "resources/images.h"
#include "resources/wad_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/map_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartQuietly();
    const std::string bytes = Bytes(data, size);
    try {
        if (LoadIwad(bytes)) {
            BuildPalettes();
            for (const TextureRecord& t : catalogue.textures) ComposeTexture(t);
            for (const std::string& sprite : catalogue.sprites) PictureToBitmap(sprite);
        }
        WadFile wad;
        std::string error;
        if (!ParseWad(bytes, wad, error) || wad.lumps.empty()) return 0;
        const std::string marker = wad.lumps[0].name;
        CheckBuiltMap(wad, marker, true);
        CheckBuiltMap(wad, marker, false);
        if (ImportMap(wad, marker, error)) {
            const std::string problems = CheckMapInvariants();
            if (!problems.empty()) Broken("an imported map is not sound:\n" + problems);
        }
    } catch (const FatalExit& fatal) {
        Broken("fatal error: " + fatal.text);
    }
    ClearMap();
    return 0;
}
