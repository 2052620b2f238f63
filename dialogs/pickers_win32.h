// The texture, flat and special lists of the property dialogs and the
// previews beside them.
#pragma once

#include <windows.h>

// Fills the list with the textures ("-" first when noneEntry) and selects
// texture number (-1: "-", or nothing without the none entry).
void FillTextureList(HWND dialog, int control, int number, bool noneEntry);
// Fills the list with the flats and selects flat number (-1: nothing).
void FillFlatList(HWND dialog, int control, int number);
// Fill the special lists and select the stored number's entry.
void FillLinedefSpecialList(HWND dialog, int control, int special);
void FillSectorSpecialList(HWND dialog, int control, int special);

// Show texture (flat) number in the preview control; -1 leaves it grey.
void DrawTexturePreview(HWND dialog, int control, int number);
void DrawFlatPreview(HWND dialog, int control, int number);
