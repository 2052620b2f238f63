// Palette images as device-independent bitmaps.
#include "view/image_bitmap_win32.h"

std::vector<uint8_t> ImageBitmapInfo(const Image& image, const Palette& palette) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFO*>(info.data());
    header->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header->bmiHeader.biWidth = image.width;
    header->bmiHeader.biHeight = -image.height;  // top row first
    header->bmiHeader.biPlanes = 1;
    header->bmiHeader.biBitCount = 8;
    header->bmiHeader.biCompression = BI_RGB;
    header->bmiHeader.biClrUsed = 256;
    for (std::size_t i = 0; i < 256 && i < palette.size(); ++i) {
        header->bmiColors[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    }
    return info;
}
