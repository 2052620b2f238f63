// The dialogs' number fields: what is read, and what is refused with which
// message.
#include "dialogs/number_field.h"

#include <gtest/gtest.h>

namespace {

const NumberField kTag{4001, "Tag", kShortMinimum, kShortMaximum};
const NumberField kLight{4003, "Light Level", 0, 255};

TEST(NumberFieldTest, ReadsWholeNumbersWithinTheRange) {
    struct Case {
        const NumberField* field;
        const char* text;
        int32_t value;
    } cases[] = {
        {&kTag, "0", 0},   {&kTag, "-32768", -32768}, {&kTag, "32767", 32767}, {&kTag, " 12\t", 12}, {&kTag, "+7", 7},
        {&kTag, "007", 7}, {&kLight, "255", 255},     {&kLight, "0", 0},       {&kTag, "-0", 0},
    };
    for (const Case& c : cases) {
        FieldRefusal refusal;
        const std::optional<int32_t> value = ReadNumberField(*c.field, c.text, refusal);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(*value, c.value) << c.text;
        EXPECT_TRUE(refusal.message.empty()) << c.text;
    }
}

TEST(NumberFieldTest, RefusesTextAndValuesTheFieldCannotHold) {
    struct Case {
        const NumberField* field;
        const char* text;
    } cases[] = {
        {&kTag, ""},      {&kTag, "  "},    {&kTag, "abc"},    {&kTag, "12a"},        {&kTag, "1 2"},
        {&kTag, "-"},     {&kTag, "32768"}, {&kTag, "-32769"}, {&kTag, "4294967296"}, {&kTag, "99999999999999999999"},
        {&kLight, "256"}, {&kLight, "-1"},  {&kTag, "1.5"},    {&kTag, "0x10"},
    };
    for (const Case& c : cases) {
        FieldRefusal refusal;
        EXPECT_FALSE(ReadNumberField(*c.field, c.text, refusal).has_value()) << c.text;
        EXPECT_EQ(refusal.control, c.field->control) << c.text;
        const std::string expected = std::string("「") + c.field->label + "」には " + std::to_string(c.field->minimum) +
                                     " から " + std::to_string(c.field->maximum) + " までの整数を入れて下さい";
        EXPECT_EQ(refusal.message, expected) << c.text;
    }
}

}  // namespace
