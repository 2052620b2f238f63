// Display texts of the numbers stored in linedefs, sectors, things and the map
// slot; each table is indexed by the stored number.
#pragma once

#include <string>

constexpr int kNumLinedefSpecials = 142;
constexpr int kNumSectorSpecials = 18;
constexpr int kNumAngles = 8;
constexpr int kNumMapSlots = 32;

extern const char* const linedefSpecialNames[kNumLinedefSpecials];
extern const char* const sectorSpecialNames[kNumSectorSpecials];
extern const char* const angleNames[kNumAngles];      // 0, 45, ... 315 degrees
extern const char* const mapSlotNames[kNumMapSlots];  // "MAP01" for slot 1

// The map marker's name for a map slot, MAP01 to MAP32; "MAP??" for a
// number outside them.
std::string MapLumpName(int slot);
