// Values taken out of a version resource block never reach past it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "details/VersionBlock.h"

using namespace cvt;

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

bool NoLeadBytes(unsigned char) { return false; }

}  // namespace

TEST(VersionBlock, AValueMustLieWhollyInsideTheBlock) {
    const std::vector<unsigned char> block(64);
    const ByteSpan whole(block);
    const unsigned char* start = block.data();
    ASSERT_TRUE(ValueWithin(whole, start + 10, 54));
    EXPECT_EQ(ValueWithin(whole, start + 10, 54)->size(), 54u);
    EXPECT_TRUE(ValueWithin(whole, start + 64, 0));
    EXPECT_FALSE(ValueWithin(whole, start + 10, 55));
    EXPECT_FALSE(ValueWithin(whole, start + 65, 0));
    EXPECT_FALSE(ValueWithin(whole, start + 10, SIZE_MAX));  // no wrap-around
    EXPECT_FALSE(ValueWithin(whole, nullptr, 0));
    const std::vector<unsigned char> elsewhere(8);
    EXPECT_FALSE(ValueWithin(whole, elsewhere.data(), 4));
}

TEST(VersionBlock, TextStopsAtItsNulOrTheEndOfTheBytesAndDropsHalfACharacter) {
    const auto terminated = Bytes(std::string("Corvault\0junk", 13));
    EXPECT_EQ(TextWithin(terminated, IsCp932LeadByte), "Corvault");
    EXPECT_EQ(TextWithin(ByteSpan(terminated.data(), 3), IsCp932LeadByte), "Cor");
    // "表" is 0x95 0x5C: its trail byte must not be taken for a character of its own.
    const auto text = Bytes("会社表");
    EXPECT_EQ(TextWithin(text, IsCp932LeadByte), "会社表");
    EXPECT_EQ(TextWithin(ByteSpan(text.data(), text.size() - 1), IsCp932LeadByte), "会社");
    const auto leadThenNul = Bytes(std::string("A\x95\0B", 4));
    EXPECT_EQ(TextWithin(leadThenNul, IsCp932LeadByte), "A");
    EXPECT_EQ(TextWithin(leadThenNul, NoLeadBytes), "A\x95");
}
