// The process report on the main window: made from the list as shown, copied and saved.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "editor/VellStrings.h"
#include "lists/CommandIds.h"
#include "editor/ReportView.h"
#include "sysinfo/OsNameWin32.h"
#include "ui/Clipboard.h"
#include "ui/ListView.h"
#include "ui/SaveDialog.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr char kRule[] = "-----------------------------------------------------\r\n";
constexpr LocalDateTime kEvening{2026, 11, 3, 21, 7, 5};
constexpr char kEveningLine[] = "DateTime : 2026/11/03 21:07:05\r\n";

// The report view over the editor's own line store, holding its text as the editor does.
class LineStoreView final : public ReportView {
public:
    void SetText(std::string_view text) override {
        ++setTexts;
        if (onSetText) onSetText();
        std::string document(text);
        // The editor's document always ends with the two-NUL end marker.
        if (document.empty() || document[0] == '\0') document.assign(2, '\0');
        else if (document.back() != '\0') document.append(2, '\0');
        else if (document.size() < 2 || document[document.size() - 2] != '\0') document.push_back('\0');
        lines.SetText(document);
    }
    [[nodiscard]] std::string GetText() const override { return lines.GetText(); }

    TVellStrings lines;
    int setTexts = 0;
    std::function<void()> onSetText;
};

// Default columns: 0 image name, 1 verdict, 2 PID, 3 priority, 4 user, 5 threads, 6 path.
using Row = std::vector<std::string>;

class ReportTest : public testing::Test {
protected:
    ReportTest() { folder_.CopyShippedColumnIni(); }
    ~ReportTest() override { ui::SetSaveDialogResponder(nullptr); }

    void Connect(TFrmCVT& form) {
        form.Report().ConnectReportView(&view_);
        form.Report().SetLocalClock([] { return kEvening; });
    }

    static void ReplaceRows(TFrmCVT& form, const std::vector<Row>& rows) {
        SendMessageA(form.ListView(0), LVM_DELETEALLITEMS, 0, 0);
        for (Row row : rows) {
            row.insert(row.begin() + 1, "");  // the verdict's cell
            ui::AppendListRow(form.ListView(0), row);
        }
    }

    static void Click(TFrmCVT& form, int id) {
        SendMessageA(form.Control(id), BM_CLICK, 0, 0);
        PumpMessages();
    }

    static std::string Head() {
        return "[Process Report]\r\nEnhanced by Corvault\r\n" + std::string(kEveningLine) + "OS : " + GetOSName() +
               "\r\n" + kRule;
    }

    // The path the save dialog is to answer with; nothing: cancel.
    void AnswerSaveDialog(std::optional<std::string> path) {
        ui::SetSaveDialogResponder([this, path](const ui::SaveDialogRequest& request) {
            requests_.push_back(request);
            return path;
        });
    }

    TempFolder folder_;
    MessageLog messages_;
    LineStoreView view_;
    std::vector<ui::SaveDialogRequest> requests_;
};

std::string DateTimeLine(const SYSTEMTIME& time) {
    char line[64];
    std::snprintf(line, sizeof line, "DateTime : %04u/%02u/%02u %02u:%02u:%02u\r\n", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return line;
}

// The Name= fields of a report, in order.
std::vector<std::string> ReportedNames(const std::string& report) {
    std::vector<std::string> names;
    for (size_t at = report.find("\r\nName="); at != std::string::npos; at = report.find("\r\nName=", at + 1)) {
        const size_t start = at + 7;
        names.push_back(report.substr(start, report.find(" ID=", start) - start));
    }
    return names;
}

}  // namespace

TEST_F(ReportTest, ReportFollowsTheSortedListAndShowsOnTheReportPageKeepingTheSelection) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    ReplaceRows(form, {{"zeta.exe", "  456", "通常", "root", "    3", "C:\\Program Files\\zeta.exe"},
                       {"alpha.exe", "   12", "高", "不明", "    1", "C:\\WINDOWS\\alpha.exe"},
                       {"mid.exe", "123456", "ﾘｱﾙﾀｲﾑ", "root", "    2", ""}});
    ClickHeader(form.ListView(0), 0);  // by image name: not the order of the IDs
    ASSERT_THAT(ColumnTexts(form.ListView(0), 0), ElementsAre("alpha.exe", "mid.exe", "zeta.exe"));
    ui::SelectListRow(form.ListView(0), 2);
    ASSERT_EQ(form.ActivePage(), kPageProcesses);

    Click(form, cmd::BtnProcessSnapShot);
    EXPECT_EQ(view_.GetText(), Head() +
                                   "Name=alpha.exe ID=   12 Prio=高 User=不明\r\nPath=C:\\WINDOWS\\alpha.exe\r\n"
                                   "Name=mid.exe ID=123456 Prio=ﾘｱﾙﾀｲﾑ User=root\r\nPath=\r\n"
                                   "Name=zeta.exe ID=  456 Prio=通常 User=root\r\nPath=C:\\Program Files\\zeta.exe\r\n" +
                                   kRule);
    EXPECT_EQ(view_.setTexts, 1);
    EXPECT_EQ(form.ActivePage(), kPageReport);
    EXPECT_EQ(SendMessageA(form.TabControl(), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_FALSE(form.State().reportInProgress);
    EXPECT_TRUE(messages_.Records().empty());

    form.SelectPage(kPageProcesses);
    EXPECT_EQ(ui::SelectedListRow(form.ListView(0)), 2);
    EXPECT_EQ(ui::ListCellText(form.ListView(0), 2, 0), "zeta.exe");
}

TEST_F(ReportTest, EmptyListGivesTheHeadAndBothRules) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    ReplaceRows(form, {});
    view_.SetText("the previous report");
    form.Report().BtnProcessSnapShotClick();
    EXPECT_EQ(view_.GetText(), Head() + kRule);

    // Without a clock of the test's own, the system's local time: date line at the second.
    form.Report().SetLocalClock(nullptr);
    SYSTEMTIME before{};
    GetLocalTime(&before);
    form.Report().BtnProcessSnapShotClick();
    SYSTEMTIME after{};
    GetLocalTime(&after);
    const std::string line = view_.GetText().substr(40, 32);
    EXPECT_TRUE(line == DateTimeLine(before) || line == DateTimeLine(after)) << line;
}

TEST_F(ReportTest, HexadecimalIdAndColumnsTheListLacksOnRealProcesses) {
    // Shown: hexadecimal PID, image name and path; neither priority nor user.
    folder_.Write("cvt.ini", "[List0]\r\nCount=3\r\nSortIndex=1\r\nSortWay=False\r\nIndex0=0\r\nWidth0=60\r\n"
                             "Index1=2\r\nWidth1=90\r\nIndex2=3\r\nWidth2=200\r\n");
    ChildProcess child(folder_, "cvtreport-hex.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    const int row = RowOfProcess(form, child.Id());
    ASSERT_GE(row, 0);
    char id[16];
    std::snprintf(id, sizeof id, "$%06X", static_cast<unsigned>(child.Id()));
    const std::string path = ui::ListCellText(form.ListView(0), row, 2);
    EXPECT_EQ(lstrcmpiA(path.c_str(), child.Path().c_str()), 0) << path;

    form.Report().BtnProcessSnapShotClick();
    const std::string report = view_.GetText();
    EXPECT_THAT(report, HasSubstr("\r\nName=cvtreport-hex.exe ID=" + std::string(id) + " Prio= User=\r\nPath=" + path +
                                  "\r\n"));
    // Every row once, in the list's order (image names descending here).
    EXPECT_EQ(ReportedNames(report), ColumnTexts(form.ListView(0), 1));
    EXPECT_EQ(report.rfind(Head(), 0), 0u);
    EXPECT_EQ(report.substr(report.size() - 2 - 55), "\r\n" + std::string(kRule));
}

TEST_F(ReportTest, WhileTheListIsRebuiltOnlyAWarningIsShown) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    view_.SetText("kept");
    view_.setTexts = 0;
    form.State().processListRefreshing = true;
    form.Report().BtnProcessSnapShotClick();
    form.State().processListRefreshing = false;
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].kind, ui::MessageKind::Warning);
    EXPECT_EQ(messages_.Records()[0].caption, "警告");
    EXPECT_EQ(messages_.Records()[0].text, "リスト更新中です。\r\nもう一度ボタンを押してください。");
    EXPECT_FALSE(messages_.Records()[0].yesNo);
    EXPECT_EQ(view_.setTexts, 0);
    EXPECT_EQ(view_.GetText(), "kept");
    EXPECT_EQ(form.ActivePage(), kPageProcesses);
    EXPECT_FALSE(form.State().reportInProgress);
}

TEST_F(ReportTest, TheRefreshTimerLeavesTheListAloneWhileTheReportIsMade) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    ReplaceRows(form, {{"only.exe", "    1", "通常", "root", "    1", ""}});
    bool inProgress = false;
    // A modal box inside the view would let the timer tick just here.
    view_.onSetText = [&] {
        inProgress = form.State().reportInProgress;
        form.RefreshTimerTimer();
    };
    form.Report().BtnProcessSnapShotClick();
    EXPECT_TRUE(inProgress);
    EXPECT_THAT(ColumnTexts(form.ListView(0), 0), ElementsAre("only.exe"));
    EXPECT_FALSE(form.State().reportInProgress);
    // Afterwards the timer rebuilds the list again.
    view_.onSetText = nullptr;
    form.RefreshTimerTimer();
    EXPECT_GT(ui::ListRowCount(form.ListView(0)), 1);
}

TEST_F(ReportTest, ClipboardGetsTheViewsTextEditsIncluded) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    form.Report().BtnProcessSnapShotClick();
    const std::string edited = view_.GetText() + "追記：確認済み\r\n最後の行";
    view_.SetText(edited);

    Click(form, cmd::BtnReportClipboard);
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), edited);
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "情報");
    EXPECT_EQ(messages_.Records()[0].text, "クリップボードにコピーしました。");

    // An empty view empties the clipboard's text.
    view_.SetText("");
    form.Report().BtnReportClipboardClick();
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), "");
    EXPECT_EQ(messages_.Records().size(), 2u);
}

TEST_F(ReportTest, ClipboardHeldByAnotherWindowIsReportedNotClaimedCopied) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    view_.SetText("report");
    ASSERT_TRUE(ui::SetClipboardText(form.Hwnd(), "before"));
    TestWindow other("cvt clipboard holder", false, false);
    ASSERT_TRUE(OpenClipboard(other.Hwnd()));
    form.Report().BtnReportClipboardClick();
    CloseClipboard();
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "エラー");
    EXPECT_EQ(messages_.Records()[0].text, "クリップボードにコピーできませんでした。");
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), "before");
}

TEST_F(ReportTest, SaveAsksWithTheTextFilterAndWritesTheViewsBytesExactly) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    form.Report().BtnProcessSnapShotClick();
    const std::string report = view_.GetText();
    AnswerSaveDialog(folder_.File("レポート.txt"));

    Click(form, cmd::BtnReportSave);
    ASSERT_EQ(requests_.size(), 1u);
    static const char kFilter[] = "テキストファイル (*.txt)\0*.txt\0全てのファイル (*.*)\0*.*\0";
    EXPECT_EQ(requests_[0].filter, std::string(kFilter, sizeof kFilter));
    EXPECT_NE(requests_[0].flags & OFN_OVERWRITEPROMPT, 0u);
    EXPECT_EQ(folder_.Read("レポート.txt"), report);  // no byte-order mark, nothing after the last rule
    EXPECT_TRUE(messages_.Records().empty());
    EXPECT_THAT(folder_.Names(), ElementsAre("column.ini", "レポート.txt"));

    // Cancelled: nothing written, nothing said.
    view_.SetText("not saved");
    AnswerSaveDialog(std::nullopt);
    form.Report().BtnReportSaveClick();
    EXPECT_EQ(folder_.Read("レポート.txt"), report);
    EXPECT_TRUE(messages_.Records().empty());
}

TEST_F(ReportTest, FailedSaveShowsTheSystemsMessageAndKeepsTheOldFile) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    view_.SetText("new report\r\n");
    folder_.Write("old.txt", "old report, still wanted\r\n");
    const std::string target = folder_.File("old.txt");
    AnswerSaveDialog(target);

    // Another program holds the file open without letting it be replaced.
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    form.Report().BtnReportSaveClick();
    CloseHandle(holder);
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].caption, "エラー");
    // Wine refuses the replacing rename as access denied; the line break of the text is dropped.
    EXPECT_EQ(messages_.Records()[0].text, "アクセスが拒否されました。");
    EXPECT_EQ(folder_.Read("old.txt"), "old report, still wanted\r\n");
    EXPECT_THAT(folder_.Names(), ElementsAre("column.ini", "old.txt"));
}

namespace {

// Answers the real save dialog from a thread timer, which its modal loop dispatches.
struct DialogScript {
    std::string path;
    std::vector<int> overwriteAnswers;  // IDYES / IDNO, one per overwrite question in turn
    std::vector<std::string> questions;
    enum { TypeName, AwaitQuestion, Cancel, Done } stage = TypeName;
    HWND dialog = nullptr;
    int ticks = 0;
};
DialogScript* g_script = nullptr;

BOOL CALLBACK CollectVisibleDialogs(HWND hwnd, LPARAM found) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

VOID CALLBACK DriveSaveDialog(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript& script = *g_script;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisibleDialogs, reinterpret_cast<LPARAM>(&dialogs));
    if (++script.ticks > 150) {  // stuck: close everything rather than hang the run
        for (HWND hwnd : dialogs) PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (dialogs.empty()) return;
    if (script.dialog == nullptr) script.dialog = dialogs[0];
    HWND question = nullptr;
    for (HWND hwnd : dialogs)
        if (hwnd != script.dialog) question = hwnd;
    if (question != nullptr) {
        const size_t asked = script.questions.size();
        char text[512] = {};
        GetDlgItemTextA(question, 0xFFFF, text, sizeof text);  // a message box's text control
        script.questions.emplace_back(text);
        const int answer = asked < script.overwriteAnswers.size() ? script.overwriteAnswers[asked] : IDNO;
        PostMessageA(question, WM_COMMAND, answer, 0);
        script.stage = answer == IDYES ? DialogScript::Done : DialogScript::Cancel;
    } else if (script.stage == DialogScript::TypeName) {
        SetDlgItemTextA(script.dialog, cmb13, script.path.c_str());
        SetDlgItemTextA(script.dialog, edt1, script.path.c_str());
        PostMessageA(script.dialog, WM_COMMAND, IDOK, 0);
        script.stage = DialogScript::AwaitQuestion;
    } else if (script.stage == DialogScript::Cancel) {
        PostMessageA(script.dialog, WM_COMMAND, IDCANCEL, 0);
        script.stage = DialogScript::Done;
    }
}

void SaveThroughTheRealDialog(TFrmCVT& form, DialogScript& script) {
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, DriveSaveDialog);
    form.Report().BtnReportSaveClick();
    KillTimer(nullptr, timer);
    g_script = nullptr;
}

}  // namespace

TEST_F(ReportTest, RealSaveDialogAsksBeforeOverwritingAndTheFileIsReplacedOnlyOnYes) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Connect(form);
    view_.SetText("レポート本文\r\n");
    folder_.Write("exists.txt", "old");

    DialogScript refused{folder_.File("exists.txt"), {IDNO}};
    SaveThroughTheRealDialog(form, refused);
    ASSERT_EQ(refused.questions.size(), 1u);
    EXPECT_FALSE(refused.questions[0].empty());  // Wine's names no file: "ファイルは既に存在します。…"
    EXPECT_EQ(folder_.Read("exists.txt"), "old");

    DialogScript accepted{folder_.File("exists.txt"), {IDYES}};
    SaveThroughTheRealDialog(form, accepted);
    EXPECT_EQ(accepted.questions.size(), 1u);
    EXPECT_EQ(folder_.Read("exists.txt"), "レポート本文\r\n");

    // A new name is not asked about.
    DialogScript fresh{folder_.File("fresh.txt"), {}};
    SaveThroughTheRealDialog(form, fresh);
    EXPECT_TRUE(fresh.questions.empty());
    EXPECT_EQ(folder_.Read("fresh.txt"), "レポート本文\r\n");
    EXPECT_TRUE(messages_.Records().empty());
    EXPECT_THAT(folder_.Names(), ElementsAre("column.ini", "exists.txt", "fresh.txt"));
}
