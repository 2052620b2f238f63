// Filling and applying the default textures dialog.
#include "dialogs/default_textures_form.h"

#include "base/names.h"
#include "model/map.h"
#include "resources/catalogue.h"

namespace {

char* const kDefaults[3] = {defaultUpper, defaultMiddle, defaultLower};

}  // namespace

DefaultTexturesForm LoadDefaultTexturesForm() {
    DefaultTexturesForm form;
    for (int i = 0; i < 3; ++i) form.textures[i] = FindTexture(kDefaults[i]);
    return form;
}

void ApplyDefaultTexturesForm(const DefaultTexturesForm& form) {
    for (int i = 0; i < 3; ++i) {
        const int number = form.textures[i];
        if (number >= 0 && number < static_cast<int>(catalogue.textures.size())) {
            SetName(kDefaults[i], TextureName(number).c_str());
        }
    }
}
