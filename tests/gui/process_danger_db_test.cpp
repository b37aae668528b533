// The danger database read from real files through the system, and its label.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "base/ProfileSnapshot.h"
#include "details/ProcessDangerDb.h"

using namespace cvt;
using namespace cvt::test;

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
