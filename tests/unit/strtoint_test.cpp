// Reading PIDs and handles back from the texts the lists show.
#include <gtest/gtest.h>

#include "base/StrToInt.h"

using cvt::StrToIntDollarHex;

TEST(StrToIntDollarHex, ReadsDecimalAndHexFormsAndRefusesTheRest)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"  -42", -42}, {"\t+7", 7}, {"$1F4", 500}, {"0XaBc", 0xABC}, {"-$10", -16}, {"$ffffffff", -1},
        {"0x80000000", INT32_MIN}, {"-2147483648", INT32_MIN}, {"$0000000000FF", 255}};
    for (const auto& [text, value] : cases) EXPECT_EQ(StrToIntDollarHex(text), value) << text;
    for (const char* text : {"", "   ", "$", "0x", "12a", "12 ", "$-1", "2147483648", "$100000000",
                             "99999999999999999999999"})
        EXPECT_EQ(StrToIntDollarHex(text), std::nullopt) << text;
}
