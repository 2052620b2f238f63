// Entry texts of the texture and flat lists.
#include "dialogs/picker_lists.h"

#include "base/names.h"
#include "resources/catalogue.h"

std::vector<std::string> TextureListEntries(bool noneEntry) {
    std::vector<std::string> entries;
    entries.reserve(catalogue.textures.size() + 1);
    if (noneEntry) entries.emplace_back("-");
    for (const TextureRecord& texture : catalogue.textures) {
        entries.push_back(NameText(texture.name) + " (" + std::to_string(texture.width) + "x" +
                          std::to_string(texture.height) + ")");
    }
    return entries;
}

std::vector<std::string> FlatListEntries() {
    std::vector<std::string> entries;
    entries.reserve(catalogue.flats.size());
    for (const Flat& flat : catalogue.flats) entries.push_back(NameText(flat.name));
    return entries;
}
