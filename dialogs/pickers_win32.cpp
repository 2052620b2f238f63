// Filling the picker lists and drawing their previews from the catalogue.
#include "dialogs/pickers_win32.h"

#include <string>
#include <vector>

#include "dialogs/dialog_support_win32.h"
#include "dialogs/picker_lists.h"
#include "resources/catalogue.h"
#include "resources/game_tables.h"
#include "resources/images.h"

namespace {

std::vector<std::string> TableEntries(const char* const* names, int count) {
    return std::vector<std::string>(names, names + count);
}

}  // namespace

void FillTextureList(HWND dialog, int control, int number, bool noneEntry) {
    FillDropDown(dialog, control, TextureListEntries(noneEntry), TextureListPosition(number, noneEntry));
}

void FillFlatList(HWND dialog, int control, int number) { FillDropDown(dialog, control, FlatListEntries(), number); }

void FillLinedefSpecialList(HWND dialog, int control, int special) {
    FillDropDown(dialog, control, TableEntries(linedefSpecialNames, kNumLinedefSpecials),
                 special >= 0 && special < kNumLinedefSpecials ? special : -1);
}

void FillSectorSpecialList(HWND dialog, int control, int special) {
    FillDropDown(dialog, control, TableEntries(sectorSpecialNames, kNumSectorSpecials),
                 special >= 0 && special < kNumSectorSpecials ? special : -1);
}

void DrawTexturePreview(HWND dialog, int control, int number) {
    const bool known = number >= 0 && static_cast<std::size_t>(number) < catalogue.textures.size();
    SetPreviewImage(dialog, control, known ? ComposeTexture(catalogue.textures[number]) : Image{}, basePalette);
}

void DrawFlatPreview(HWND dialog, int control, int number) {
    const bool known = number >= 0 && static_cast<std::size_t>(number) < catalogue.flats.size();
    SetPreviewImage(dialog, control, known ? FlatImage(catalogue.flats[number]) : Image{}, basePalette);
}
