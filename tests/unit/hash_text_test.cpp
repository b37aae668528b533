// The hash rows' texts, the copied text and the look-up address.
#include <gtest/gtest.h>

#include "details/HashText.h"

using namespace cvt;

TEST(HashText, OnlyAHashEverBecomesTheLookUpAddress) {
    const std::string hash(64, 'a');
    EXPECT_EQ(VirusTotalUrl(hash), "https://www.virustotal.com/gui/file/" + hash);
    for (const std::string other : {std::string(63, 'a'), hash + "a", hash.substr(1) + "g", hash.substr(1) + "/"})
        EXPECT_EQ(VirusTotalUrl(other), "") << other;
}

TEST(HashText, CopiedTextAndRowsLeaveOutWhatWasNotComputed) {
    EXPECT_EQ(HashesClipboardText({"m", "s", "t"}), "MD5: m\r\nSHA-1: s\r\nSHA-256: t\r\n");
    EXPECT_EQ(HashesClipboardText({"", "", "t"}), "SHA-256: t\r\n");
    EXPECT_EQ(HashRowText(HashOutcome::Done, 100, "ab"), "ab");
    EXPECT_EQ(HashRowText(HashOutcome::Done, 100, ""), "この環境では計算できません");
    EXPECT_EQ(HashRowText(HashOutcome::Changed, 42, "ab"), "計算中にファイルが変更されました");
}
