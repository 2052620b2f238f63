// The "Default Textures" dialog without its window: the texture numbers of
// the three default names new linedefs get, and what OK stores.
#pragma once

// Control identifiers of the "deftex" template.
enum DefaultTexturesControl : int {
    kDefaultTexturesUpperPreview = 1001,  // 1001 to 1003: upper, middle, lower
    kDefaultTexturesUpperList = 3001,     // 3001 to 3003: upper, middle, lower
};

// Texture numbers (list positions: these lists have no "-"); -1 when the
// stored name is not in the catalogue, so its list has no selection.
struct DefaultTexturesForm {
    int textures[3] = {-1, -1, -1};  // upper, middle, lower
};

DefaultTexturesForm LoadDefaultTexturesForm();
// Stores the chosen textures' names as the defaults; a list with no
// selection keeps its stored default.
void ApplyDefaultTexturesForm(const DefaultTexturesForm& form);
