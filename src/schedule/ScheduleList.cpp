// The main window's schedules: loaded at start, saved at close, listed on the
// hidden Manager page, and the two commands that open the schedule dialog.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "../../res/resource.h"
#include "app/Ini.h"
#include "app/MainForm.h"
#include "app/StringTable.h"
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

// The names of the file's sections; none when it does not exist.
std::vector<std::string> SectionNames(const std::string& path) {
    // The call gives size - 2 when the names do not fit.
    for (DWORD size = 1 << 16;; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), size, path.c_str());
        if (length + 2 >= size && size < (1u << 24)) continue;
        std::vector<std::string> names;
        for (const char* name = buffer.data(); name < buffer.data() + length && *name != '\0'; name += strlen(name) + 1)
            names.emplace_back(name);
        return names;
    }
}

}  // namespace

void TFrmCVT::LoadMgrSchedules() {
    const ProfileIniFile file(IniPath(IDS_CVTMGR_INI));
    LoadedMgrSchedules loaded = LoadMgrSchedulesModel(file, SectionNames(file.Path()), LocaleDecimalSeparator());
    if (loaded.cutCount) ui::ShowMessage(Hwnd(), ui::MessageKind::Warning, TooManySchedulesMessage(*loaded.cutCount));
    if (!loaded.errors.empty()) ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadErrorsMessage(loaded.errors));
    mgrSchedules_ = std::move(loaded.schedules);
}

void TFrmCVT::SaveMgrSchedules() {
    ProfileIniFile file(IniPath(IDS_CVTMGR_INI));
    SaveMgrSchedulesModel(file, SectionNames(file.Path()), mgrSchedules_, LocaleDecimalSeparator());
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

void TFrmCVT::BtnManageAddClick() { manager_->ShowMgrDialog(NORMAL_PRIORITY_CLASS, "", ""); }

void TFrmCVT::MiProcessSetManagerClick() {
    const std::string priority = GetProcessCellText(4, kNone);
    const std::string imageName = GetProcessCellText(2, kNone);
    const std::string imagePath = GetProcessCellText(3, kNone);
    manager_->ShowMgrDialog(PriorityNameToClass(priority), imageName, imagePath);
}

}  // namespace cvt
