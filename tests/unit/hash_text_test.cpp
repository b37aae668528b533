// The look-up address and what stands in for hashes that were not computed.
#include <gtest/gtest.h>

#include "details/HashText.h"

using namespace cvt;

TEST(HashText, OnlyAHashBecomesTheLookUpAddressAndOnlyComputedHashesAreCopied) {
    const std::string hash(64, 'a');
    EXPECT_EQ(VirusTotalUrl(hash), "https://www.virustotal.com/gui/file/" + hash);
    for (const std::string other : {std::string(63, 'a'), hash + "a", hash.substr(1) + "g", hash.substr(1) + "/"})
        EXPECT_EQ(VirusTotalUrl(other), "") << other;
    // Without CryptoAPI only the SHA-256 is there.
    EXPECT_EQ(HashesClipboardText({"", "", "t"}), "SHA-256: t\r\n");
    EXPECT_EQ(HashRowText(HashOutcome::Done, 100, ""), "この環境では計算できません");
}
