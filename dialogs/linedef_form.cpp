// Filling and applying the linedef dialog's working copy.
#include "dialogs/linedef_form.h"

#include <cstring>

#include "base/names.h"
#include "model/map.h"
#include "resources/catalogue.h"
#include "resources/game_tables.h"

namespace {

LinedefFormSide LoadSide(const Sidedef& side) {
    LinedefFormSide s;
    s.xOffset = std::to_string(side.xOffset);
    s.yOffset = std::to_string(side.yOffset);
    s.upper = FindTexture(side.upper);
    s.middle = FindTexture(side.middle);
    s.lower = FindTexture(side.lower);
    return s;
}

struct SideOffsets {
    int32_t x;
    int32_t y;
};

// The side's offsets, or the refusal of the first that cannot be stored:
// the game keeps them as 16-bit numbers.
std::optional<SideOffsets> ReadOffsets(const LinedefFormSide& side, int number, LinedefRefusal& refusal) {
    const char* xLabel = number == 0 ? "X offset (Right Sidedef)" : "X offset (Left Sidedef)";
    const char* yLabel = number == 0 ? "Y offset (Right Sidedef)" : "Y offset (Left Sidedef)";
    refusal.side = number;
    const auto x =
        ReadNumberField({kLinedefXOffset, xLabel, kShortMinimum, kShortMaximum}, side.xOffset, refusal.field);
    if (!x) return std::nullopt;
    const auto y =
        ReadNumberField({kLinedefYOffset, yLabel, kShortMinimum, kShortMaximum}, side.yOffset, refusal.field);
    if (!y) return std::nullopt;
    return SideOffsets{*x, *y};
}

void ApplySide(const LinedefFormSide& form, const SideOffsets& offsets, Sidedef& side) {
    side.xOffset = offsets.x;
    side.yOffset = offsets.y;
    SetName(side.upper, TextureName(form.upper).c_str());
    SetName(side.middle, TextureName(form.middle).c_str());
    SetName(side.lower, TextureName(form.lower).c_str());
}

bool SameSide(const Sidedef& a, const Sidedef& b) {
    return a.xOffset == b.xOffset && a.yOffset == b.yOffset && std::memcmp(a.upper, b.upper, 8) == 0 &&
           std::memcmp(a.middle, b.middle, 8) == 0 && std::memcmp(a.lower, b.lower, 8) == 0;
}

}  // namespace

LinedefForm LoadLinedefForm(const Linedef& linedef) {
    LinedefForm form;
    form.flags = linedef.flags & kLinedefDialogFlags;
    form.storedSpecial = linedef.special;
    form.special = linedef.special >= 0 && linedef.special < kNumLinedefSpecials ? linedef.special : -1;
    form.tag = std::to_string(linedef.tag);
    form.sides[0] = LoadSide(linedef.right);
    form.hasLeft = linedef.left.sector != nullptr;
    if (form.hasLeft) form.sides[1] = LoadSide(linedef.left);
    return form;
}

std::optional<LinedefRefusal> ApplyLinedefForm(const LinedefForm& form, Linedef& linedef) {
    LinedefRefusal refusal;
    refusal.side = form.shownSide;
    // The tag is kept as a 16-bit number in the game's LINEDEFS lump and read
    // back signed.
    const auto tag = ReadNumberField({kLinedefTag, "Tag", kShortMinimum, kShortMaximum}, form.tag, refusal.field);
    if (!tag) return refusal;
    const auto right = ReadOffsets(form.sides[0], 0, refusal);
    if (!right) return refusal;
    std::optional<SideOffsets> left;
    if (form.hasLeft && linedef.left.sector) {
        left = ReadOffsets(form.sides[1], 1, refusal);
        if (!left) return refusal;
    }

    const Linedef before = linedef;
    linedef.flags = form.flags & kLinedefDialogFlags;
    if (form.special >= 0) linedef.special = form.special;
    linedef.tag = *tag;
    ApplySide(form.sides[0], *right, linedef.right);
    if (left) ApplySide(form.sides[1], *left, linedef.left);
    if (before.flags != linedef.flags || before.special != linedef.special || before.tag != linedef.tag ||
        !SameSide(before.right, linedef.right) || !SameSide(before.left, linedef.left)) {
        MarkModified();
    }
    return std::nullopt;
}
