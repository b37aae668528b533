// The main window's schedules: loaded at start, saved at close, listed on the
// hidden Manager page, and the two commands that open the schedule dialog.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "../../res/resource.h"
#include "app/MainForm.h"
#include "base/Ini.h"
#include "base/StringTable.h"
#include "schedule/ManageForm.h"
#include "schedule/ScheduleText.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

// The user's decimal separator; a point when the locale gives one that could not be read back.
char LocaleDecimalSeparator() {
    char text[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) != 2) return '.';
    const char c = text[0];
    const bool unusable = static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x80 ||
                          (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E';
    return unusable ? '.' : c;
}

}  // namespace

void TFrmCVT::LoadMgrSchedules() {
    const ProfileIniFile file(IniPath(IDS_CVTMGR_INI));
    // A damaged count can ask for 60,000 reads; through the system each would search the whole file.
    // The pass holds only the sections that loading can read.
    const ProfileFileSnapshot snapshot(
        file, [](std::string_view name) { return MgrSectionNeeded(name, static_cast<std::size_t>(kMaxMgrCount)); });
    LoadedMgrSchedules loaded =
        LoadMgrSchedulesModel(snapshot.Source(), snapshot.SectionNames(), LocaleDecimalSeparator());
    if (loaded.cutCount) ui::ShowMessage(Hwnd(), ui::MessageKind::Warning, TooManySchedulesMessage(*loaded.cutCount));
    if (!loaded.errors.empty()) ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadErrorsMessage(loaded.errors));
    mgrSchedules_ = std::move(loaded.schedules);
}

void TFrmCVT::SaveMgrSchedules() {
    ProfileIniFile file(IniPath(IDS_CVTMGR_INI));
    const char decimalSeparator = LocaleDecimalSeparator();
    std::vector<std::size_t> entries;
    {
        // Gone before the writes, which make the system hold its own copy of the file.
        const std::size_t count = mgrSchedules_.size();
        const ProfileFileSnapshot snapshot(file, [count](std::string_view name) { return MgrSectionNeeded(name, count); });
        entries = MgrEntriesToWrite(snapshot.Source(), snapshot.SectionNames(), mgrSchedules_, decimalSeparator);
    }
    SaveMgrSchedulesModel(file, mgrSchedules_, entries, decimalSeparator);
}

void TFrmCVT::RefreshMgrList() {
    if (mgrSchedules_.empty()) return;
    const MgrOperationNames names = {LoadText(IDS_MGR_OP_CHECK_PRIORITY), LoadText(IDS_MGR_OP_START),
                                     LoadText(IDS_MGR_OP_END), LoadText(IDS_MGR_OP_END_THEN_SHUTDOWN),
                                     LoadText(IDS_MGR_OP_SHUTDOWN)};
    const double now = CurrentDateTime();
    HWND list = lsv_[2];
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    // Cells in a fixed order, whatever kinds the columns carry.
    for (const TMgrSchedule& entry : mgrSchedules_)
        ui::AppendListRow(list, {entry.FileName, entry.FilePath, MgrTimerText(entry.Option, entry.Timer, now),
                                 MgrOperationText(entry.Operation, entry.Option, names)});
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void TFrmCVT::BtnManageAddClick() { Manager().ShowMgrDialog(NORMAL_PRIORITY_CLASS, "", ""); }

}  // namespace cvt
