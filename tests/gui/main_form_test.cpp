// The main window as a user meets it: tabs, buttons, menus, sorting and commands.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "lists/ColumnSettings.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;

namespace {

class MainFormTest : public testing::Test {
protected:
    MainFormTest() { folder_.CopyShippedColumnIni(); }
    TempFolder folder_;
    MessageLog messages_;
};

}  // namespace

TEST_F(MainFormTest, ShowsCaptionTabsAndTheProcessPageFirst) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    EXPECT_EQ(WindowText(form.Hwnd()), "Corvault Ver 1.01");
    EXPECT_TRUE(IsWindowVisible(form.Hwnd()));
    HWND tab = form.TabControl();
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(form.ActivePage(), kPageProcesses);
    EXPECT_TRUE(IsWindowVisible(form.ListView(0)));
    EXPECT_FALSE(IsWindowVisible(form.PageWindow(kPageManager)));
    EXPECT_TRUE(ui::IsMenuCommandChecked(form.Processes().Popup(), cmd::MiProcessPrioNormal));

    // A click on the third tab shows the Report page: the hidden Manager page is skipped.
    SendMessageA(tab, TCM_SETCURSEL, 2, 0);
    NMHDR change{tab, cmd::PgcOnly, TCN_SELCHANGE};
    SendMessageA(form.Hwnd(), WM_NOTIFY, cmd::PgcOnly, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(form.ActivePage(), kPageReport);
}

TEST_F(MainFormTest, ButtonsSitAtTheBottomRightAndFollowTheWindow) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND exit = form.Control(cmd::BtnProcessExit);
    HWND report = form.Control(cmd::BtnProcessSnapShot);
    auto rectIn = [](HWND control) {
        RECT rc{};
        GetWindowRect(control, &rc);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    RECT page{};
    GetClientRect(form.PageWindow(kPageProcesses), &page);
    RECT e = rectIn(exit), r = rectIn(report);
    EXPECT_EQ(e.right - e.left, 75);
    EXPECT_EQ(r.right - r.left, 121);
    const int rightGap = page.right - e.right, bottomGap = page.bottom - e.bottom;
    RECT list = rectIn(form.ListView(0));

    SetWindowPos(form.Hwnd(), nullptr, 0, 0, 900, 640, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(form.PageWindow(kPageProcesses), &page);
    e = rectIn(exit);
    EXPECT_EQ(page.right - e.right, rightGap);
    EXPECT_EQ(page.bottom - e.bottom, bottomGap);
    RECT grown = rectIn(form.ListView(0));
    EXPECT_EQ((grown.right - grown.left) - (list.right - list.left), 900 - 682);
    EXPECT_EQ((grown.bottom - grown.top) - (list.bottom - list.top), 640 - 483);
}

TEST_F(MainFormTest, HeaderClicksSortAscendingThenDescendingPerColumn) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND list = form.ListView(0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    // Rows as the process list writes them: image name, "%5d" PID, priority, user, threads, path.
    ui::AppendListRow(list, {"b.exe", "  300", "通常", "root", "    2", "C:\\b.exe"});
    ui::AppendListRow(list, {"c.exe", "99999", "高", "root", "    1", "C:\\c.exe"});
    ui::AppendListRow(list, {"a.exe", "123456", "低", "root", "    3", "C:\\a.exe"});

    ClickHeader(list, 1);
    EXPECT_THAT(ColumnTexts(list, 1), ElementsAre("  300", "123456", "99999"));  // text order, not numeric
    EXPECT_EQ(form.Columns()[0].SortIndex, 1);
    EXPECT_TRUE(form.Columns()[0].SortWay);
    ClickHeader(list, 1);
    EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("c.exe", "a.exe", "b.exe"));
    EXPECT_FALSE(form.Columns()[0].SortWay);
    ClickHeader(list, 1);
    EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("b.exe", "a.exe", "c.exe"));
    ClickHeader(list, 0);
    EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("a.exe", "b.exe", "c.exe"));
    EXPECT_EQ(form.Columns()[0].SortIndex, 0);
    // A refresh sorts again by the stored key.
    ui::AppendListRow(list, {"0.exe", "    1", "通常", "root", "    1", "C:\\0.exe"});
    SortByStoredKey(list, form.Columns()[0]);
    EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("0.exe", "a.exe", "b.exe", "c.exe"));
    form.RefreshTimerTimer();  // the real processes, sorted before they are shown
    const std::vector<std::string> names = ColumnTexts(list, 0);
    for (size_t i = 1; i < names.size(); ++i) EXPECT_LE(CompareListItems(names[i - 1], names[i], SortKeyFor(0, true)), 0);
}
