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

    TempFolder folder_;
    MessageLog messages_;
};

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
