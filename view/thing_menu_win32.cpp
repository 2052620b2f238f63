// The thing type menu with each type's sprite in its own palette.
#include "view/thing_menu_win32.h"

#include <string>
#include <vector>

#include "resources/catalogue.h"
#include "resources/images.h"
#include "resources/thing_types.h"
#include "view/image_bitmap_win32.h"

namespace {

HMENU menu = nullptr;

std::wstring Wide(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

// A screen-compatible bitmap of the row's sprite, or null.
HBITMAP SpriteBitmap(int32_t row) {
    const Image image = PictureToBitmap(catalogue.sprites[row]);
    if (image.width <= 0 || image.height <= 0) return nullptr;
    const Palette& palette = PaletteForThingType(thingTypes[row].type);
    std::vector<uint8_t> info = ImageBitmapInfo(image, palette);
    auto* header = reinterpret_cast<BITMAPINFO*>(info.data());
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &header->bmiHeader, CBM_INIT, image.pixels.data(), header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

HMENU ThingTypeMenu() {
    if (menu) return menu;
    menu = CreatePopupMenu();
    const std::vector<std::vector<ThingMenuItem>> items = ThingMenuItems();
    for (int32_t category = 0; category < kNumThingCategories; ++category) {
        HMENU categoryMenu = CreatePopupMenu();
        for (const ThingMenuItem& item : items[category]) {
            const std::wstring name = Wide(thingTypes[item.row].name);
            HBITMAP bitmap = item.hasPicture ? SpriteBitmap(item.row) : nullptr;
            if (bitmap) {
                // The name opens the picture; the picture is the choice.
                HMENU pictureMenu = CreatePopupMenu();
                AppendMenuW(pictureMenu, MF_BITMAP, item.row, reinterpret_cast<LPCWSTR>(bitmap));
                AppendMenuW(categoryMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(pictureMenu), name.c_str());
            } else {
                AppendMenuW(categoryMenu, MF_STRING, item.row, name.c_str());
            }
        }
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(categoryMenu),
                    Wide(thingCategoryNames[category]).c_str());
    }
    return menu;
}
