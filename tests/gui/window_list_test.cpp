// The Applications page and its commands, on windows and processes the tests create.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "details/Detail.h"
#include "lists/CommandIds.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;

namespace {

// Default columns: 0 title, 1 status, 2 handle in hexadecimal, 3 PID.
class WindowListTest : public testing::Test {
protected:
    WindowListTest() { folder_.CopyShippedColumnIni(); }

    void Select(TFrmCVT& form, HWND window) {
        form.Applications().RefreshAppList();
        const int row = RowOfWindow(form, window);
        ASSERT_GE(row, 0);
        ui::SelectListRow(form.ListView(1), row);
    }

    // The popup prepares the check marks that the toggles read.
    void RunFromPopup(TFrmCVT& form, int tag) {
        ASSERT_TRUE(form.Applications().Lsv1ContextPopup());
        form.Applications().MiAppItemClick(tag);
    }

    TempFolder folder_;
    MessageLog messages_;
};

LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

HWND WaitForWindow(const char* title) {
    for (int i = 0; i < 100; ++i) {
        // Showing it may wait on this thread's windows: they are served meanwhile.
        if (HWND found = FindWindowA(nullptr, title); found != nullptr && IsWindowVisible(found)) return found;
        PumpMessages(50);
    }
    return nullptr;
}

}  // namespace

TEST_F(WindowListTest, ListsOnlyVisibleWindowsThatHaveAnIcon) {
    TestWindow listed("cvt listed", true, true), hidden("cvt hidden", true, false), plain("cvt plain", false, true);
    ChildProcess child(folder_, "cvtwindow-icon.exe", ChildProcess::Window::Serving);
    HWND childWindow = WaitForWindow("cvtwindow-icon.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    // Wine answers no icon query about another process's window: it is listed, without an image.
    LVITEMA childItem{.mask = LVIF_IMAGE, .iItem = RowOfWindow(form, childWindow)};
    ASSERT_GE(childItem.iItem, 0);
    SendMessageA(form.ListView(1), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&childItem));
    EXPECT_EQ(childItem.iImage, I_IMAGENONE);  // -1 would ask the page for an image by callback
    const int row = RowOfWindow(form, listed.Hwnd());
    ASSERT_GE(row, 0);
    EXPECT_EQ(ui::ListCellText(form.ListView(1), row, 0), "cvt listed");
    EXPECT_EQ(ui::ListCellText(form.ListView(1), row, 1), "実行中");
    char handle[16];
    wsprintfA(handle, "%08X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(listed.Hwnd())));
    EXPECT_EQ(ui::ListCellText(form.ListView(1), row, 2), handle);
    EXPECT_EQ(RowOfWindow(form, hidden.Hwnd()), -1);
    EXPECT_EQ(RowOfWindow(form, plain.Hwnd()), -1);
}

HWND g_hungWindow = nullptr;
BOOL WINAPI HungWhenItIsTheChosenWindow(HWND window) { return window == g_hungWindow; }

TEST_F(WindowListTest, StatusComesFromTheSystemsHungTest) {
    // The loaded test is the system's: it calls another process's stalled window hung.
    ChildProcess stalled(folder_, "cvtwindow-hung.exe", ChildProcess::Window::Hung);
    HWND stalledWindow = WaitForWindow("cvtwindow-hung.exe");
    ASSERT_NE(stalledWindow, nullptr);
    PostMessageA(stalledWindow, WM_NULL, 0, 0);
    Sleep(6000);  // the system calls a window hung after about five seconds
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    ASSERT_NE(form.Applications().HungWindowTest(), nullptr);
    EXPECT_TRUE(form.Applications().HungWindowTest()(stalledWindow));

    // A stand-in judges this process's windows: hung or not as the test chooses, at once.
    TestWindow hung("cvt hung", true, true), running("cvt running", true, true);
    g_hungWindow = hung.Hwnd();
    form.Applications().UseHungWindowTest(HungWhenItIsTheChosenWindow);
    form.Applications().RefreshAppList();
    EXPECT_EQ(ui::ListCellText(form.ListView(1), RowOfWindow(form, hung.Hwnd()), 1), "応答なし");
    EXPECT_EQ(ui::ListCellText(form.ListView(1), RowOfWindow(form, running.Hwnd()), 1), "実行中");
}

TEST_F(WindowListTest, SelectionSurvivesRefreshesAndFallsBackToTheFirstRow) {
    TestWindow first("cvt first", true, true);
    TestWindow second("cvt second", true, true);
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, second.Hwnd());
    const auto handle = static_cast<int32_t>(reinterpret_cast<uintptr_t>(second.Hwnd()));
    EXPECT_EQ(form.State().SelectedWindowHandle(), handle);
    form.Applications().RefreshAppList();
    EXPECT_EQ(ui::SelectedListRow(form.ListView(1)), RowOfWindow(form, second.Hwnd()));

    second.Destroy();
    form.Applications().RefreshAppList();
    const int selected = ui::SelectedListRow(form.ListView(1));
    ASSERT_GE(selected, 0);
    EXPECT_EQ(form.State().SelectedWindowHandle(), form.Applications().WindowHandleOfRow(selected));
}

TEST_F(WindowListTest, TogglesActOnTheWindowsRealState) {
    TestWindow window("cvt toggles", true, true);
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, window.Hwnd());
    HWND w = window.Hwnd();

    RunFromPopup(form, 4);
    EXPECT_NE(ExStyle(w) & WS_EX_TOPMOST, 0);
    RunFromPopup(form, 4);
    EXPECT_EQ(ExStyle(w) & WS_EX_TOPMOST, 0);

    const LONG before = ExStyle(w);
    RunFromPopup(form, 5);
    EXPECT_EQ(ExStyle(w), before ^ WS_EX_TOOLWINDOW);
    RunFromPopup(form, 5);
    EXPECT_EQ(ExStyle(w), before);

    RunFromPopup(form, 6);
    EXPECT_FALSE(IsWindowEnabled(w));
    RunFromPopup(form, 6);
    EXPECT_TRUE(IsWindowEnabled(w));

    form.Applications().MiAppItemClick(3);
    EXPECT_TRUE(IsZoomed(w));
    form.Applications().MiAppItemClick(2);
    EXPECT_TRUE(IsIconic(w));
    SendMessageA(form.Hwnd(), WM_COMMAND, cmd::BtnAppShowForeground, reinterpret_cast<LPARAM>(form.Control(cmd::BtnAppShowForeground)));
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_TRUE(messages_.Records().empty());
}

TEST_F(WindowListTest, ShowProcessSelectsTheOwnerOrReportsItMissing) {
    TestWindow window("cvt owner", true, true);
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, window.Hwnd());
    form.Applications().MiAppItemClick(8);
    EXPECT_EQ(form.ActivePage(), kPageProcesses);
    EXPECT_EQ(ui::SelectedListRow(form.ListView(0)), form.Processes().FindProcessRow(GetCurrentProcessId()));

    form.SelectPage(kPageApplications);
    SendMessageA(form.ListView(0), LVM_DELETEITEM, form.Processes().FindProcessRow(GetCurrentProcessId()), 0);
    form.Applications().MiAppItemClick(8);
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].text, "指定したアプリケーションはプロセス一覧に存在しません。");
    EXPECT_EQ(form.ActivePage(), kPageApplications);
    EXPECT_GE(form.Processes().FindProcessRow(GetCurrentProcessId()), 0);  // the list was refreshed

    form.Applications().MiAppItemClick(7);
    EXPECT_TRUE(IsWindowVisible(form.Detail().Hwnd()));
}

TEST_F(WindowListTest, EndTaskAsksBeforeEndingTheOwner) {
    // The owner is this test process, so the answer is No; the process list's
    // tests cover the ending itself, through the same routine.
    TestWindow window("cvt end task", true, true);
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, window.Hwnd());
    messages_.Answer(IDNO);
    SendMessageA(form.Hwnd(), WM_COMMAND, cmd::BtnAppTerminate, reinterpret_cast<LPARAM>(form.Control(cmd::BtnAppTerminate)));
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "警告");
    EXPECT_EQ(messages_.Records()[0].text.rfind("選択されたプロセスを強制終了しますか？", 0), 0u);
    EXPECT_TRUE(IsWindow(window.Hwnd()));
}

TEST_F(WindowListTest, AStaleSelectionIsReportedInsteadOfActedOn) {
    TestWindow window("cvt stale", true, true);
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, window.Hwnd());
    // The row claims another owner than the window has: as after its handle was reused.
    ui::SetListCellText(form.ListView(1), RowOfWindow(form, window.Hwnd()), 3, "    1");
    form.Applications().MiAppItemClick(9);
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].text, "選択したアプリケーションは既に存在しません。");

    // The window gone: the popup does not open and the list is rebuilt without it.
    Select(form, window.Hwnd());
    window.Destroy();
    EXPECT_FALSE(form.Applications().Lsv1ContextPopup());
    EXPECT_EQ(messages_.Records().size(), 2u);
    EXPECT_EQ(RowOfWindow(form, window.Hwnd()), -1);

    // No row, no popup; a right click leaves the commands as they were.
    SendMessageA(form.ListView(1), LVM_DELETEALLITEMS, 0, 0);
    ClickBelowRows(form.ListView(1), WM_RBUTTONDOWN);
    EXPECT_FALSE(form.Applications().Lsv1ContextPopup());
    EXPECT_TRUE(IsWindowEnabled(form.Control(cmd::BtnAppTerminate)));
}
