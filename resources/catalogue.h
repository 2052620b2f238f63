// The resource catalogue: what the editor shows of the game's art, read
// once from doom2.wad at start-up - wall textures (TEXTURE1 records and the
// PNAMES patches), flats (between F_START and F_END), the palette and the
// sprite of every thing type. Constant afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/thing_types.h"
#include "resources/wad_file.h"

struct PatchPlacement {
    int16_t xOrigin;
    int16_t yOrigin;
    int16_t patch;  // index into the patch table
};

struct TextureRecord {
    char name[8];
    int16_t width;
    int16_t height;
    std::vector<PatchPlacement> placements;
};

struct Flat {
    char name[8];
    std::string pixels;  // 64 rows of 64 palette indices, top row first
};

struct Catalogue {
    WadFile wad;                          // the directory (the file's bytes are let go after loading)
    std::vector<std::string> patchNames;  // PNAMES, in order
    std::vector<std::string> patches;     // picture bytes by patch number; empty when missing
    std::vector<TextureRecord> textures;  // TEXTURE1 order: the texture numbers
    std::vector<Flat> flats;              // directory order: the flat numbers
    std::string palette;                  // PLAYPAL
    std::string sprites[kNumThingTypes];  // picture bytes by thing type row; empty when none
    std::vector<std::string> damage;      // what was found damaged and left out or cut, by lump
};

// The largest side of a texture or picture taken: the game's are at most
// 1024 wide and a few hundred high; a side beyond this is damage (and would
// ask for gigabytes).
constexpr int32_t kMaxImageSide = 4096;

extern Catalogue catalogue;

// Fills the catalogue from the bytes of an IWAD; 1 on success, 0 when the
// file is not an IWAD or lacks PNAMES, TEXTURE1 or PLAYPAL (error, when
// given, then says why). Damaged parts (a texture past its lump, a missing
// patch) are left out with a LogDebug line; what can be read is kept, and
// the damage is listed in catalogue.damage.
int LoadIwad(const std::string& bytes, std::string* error = nullptr);
// LoadIwad of the file at path; 0 when it cannot be read.
int LoadIwadFile(const std::string& path, std::string* error = nullptr);

// The first directory entry named name (letter case ignored), or the lump
// count.
int FindLumpByName(const std::string& name);
// The first texture (flat) with the given 8-byte field's name (letter case
// ignored), or -1.
int FindTexture(const char* name);
int FindFlat(const char* name);
// A texture's 8-byte name as text, "-" for -1.
std::string TextureName(int number);
