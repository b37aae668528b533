// The process report on the main window: made from the list as shown, copied and saved.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
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

// The report view as the page holds it: the text, and how often it was set.
class TextView final : public ReportView {
public:
    void SetText(std::string_view text) override {
        ++setTexts;
        text_ = text;
    }
    [[nodiscard]] std::string GetText() const override { return text_; }
    int setTexts = 0;

private:
    std::string text_;
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
    TextView view_;
    std::vector<ui::SaveDialogRequest> requests_;
};

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
