// An INI file parsed once must read like the private-profile functions, or hand the read over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeIni.h"
#include "base/ProfileSnapshot.h"

using namespace cvt;

namespace {

// Answers every read with a marker and records it.
class RecordingIni final : public IniSource {
public:
    int ReadInt(std::string_view section, std::string_view key, int) const override {
        asked.push_back(std::string(section) + "/" + std::string(key));
        return -777;
    }
    std::string ReadString(std::string_view section, std::string_view key, std::string_view) const override {
        asked.push_back(std::string(section) + "/" + std::string(key));
        return "<system>";
    }
    mutable std::vector<std::string> asked;
};

}  // namespace

TEST(ProfileSnapshot, ReadsIntegersAsTheSystemDoes) {
    RecordingIni system;
    const ProfileSnapshot ini("[n]\na=12abc\nb=-5\nc=0x10\nd=0X10\ne=abc\nf=4294967295\ng=\nh=\"7\"\n"
                              "i= +0b101\nj=0o17\nk=99999999999\nl=-\nm=1234567890123456789012345678999\n",
                              system, true);
    EXPECT_EQ(ini.ReadInt("n", "a", 9), 12);
    EXPECT_EQ(ini.ReadInt("n", "b", 9), -5);
    EXPECT_EQ(ini.ReadInt("n", "c", 9), 16);
    EXPECT_EQ(ini.ReadInt("n", "d", 9), 0);
    EXPECT_EQ(ini.ReadInt("n", "e", 9), 0);
    EXPECT_EQ(ini.ReadInt("n", "f", 9), -1);
    EXPECT_EQ(ini.ReadInt("n", "g", 9), 9);
    EXPECT_EQ(ini.ReadInt("n", "h", 9), 7);
    EXPECT_EQ(ini.ReadInt("n", "i", 9), 5);
    EXPECT_EQ(ini.ReadInt("n", "j", 9), 15);
    EXPECT_EQ(ini.ReadInt("n", "k", 9), static_cast<int>(99999999999LL & 0xFFFFFFFF));
    EXPECT_EQ(ini.ReadInt("n", "l", 9), 0);
    EXPECT_EQ(ini.ReadInt("n", "m", 9), ProfileTextToInt("12345678901234567890123456789"));  // 29 characters
    EXPECT_EQ(ini.ReadInt("n", "missing", 9), 9);
    EXPECT_TRUE(system.asked.empty());
}

TEST(ProfileSnapshot, DoubleByteTrailBytesAreNeverStructure) {
    RecordingIni system;
    // 0x83 0x5D is one character whose second byte is "]"; 0x95 0x5C ends in a backslash.
    const ProfileSnapshot ini("[a\x83\x5D]\nk=\x95\x5C\n[b]\nk=\"\x83\x5D\"\n", system, true);
    EXPECT_EQ(ini.ReadString("b", "k", ""), "\x83\x5D");
    EXPECT_TRUE(system.asked.empty());
}
