// Number fields of the property dialogs: the text typed is read as a signed
// decimal integer within the range the object's field can hold; anything
// else is refused with a message naming the field, and the dialog stays open.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Why OK was refused: the control to give the focus back to, and the
// message for the user.
struct FieldRefusal {
    int control = 0;
    std::string message;
};

struct NumberField {
    int control;        // the edit field's identifier
    const char* label;  // the field's name as its dialog shows it
    int32_t minimum;
    int32_t maximum;
};

// The ranges of the stored fields: heights, offsets and tags are 16-bit in
// the game's lumps, a light level a byte.
constexpr int32_t kShortMinimum = -32768;
constexpr int32_t kShortMaximum = 32767;

// The value of text (blanks around it allowed, an optional sign, decimal
// digits), or the refusal when it is not a whole number within the field's
// range.
std::optional<int32_t> ReadNumberField(const NumberField& field, const std::string& text, FieldRefusal& refusal);
