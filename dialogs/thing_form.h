// The Thing Edit dialog without its window: what opening fills in, what the
// type row shows, and what OK writes back.
#pragma once

#include <string>

#include "model/map.h"
#include "resources/images.h"

enum ThingDialogControl {
    kThingPicture = 1001,
    kThingTypeName = 2001,
    kThingAngleList = 3001,
    kThingOptionFirst = 7001,  // 7001 to 7005, one per option bit
    kThingTypeButton = 8000,
    kThingOk = 9001,
    kThingCancel = 9002,
};

constexpr int kNumThingOptions = 5;
// The option bits in check box order: skill 1/2, skill 3, skill 4/5, deaf
// guard, multiplayer only.
constexpr int32_t kThingOptionBits[kNumThingOptions] = {1, 2, 4, 8, 16};

// The working copy: the type table row shown, the angle list's position
// (-1 when the stored angle is not in the list) and the option boxes.
struct ThingForm {
    int row = 0;
    int angle = -1;
    bool options[kNumThingOptions] = {};
};

ThingForm LoadThingForm(const Thing& thing);

// The row's type name, "" for a row outside the table.
std::string ThingRowName(int row);
// The row's sprite and the palette it is shown with; an empty image when
// the row has no picture.
Image ThingRowPicture(int row);
const Palette& ThingRowPalette(int row);

// OK: the row (and its type number), 45 degrees per angle position and the
// checked option bits; any other flag bit is dropped. An angle list with no
// selection keeps the stored angle. The map is marked modified when the
// thing changed.
void ApplyThingForm(const ThingForm& form, Thing& thing);
