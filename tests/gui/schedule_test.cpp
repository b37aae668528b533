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
