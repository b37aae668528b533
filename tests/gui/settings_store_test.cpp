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
                    ElementsAre("イメージ名", "PID", "優先度", "ユーザー名", "スレッド", "パス"));
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
                ElementsAre("Version=Ver 1.00", "RefreshRate=2", "ChkStandardization=False", "ChkRegisterStartup=False"));
    EXPECT_THAT(Keys(ini.at("Window")), ElementsAre("Placement"));
    EXPECT_THAT(Keys(ini.at("List1")), ElementsAre("Count", "SortIndex", "SortWay", "Index0", "Width0", "Align0",
                                                   "Index1", "Width1", "Align1", "Index2", "Width2", "Align2",
                                                   "Index3", "Width3", "Align3"));
    EXPECT_EQ(Value(ini, "List0", "Count"), "6");
    EXPECT_EQ(Value(ini, "List0", "Index5"), "3");
    EXPECT_EQ(Value(ini, "List0", "Width5"), "260");
    EXPECT_EQ(Value(ini, "List0", "Align1"), "1");
    EXPECT_EQ(Value(ini, "List2", "Count"), "4");
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
