// The danger database read from real files through the system, and its label.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "base/ProfileSnapshot.h"
#include "details/ProcessDangerDb.h"

using namespace cvt;
using namespace cvt::test;

namespace {

const char kNoInformation[] = "このプロセスに関する情報はありません。";

}  // namespace

// The one-pass reader must answer every read exactly as the system does.
TEST(ProfileSnapshotOnWine, AnswersLikeThePrivateProfileFunctions) {
    TempFolder folder;
    const std::string text =
        "top=before\r\n[ Main ]x\r\n\tKey  =  spaced  \r\nkey=dup\r\nbare\r\nbare=late\r\nq=\"quoted\"\r\n"
        "h=\"half\r\none=\"\r\ns='x'\r\n;c=comment\r\n=unnamed\r\n=again\r\n[Other\r\nk=v\r\n"
        "n1=12abc\r\nn2=-5\r\nn3=0x10\r\nn4=0X10\r\nn5=4294967295\r\nn6=\r\nn7=\" 7\"\r\nn8=0b101\r\n"
        "n9=99999999999\r\nlong=" + std::string(300, 'v') + "\r\n"
        "[main]\r\nlate=x\r\n[a\x83\x5D]\r\nk=\x95\x5C\r\n[b]\rk=\"\x83\x5D\"\n[]\nz=1\n";
    folder.Write("t.ini", text);
    const ProfileIniFile system(folder.File("t.ini"));
    const ProfileSnapshot snapshot(text, system, true);
    ASSERT_TRUE(snapshot.Parsed());
    const std::vector<std::pair<std::string, std::string>> reads = {
        {"", "top"}, {"main", "key"}, {" MAIN ", "KEY "}, {"main", "bare"}, {"main", "q"}, {"main", "h"},
        {"main", "one"}, {"main", "s"}, {"main", ";c"}, {"main", ""}, {"main", "[Other"}, {"main", "k"},
        {"main", "late"}, {"main", "long"}, {"b", "k"}, {"", "z"}, {"nowhere", "k"}};
    for (const auto& [section, key] : reads) {
        EXPECT_EQ(snapshot.ReadString(section, key, "dflt  "), system.ReadString(section, key, "dflt  "))
            << section << "/" << key;
        EXPECT_EQ(snapshot.ReadInt(section, key, 42), system.ReadInt(section, key, 42)) << section << "/" << key;
    }
    for (int n = 1; n <= 9; ++n) {
        const std::string key = "n" + std::to_string(n);
        EXPECT_EQ(snapshot.ReadInt("main", key, 42), system.ReadInt("main", key, 42)) << key;
    }
}

// Printable ASCII is compared without the system: that must be what the system says.
TEST(ImageNameOnWine, AsciiShortcutAgreesWithTheLocaleComparison) {
    for (int a = 0x20; a <= 0x7E; ++a) {
        for (int b = 0x20; b <= 0x7E; ++b) {
            const std::string x = "a" + std::string(1, static_cast<char>(a)) + "b";
            const std::string y = "a" + std::string(1, static_cast<char>(b)) + "b";
            const bool system = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(), 3, y.data(), 3) ==
                                CSTR_EQUAL;
            ASSERT_EQ(SameImageName(x, y), system) << x << " " << y;
        }
        // No printable character is ignored by the comparison, or the shortcut would miss a match.
        const std::string with = "a" + std::string(1, static_cast<char>(a)) + "b";
        ASSERT_NE(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, with.data(), 3, "ab", 2), CSTR_EQUAL) << with;
    }
    EXPECT_TRUE(SameImageName("ＡＢＣ.exe", "ａｂｃ.EXE"));  // full-width letters fold in the locale too
    EXPECT_FALSE(SameImageName("ア.exe", "イ.exe"));
}

TEST(ProcessDangerDbOnWine, MissingFileGivesNoEntriesAndNoInformation) {
    TempFolder folder;
    const ProcessDangerDb db = LoadPdb(folder.File("cvtpdb.ini"));
    EXPECT_TRUE(db.Table().Entries().empty());
    const PdbInfo info = db.Lookup("lsass.exe");
    EXPECT_EQ(info.caption, kNoInformation);
    EXPECT_EQ(ToColorRef(info.background), RGB(255, 255, 255));
    EXPECT_EQ(ProcessDangerDb::PathIn(folder.Path()), folder.File("cvtpdb.ini"));
}

TEST(ProcessDangerDbOnWine, ReadsAFileAndTheCommentAtEveryLookup) {
    TempFolder folder;
    folder.Write("cvtpdb.ini", "[General]\r\nNum=3\r\ndb0=Worm.EXE\r\ndb1=日本語.exe\r\ndb2=worm.exe\r\n"
                               "[worm.exe]\r\nDanger=6\r\nDetail=悪いもの\r\n"
                               "[日本語.exe]\r\nDanger=2\r\nDetail=名前が日本語\r\n");
    const ProcessDangerDb db = LoadPdb(folder.File("cvtpdb.ini"));
    ASSERT_EQ(db.Table().Entries().size(), 3u);
    EXPECT_EQ(db.Table().Entries()[1].Danger, 2);
    const PdbInfo worm = db.Lookup("WORM.exe");
    EXPECT_EQ(worm.caption, "[危険度=6] 悪いもの");
    EXPECT_EQ(ToColorRef(worm.background), RGB(255, 51, 205));
    EXPECT_EQ(db.Lookup("日本語.EXE").caption, "[危険度=2] 名前が日本語");

    WritePrivateProfileStringA("worm.exe", "Detail", "書き換え", folder.File("cvtpdb.ini").c_str());
    WritePrivateProfileStringA("worm.exe", "Danger", "1", folder.File("cvtpdb.ini").c_str());
    EXPECT_EQ(db.Lookup("worm.exe").caption, "[危険度=6] 書き換え");
}

TEST(ProcessDangerDbOnWine, ShippedDatabaseLoadsAndKnowsTheSystemAndTheWorms) {
    const ProcessDangerDb db = LoadPdb(SourceTreePath(CVT_SOURCE_DIR "/data/cvtpdb.ini"));
    const auto& entries = db.Table().Entries();
    ASSERT_GE(entries.size(), 80u);
    for (const TPdbEntry& entry : entries) {
        EXPECT_FALSE(entry.Name.empty()) << entry.Number;
        EXPECT_TRUE(entry.Danger == 0 || (entry.Danger >= 3 && entry.Danger <= 5)) << entry.Name;
        EXPECT_EQ(db.Table().Find(entry.Name, SameImageName)->Number, entry.Number) << "listed twice: " << entry.Name;
        EXPECT_THAT(db.Lookup(entry.Name).caption, testing::StartsWith("[危険度=")) << entry.Name;
    }
    const PdbInfo lsass = db.Lookup("LSASS.EXE");
    EXPECT_THAT(lsass.caption, testing::StartsWith("[危険度=0] "));
    EXPECT_THAT(lsass.caption, testing::HasSubstr("System32"));
    EXPECT_EQ(ToColorRef(lsass.background), RGB(255, 255, 255));
    EXPECT_THAT(db.Lookup("msblast.exe").caption, testing::StartsWith("[危険度=5] Blaster"));
    EXPECT_EQ(ToColorRef(db.Lookup("msblast.exe").background), RGB(255, 85, 0));
}

TEST(PdbLabelOnWine, SetsTextAndPaintsItsBackgroundInAWrappingLabel) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    {
        PdbLabel label;
        HWND control = label.Create(parent, {16, 24, 497, 49}, nullptr);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);  // SS_LEFT wraps words
        label.Show({"[危険度=4] " + std::string(200, 'w'), DangerColour(4)});
        char text[512] = {};
        GetWindowTextA(control, text, sizeof text);
        EXPECT_THAT(text, testing::StartsWith("[危険度=4] www"));

        HDC dc = GetDC(control);
        HBRUSH brush = label.OnCtlColorStatic(dc, control);
        ASSERT_NE(brush, nullptr);
        LOGBRUSH logBrush{};
        GetObjectA(brush, sizeof logBrush, &logBrush);
        EXPECT_EQ(logBrush.lbColor, RGB(255, 119, 51));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 119, 51));
        EXPECT_EQ(label.OnCtlColorStatic(dc, parent), nullptr);
        ReleaseDC(control, dc);
    }
    DestroyWindow(parent);
}
