// Reading the dialogs' number fields.
#include "dialogs/number_field.h"

#include <cstdio>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int32_t> ReadNumberField(const NumberField& field, const std::string& text, FieldRefusal& refusal) {
    std::size_t at = 0;
    std::size_t end = text.size();
    while (at < end && IsBlank(text[at])) ++at;
    while (end > at && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (at < end && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    bool digits = at < end;
    int64_t value = 0;
    for (; at < end && digits; ++at) {
        if (text[at] < '0' || text[at] > '9') {
            digits = false;
        } else if (value <= int64_t{1} << 32) {  // past every range: stop growing
            value = value * 10 + (text[at] - '0');
        }
    }
    if (negative) value = -value;
    if (digits && value >= field.minimum && value <= field.maximum) return static_cast<int32_t>(value);
    char message[256];
    std::snprintf(message, sizeof message, "「%s」には %d から %d までの整数を入れて下さい", field.label,
                  static_cast<int>(field.minimum), static_cast<int>(field.maximum));
    refusal.control = field.control;
    refusal.message = message;
    return std::nullopt;
}
