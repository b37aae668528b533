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

TEST(ProfileSnapshot, ReadsSectionsAndKeysAsTheSystemParsesThem) {
    RecordingIni system;
    const ProfileSnapshot ini(
        "top=before any section\r\n"
        "  [ Main ]  trailing\r\n"
        "\tKey  =  spaced value  \r\n"
        "key=second of the same name\r\n"
        "bare line\r\n"
        "bare line=later value\r\n"
        "quoted=\"in quotes\"\n"
        "half=\"open\n"
        "single='x'\r"
        "one=\"\n"
        ";comment=kept as a key\n"
        "[Other\n"
        "k=v\n"
        "[main]\n"
        "late=never read\n"
        "[日本]\n"
        "x=1\n",
        system, true);
    ASSERT_TRUE(ini.Parsed());
    EXPECT_EQ(ini.ReadString("", "top", "d"), "before any section");
    EXPECT_EQ(ini.ReadString("MAIN", "KEY", "d"), "spaced value");
    EXPECT_EQ(ini.ReadString(" main ", " key ", "d"), "spaced value");
    EXPECT_EQ(ini.ReadString("main", "bare line", "d"), "d");  // the first line of that name has no value
    EXPECT_EQ(ini.ReadString("main", "quoted", "d"), "in quotes");
    EXPECT_EQ(ini.ReadString("main", "half", "d"), "\"open");
    EXPECT_EQ(ini.ReadString("main", "single", "d"), "x");
    EXPECT_EQ(ini.ReadString("main", "one", "d"), "\"");
    EXPECT_EQ(ini.ReadString("main", ";comment", "d"), "kept as a key");
    EXPECT_EQ(ini.ReadString("main", "late", "d"), "d");  // only the first section of a name counts
    EXPECT_EQ(ini.ReadString("main", "[Other", "d"), "d");
    EXPECT_EQ(ini.ReadString("main", "k", "d"), "v");  // "[Other" without "]" is no section header
    EXPECT_EQ(ini.ReadString("nowhere", "k", "def  "), "def");
    EXPECT_EQ(ini.ReadString("nowhere", "k", "\"q\""), "q");
    EXPECT_TRUE(system.asked.empty());
    EXPECT_EQ(ini.ReadString("日本", "x", "d"), "<system>");
    EXPECT_EQ(system.asked.size(), 1u);
}

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

TEST(ProfileSnapshot, HandsOverWhatItCannotReadExactly) {
    RecordingIni system;
    for (const std::string bytes : {std::string("\xEF\xBB\xBF[a]\nk=1\n"), std::string("\xFF\xFE[\0a\0]\0", 8),
                                    std::string("[a]\nk=1\0\n", 9)}) {
        const ProfileSnapshot ini(bytes, system, true);
        EXPECT_FALSE(ini.Parsed());
        EXPECT_EQ(ini.ReadInt("a", "k", 0), -777);
    }
    const ProfileSnapshot undecodable("[a]\nk=1\n", system, false);
    EXPECT_EQ(undecodable.ReadString("a", "k", ""), "<system>");

    // 255 characters fit the buffer; in double-byte characters that is more bytes than a read returns.
    system.asked.clear();
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "\x88\x9F";
    const ProfileSnapshot longValue("[a]\nk=" + std::string(300, 'v') + "\nwide=" + wide + "\n", system, true);
    EXPECT_EQ(longValue.ReadString("a", "k", ""), std::string(255, 'v'));
    EXPECT_TRUE(system.asked.empty());
    EXPECT_EQ(longValue.ReadString("a", "wide", ""), "<system>");
}

TEST(ProfileSnapshot, DoubleByteTrailBytesAreNeverStructure) {
    RecordingIni system;
    // 0x83 0x5D is one character whose second byte is "]"; 0x95 0x5C ends in a backslash.
    const ProfileSnapshot ini("[a\x83\x5D]\nk=\x95\x5C\n[b]\nk=\"\x83\x5D\"\n", system, true);
    EXPECT_EQ(ini.ReadString("b", "k", ""), "\x83\x5D");
    EXPECT_TRUE(system.asked.empty());
}
