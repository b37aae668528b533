// Commands on the selected process: priority, end, open folder, copy, and the
// enabled states that follow the selection.
#include "process/ProcessPage.h"

#include <string>

#include "../../res/resource.h"
#include "base/AppPath.h"
#include "base/AsciiText.h"
#include "base/StringTable.h"
#include "lists/CommandIds.h"
#include "lists/CopyMessages.h"
#include "ui/Clipboard.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr char kAskPriority[] =
    "選択されたプロセスの優先度を変更しますか？\r\n\r\n"
    "（システムに関わるプロセスや処理の重いプロセスの優先度を変更すると、\r\n"
    "　全体的な動作に支障をきたす恐れがあります。）";
constexpr char kPriorityFailed[] = "優先度の設定に失敗しました。";

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

// The executable name of a running process as the snapshot gives it, or "" when it has gone.
std::string RunningImageName(ProcessApi& api, bool isNTPlatform, uint32_t processId) {
    HANDLE raw = api.CreateSnapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE || raw == nullptr) return {};
    UniqueKernelHandle snapshot(raw);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = api.First(raw, entry); more; more = api.Next(raw, entry)) {
        if (entry.th32ProcessID != processId) continue;
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        return isNTPlatform ? std::string(entry.szExeFile)
                            : std::string(FileNamePart(entry.szExeFile, IsLeadByteOfAnsiCodePage));
    }
    return {};
}

}  // namespace

bool ProcessPage::OnCommand(int id) {
    HMENU popup = popup_.Get();
    switch (id) {
        case cmd::BtnProcessRefresh:
            RefreshProcessList();
            return true;
        case cmd::MiProcessPrioReal:
        case cmd::MiProcessPrioHigh:
        case cmd::MiProcessPrioAbove:
        case cmd::MiProcessPrioNormal:
        case cmd::MiProcessPrioBelow:
        case cmd::MiProcessPrioIdle:
            if (ui::IsMenuCommandEnabled(popup, id) && ui::IsMenuCommandEnabled(popup, cmd::MiProcessPriority))
                MiProcessPriorityClick(ui::MenuItemTag(popup, id));
            return true;
        case cmd::MiProcessDetail:
            if (ui::IsMenuCommandEnabled(popup, id)) MiProcessDetailClick();
            return true;
        case cmd::MiProcessSetManager:
            if (ui::IsMenuCommandEnabled(popup, id)) MiProcessSetManagerClick();
            return true;
        case cmd::BtnProcessShowDetail:
            MiProcessDetailClick();
            return true;
        case cmd::MiProcessExit:
            MiProcessExitClick();
            return true;
        case cmd::MiProcessOpenFolder:
            if (ui::IsMenuCommandEnabled(popup, id)) MiProcessOpenFolderClick();
            return true;
        case cmd::BtnProcessOpenFolder:
            MiProcessOpenFolderClick();
            return true;
        case cmd::MiProcessVerdictColours:
            SetVerdictColours(!verdictColours_);
            return true;
        case cmd::MiProcessCopyAll:
        case cmd::MiProcessCopyFileName:
        case cmd::MiProcessCopyFilePath:
            if (ui::IsMenuCommandEnabled(popup, id)) MiProcessCopyClick(ui::MenuItemTag(popup, id));
            return true;
        default:
            return false;
    }
}

bool ProcessPage::IsSameProcess(uint32_t processId, const std::string& imageName) {
    // The row may be older than the process now holding its PID: act only on the one the row names.
    if (imageName.empty()) return true;
    return lstrcmpiA(RunningImageName(api_, state_.isNTPlatform, processId).c_str(), imageName.c_str()) == 0;
}

void ProcessPage::MiProcessPriorityClick(int priorityClass) {
    // The target is fixed before asking: the question keeps the message loop
    // running, and a refresh meanwhile can move the selection to another process.
    // The open handle keeps the PID from passing to another process until the answer.
    const auto pid = ProcessIdOfRow(kNone);
    if (!pid) return;  // no row: nothing to ask about
    const std::string imageName = GetProcessCellText(2, kNone);
    UniqueKernelHandle process(OpenProcess(PROCESS_SET_INFORMATION, FALSE, *pid));
    const bool sameProcess = process && IsSameProcess(*pid, imageName);
    if (!ui::AskWarning(owner_, kAskPriority)) return;
    if (sameProcess && SetPriorityClass(process.Get(), static_cast<DWORD>(priorityClass))) {
        const int cell = positions_.CellOf(4);
        const int row = FindProcessRow(*pid);
        if (cell != kNone && row >= 0) {
            ui::SetListCellText(list_, row, cell, PriorityClassToName(priorityClass));
            rowIds_.ForgetShown(static_cast<uintptr_t>(ui::ListRowParam(list_, row)));
        }
        return;
    }
    ui::ShowMessage(owner_, ui::MessageKind::Error, kPriorityFailed);
}

void ProcessPage::EndProcessWithConfirmation(uint32_t processId, const std::string& expectedImageName) {
    // Opened and checked before asking, as for the priority: while the question is open the
    // handle keeps the PID from passing to another process, so the answer ends the one named.
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    const bool sameProcess = process && IsSameProcess(processId, expectedImageName);
    if (!ui::AskWarning(owner_, LoadText(IDS_CONFIRM_TERMINATE))) return;
    if (!sameProcess || !TerminateProcess(process.Get(), 0)) return;
    // The list may have been rebuilt while the question was open: look the row up again.
    const int row = FindProcessRow(processId);
    if (row >= 0) SendMessageA(list_, LVM_DELETEITEM, row, 0);
    if (ui::SelectedListRow(list_) < 0 && ui::ListRowCount(list_) > 0) ui::SelectListRow(list_, 0);
}

void ProcessPage::MiProcessExitClick() {
    const auto pid = ProcessIdOfRow(kNone);
    if (!pid) return;
    EndProcessWithConfirmation(*pid, GetProcessCellText(2, kNone));
}

void ProcessPage::MiProcessDetailClick() {
    if (ui::SelectedListRow(list_) < 0) return;
    links_.showDetail(GetProcessCellText(2, kNone), GetProcessCellText(3, kNone), VerdictRowsOfSelection());
}

void ProcessPage::MiProcessOpenFolderClick() {
    if (ui::SelectedListRow(list_) < 0) return;
    const std::string path = GetProcessCellText(3, kNone);
    const std::string folder(FolderPart(path, IsLeadByteOfAnsiCodePage));
    const std::string parameters = "/n,/e," + folder + ",/select," + path;
    shellExecute_(GetDesktopWindow(), "open", "Explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void ProcessPage::MiProcessCopyClick(int tag) {
    if (ui::SelectedListRow(list_) < 0) return;
    state_.clipboardCopying = true;
    std::string text;
    if (tag == 1) {
        text = GetProcessCellText(2, kNone);
    } else if (tag == 2) {
        text = GetProcessCellText(3, kNone);
    } else {
        // The PID comes only from its cell: without a readable one the line is left out, not made up.
        if (const auto pid = ProcessIdOfRow(kNone))
            text = "プロセスID = " + std::to_string(static_cast<int32_t>(*pid)) + "\r\n";
        text += std::string("プロセス名 = ") + GetProcessCellText(2, kNone) + "\r\n" +
                "フルパス = " + GetProcessCellText(3, kNone) + "\r\n" +
                "優先度 = " + GetProcessCellText(4, kNone) + "\r\n" +
                "ユーザー名 = " + GetProcessCellText(5, kNone);
    }
    const bool copied = ui::SetClipboardText(owner_, text);
    state_.clipboardCopying = false;
    // Saying "copied" when another program holds the clipboard would have the user paste old contents.
    ui::ShowMessage(owner_, copied ? ui::MessageKind::Information : ui::MessageKind::Error,
                    copied ? kCopiedMessage : kCopyFailedMessage);
}

void ProcessPage::SetProcessFileCommandsEnabled(bool enabled) {
    ui::EnableMenuCommand(popup_.Get(), cmd::MiProcessDetail, enabled);
    ui::EnableMenuCommand(popup_.Get(), cmd::MiProcessOpenFolder, enabled);
    EnableWindow(GetDlgItem(page_, cmd::BtnProcessOpenFolder), enabled);
    EnableWindow(GetDlgItem(page_, cmd::BtnProcessShowDetail), enabled);
}

void ProcessPage::Lsv0SelectItem(int row, bool selected) {
    if (!selected) return;
    if (const auto pid = ProcessIdOfRow(row)) state_.SelectedProcessId() = static_cast<int32_t>(*pid);
    const std::string path = GetProcessCellText(3, row);
    SetProcessFileCommandsEnabled(FileExists(path));
    ui::EnableMenuCommand(popup_.Get(), cmd::MiProcessCopyFilePath, !TrimControls(path).empty());
}

void ProcessPage::Lsv0Click() {
    if (ui::SelectedListRow(list_) < 0) SetProcessFileCommandsEnabled(false);
}

bool ProcessPage::Lsv0ContextPopup() {
    if (ui::SelectedListRow(list_) < 0) return false;
    const std::string priority(TrimControls(GetProcessCellText(4, kNone)));
    const bool known = priority != LoadText(IDS_PRIORITY_UNKNOWN);
    ui::EnableMenuCommand(popup_.Get(), cmd::MiProcessPriority, known);
    if (known) MarkCurrentPriority(priority);
    return true;
}

void ProcessPage::MiProcessSetManagerClick() {
    const std::string priority = GetProcessCellText(4, kNone);
    const std::string imageName = GetProcessCellText(2, kNone);
    const std::string imagePath = GetProcessCellText(3, kNone);
    links_.showScheduleDialog(PriorityNameToClass(priority), imageName, imagePath);
}

void ProcessPage::MarkCurrentPriority(const std::string& text) {
    static constexpr int kItems[] = {cmd::MiProcessPrioReal,   cmd::MiProcessPrioHigh,  cmd::MiProcessPrioAbove,
                                     cmd::MiProcessPrioNormal, cmd::MiProcessPrioBelow, cmd::MiProcessPrioIdle};
    HMENU priorities = ui::SubmenuOf(popup_.Get(), cmd::MiProcessPriority);
    for (size_t i = 0; i < std::size(kItems); ++i) {
        if (text != PriorityClassToName(kPriorityClasses[i])) continue;
        CheckMenuRadioItem(priorities, cmd::MiProcessPrioReal, cmd::MiProcessPrioIdle, kItems[i], MF_BYCOMMAND);
        return;
    }
}

}  // namespace cvt
