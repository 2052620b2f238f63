// What the dialogs' drop-down lists of textures and flats hold: entry texts
// in table order, and how an entry's position maps to a texture number.
#pragma once

#include <string>
#include <vector>

// "NAME (WxH)" per texture of the catalogue, with "-" first when noneEntry is
// set: then position = texture number + 1, position 0 being no texture.
std::vector<std::string> TextureListEntries(bool noneEntry);
// The flat names, position = flat number.
std::vector<std::string> FlatListEntries();

// The position of texture number (-1 for none) in a list with or without the
// "-" entry, and back; -1 is no selection.
inline int TextureListPosition(int number, bool noneEntry) { return noneEntry ? number + 1 : number; }
inline int TextureAtListPosition(int position, bool noneEntry) {
    return position < 0 ? -1 : noneEntry ? position - 1 : position;
}
