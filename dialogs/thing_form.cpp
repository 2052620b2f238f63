// Loading and applying the thing dialog's working copy.
#include "dialogs/thing_form.h"

#include "resources/catalogue.h"
#include "resources/game_tables.h"
#include "resources/thing_types.h"

namespace {

bool IsRow(int row) { return row >= 0 && row < kNumThingTypes; }

}  // namespace

ThingForm LoadThingForm(const Thing& thing) {
    ThingForm form;
    form.row = thing.typeIndex;
    const int position = thing.angle / 45;
    form.angle = thing.angle >= 0 && position < kNumAngles ? position : -1;
    for (int i = 0; i < kNumThingOptions; ++i) form.options[i] = (thing.flags & kThingOptionBits[i]) != 0;
    return form;
}

std::string ThingRowName(int row) { return IsRow(row) ? thingTypes[row].name : ""; }

Image ThingRowPicture(int row) { return IsRow(row) ? PictureToBitmap(catalogue.sprites[row]) : Image{}; }

const Palette& ThingRowPalette(int row) { return IsRow(row) ? PaletteForThingType(thingTypes[row].type) : basePalette; }

void ApplyThingForm(const ThingForm& form, Thing& thing) {
    const Thing before = thing;
    if (IsRow(form.row)) {
        thing.typeIndex = form.row;
        thing.type = thingTypes[form.row].type;
    }
    if (form.angle >= 0 && form.angle < kNumAngles) thing.angle = 45 * form.angle;
    int32_t flags = 0;
    for (int i = 0; i < kNumThingOptions; ++i) {
        if (form.options[i]) flags |= kThingOptionBits[i];
    }
    thing.flags = flags;
    if (thing.typeIndex != before.typeIndex || thing.type != before.type || thing.angle != before.angle ||
        thing.flags != before.flags)
        MarkModified();
}
