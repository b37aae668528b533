// The process list: rebuilt from a fresh snapshot at every refresh.
#include <windows.h>
#include <commctrl.h>

#include "../../res/resource.h"
#include "app/MainForm.h"
#include "base/StrToInt.h"
#include "base/StringTable.h"
#include "process/ProcessCellText.h"
#include "sysinfo/ProcessSnapshot.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

std::string SystemRootFolder() {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SystemRoot", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

}  // namespace

std::string TFrmCVT::PriorityClassToName(uint32_t priorityClass) const {
    return LoadText(PriorityTextId(priorityClass));
}

uint32_t TFrmCVT::PriorityNameToClass(const std::string& name) const {
    for (uint32_t priorityClass : kPriorityClasses)
        if (name == PriorityClassToName(priorityClass)) return priorityClass;
    return 0;
}

void TFrmCVT::RefreshProcessList() {
    const ProcessSnapshot snapshot =
        ReadProcessSnapshot(processApi_, state_.isNTPlatform, LoadText(IDS_USER_UNKNOWN), processCache_);
    if (snapshot.failed) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::SystemError, LoadText(IDS_SNAPSHOT_FAILED));
        RequestTermination();
    }
    HWND list = lsv_[0];
    state_.processListRefreshing = true;
    // Painting stays off until the rows are selected and sorted: nothing half-built is drawn.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const std::string systemRoot = SystemRootFolder();
    for (const TProcessManager& process : snapshot.processes) AddProcessRow(process, systemRoot);
    state_.processListRefreshing = false;

    // The first row in snapshot order, so selected before the sort.
    if (ui::SelectedListRow(list) < 0 && ui::ListRowCount(list) > 0) ui::SelectListRow(list, 0);
    SortByStoredKey(0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    const int selected = ui::SelectedListRow(list);
    if (selected >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, selected, FALSE);
    if (ActivePage() == kPageProcesses && state_.mainFormActive) SetFocus(list);
}

void TFrmCVT::AddProcessRow(const TProcessManager& process, const std::string& systemRoot) {
    const TColumnManager& columns = columnSettings_[0];
    const std::string priorityName = PriorityClassToName(process.PriorityClass);
    std::vector<std::string> texts;
    texts.reserve(columns.Index.size());
    for (int kind : columns.Index) texts.push_back(ProcessCellText(kind, process, priorityName, systemRoot));
    const int row = ui::AppendListRow(lsv_[0], texts);
    // Selecting runs the selection handler, which remembers the PID again.
    if (row >= 0 && static_cast<int32_t>(process.ProcessID) == state_.SelectedProcessId()) ui::SelectListRow(lsv_[0], row);
}

std::optional<uint32_t> TFrmCVT::ProcessIdOfRow(int row) const {
    const auto pid = StrToIntDollarHex(GetProcessCellText(0, row));
    if (!pid) return std::nullopt;
    return static_cast<uint32_t>(*pid);
}

int TFrmCVT::FindProcessRow(uint32_t processId) const {
    for (int row = 0; row < ui::ListRowCount(lsv_[0]); ++row)
        if (ProcessIdOfRow(row) == processId) return row;
    return -1;
}

std::string TFrmCVT::ProcessImagePath(uint32_t processId) {
    return GetProcessImagePath(processApi_, state_.isNTPlatform, processId);
}

std::string TFrmCVT::GetProcessCellText(int kind, int row) const {
    HWND list = lsv_[0];
    const int target = row == kNone ? ui::SelectedListRow(list) : row;
    return ProcessCellTextRule(
        kind, processPositions_,
        [&](int cell) { return target < 0 ? std::string() : ui::ListCellText(list, target, cell); },
        state_.clipboardCopying);
}

}  // namespace cvt
