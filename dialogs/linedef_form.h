// The "Linedef Edit" dialog without its window: the working copy of a
// linedef's flags, special, tag and both sides, what opening fills in and
// what OK writes back.
#pragma once

#include <optional>
#include <string>

#include "dialogs/number_field.h"

struct Linedef;

// Control identifiers of the "lineedit" template.
enum LinedefControl : int {
    kLinedefFirstFlag = 7001,  // 7001 to 7009: flag bits 0x1 to 0x100
    kLinedefSpecial = 3001,
    kLinedefTag = 4001,
    kLinedefXOffset = 4002,
    kLinedefYOffset = 4003,
    kLinedefUpperPreview = 1001,  // 1001 to 1003: upper, middle, lower
    kLinedefUpperList = 3002,     // 3002 to 3004: upper, middle, lower
    kLinedefTabs = 5000,
};

// The flag bits the dialog's check boxes show; OK clears every other bit.
constexpr int kLinedefDialogFlags = 0x1FF;
constexpr int kLinedefFlagBoxes = 9;

// One side as the dialog holds it: offsets as typed (read when OK is
// pressed) and texture numbers (-1: no texture).
struct LinedefFormSide {
    std::string xOffset;
    std::string yOffset;
    int upper = -1;
    int middle = -1;
    int lower = -1;
};

struct LinedefForm {
    int flags = 0;             // the check boxes' bits
    int special = -1;          // position in the special list, -1: none
    int storedSpecial = 0;     // the linedef's special when the dialog opened
    std::string tag;           // as typed
    LinedefFormSide sides[2];  // right, left
    bool hasLeft = false;      // the left side faces a sector: its tab exists
    int shownSide = 0;
};

// Why OK was refused, with the side whose tab shows the field.
struct LinedefRefusal {
    FieldRefusal field;
    int side = 0;
};

// The working copy of the linedef as the dialog opens on it.
LinedefForm LoadLinedefForm(const Linedef& linedef);

// Writes the working copy to the linedef: flags of the boxes only, the
// special (the stored one kept when the list has no selection), the tag,
// the right side and, when the left side faces a sector, the left side.
// A tag or offset that is not a whole number the map can hold is refused,
// and then nothing is written. The map is marked modified when anything
// changed.
std::optional<LinedefRefusal> ApplyLinedefForm(const LinedefForm& form, Linedef& linedef);
