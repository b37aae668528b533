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

TEST_F(ProcessListTest, ChildRowShowsNamePathPriorityUserAndThreads) {
    ChildProcess child(folder_, "cvtchild-a.exe");
    ASSERT_TRUE(SetPriorityClass(child.Handle(), BELOW_NORMAL_PRIORITY_CLASS));
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    const int row = RowOfProcess(form, child.Id());
    ASSERT_GE(row, 0);
    EXPECT_EQ(Cell(form, row, kName), "cvtchild-a.exe");
    EXPECT_EQ(lstrcmpiA(Cell(form, row, kPath).c_str(), child.Path().c_str()), 0) << Cell(form, row, kPath);
    EXPECT_EQ(Cell(form, row, kPriority), "通常以下");
    EXPECT_EQ(Cell(form, row, kUser), UserOfThisProcess());
    EXPECT_EQ(Cell(form, row, kThreads), "    1");
    char pid[16];
    wsprintfA(pid, "%5d", static_cast<int>(child.Id()));
    EXPECT_EQ(Cell(form, row, kPid), pid);
    EXPECT_FALSE(form.State().processListRefreshing);
}

TEST_F(ProcessListTest, SelectionSurvivesRefreshesAndFallsBackWhenTheProcessEnds) {
    ChildProcess child(folder_, "cvtchild-b.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Select(form, child.Id());
    EXPECT_EQ(form.State().SelectedProcessId(), static_cast<int32_t>(child.Id()));
    form.Processes().RefreshProcessList();
    EXPECT_EQ(ui::SelectedListRow(form.ListView(0)), RowOfProcess(form, child.Id()));

    child.End();
    form.Processes().RefreshProcessList();
    EXPECT_EQ(RowOfProcess(form, child.Id()), -1);
    const int selected = ui::SelectedListRow(form.ListView(0));
    ASSERT_GE(selected, 0);
    EXPECT_EQ(form.State().SelectedProcessId(), static_cast<int32_t>(*form.Processes().ProcessIdOfRow(selected)));
}

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

// The question keeps the message loop running: a refresh can move the selection
// (to the first row, when the asked-about process has gone) before the answer.
TEST_F(ProcessListTest, PriorityChangeActsOnTheRowItWasGivenForWhereverTheSelectionMovesMeanwhile) {
    ChildProcess asked(folder_, "cvtchild-asked.exe");
    ChildProcess other(folder_, "cvtchild-other.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    bool endAsked = false;
    ui::SetMessageResponder([&](const ui::MessageRecord& record) {
        if (!record.yesNo) return IDOK;
        if (endAsked) asked.End();
        form.Processes().RefreshProcessList();
        Select(form, other.Id());
        return IDYES;
    });

    Select(form, asked.Id());
    form.Processes().MiProcessPriorityClick(IDLE_PRIORITY_CLASS);
    EXPECT_EQ(GetPriorityClass(asked.Handle()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(other.Handle()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(Cell(form, RowOfProcess(form, asked.Id()), kPriority), "低");
    EXPECT_EQ(Cell(form, RowOfProcess(form, other.Id()), kPriority), "通常");

    endAsked = true;
    Select(form, asked.Id());
    form.Processes().MiProcessPriorityClick(HIGH_PRIORITY_CLASS);
    EXPECT_EQ(GetPriorityClass(other.Handle()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(Cell(form, RowOfProcess(form, other.Id()), kPriority), "通常");
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
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

TEST_F(ProcessListTest, CommandStatesFollowTheSelectedRow) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HMENU popup = form.Processes().Popup();
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);

    AddRow(form, {"gone.exe", "    7", "高", "root", "    1", ""});
    EXPECT_FALSE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessCopyFilePath));
    EXPECT_TRUE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessCopyFileName));
    EXPECT_FALSE(IsWindowEnabled(form.Control(cmd::BtnProcessOpenFolder)));
    EXPECT_FALSE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessDetail));
    ASSERT_TRUE(form.Processes().Lsv0ContextPopup());
    EXPECT_TRUE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessPriority));
    EXPECT_TRUE(ui::IsMenuCommandChecked(popup, cmd::MiProcessPrioHigh));
    EXPECT_FALSE(ui::IsMenuCommandChecked(popup, cmd::MiProcessPrioNormal));

    AddRow(form, {"self.exe", "    8", "不明", "root", "    1", self});
    EXPECT_TRUE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessCopyFilePath));
    EXPECT_TRUE(IsWindowEnabled(form.Control(cmd::BtnProcessOpenFolder)));
    EXPECT_TRUE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessDetail));
    ASSERT_TRUE(form.Processes().Lsv0ContextPopup());
    EXPECT_FALSE(ui::IsMenuCommandEnabled(popup, cmd::MiProcessPriority));

    // No row: no popup, no question; a right click leaves the states as they were, a click disables.
    SendMessageA(form.ListView(0), LVM_DELETEALLITEMS, 0, 0);
    form.Processes().MiProcessPriorityClick(HIGH_PRIORITY_CLASS);
    EXPECT_TRUE(messages_.Records().empty());
    ClickBelowRows(form.ListView(0), WM_RBUTTONDOWN);
    EXPECT_FALSE(form.Processes().Lsv0ContextPopup());
    EXPECT_TRUE(IsWindowEnabled(form.Control(cmd::BtnProcessShowDetail)));
    ClickBelowRows(form.ListView(0), WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowEnabled(form.Control(cmd::BtnProcessShowDetail)));
}

TEST_F(ProcessListTest, OpenFolderHandsExplorerTheFolderAndTheFile) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    std::vector<std::string> calls;
    form.SetShellExecutor([&](HWND owner, const char* verb, const char* file, const char* parameters,
                              const char* directory, int show) -> INT_PTR {
        calls.push_back(std::string(verb) + "|" + file + "|" + parameters + "|" + (directory ? directory : "-") + "|" +
                        std::to_string(show) + "|" + (owner == GetDesktopWindow() ? "desktop" : "other"));
        return 33;
    });
    AddRow(form, {"notepad.exe", "    9", "通常", "root", "    1", "C:\\WINDOWS\\system32\\notepad.exe"});
    form.Processes().MiProcessOpenFolderClick();
    EXPECT_THAT(calls, ElementsAre("open|Explorer.exe|/n,/e,C:\\WINDOWS\\system32\\,/select,"
                                   "C:\\WINDOWS\\system32\\notepad.exe|-|1|desktop"));
}

TEST(ShellCall, TheRealShellStartsAProgram) {
    TempFolder folder;
    ChildProcess template_(folder, "cvtshell-template.exe");
    const std::string copy = folder.File("cvtshell-started.exe");
    ASSERT_TRUE(CopyFileA(template_.Path().c_str(), copy.c_str(), FALSE));
    const INT_PTR result = ui::SystemShellExecutor()(GetDesktopWindow(), "open", copy.c_str(), nullptr, nullptr,
                                                     SW_SHOWNORMAL);
    EXPECT_GT(result, 32);
    // End the program the call started; it is ours, found by its unique name.
    Sleep(300);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "cvtshell-started.exe") != 0) continue;
        found = true;
        if (HANDLE started = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(started, 0);
            WaitForSingleObject(started, 5000);
            CloseHandle(started);
        }
    }
    CloseHandle(snapshot);
    EXPECT_TRUE(found);
    DeleteFileA(copy.c_str());
}
