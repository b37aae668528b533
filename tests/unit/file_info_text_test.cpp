// Texts of a file's facts: attributes, size, times and compatibility layers.
#include <gtest/gtest.h>

#include <string>

#include "details/DetailText.h"
#include "details/FileInfoText.h"

using namespace cvt;

TEST(FormatAttributes, EveryKnownBitInItsOrderWithTheDirectoryFirstAndNoOtherBits) {
    EXPECT_EQ(FormatAttributes(0x21), "読み取り専用, ｱｰｶｲﾌﾞ");
    EXPECT_EQ(FormatAttributes(0x80), "属性無し");
    EXPECT_EQ(FormatAttributes(0), "");
    EXPECT_EQ(FormatAttributes(0x7FF7),
              "ﾃﾞｨﾚｸﾄﾘ, 読み取り専用, 隠しﾌｧｲﾙ, ｼｽﾃﾑﾌｧｲﾙ, ｱｰｶｲﾌﾞ, ﾃﾞﾊﾞｲｽ, 属性無し, 一時ﾌｧｲﾙ, "
              "ｽﾊﾟｰｽﾌｧｲﾙ, 再解析ﾎﾟｲﾝﾄ関連済, 圧縮済, ｵﾌﾗｲﾝ, ｲﾝﾃﾞｯｸｽｻｰﾋﾞｽ対象外, 暗号化ﾌｧｲﾙ");
    // The volume-label bit and everything above 0x4000 have no text.
    EXPECT_EQ(FormatAttributes(0x0008), "");
    EXPECT_EQ(FormatAttributes(0xFFFF8008u), "");
    EXPECT_EQ(FormatAttributes(0xFFFF8008u | 0x4000), "暗号化ﾌｧｲﾙ");
}

// Short forms that name the width they were asked for.
const ByteSizeFormatters kTagged{[](uint32_t size) { return "s" + std::to_string(size); },
                                 [](uint64_t size) { return "L" + std::to_string(size); }};

TEST(ComposeSizeText, ShortFormOfTheRightWidthThenTheExactCountInFullWidthParentheses) {
    EXPECT_EQ(ComposeSizeText(123456789, kTagged), "s123456789（123456789バイト）");
    EXPECT_EQ(ComposeSizeText(0xFFFFFFFFu, kTagged), "s4294967295（4294967295バイト）");
    EXPECT_EQ(ComposeSizeText(1ull << 32, kTagged), "L4294967296（4294967296バイト）");
}

TEST(CompatLayers, AreReadOnlyOnWindowsXp) {
    EXPECT_TRUE(HasCompatLayerStore(2, 5, 1));
    EXPECT_FALSE(HasCompatLayerStore(2, 5, 0));
    EXPECT_FALSE(HasCompatLayerStore(2, 5, 2));
    EXPECT_FALSE(HasCompatLayerStore(2, 6, 1));
    EXPECT_FALSE(HasCompatLayerStore(1, 5, 1));  // not the NT family
    EXPECT_FALSE(HasCompatLayerStore(1, 4, 10));
}
