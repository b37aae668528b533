// Schedules: cvtmgr.ini read at start and written at close, the hidden
// Manager page's list, and the schedule dialog driven through its controls.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "schedule/ManageForm.h"
#include "schedule/ScheduleText.h"
#include "ui/Controls.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;
using testing::AnyOf;
using testing::ElementsAre;

namespace {

class ScheduleTest : public testing::Test {
protected:
    ScheduleTest() { folder_.CopyShippedColumnIni(); }

    void WriteMgrIni(const std::string& text) const { folder_.Write("cvtmgr.ini", text); }
    [[nodiscard]] IniContents MgrIni() const { return ReadIniFile(folder_.File("cvtmgr.ini")); }
    static std::vector<std::string> Row(TFrmCVT& form, int row) {
        std::vector<std::string> cells;
        for (int cell = 0; cell < 4; ++cell) cells.push_back(ui::ListCellText(form.ListView(2), row, cell));
        return cells;
    }

    TempFolder folder_;
    MessageLog messages_;
};

// The dialog as a user meets it: typing, choosing and clicking.
class Dialog {
public:
    explicit Dialog(TFrmCVT& form) : form_(form) {}
    [[nodiscard]] HWND operator[](int id) const { return form_.Manager().Dialog().Control(id); }
    [[nodiscard]] bool Visible() const { return IsWindowVisible(form_.Manager().Dialog().Hwnd()) != FALSE; }
    // BtnManageAdd of the hidden Manager page.
    void Open() const {
        SendMessageA(form_.Control(cmd::BtnManageAdd), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Type(int id, const char* text) const { SendMessageA((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    void Choose(int id, int item) const { SendMessageA((*this)[id], CB_SETCURSEL, item, 0); }
    [[nodiscard]] int Chosen(int id) const { return static_cast<int>(SendMessageA((*this)[id], CB_GETCURSEL, 0, 0)); }
    void Click(int id) const {
        SendMessageA((*this)[id], BM_CLICK, 0, 0);
        PumpMessages();
    }
    void SetPicker(int id, WORD year, WORD month, WORD day, WORD hour, WORD minute) const {
        SYSTEMTIME time{year, month, 0, day, hour, minute, 0, 0};
        SendMessageA((*this)[id], DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }

private:
    TFrmCVT& form_;
};

}  // namespace

TEST_F(ScheduleTest, NoFileMeansNoEntriesAndTheCloseWritesOnlyTheCount) {
    {
        MainFormHost host(folder_);
        EXPECT_TRUE(host.Form().Manager().MgrSchedules().empty());
        EXPECT_FALSE(folder_.Exists("cvtmgr.ini"));
        host.CloseByCommand();
    }
    EXPECT_EQ(MgrIni(), (IniContents{{"General", {"NumOfMgr=0"}}}));
    EXPECT_TRUE(messages_.Records().empty());
}

TEST_F(ScheduleTest, LoadedEntriesAreListedAndWrittenBackUnchanged) {
    WriteMgrIni("[General]\r\nNumOfMgr=3\r\n"
                "[Mgr0]\r\nFileName=a.exe\r\nFilePath=C:\\a.exe\r\nOperation=1\r\nOption=5\r\n"
                "Timer=38596.6491319444\r\nDeletable=0\r\n"
                "[Mgr1]\r\nFileName=b.exe\r\nFilePath=\r\nOperation=3\r\nOption=0\r\nTimer=0\r\nDeletable=-1\r\n"
                "[Mgr2]\r\nFileName=c.exe\r\nFilePath=\r\nOperation=9\r\nOption=9\r\nTimer=46000.25\r\nDeletable=0\r\n");
    const IniContents before = MgrIni();
    {
        MainFormHost host(folder_);
        TFrmCVT& form = host.Form();
        EXPECT_THAT(Row(form, 0), ElementsAre("a.exe", "C:\\a.exe", "毎日15:34", "毎日指定時刻にプロセスを起動"));
        EXPECT_THAT(Row(form, 1), ElementsAre("b.exe", "", "---", "プロセスが終了した後にWindowsを終了"));
        EXPECT_THAT(Row(form, 2), ElementsAre("c.exe", "", "06:00", "指定時刻に"));
        host.CloseByCommand();
    }
    EXPECT_EQ(MgrIni(), before);
    EXPECT_TRUE(messages_.Records().empty());
}

TEST_F(ScheduleTest, MissingKeysTakeTheirDefaultsAndBadOnesLoseNothingElse) {
    WriteMgrIni("[General]\r\nNumOfMgr=3\r\n"
                "[Mgr0]\r\nFileName=a.exe\r\nOption=2\r\nTimer=soon\r\nDeletable=0\r\n"
                "[Mgr1]\r\nFileName=b.exe\r\nOption=1\r\nTimer=46000.5\r\nDeletable=perhaps\r\n"
                "[Mgr2]\r\nFileName=c.exe\r\nOperation=4\r\nOption=1\r\n");
    const IniContents before = MgrIni();
    {
        MainFormHost host(folder_);
        TFrmCVT& form = host.Form();
        ASSERT_EQ(messages_.Records().size(), 1u);
        EXPECT_EQ(messages_.Records()[0].kind, ui::MessageKind::Error);
        EXPECT_EQ(messages_.Records()[0].text,
                  "'soon' is not a valid floating point value\r\n'perhaps' is not a valid boolean value");
        // Start-up went on past the error.
        EXPECT_GT(ui::ListRowCount(form.ListView(0)), 0);
        EXPECT_THAT(Row(form, 0), ElementsAre("a.exe", "", "---", "指定時間後に優先度をチェック"));
        EXPECT_THAT(Row(form, 1), ElementsAre("b.exe", "", "12:00", "指定時刻に優先度をチェック"));
        EXPECT_THAT(Row(form, 2), ElementsAre("c.exe", "", "---", "指定時刻にWindowsを終了"));
        host.CloseByCommand();
    }
    // Only the entries with an unreadable field were written, with the defaults they took.
    const IniContents after = MgrIni();
    EXPECT_EQ(after.at("Mgr2"), before.at("Mgr2"));
    EXPECT_THAT(after.at("Mgr0"), ::testing::Contains("Timer=0"));
    EXPECT_THAT(after.at("Mgr1"), ::testing::Contains("Deletable=-1"));
    messages_.Clear();
    {
        MainFormHost host(folder_);
        EXPECT_TRUE(messages_.Records().empty());
        EXPECT_THAT(Row(host.Form(), 1), ElementsAre("b.exe", "", "12:00", "指定時刻に優先度をチェック"));
        host.CloseByCommand();
    }
    EXPECT_EQ(MgrIni(), after);
}

TEST_F(ScheduleTest, UntrustedCountsNeitherStallNorBlowUpTheFile) {
    WriteMgrIni("[General]\r\nNumOfMgr=-7\r\n[Mgr0]\r\nFileName=a.exe\r\n");
    {
        MainFormHost host(folder_);
        EXPECT_TRUE(host.Form().Manager().MgrSchedules().empty());
        host.CloseByCommand();
    }
    EXPECT_TRUE(messages_.Records().empty());
    EXPECT_THAT(MgrIni().at("General"), ElementsAre("NumOfMgr=0"));

    // Section names in any letter case, as the system reads them.
    WriteMgrIni("[General]\r\nNumOfMgr=2147483647\r\n[mgr0]\r\nFileName=a.exe\r\n");
    const DWORD start = GetTickCount();
    MainFormHost host(folder_);
    EXPECT_EQ(host.Form().Manager().MgrSchedules().size(), static_cast<size_t>(kMaxMgrCount));
    EXPECT_EQ(host.Form().Manager().MgrSchedules()[0].FileName, "a.exe");
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].kind, ui::MessageKind::Warning);
    EXPECT_EQ(messages_.Records()[0].text,
              "cvtmgr.ini のスケジュール数 2147483647 は多すぎます。\r\n最初の 10000 件だけを読み込みます。");
    host.CloseByCommand();
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(MgrIni(), (IniContents{{"General", {"NumOfMgr=10000"}}, {"mgr0", {"FileName=a.exe"}}}));
}

TEST_F(ScheduleTest, DialogOpensFromTheHiddenManagerPageAsDesigned) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Dialog dialog(form);
    EXPECT_EQ(SendMessageA(form.TabControl(), TCM_GETITEMCOUNT, 0, 0), 4);  // no tab for the Manager page
    EXPECT_FALSE(dialog.Visible());
    dialog.Open();
    ASSERT_TRUE(dialog.Visible());
    HWND hwnd = form.Manager().Dialog().Hwnd();
    EXPECT_EQ(WindowText(hwnd), "マネジメント スケジュールの追加");
    RECT client{}, frame{};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(472L, 286L));
    EXPECT_EQ(std::make_pair(frame.left, frame.top), std::make_pair(193L, 115L));
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_SYSMENU);
    // For a new entry: normal priority; as first shown: no operation, at a time, no option, one hour.
    EXPECT_TRUE(IsWindowEnabled(dialog[mgr::CmbPriority]));
    EXPECT_EQ(WindowText(dialog[mgr::CmbPriority]), "通常");
    EXPECT_EQ(dialog.Chosen(mgr::CmbOperation), -1);
    EXPECT_TRUE(ui::IsChecked(dialog[mgr::RdbSelectTime]));
    EXPECT_TRUE(ui::IsChecked(dialog[mgr::RdbOptNone]));
    EXPECT_EQ(WindowText(dialog[mgr::EdtIntervalHour]), "1");
    // The select button carries the shell's folder image above its text.
    BUTTON_IMAGELIST glyph{};
    ASSERT_TRUE(SendMessageA(dialog[mgr::BtnSelect], BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyph)));
    EXPECT_EQ(ImageList_GetImageCount(glyph.himl), 1);
    EXPECT_EQ(glyph.uAlign, static_cast<UINT>(BUTTON_IMAGELIST_ALIGN_TOP));
}

TEST_F(ScheduleTest, DateAndTimeStoreThatMomentAndTheEntryIsSavedOverAnOldSection) {
    WriteMgrIni("[General]\r\nNumOfMgr=1\r\n[Mgr0]\r\nFileName=old.exe\r\n"
                "[Mgr1]\r\nFileName=gone.exe\r\n[Mgr2]\r\nFileName=left.exe\r\n");
    {
        MainFormHost host(folder_);
        TFrmCVT& form = host.Form();
        Dialog dialog(form);
        dialog.Open();
        dialog.Type(mgr::EdtImageName, "app.exe");
        dialog.Type(mgr::EdtImagePath, "C:\\app.exe");
        dialog.Choose(mgr::CmbOperation, 2);
        dialog.SetPicker(mgr::DtpTimeDate, 2026, 3, 1, 17, 45);
        dialog.SetPicker(mgr::DtpTimeTime, 2025, 7, 9, 9, 30);
        dialog.Click(mgr::BtnAddSchedule);
        EXPECT_FALSE(dialog.Visible());
        ASSERT_EQ(form.Manager().MgrSchedules().size(), 2u);
        EXPECT_NEAR(form.Manager().MgrSchedules()[1].Timer, DaysFromDate(2026, 3, 1) + 9.5 / 24, 1e-8);
        EXPECT_THAT(Row(form, 1), ElementsAre("app.exe", "C:\\app.exe", "09:30", "指定時刻にプロセスを終了"));
        host.CloseByCommand();
    }
    const IniContents ini = MgrIni();
    EXPECT_THAT(ini.at("General"), ElementsAre("NumOfMgr=2"));
    EXPECT_THAT(ini.at("Mgr1"), ElementsAre("FileName=app.exe", "FilePath=C:\\app.exe", "Operation=2", "Option=1",
                                            "Timer=46082.3958333333", "Deletable=0"));
    EXPECT_THAT(ini.at("Mgr2"), ElementsAre("FileName=left.exe"));  // past the count: untouched
}

TEST_F(ScheduleTest, IntervalIsListedAsTheTimeLeftAndABadFieldAddsNothing) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Dialog dialog(form);
    dialog.Open();
    dialog.Choose(mgr::CmbOperation, 0);
    dialog.Click(mgr::RdbSelectInterval);
    dialog.Click(mgr::RdbOptRepeat);
    dialog.Type(mgr::EdtIntervalMinute, "ten");
    dialog.Click(mgr::BtnAddSchedule);
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].text, "'ten' is not a valid integer value");
    EXPECT_TRUE(form.Manager().MgrSchedules().empty());
    EXPECT_TRUE(dialog.Visible());

    dialog.Type(mgr::EdtIntervalMinute, "0");
    const double before = CurrentDateTime();
    dialog.Click(mgr::BtnAddSchedule);
    ASSERT_EQ(form.Manager().MgrSchedules().size(), 1u);
    EXPECT_EQ(form.Manager().MgrSchedules()[0].Option, 2 + 8);
    EXPECT_NEAR(form.Manager().MgrSchedules()[0].Timer, before + 1.0 / 24, 5.0 / 86400);
    EXPECT_THAT(Row(form, 0), ElementsAre("", "", AnyOf("01:00毎", "00:59毎"), "指定時間毎に優先度をチェック"));
}

TEST_F(ScheduleTest, OperationThreeHasNoTimerAndNoOperationGivesOnlyThePrefix) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Dialog dialog(form);
    dialog.Open();
    dialog.Choose(mgr::CmbOperation, 3);
    dialog.Click(mgr::RdbSelectInterval);
    dialog.Click(mgr::RdbOptEveryday);
    dialog.Click(mgr::BtnAddSchedule);
    EXPECT_THAT(Row(form, 0), ElementsAre("", "", "---", "プロセスが終了した後にWindowsを終了"));
    // A text of the user's own over a chosen item is no operation either.
    dialog.Open();
    dialog.Choose(mgr::CmbOperation, 1);
    dialog.Type(mgr::CmbOperation, "自分で決める");
    dialog.Click(mgr::RdbSelectTime);
    dialog.Click(mgr::BtnAddSchedule);
    ASSERT_EQ(form.Manager().MgrSchedules().size(), 2u);
    EXPECT_EQ(form.Manager().MgrSchedules()[0].Option, 0);
    EXPECT_EQ(form.Manager().MgrSchedules()[0].Timer, 0);
    EXPECT_EQ(form.Manager().MgrSchedules()[1].Operation, -1);
    EXPECT_EQ(Row(form, 1)[3], "毎日指定時刻に");
}

TEST_F(ScheduleTest, CancelAndEscapeHideTheDialogWhichKeepsItsContents) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Dialog dialog(form);
    dialog.Open();
    dialog.Type(mgr::EdtImageName, "typed.exe");
    dialog.Type(mgr::EdtIntervalDay, "5");
    dialog.Click(mgr::BtnDontAddSchedule);
    EXPECT_FALSE(dialog.Visible());
    dialog.Open();
    EXPECT_EQ(WindowText(dialog[mgr::EdtImageName]), "");  // prefilled again
    EXPECT_EQ(WindowText(dialog[mgr::EdtIntervalDay]), "5");
    MSG escape{dialog[mgr::EdtIntervalHour], WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(form.PreTranslateMessage(escape));
    PumpMessages();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(form.Manager().MgrSchedules().empty());
}

TEST_F(ScheduleTest, ProcessPriorityDecidesThePriorityBoxByExactTextAndTheMenuStaysClosed) {
    ChildProcess child(folder_, "cvtmgr-child.exe");
    ASSERT_TRUE(SetPriorityClass(child.Handle(), HIGH_PRIORITY_CLASS));
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Dialog dialog(form);
    const int row = RowOfProcess(form, child.Id());
    ASSERT_GE(row, 0);
    ui::SelectListRow(form.ListView(0), row);
    ASSERT_TRUE(form.Processes().Lsv0ContextPopup());
    EXPECT_FALSE(ui::IsMenuCommandEnabled(form.Processes().Popup(), cmd::MiProcessSetManager));
    SendMessageA(form.Hwnd(), WM_COMMAND, cmd::MiProcessSetManager, 0);
    SendMessageA(form.Hwnd(), WM_COMMAND, cmd::MiAppSetManager, 0);
    EXPECT_FALSE(dialog.Visible());

    form.Processes().MiProcessSetManagerClick();
    ASSERT_TRUE(dialog.Visible());
    EXPECT_EQ(WindowText(dialog[mgr::EdtImageName]), "cvtmgr-child.exe");
    EXPECT_EQ(lstrcmpiA(WindowText(dialog[mgr::EdtImagePath]).c_str(), child.Path().c_str()), 0);
    EXPECT_EQ(WindowText(dialog[mgr::CmbPriority]), "高");
    // The list's half-width "ﾘｱﾙﾀｲﾑ" matches no item: enabled, and the choice stays.
    ASSERT_TRUE(SetPriorityClass(child.Handle(), REALTIME_PRIORITY_CLASS));
    form.Processes().RefreshProcessList();
    ASSERT_EQ(form.Processes().GetProcessCellText(4, kNone), "ﾘｱﾙﾀｲﾑ");
    form.Processes().MiProcessSetManagerClick();
    EXPECT_TRUE(IsWindowEnabled(dialog[mgr::CmbPriority]));
    EXPECT_EQ(WindowText(dialog[mgr::CmbPriority]), "高");
    // An unreadable priority disables the box and clears it.
    ui::SetListCellText(form.ListView(0), ui::SelectedListRow(form.ListView(0)), 3, "不明");
    form.Processes().MiProcessSetManagerClick();
    EXPECT_FALSE(IsWindowEnabled(dialog[mgr::CmbPriority]));
    EXPECT_EQ(dialog.Chosen(mgr::CmbPriority), -1);
}

TEST_F(ScheduleTest, ListIsRebuiltOnEveryTickAndLeftAloneWithoutSchedules) {
    {
        MainFormHost host(folder_);
        ui::AppendListRow(host.Form().ListView(2), {"not ours"});
        host.Form().RefreshTimerTimer();
        EXPECT_THAT(ColumnTexts(host.Form().ListView(2), 0), ElementsAre("not ours"));
    }
    WriteMgrIni("[General]\r\nNumOfMgr=3\r\n[Mgr0]\r\nFileName=b.exe\r\n[Mgr1]\r\nFileName=c.exe\r\n"
                "[Mgr2]\r\nFileName=a.exe\r\n");
    MainFormHost host(folder_);
    ClickHeader(host.Form().ListView(2), 0);
    ASSERT_THAT(ColumnTexts(host.Form().ListView(2), 0), ElementsAre("a.exe", "b.exe", "c.exe"));
    host.Form().RefreshTimerTimer();
    EXPECT_THAT(ColumnTexts(host.Form().ListView(2), 0), ElementsAre("b.exe", "c.exe", "a.exe"));
}
