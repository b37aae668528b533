// The main window as a user meets it: tabs, buttons, menus, sorting and commands.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../../res/resource.h"
#include "GuiTestSupport.h"
#include "base/StringTable.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
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
    std::vector<std::string> captions;
    for (int i = 0; i < SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0); ++i) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        captions.emplace_back(text);
    }
    EXPECT_THAT(captions, ElementsAre("アプリケーション", "プロセス", "レポート", "設定"));
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(form.ActivePage(), kPageProcesses);
    EXPECT_TRUE(IsWindowVisible(form.ListView(0)));
    EXPECT_FALSE(IsWindowVisible(form.PageWindow(kPageManager)));

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
    EXPECT_EQ(WindowText(exit), "終了(&X)");
    EXPECT_EQ(WindowText(form.Control(cmd::BtnProcessShowDetail)), "詳細(&D)");
    EXPECT_EQ(WindowText(form.Control(cmd::BtnAppNewTask)), "新しいタスク(&N)...");
    EXPECT_EQ(WindowText(form.Control(cmd::BtnReportClipboard)), "Clipboard(&C)");
    EXPECT_EQ(ui::ControlTag(form.Control(cmd::BtnAppShowForeground)), 1);
    EXPECT_EQ(ui::ControlTag(form.Control(cmd::BtnAppTerminate)), 9);

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

TEST_F(MainFormTest, MenusCarryCaptionsShortcutsTagsAndStates) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HMENU bar = GetMenu(form.Hwnd());
    EXPECT_EQ(ui::MenuItemCaption(bar, cmd::MiRefreshApp), "アプリケーションの更新(&A)\tF5");
    EXPECT_EQ(ui::MenuItemCaption(bar, cmd::MiFileExit), "Corvaultの終了(&X)");
    HMENU process = form.Processes().Popup();
    EXPECT_EQ(ui::MenuItemCaption(process, cmd::MiProcessDetail), "詳細(&D)...\tCtrl+D");
    EXPECT_FALSE(ui::IsMenuCommandEnabled(process, cmd::MiProcessSetManager));
    EXPECT_TRUE(ui::IsMenuCommandChecked(process, cmd::MiProcessPrioNormal));
    EXPECT_EQ(ui::MenuItemTag(process, cmd::MiProcessPrioAbove), 32768);
    EXPECT_EQ(ui::MenuItemTag(process, cmd::MiProcessPrioIdle), 64);
    EXPECT_EQ(ui::MenuItemTag(process, cmd::MiProcessCopyFilePath), 2);
    EXPECT_EQ(ui::MenuItemTag(form.Applications().Popup(), cmd::MiAppTerminate), 9);
    EXPECT_EQ(ui::MenuItemTag(form.Applications().Popup(), cmd::MiAppMaximize), 3);
    // This machine is of the NT family.
    EXPECT_TRUE(ui::IsMenuCommandEnabled(process, cmd::MiProcessPrioAbove));
    EXPECT_TRUE(IsWindowEnabled(form.Control(cmd::ChkStandardization)));
    EXPECT_FALSE(IsWindowEnabled(form.Control(cmd::ChkRegisterStartup)));
}

TEST_F(MainFormTest, PopupShortcutsWorkOnlyWhileTheProcessListHasTheFocus) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    auto keyDown = [&](HWND target, WPARAM key) {
        MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
        return form.TranslateShortcut(msg);
    };
    SetForegroundWindow(form.Hwnd());
    SetFocus(form.ListView(0));
    ASSERT_EQ(GetFocus(), form.ListView(0));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(keyDown(form.ListView(0), 'D'));
    SetFocus(form.Control(cmd::BtnProcessRefresh));
    EXPECT_FALSE(keyDown(form.Control(cmd::BtnProcessRefresh), 'D'));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(keyDown(form.Control(cmd::BtnProcessRefresh), VK_F6));
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
}

TEST_F(MainFormTest, ProcessCellTextFollowsTheColumnKinds) {
    folder_.Write("cvt.ini",
                  "[List0]\r\nCount=3\r\nIndex0=2\r\nWidth0=90\r\nIndex1=0\r\nWidth1=60\r\nIndex2=3\r\nWidth2=90\r\n");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND list = form.ListView(0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    ui::AppendListRow(list, {"x.exe", "01E240", ""});
    ui::SelectListRow(list, 0);
    EXPECT_EQ(form.Processes().GetProcessCellText(0, kNone), "$01E240");
    EXPECT_EQ(form.Processes().GetProcessCellText(2, 0), "x.exe");
    EXPECT_EQ(form.Processes().GetProcessCellText(4, 0), "");  // no priority column
    form.State().clipboardCopying = true;
    EXPECT_EQ(form.Processes().GetProcessCellText(3, 0), " ");
    EXPECT_EQ(form.Processes().GetProcessCellText(4, 0), " ");
}

TEST_F(MainFormTest, AboutNamesTheProductAndItsOlderVersionText) {
    MainFormHost host(folder_);
    host.Form().MiHelpAboutClick();
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "情報");
    EXPECT_EQ(messages_.Records()[0].text.rfind("Corvault Ver 1.00\r\n\r\n", 0), 0u);
}

namespace {
BOOL CALLBACK FindVisibleDialog(HWND hwnd, LPARAM found) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

VOID CALLBACK CancelRunDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr) {
        KillTimer(nullptr, id);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}
}  // namespace

TEST_F(MainFormTest, NewTaskOpensTheShellRunDialog) {
    MainFormHost host(folder_);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CancelRunDialog);
    const DWORD start = GetTickCount();
    host.Form().MiFileNewTaskClick();  // returns once the dialog is cancelled
    KillTimer(nullptr, timer);
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_TRUE(messages_.Records().empty());
}

TEST(StringTable, HoldsTheProgramsFixedTexts) {
    EXPECT_EQ(LoadText(IDS_RUNDIALOG_LOAD_FAILED), "SHRunDialog APIのロードに失敗しました。");
    EXPECT_EQ(LoadText(IDS_CONFIRM_TERMINATE).rfind("選択されたプロセスを強制終了しますか？\r\n\r\n（DLL", 0), 0u);
    EXPECT_EQ(LoadText(IDS_PRIORITY_REALTIME), "ﾘｱﾙﾀｲﾑ");
    EXPECT_EQ(LoadText(IDS_TASKMGR_IFEO_KEY),
              "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\taskmgr.exe");
    EXPECT_EQ(LoadText(IDS_SETTINGS_VERSION), "Ver 1.00");
    EXPECT_EQ(LoadText(IDS_CVTPDB_INI), "cvtpdb.ini");
    EXPECT_EQ(LoadText(IDS_MGR_OP_END_THEN_SHUTDOWN), "プロセスが終了した後にWindowsを終了");
    for (unsigned id : {65253u, 65254u, 65255u, 65256u, 65257u, 65258u, 65259u, 65264u, 65265u, 65266u, 65267u,
                        65280u, 65281u, 65282u, 65283u, 65284u, 65285u, 65286u, 65287u, 65288u, 65289u, 65290u,
                        65292u, 65293u, 65294u, 65295u, 65309u, 65310u, 65311u})
        EXPECT_FALSE(LoadText(id).empty()) << id;
}
