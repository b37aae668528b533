// Settings written at close and read at the next start, through real INI files.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/ListView.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;
using testing::IsSupersetOf;

namespace {

std::vector<std::string> Keys(const std::vector<std::string>& lines) {
    std::vector<std::string> keys;
    for (const auto& line : lines) keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

std::string Value(const IniContents& ini, const std::string& section, const std::string& key) {
    auto it = ini.find(section);
    if (it == ini.end()) return "<no section>";
    for (const auto& line : it->second)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "<no key>";
}

}  // namespace

TEST(SettingsStore, FirstStartTakesColumnIniDefaultsAndCloseWritesEveryKey) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    {
        MainFormHost host(folder);
        TFrmCVT& form = host.Form();
        EXPECT_THAT(ColumnCaptions(form.ListView(0)),
                    ElementsAre("イメージ名", "判定", "PID", "優先度", "ユーザー名", "スレッド", "パス"));
        EXPECT_THAT(ColumnCaptions(form.ListView(1)), ElementsAre("タスク", "状態", "ハンドル(16進)", "PID"));
        EXPECT_THAT(ColumnCaptions(form.ListView(2)), ElementsAre("イメージ名", "パス", "タイマー", "動作"));
        EXPECT_EQ(ui::ListColumnWidth(form.ListView(0), 0), 130);
        EXPECT_EQ(ui::ListColumnWidth(form.ListView(1), 0), 360);
        EXPECT_EQ(SendMessageA(form.Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0), 2);
        EXPECT_FALSE(ui::IsChecked(form.Control(cmd::ChkStandardization)));
        EXPECT_FALSE(folder.Exists("cvt.ini"));
        host.CloseByCommand();
        EXPECT_EQ(form.Hwnd(), nullptr);
    }
    EXPECT_TRUE(messages.Records().empty());

    const IniContents ini = ReadIniFile(folder.File("cvt.ini"));
    std::vector<std::string> sections;
    for (const auto& [name, lines] : ini) sections.push_back(name);
    EXPECT_THAT(sections, testing::UnorderedElementsAre("General", "Window", "List0", "List1", "List2"));
    EXPECT_THAT(ini.at("General"),
                ElementsAre("Version=Ver 1.00", "RefreshRate=2", "ChkStandardization=False", "ChkRegisterStartup=False",
                            "VerdictColors=True"));
    EXPECT_THAT(Keys(ini.at("Window")), ElementsAre("Placement"));
    EXPECT_THAT(Keys(ini.at("List1")), ElementsAre("Count", "SortIndex", "SortWay", "Index0", "Width0", "Align0",
                                                   "Index1", "Width1", "Align1", "Index2", "Width2", "Align2",
                                                   "Index3", "Width3", "Align3"));
    EXPECT_EQ(Value(ini, "List0", "Count"), "7");
    EXPECT_EQ(Value(ini, "List0", "Index6"), "3");
    EXPECT_EQ(Value(ini, "List0", "Width6"), "260");
    EXPECT_EQ(Value(ini, "List0", "Align2"), "1");
    EXPECT_EQ(Value(ini, "List2", "Count"), "4");
}

TEST(SettingsStore, ListWithoutCountFallsBackToColumnIniForItAndTheListsAfterIt) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    folder.Write("cvt.ini",
                 "[General]\r\nRefreshRate=9\r\nChkStandardization=True\r\n"
                 "[List0]\r\nCount=2\r\nSortIndex=1\r\nSortWay=False\r\n"
                 "Index0=3\r\nWidth0=200\r\nAlign0=0\r\nIndex1=2\r\nWidth1=90\r\nAlign1=2\r\n"
                 "[List1]\r\nSortIndex=3\r\n");
    MessageLog messages;
    MainFormHost host(folder);
    TFrmCVT& form = host.Form();
    EXPECT_THAT(ColumnCaptions(form.ListView(0)), ElementsAre("パス", "イメージ名"));
    EXPECT_EQ(ui::ListColumnWidth(form.ListView(0), 0), 200);
    EXPECT_EQ(form.Columns()[0].SortIndex, 1);
    EXPECT_FALSE(form.Columns()[0].SortWay);
    // From list 1 on everything, the General options included, comes from the defaults.
    EXPECT_THAT(ColumnCaptions(form.ListView(1)), ElementsAre("タスク", "状態", "ハンドル(16進)", "PID"));
    EXPECT_EQ(form.Columns()[1].SortIndex, 0);
    EXPECT_EQ(SendMessageA(form.Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0), 2);
    EXPECT_FALSE(ui::IsChecked(form.Control(cmd::ChkStandardization)));
    EXPECT_TRUE(messages.Records().empty());
}

TEST(SettingsStore, DraggedColumnAndWidthComeBackAtNextStartWithTheSortColumnFollowing) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    {
        MainFormHost host(folder);
        HWND list = host.Form().ListView(0);
        // Sort by "優先度" (cell 3), then drag "パス" (cell 6) to the front and widen "PID".
        ClickHeader(list, 3);
        int order[] = {6, 0, 1, 2, 3, 4, 5};
        SendMessageA(list, LVM_SETCOLUMNORDERARRAY, 7, reinterpret_cast<LPARAM>(order));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 2, 77);
        host.CloseByCommand();
    }
    MainFormHost host(folder);
    HWND list = host.Form().ListView(0);
    EXPECT_THAT(ColumnCaptions(list),
                ElementsAre("パス", "イメージ名", "判定", "PID", "優先度", "ユーザー名", "スレッド"));
    EXPECT_EQ(ui::ListColumnWidth(list, 3), 77);
    EXPECT_EQ(host.Form().Columns()[0].SortIndex, 4);
    EXPECT_TRUE(host.Form().Columns()[0].SortWay);
    // The PID is still found in its own column.
    EXPECT_EQ(host.Form().Processes().Positions().PidCell(), 3);
}

TEST(SettingsStore, PlacementAndOptionsAreRestored) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    {
        MainFormHost host(folder);
        SetWindowPos(host.Form().Hwnd(), nullptr, 40, 50, 720, 520, SWP_NOZORDER);
        SendMessageA(host.Form().Control(cmd::TrbRefreshRate), TBM_SETPOS, TRUE, 17);
        host.CloseByCommand();
    }
    MainFormHost host(folder);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(host.Form().Hwnd(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 40);
    EXPECT_EQ(placement.rcNormalPosition.top, 50);
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 720);
    EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 520);
    EXPECT_EQ(SendMessageA(host.Form().Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0), 17);
}

TEST(SettingsStore, AltF4WritesTheSettingsLikeTheExitCommand) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    MainFormHost host(folder);
    HWND hwnd = host.Form().Hwnd();
    // Alt+F4 as the keyboard delivers it: a system key with the Alt bit set.
    PostMessageA(hwnd, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    PumpMessages(200);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(ReadIniFile(folder.File("cvt.ini")).size(), 5u);
}

TEST(SettingsStore, MissingColumnDefinitionsStopTheProgramWithoutWritingSettings) {
    TempFolder folder;
    MessageLog messages;
    MainFormHost host(folder);
    ASSERT_EQ(messages.Records().size(), 1u);
    EXPECT_EQ(messages.Records()[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(messages.Records()[0].caption, "エラー");
    EXPECT_EQ(messages.Records()[0].text, "カラム定義ファイルが存在しません。\r\nアプリケーションを起動できません。");
    EXPECT_TRUE(host.Form().TerminationRequested());
    EXPECT_EQ(host.QuitMessages(), 1);
    EXPECT_EQ(ui::ListColumnCount(host.Form().ListView(0)), 0);
    host.CloseByCommand();
    EXPECT_FALSE(folder.Exists("cvt.ini"));
}

int ColumnFormat(HWND list, int cell) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT;
    SendMessageA(list, LVM_GETCOLUMNA, cell, reinterpret_cast<LPARAM>(&column));
    return column.fmt & LVCFMT_JUSTIFYMASK;
}

TEST(SettingsStore, HostileValuesFallBackWithoutStoppingTheStart) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    folder.Write("cvt.ini",
                 "[General]\r\nRefreshRate=500\r\nChkStandardization=maybe\r\nChkRegisterStartup=1\r\n"
                 "[List0]\r\nCount=2\r\nSortIndex=99\r\nSortWay=yes\r\n"
                 "Index0=1\r\nWidth0=99999\r\nAlign0=0\r\nIndex1=0\r\nWidth1=-1\r\nAlign1=5\r\n"
                 "[List1]\r\nCount=1\r\nIndex0=0\r\nWidth0=100\r\n"
                 "[List2]\r\nCount=1\r\nIndex0=0\r\nWidth0=100\r\n");
    MessageLog messages;
    MainFormHost host(folder);
    TFrmCVT& form = host.Form();
    EXPECT_FALSE(form.TerminationRequested());

    // Each bad boolean is reported once although the options are read on every pass.
    std::vector<std::string> texts;
    for (const auto& record : messages.Records()) texts.push_back(record.text);
    EXPECT_THAT(texts, testing::UnorderedElementsAre("'maybe' is not a valid boolean value",
                                                     "'yes' is not a valid boolean value"));
    EXPECT_FALSE(ui::IsChecked(form.Control(cmd::ChkStandardization)));
    EXPECT_TRUE(ui::IsChecked(form.Control(cmd::ChkRegisterStartup)));
    EXPECT_EQ(SendMessageA(form.Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0), 59);

    HWND list0 = form.ListView(0);
    EXPECT_THAT(ColumnCaptions(list0), ElementsAre("PID", "PID(16進)"));
    EXPECT_EQ(ui::ListColumnWidth(list0, 0), 48);  // the kind's default width
    EXPECT_EQ(ui::ListColumnWidth(list0, 1), 64);
    EXPECT_EQ(ColumnFormat(list0, 1), LVCFMT_LEFT);
    EXPECT_EQ(form.Columns()[0].SortIndex, 0);
    EXPECT_TRUE(form.Columns()[0].SortWay);
}

TEST(SettingsStore, RefusedColumnCountsTakeTheShippedDefaults) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    folder.Write("cvt.ini",
                 "[General]\r\nRefreshRate=30\r\n"
                 "[List0]\r\nCount=-3\r\n[List1]\r\nCount=1000000000\r\n[List2]\r\nCount=65\r\n");
    MessageLog messages;
    MainFormHost host(folder);
    TFrmCVT& form = host.Form();
    EXPECT_FALSE(form.TerminationRequested());
    EXPECT_TRUE(messages.Records().empty());
    EXPECT_EQ(ui::ListColumnCount(form.ListView(0)), 7);
    EXPECT_EQ(ui::ListColumnCount(form.ListView(1)), 4);
    EXPECT_EQ(ui::ListColumnCount(form.ListView(2)), 4);
    // Once a list fell back, the General options come from the defaults too.
    EXPECT_EQ(SendMessageA(form.Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0), 2);
}
