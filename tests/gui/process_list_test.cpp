// The process list and its commands, on child processes the tests start.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "ui/Clipboard.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;

namespace {

// Default columns: 0 image name, 1 verdict, 2 PID, 3 priority, 4 user, 5 threads, 6 path.
enum Cell { kName, kVerdict, kPid, kPriority, kUser, kThreads, kPath };

class ProcessListTest : public testing::Test {
protected:
    ProcessListTest() { folder_.CopyShippedColumnIni(); }

    std::string Cell(TFrmCVT& form, int row, int cell) { return ui::ListCellText(form.ListView(0), row, cell); }

    void Select(TFrmCVT& form, DWORD pid) {
        const int row = RowOfProcess(form, pid);
        ASSERT_GE(row, 0);
        ui::SelectListRow(form.ListView(0), row);
    }

    // A row the snapshot cannot give: an empty path, an unreadable priority.
    // texts: every cell but the verdict's, which stays empty.
    int AddRow(TFrmCVT& form, std::vector<std::string> texts) {
        texts.insert(texts.begin() + kVerdict, "");
        const int row = ui::AppendListRow(form.ListView(0), texts);
        ui::SelectListRow(form.ListView(0), row);
        return row;
    }

    TempFolder folder_;
    MessageLog messages_;
};

std::string UserOfThisProcess() {
    char name[256] = {};
    DWORD length = sizeof name;
    GetUserNameA(name, &length);
    return name;
}

}  // namespace

TEST_F(ProcessListTest, EndingAProcessAsksFirstThenEndsItAndRemovesItsRow) {
    ChildProcess child(folder_, "cvtchild-c.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, child.Id());

    messages_.Answer(IDNO);
    form.Processes().MiProcessExitClick();
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "警告");
    EXPECT_TRUE(messages_.Records()[0].yesNo);
    EXPECT_EQ(messages_.Records()[0].text.rfind("選択されたプロセスを強制終了しますか？", 0), 0u);
    EXPECT_FALSE(child.HasEnded(200));
    EXPECT_GE(RowOfProcess(form, child.Id()), 0);

    messages_.Answer(IDOK);
    form.Processes().MiProcessExitClick();
    EXPECT_TRUE(child.HasEnded());
    EXPECT_EQ(RowOfProcess(form, child.Id()), -1);
    EXPECT_GE(ui::SelectedListRow(form.ListView(0)), 0);
}

TEST_F(ProcessListTest, PriorityChangeUpdatesTheCellAndTheRealClass) {
    ChildProcess child(folder_, "cvtchild-d.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, child.Id());

    messages_.Answer(IDNO);
    form.Processes().MiProcessPriorityClick(ABOVE_NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(GetPriorityClass(child.Handle()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));

    messages_.Answer(IDOK);
    form.Processes().MiProcessPriorityClick(ABOVE_NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(GetPriorityClass(child.Handle()), static_cast<DWORD>(ABOVE_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(Cell(form, RowOfProcess(form, child.Id()), kPriority), "通常以上");
    EXPECT_EQ(messages_.Records().size(), 2u);  // the two questions, no error

    // A row whose process has gone reports the failure instead of acting on another.
    child.End();
    form.Processes().MiProcessPriorityClick(HIGH_PRIORITY_CLASS);
    EXPECT_EQ(messages_.Records().back().text, "優先度の設定に失敗しました。");
}

TEST_F(ProcessListTest, CopiesHoldTheExactTexts) {
    ChildProcess child(folder_, "cvtchild-e.exe");
    folder_.Write("cvt.ini",
                  "[List0]\r\nCount=7\r\nIndex0=2\r\nWidth0=90\r\nIndex1=100\r\nWidth1=60\r\nIndex2=0\r\nWidth2=60\r\n"
                  "Index3=4\r\nWidth3=60\r\nIndex4=5\r\nWidth4=60\r\nIndex5=6\r\nWidth5=40\r\nIndex6=3\r\nWidth6=200\r\n");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, child.Id());
    const std::string path = Cell(form, RowOfProcess(form, child.Id()), kPath);

    form.Processes().MiProcessCopyClick(0);
    // The PID column is hexadecimal; the copy still gives it in decimal.
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), "プロセスID = " + std::to_string(child.Id()) +
                                                  "\r\nプロセス名 = cvtchild-e.exe\r\nフルパス = " + path +
                                                  "\r\n優先度 = 通常\r\nユーザー名 = " + UserOfThisProcess());
    EXPECT_EQ(messages_.Records().back().text, "クリップボードにコピーしました。");
    EXPECT_EQ(messages_.Records().back().caption, "情報");
    form.Processes().MiProcessCopyClick(1);
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), "cvtchild-e.exe");
    form.Processes().MiProcessCopyClick(2);
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), path);

    // Empty fields are copied as one blank, so every line keeps its value.
    AddRow(form, {"ghost.exe", "0004D2", "不明", "不明", "    1", ""});
    form.Processes().MiProcessCopyClick(0);
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()),
              "プロセスID = 1234\r\nプロセス名 = ghost.exe\r\nフルパス =  \r\n優先度 = 不明\r\nユーザー名 = 不明");
    EXPECT_FALSE(form.State().clipboardCopying);
    // Without a readable PID the line is left out, not made up.
    AddRow(form, {"nopid.exe", "", "通常", "root", "    1", "C:\\nopid.exe"});
    form.Processes().MiProcessCopyClick(0);
    const std::string withoutPid = "プロセス名 = nopid.exe\r\nフルパス = C:\\nopid.exe\r\n優先度 = 通常\r\nユーザー名 = root";
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), withoutPid);

    // Another program holds the clipboard: the failure is reported and the old text stays.
    ChildProcess holder(folder_, "cvtclipboard.exe", ChildProcess::Window::HoldingClipboard);
    for (int i = 0; i < 100 && GetOpenClipboardWindow() == nullptr; ++i) PumpMessages(50);  // it shows a window first
    form.Processes().MiProcessCopyClick(1);
    EXPECT_EQ(messages_.Records().back().text, "クリップボードにコピーできませんでした。");
    holder.End();
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), withoutPid);
}
