// The game's art as 8-bit palette images: pictures (patches and sprites),
// wall textures composed from patches, flats, and the palettes to show them
// with. Portable; the Windows front end draws the images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/catalogue.h"

struct Rgb {
    uint8_t red, green, blue;
};
using Palette = std::vector<Rgb>;  // 256 colours

// The base palette and its variants, made from the catalogue's PLAYPAL.
extern Palette basePalette, player2Palette, player3Palette, player4Palette, shadowPalette;
void BuildPalettes();
// The palette a thing type's picture is shown with (by type number).
const Palette& PaletteForThingType(int32_t type);

// Palette indices, rows of stride bytes (width rounded up to a multiple of
// 4), top row first; 0 where nothing is drawn.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    std::vector<uint8_t> pixels;
};
Image MakeImage(int32_t width, int32_t height);

// Draws column `column` of a picture lump into image column x, its rows
// moved down by origin and cut at clipHeight. A column that runs past the
// end of its lump is drawn as far as it goes.
void DrawPictureColumn(const std::string& picture, int32_t column, Image& image, int32_t x, int32_t origin,
                       int32_t clipHeight);
// A picture lump as an image of its own size (empty for a damaged header).
Image PictureToBitmap(const std::string& picture);
// A texture of the catalogue composed from its patches.
Image ComposeTexture(const TextureRecord& texture);
// A flat as a 64 by 64 image.
Image FlatImage(const Flat& flat);

// The thing type menu's content: by category, the rows in table order, and
// whether each has a picture (shown with PaletteForThingType).
struct ThingMenuItem {
    int32_t row;
    bool hasPicture;
};
std::vector<std::vector<ThingMenuItem>> ThingMenuItems();

// Image files for looking at: binary PPM (P6) or an 8-bit BMP.
std::string EncodePpm(const Image& image, const Palette& palette);
std::string EncodeBmp(const Image& image, const Palette& palette);
