// Decoding pictures, composing textures, and the palettes.
#include "resources/images.h"

#include <algorithm>
#include <cstring>

Palette basePalette, player2Palette, player3Palette, player4Palette, shadowPalette;

namespace {
// Picture header: width, height, left and top offsets, then a column offset
// per column.
bool PictureSize(const std::string& picture, int32_t& width, int32_t& height) {
    if (picture.size() < 8) return false;
    width = ReadI16(picture, 0);
    height = ReadI16(picture, 2);
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           static_cast<std::size_t>(width) <= (picture.size() - 8) / 4;
}
}  // namespace

void BuildPalettes() {
    basePalette.assign(256, Rgb{0, 0, 0});
    // A palette lump shorter than 256 colours leaves the rest black.
    for (std::size_t i = 0; i < 256 && 3 * i + 2 < catalogue.palette.size(); ++i) {
        basePalette[i] = {static_cast<uint8_t>(catalogue.palette[3 * i]),
                          static_cast<uint8_t>(catalogue.palette[3 * i + 1]),
                          static_cast<uint8_t>(catalogue.palette[3 * i + 2])};
    }
    player2Palette = player3Palette = player4Palette = shadowPalette = basePalette;
    for (int i = 0; i < 16; ++i) {
        player2Palette[112 + i] = basePalette[96 + i];
        player3Palette[112 + i] = basePalette[64 + i];
        player4Palette[112 + i] = basePalette[32 + i];
    }
    for (Rgb& c : shadowPalette)
        c = {static_cast<uint8_t>(c.red >> 1), static_cast<uint8_t>(c.green >> 1), static_cast<uint8_t>(c.blue >> 1)};
}

const Palette& PaletteForThingType(int32_t type) {
    switch (type) {
        case 2:
            return player2Palette;
        case 3:
            return player3Palette;
        case 4:
            return player4Palette;
        case 58:
            return shadowPalette;
        default:
            return basePalette;
    }
}

Image MakeImage(int32_t width, int32_t height) {
    Image image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.stride = (image.width + 3) & ~3;
    image.pixels.assign(static_cast<std::size_t>(image.stride) * image.height, 0);
    return image;
}

void DrawPictureColumn(const std::string& picture, int32_t column, Image& image, int32_t x, int32_t origin,
                       int32_t clipHeight) {
    int32_t width = 0, height = 0;
    if (!PictureSize(picture, width, height) || column < 0 || column >= width || x < 0 || x >= image.width) return;
    clipHeight = std::min(clipHeight, image.height);
    std::size_t at = ReadU32(picture, 8 + 4 * static_cast<std::size_t>(column));
    // Posts until the 255 that ends the column, or the end of the lump.
    while (at < picture.size() && static_cast<uint8_t>(picture[at]) != 255) {
        if (at + 2 > picture.size()) break;
        int32_t row = static_cast<uint8_t>(picture[at]) + origin;
        const int32_t length = static_cast<uint8_t>(picture[at + 1]);
        std::size_t source = at + 3;
        int32_t count = length;
        if (row < 0) {
            count += row;
            source += static_cast<std::size_t>(-row);
            row = 0;
        }
        if (row + count > clipHeight) count = clipHeight - row;
        // Pixels the lump does not hold are not drawn.
        if (source < picture.size())
            count = std::min<int64_t>(count, static_cast<int64_t>(picture.size() - source));
        else
            count = 0;
        for (int32_t k = 0; k < count; ++k) {
            image.pixels[static_cast<std::size_t>(row + k) * image.stride + x] =
                static_cast<uint8_t>(picture[source + k]);
        }
        at += static_cast<std::size_t>(length) + 4;
    }
}

Image PictureToBitmap(const std::string& picture) {
    int32_t width = 0, height = 0;
    if (!PictureSize(picture, width, height)) return Image{};
    Image image = MakeImage(width, height);
    for (int32_t x = 0; x < width; ++x) DrawPictureColumn(picture, x, image, x, 0, height);
    return image;
}

Image ComposeTexture(const TextureRecord& texture) {
    Image image = MakeImage(texture.width, texture.height);
    for (const PatchPlacement& p : texture.placements) {
        if (p.patch < 0 || p.patch >= static_cast<int32_t>(catalogue.patches.size())) continue;
        const std::string& patch = catalogue.patches[p.patch];
        int32_t width = 0, height = 0;
        if (!PictureSize(patch, width, height)) continue;
        const int32_t x0 = std::max<int32_t>(p.xOrigin, 0);
        const int32_t x1 = std::min<int32_t>(p.xOrigin + width, texture.width);
        for (int32_t x = x0; x < x1; ++x) DrawPictureColumn(patch, x - p.xOrigin, image, x, p.yOrigin, texture.height);
    }
    return image;
}

Image FlatImage(const Flat& flat) {
    Image image = MakeImage(64, 64);
    std::memcpy(image.pixels.data(), flat.pixels.data(), std::min<std::size_t>(flat.pixels.size(), 4096));
    return image;
}

std::vector<std::vector<ThingMenuItem>> ThingMenuItems() {
    std::vector<std::vector<ThingMenuItem>> menu(kNumThingCategories);
    for (int32_t row = 0; row < kNumThingTypes; ++row) {
        const int32_t category = thingTypes[row].category;
        if (category < 0 || category >= kNumThingCategories) continue;
        int32_t w = 0, h = 0;
        menu[category].push_back({row, PictureSize(catalogue.sprites[row], w, h)});
    }
    return menu;
}

std::string EncodePpm(const Image& image, const Palette& palette) {
    std::string out = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const Rgb& c = palette[image.pixels[static_cast<std::size_t>(y) * image.stride + x]];
            out.push_back(static_cast<char>(c.red));
            out.push_back(static_cast<char>(c.green));
            out.push_back(static_cast<char>(c.blue));
        }
    }
    return out;
}

std::string EncodeBmp(const Image& image, const Palette& palette) {
    auto put16 = [](std::string& s, uint32_t v) {
        s.push_back(static_cast<char>(v)), s.push_back(static_cast<char>(v >> 8));
    };
    auto put32 = [&](std::string& s, uint32_t v) { put16(s, v & 0xFFFF), put16(s, v >> 16); };
    const uint32_t dataOffset = 14 + 40 + 256 * 4;
    const uint32_t dataSize = static_cast<uint32_t>(image.stride) * static_cast<uint32_t>(image.height);
    std::string out = "BM";
    put32(out, dataOffset + dataSize);
    put32(out, 0);
    put32(out, dataOffset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(-image.height));  // top row first
    put16(out, 1);
    put16(out, 8);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (const Rgb& c : palette) {
        out.push_back(static_cast<char>(c.blue));
        out.push_back(static_cast<char>(c.green));
        out.push_back(static_cast<char>(c.red));
        out.push_back(0);
    }
    out.append(reinterpret_cast<const char*>(image.pixels.data()), image.pixels.size());
    return out;
}
