// The Manager page: the schedules loaded at start, saved at close, listed on
// the page, and the commands that open the schedule dialog.
#include "schedule/ManagerPage.h"

#include <commctrl.h>

#include <vector>

#include "../../res/resource.h"
#include "base/Ini.h"
#include "base/StringTable.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "schedule/ManageForm.h"
#include "schedule/ScheduleText.h"
#include "ui/ButtonRow.h"
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

ManagerPage::ManagerPage() = default;
ManagerPage::~ManagerPage() = default;

void ManagerPage::Create(HWND owner, ui::Page& page, HFONT font) {
    owner_ = owner;
    list_ = CreatePageList(page, font, cmd::Lsv2, 2);
    // Design-time headers; the columns built at start replace them.
    ui::AddListColumn(list_, 0, "イメージ名", 115, 0);
    ui::AddListColumn(list_, 1, "パス", 120, 0);
    ui::AddListColumn(list_, 2, "タイマー", 90, 1);
    ui::AddListColumn(list_, 3, "動作", 290, 0);
    ui::AddButtonRow(page.Hwnd(), page.ChildAnchors(), font,
                     {{cmd::BtnManageChangeTimeFormat, "時間表示切替(&T)"},
                      {cmd::BtnManageAdd, "追加(&A)..."},
                      {cmd::BtnManageDelete, "削除(&D)"},
                      {cmd::BtnManagerExit, "終了(&X)"}});
}

bool ManagerPage::OnCommand(int id) {
    if (id != cmd::BtnManageAdd) return false;
    BtnManageAddClick();
    return true;
}

TFrmManager& ManagerPage::Dialog() {
    if (!dialog_) {
        dialog_ = std::make_unique<TFrmManager>(mgrSchedules_, [this] { RefreshMgrList(); });
        dialog_->Create(owner_);
    }
    return *dialog_;
}

HWND ManagerPage::DialogWindow() const noexcept { return dialog_ ? dialog_->Hwnd() : nullptr; }

void ManagerPage::LoadMgrSchedules(const std::string& path) {
    const ProfileIniFile file(path);
    // A damaged count can ask for 60,000 reads; through the system each would search the whole file.
    // The pass holds only the sections that loading can read.
    const ProfileFileSnapshot snapshot(
        file, [](std::string_view name) { return MgrSectionNeeded(name, static_cast<std::size_t>(kMaxMgrCount)); });
    LoadedMgrSchedules loaded =
        LoadMgrSchedulesModel(snapshot.Source(), snapshot.SectionNames(), LocaleDecimalSeparator());
    if (loaded.cutCount) ui::ShowMessage(owner_, ui::MessageKind::Warning, TooManySchedulesMessage(*loaded.cutCount));
    if (!loaded.errors.empty()) ui::ShowMessage(owner_, ui::MessageKind::Error, LoadErrorsMessage(loaded.errors));
    mgrSchedules_ = std::move(loaded.schedules);
}

void ManagerPage::SaveMgrSchedules(const std::string& path) {
    ProfileIniFile file(path);
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

void ManagerPage::RefreshMgrList() {
    if (mgrSchedules_.empty()) return;
    const MgrOperationNames names = {LoadText(IDS_MGR_OP_CHECK_PRIORITY), LoadText(IDS_MGR_OP_START),
                                     LoadText(IDS_MGR_OP_END), LoadText(IDS_MGR_OP_END_THEN_SHUTDOWN),
                                     LoadText(IDS_MGR_OP_SHUTDOWN)};
    const double now = CurrentDateTime();
    HWND list = list_;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    // Cells in a fixed order, whatever kinds the columns carry.
    for (const TMgrSchedule& entry : mgrSchedules_)
        ui::AppendListRow(list, {entry.FileName, entry.FilePath, MgrTimerText(entry.Option, entry.Timer, now),
                                 MgrOperationText(entry.Operation, entry.Option, names)});
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void ManagerPage::BtnManageAddClick() { Dialog().ShowMgrDialog(NORMAL_PRIORITY_CLASS, "", ""); }

void ManagerPage::ShowMgrDialog(uint32_t priorityClass, const std::string& imageName, const std::string& imagePath) {
    Dialog().ShowMgrDialog(priorityClass, imageName, imagePath);
}

}  // namespace cvt
