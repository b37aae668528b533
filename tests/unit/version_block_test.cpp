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

TEST(VersionBlock, OnlyTheFirstTranslationAndItsPrefix) {
    const unsigned char two[] = {0x09, 0x04, 0xE4, 0x04, 0x11, 0x04, 0xA4, 0x03};
    const auto first = FirstTranslation(two);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->language, 0x0409);
    EXPECT_EQ(first->codePage, 0x04E4);
    EXPECT_EQ(StringFilePrefix(*first), "\\StringFileInfo\\040904E4\\");
    EXPECT_EQ(StringFilePrefix({0x0009, 0x04B0}), "\\StringFileInfo\\000904B0\\");

    EXPECT_FALSE(FirstTranslation(ByteSpan(two, 3)));  // less than one pair
    EXPECT_FALSE(FirstTranslation(ByteSpan()));
}

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

TEST(VersionBlock, AStringValueRunsToItsNulWhateverItsLengthCounts) {
    // The length counts characters here (5 for ten bytes of text); the text is still whole.
    auto block = Bytes(std::string("xx日本語版です\0yy", 17));
    const ByteSpan whole(block);
    EXPECT_EQ(TextValueWithin(whole, block.data() + 2, 5, IsCp932LeadByte), "日本語版です");
    // No NUL before the end of the block: cut there, never beyond.
    auto open = Bytes("xxCorvault");
    EXPECT_EQ(TextValueWithin(ByteSpan(open), open.data() + 2, 3, IsCp932LeadByte), "Corvault");
    EXPECT_FALSE(TextValueWithin(whole, block.data() + 2, 100, IsCp932LeadByte));
    EXPECT_FALSE(TextValueWithin(whole, nullptr, 0, IsCp932LeadByte));
}
