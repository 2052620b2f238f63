// The 8-byte name fields.
#include "base/names.h"

#include <cstring>

void SetName(char* field, const char* text) {
    std::size_t n = std::strlen(text);
    if (n > 8) n = 8;
    std::memset(field, 0, 8);
    std::memcpy(field, text, n);
}

bool NameEquals(const char* field, const char* text) {
    char other[8];
    SetName(other, text);
    return std::memcmp(field, other, 8) == 0;
}

std::string NameText(const char* field) {
    std::size_t n = 0;
    while (n < 8 && field[n]) ++n;
    return std::string(field, n);
}
