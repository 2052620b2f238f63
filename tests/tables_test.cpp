// The game tables, row by row against the tables written down in tests/data.
#include <fstream>
#include <sstream>

#include "resources/game_tables.h"
#include "resources/thing_types.h"
#include "tests/test_support.h"

namespace {

// The lines of a data file, without comment lines starting with '#'.
std::vector<std::string> DataLines(const char* name) {
    std::ifstream in(std::string(KELDRA_TEST_DATA) + "/" + name);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.push_back("");
    return fields;
}

TEST(Tables, ThingTypesMatchRowByRow) {
    const auto lines = DataLines("thing_types.tsv");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kNumThingTypes));
    for (int row = 0; row < kNumThingTypes; ++row) {
        const auto f = SplitTabs(lines[row]);
        ASSERT_EQ(f.size(), 6u) << lines[row];
        const ThingType& t = thingTypes[row];
        EXPECT_EQ(std::stoi(f[0]), row);
        EXPECT_EQ(t.type, std::stoi(f[1])) << "row " << row;
        EXPECT_STREQ(t.spriteName, f[2].c_str()) << "row " << row;
        EXPECT_STREQ(t.name, f[3].c_str()) << "row " << row;
        EXPECT_EQ(t.category, std::stoi(f[4])) << "row " << row;
        EXPECT_EQ(t.radius, std::stoi(f[5])) << "row " << row;
    }
}

TEST(Tables, ThingCategoriesMatchRowByRow) {
    const auto lines = DataLines("thing_categories.tsv");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kNumThingCategories));
    for (int row = 0; row < kNumThingCategories; ++row) {
        const auto f = SplitTabs(lines[row]);
        ASSERT_EQ(f.size(), 3u) << lines[row];
        EXPECT_EQ(std::stoi(f[0]), row);
        EXPECT_STREQ(thingCategoryNames[row], f[1].c_str());
        const int cell = std::stoi(f[2]);
        if (row < kNumThingCategories - 1)
            EXPECT_EQ(thingCategoryIconCells[row], cell) << "row " << row;
        else
            EXPECT_EQ(cell, -1);
    }
}

TEST(Tables, TextTablesMatchRowByRow) {
    const struct {
        const char* file;
        const char* const* texts;
        int rows;
    } tables[] = {
        {"linedef_specials.txt", linedefSpecialNames, kNumLinedefSpecials},
        {"sector_specials.txt", sectorSpecialNames, kNumSectorSpecials},
        {"angles.txt", angleNames, kNumAngles},
    };
    for (const auto& table : tables) {
        const auto lines = DataLines(table.file);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(table.rows)) << table.file;
        for (int row = 0; row < table.rows; ++row)
            EXPECT_EQ(table.texts[row], lines[row]) << table.file << " row " << row;
    }
}

TEST(Tables, MapSlotsAreNumberedFromOne) {
    EXPECT_STREQ(mapSlotNames[0], "MAP01");
    EXPECT_STREQ(mapSlotNames[8], "MAP09");
    EXPECT_STREQ(mapSlotNames[9], "MAP10");
    EXPECT_STREQ(mapSlotNames[31], "MAP32");
}

TEST(Tables, MapLumpNamesComeFromTheSlotTable) {
    const struct {
        int slot;
        const char* name;
    } cases[] = {{1, "MAP01"}, {9, "MAP09"}, {10, "MAP10"}, {32, "MAP32"}, {0, "MAP??"}, {33, "MAP??"}, {-1, "MAP??"}};
    for (const auto& c : cases) EXPECT_EQ(MapLumpName(c.slot), c.name) << c.slot;
}

}  // namespace
