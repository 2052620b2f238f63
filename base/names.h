// The 8-byte name fields of textures, flats and lumps: padded with zero
// bytes, with no terminator when all 8 characters are used.
#pragma once

#include <string>

void SetName(char* field, const char* text);           // copies up to 8 bytes, zero-pads
bool NameEquals(const char* field, const char* text);  // as 8-byte fields
std::string NameText(const char* field);               // the name as a string
