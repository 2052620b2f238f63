// Display texts of the numbers stored in linedefs, sectors, things and the map
// slot; each table is indexed by the stored number.
#pragma once

constexpr int kNumLinedefSpecials = 142;
constexpr int kNumSectorSpecials = 18;
constexpr int kNumAngles = 8;
constexpr int kNumMapSlots = 32;

extern const char* const linedefSpecialNames[kNumLinedefSpecials];
extern const char* const sectorSpecialNames[kNumSectorSpecials];
extern const char* const angleNames[kNumAngles];      // 0, 45, ... 315 degrees
extern const char* const mapSlotNames[kNumMapSlots];  // "MAP01" for slot 1
