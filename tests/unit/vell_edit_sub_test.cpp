// Byte types of double-byte text and row ends.
#include <gtest/gtest.h>

#include <string>

#include "editor/VellEditSub.h"

using namespace std::string_literals;
using cvt::ByteType;
using cvt::GetByteType;

TEST(ByteType, PairsFromTheStartOfARunOfLeadByteValues) {
    const auto type = [](const std::string& s, int p) { return GetByteType(s, p, false, cvt::IsCp932LeadByte); };
    // "亜" is 0x88 0x9F: its trail byte is a lead-byte value too.
    const std::string s = "亜亜a";
    const ByteType expected[] = {ByteType::Lead, ByteType::Trail, ByteType::Lead, ByteType::Trail, ByteType::Single};
    for (int p = 1; p <= 5; ++p) EXPECT_EQ(type(s, p), expected[p - 1]) << p;
    // "表" (0x95 0x5C) ends in the backslash code; the byte after it starts afresh.
    EXPECT_EQ(type("表表", 3), ByteType::Lead);
    for (int outside : {-1, 0, 6}) EXPECT_EQ(type(s, outside), ByteType::Single) << outside;
    EXPECT_EQ(GetByteType(s, 2, true, cvt::IsCp932LeadByte), ByteType::Single);
    EXPECT_EQ(GetByteType(s, 2, false, [](unsigned char) { return false; }), ByteType::Single);
}

TEST(RowEnd, LineBreaksEndMarkersAndWrappedRows) {
    struct Case {
        std::string row;
        bool hasEnd;
        std::string stripped, unmarked;
    };
    const Case cases[] = {
        {"a\r\n", true, "a", "a\r\n"},  {"a\0\0"s, true, "a", "a"}, {"\0\0"s, true, "", ""},
        {"a\rb", true, "a", "a\rb"},  // any byte after CR completes the row end
        {"a\r", false, "a\r", "a\r"},  // the last byte is not looked at
        {"あ", false, "あ", "あ"},      {"", false, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cvt::HasRowEnd(c.row), c.hasEnd) << c.row;
        EXPECT_EQ(cvt::StripRowEnd(c.row), c.stripped) << c.row;
        EXPECT_EQ(cvt::StripEndMarker(c.row), c.unmarked) << c.row;
    }
}
