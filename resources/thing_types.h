// The thing type table: every Thing refers to one of its rows by typeIndex.
#pragma once

#include <cstdint>

struct ThingType {
    int32_t type;            // the game's thing type number
    const char* spriteName;  // picture lump of the IWAD, "" for none
    const char* name;
    int32_t category;  // row of the category table
    int32_t radius;    // map units; 0 for the icon-less spots
};

constexpr int kNumThingTypes = 121;
constexpr int kNumThingCategories = 10;

extern const ThingType thingTypes[kNumThingTypes];
extern const char* const thingCategoryNames[kNumThingCategories];
// Cell of the 8 by 8 thing icon atlas for categories 0 to 8; category 9 has none.
extern const int32_t thingCategoryIconCells[kNumThingCategories - 1];
