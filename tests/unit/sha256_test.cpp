// SHA-256 against the published FIPS 180-4 examples, whole and in pieces.
#include <gtest/gtest.h>

#include <string>

#include "base/Sha256.h"

using namespace cvt;

TEST(Sha256, PublishedVectors) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesOfAnySizeGiveTheWholeDigest) {
    const std::string text(1000, 'x');
    const std::string whole = Sha256Hex(text);
    for (size_t piece : {1u, 55u, 63u, 64u, 65u, 4096u}) {
        Sha256 hash;
        for (size_t at = 0; at < text.size(); at += piece) hash.Update(text.data() + at, std::min(piece, text.size() - at));
        const auto digest = hash.Final();
        EXPECT_EQ(HexDigits(digest.data(), digest.size()), whole) << piece;
    }
}
