// The Processes page's controls and its list, brought up to date with a fresh snapshot at every refresh.
#include "process/ProcessPage.h"

#include <algorithm>
#include <cstdio>

#include "../../res/resource.h"
#include "base/StrToInt.h"
#include "base/StringTable.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "process/ProcessCellText.h"
#include "sysinfo/HostFacts.h"
#include "sysinfo/ProcessSnapshot.h"
#include "ui/ButtonRow.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

// Local time, fixed width so that the column sorts by time; empty when unknown.
std::string LocalStartTime(uint64_t creationTime) {
    if (creationTime == 0) return {};
    const FILETIME utc{static_cast<DWORD>(creationTime), static_cast<DWORD>(creationTime >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return {};
    char text[32];
    (void)std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", int{time.wYear}, int{time.wMonth},
                        int{time.wDay}, int{time.wHour}, int{time.wMinute}, int{time.wSecond});
    return text;
}

}  // namespace

ProcessPage::ProcessPage(ProgramState& state, ProcessApi& api, const TColumnManager& columns,
                         const ui::ShellExecutor& shellExecute, Links links)
    : state_(state), api_(api), columns_(columns), shellExecute_(shellExecute), links_(std::move(links)) {}

void ProcessPage::Create(HWND owner, ui::Page& page, HFONT font) {
    owner_ = owner;
    page_ = page.Hwnd();
    list_ = CreatePageList(page, font, cmd::Lsv0, 0);
    ui::AddButtonRow(page_, page.ChildAnchors(), font,
                     {{cmd::BtnProcessShowDetail, "詳細(&D)"},
                      {cmd::BtnProcessOpenFolder, "フォルダを開く(&O)"},
                      {cmd::BtnProcessRefresh, "更新(&R)"},
                      {cmd::BtnProcessSnapShot, "レポート(&R)"},
                      {cmd::BtnProcessExit, "終了(&X)"}});
    CreatePopup();
}

void ProcessPage::CreatePopup() {
    popup_.Reset(::CreatePopupMenu());
    HMENU p = popup_.Get();
    ui::AppendMenuItem(p, {.id = cmd::MiProcessDetail, .caption = "詳細(&D)...", .shortcut = "Ctrl+D"});
    ui::AppendMenuItem(p, {.id = cmd::MiProcessSetManager, .caption = "マネジメントする(&N)...", .enabled = false});
    ui::AppendMenuSeparator(p);
    HMENU priority = ui::AppendSubmenu(p, {.id = cmd::MiProcessPriority, .caption = "優先度の設定(&P)"});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioReal, .caption = "リアルタイム(&R)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioHigh, .caption = "高(&H)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioAbove, .caption = "通常以上(&A)", .radio = true});
    ui::AppendMenuItem(priority,
                       {.id = cmd::MiProcessPrioNormal, .caption = "通常(&N)", .shortcut = "Ctrl+N", .radio = true,
                        .checked = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioBelow, .caption = "通常以下(&B)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioIdle, .caption = "低(&L)", .radio = true});
    ui::AppendMenuItem(p, {.id = cmd::MiProcessExit, .caption = "プロセスの終了(&E)", .shortcut = "Ctrl+Q"});
    ui::AppendMenuSeparator(p);
    ui::AppendMenuItem(p, {.id = cmd::MiProcessOpenFolder, .caption = "フォルダを開く(&F)...", .shortcut = "Ctrl+F"});
    HMENU copy = ui::AppendSubmenu(p, {.id = cmd::MiProcessCopy, .caption = "クリップボードにコピー"});
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyAll, .caption = "一括(&A)", .shortcut = "Ctrl+C"});
    ui::AppendMenuSeparator(copy);
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyFileName, .caption = "プロセスのイメージ名(&N)"});
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyFilePath, .caption = "プロセスのパス(&P)"});
    ui::AppendMenuSeparator(p);
    ui::AppendMenuItem(p, {.id = cmd::MiProcessVerdictColours, .caption = "判定で色分けする(&V)",
                           .checked = verdictColours_});
}

void ProcessPage::InitCommandTags() {
    // Column positions are unknown until UpdateColumnPositions runs.
    positions_ = ProcessColumnPositions{};
    HMENU p = popup_.Get();
    const struct { int id; int tag; } menuTags[] = {
        {cmd::MiProcessPrioReal, 256},  {cmd::MiProcessPrioHigh, 128},   {cmd::MiProcessPrioAbove, 32768},
        {cmd::MiProcessPrioNormal, 32}, {cmd::MiProcessPrioBelow, 16384}, {cmd::MiProcessPrioIdle, 64},
        {cmd::MiProcessCopyAll, 0},     {cmd::MiProcessCopyFileName, 1},  {cmd::MiProcessCopyFilePath, 2},
        {cmd::MiProcessCopy, 0}};
    for (const auto& t : menuTags) ui::SetMenuItemTag(p, t.id, t.tag);
    // The 95/98/Me family has no above- or below-normal class.
    ui::EnableMenuCommand(p, cmd::MiProcessPrioAbove, state_.isNTPlatform);
    ui::EnableMenuCommand(p, cmd::MiProcessPrioBelow, state_.isNTPlatform);
}

void ProcessPage::UpdateColumnPositions() {
    // Cell indexes are the creation order, which a header drag does not change.
    positions_.Update(columns_.Index);
}

LRESULT ProcessPage::OnNotify(const NMHDR& header) {
    if (header.code == NM_CUSTOMDRAW)
        return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0)
            Lsv0SelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
    } else if (header.code == LVN_COLUMNCLICK) {
        rowIds_.ForgetOrder();  // the click sorts the rows
    } else if (header.code == NM_CLICK) {  // not NM_RCLICK: a right click only opens the popup
        Lsv0Click();
    } else if (header.code == NM_DBLCLK) {
        // Lsv0DblClick: the detail, when the command is available for the row.
        if (ui::IsMenuCommandEnabled(popup_.Get(), cmd::MiProcessDetail)) MiProcessDetailClick();
    }
    return 0;
}

bool ProcessPage::OnContextMenu(HWND control, LPARAM screenPoint) {
    if (control != list_) return false;
    if (Lsv0ContextPopup()) TrackListPopup(list_, popup_.Get(), screenPoint, owner_);
    return true;
}

std::string ProcessPage::PriorityClassToName(uint32_t priorityClass) const {
    return LoadText(PriorityTextId(priorityClass));
}

uint32_t ProcessPage::PriorityNameToClass(const std::string& name) const {
    for (uint32_t priorityClass : kPriorityClasses)
        if (name == PriorityClassToName(priorityClass)) return priorityClass;
    return 0;
}

void ProcessPage::RefreshProcessList() {
    const bool judge = verdicts_.Configured() && (verdictColours_ || ShowsKind(kKindVerdict));
    const bool startTimes = ShowsKind(kKindStartTime);
    const ProcessSnapshot snapshot = ReadProcessSnapshot(api_, state_.isNTPlatform, LoadText(IDS_USER_UNKNOWN), cache_,
                                                         judge || ShowsKind(kKindCommandLine));
    if (snapshot.failed) {
        ui::ShowMessage(owner_, ui::MessageKind::SystemError, LoadText(IDS_SNAPSHOT_FAILED));
        links_.requestTermination();
    }
    state_.processListRefreshing = true;
    // The rows a rebuild would add, in snapshot order: the remembered process's row is
    // the one to select, else the first row added; then the stored sort, as a rebuild's.
    const std::string systemRoot = SystemRootFolder();
    const std::vector<Verdict> verdicts =
        judge ? verdicts_.Judge(snapshot.processes, systemRoot) : std::vector<Verdict>();
    const TextLoader load = [](unsigned id) { return LoadText(id); };
    std::vector<std::string> keys;
    keys.reserve(snapshot.processes.size());
    for (const TProcessManager& process : snapshot.processes) keys.push_back(ProcessRowKey(process));
    newRows_.Refresh(keys);
    std::unordered_map<std::string, RowLook> looks;
    verdictOf_.clear();
    std::vector<ListRow> fresh;
    fresh.reserve(snapshot.processes.size());
    std::string selectedKey;
    for (size_t i = 0; i < snapshot.processes.size(); ++i) {
        const TProcessManager& process = snapshot.processes[i];
        const std::string verdictText = judge ? VerdictCellText(verdicts[i], load) : std::string();
        const std::string startTime = startTimes ? LocalStartTime(process.CreationTime) : std::string();
        AddProcessRow(process, systemRoot, {verdictText, startTime}, fresh);
        looks[keys[i]] = {judge ? verdicts[i].level : VerdictLevel::None, newRows_.IsNew(keys[i])};
        if (judge) verdictOf_[keys[i]] = verdicts[i];
        if (static_cast<int32_t>(process.ProcessID) == state_.SelectedProcessId()) selectedKey = fresh.back().key;
    }
    lastProcesses_ = snapshot.processes;
    if (selectedKey.empty() && !fresh.empty()) selectedKey = fresh.front().key;
    SortRows(fresh, SortKeyFor(columns_.SortIndex, columns_.SortWay));
    // In place: only what changed is touched, so nothing flickers and the view stays where it was.
    ui::ReconcileListRows(list_, fresh, rowIds_);
    // A colour can change where no cell did, which the reconciliation leaves unpainted.
    const bool looksChanged = looks != looks_;
    looks_ = std::move(looks);
    if (verdictColours_ && looksChanged) InvalidateRect(list_, nullptr, FALSE);
    state_.processListRefreshing = false;

    const auto at = std::find_if(fresh.begin(), fresh.end(), [&](const ListRow& row) { return row.key == selectedKey; });
    if (at != fresh.end()) {
        const int row = static_cast<int>(at - fresh.begin());
        // Selecting runs the selection handler, which remembers the PID and sets the commands;
        // a row that stayed selected gets the same, as it would when added anew.
        if (ui::SelectedListRow(list_) != row) ui::SelectListRow(list_, row);
        else Lsv0SelectItem(row, true);
        SendMessageA(list_, LVM_ENSUREVISIBLE, row, FALSE);
    }
    // Only one page is shown at a time: a visible page is the active one.
    if (IsWindowVisible(page_) && state_.mainFormActive) SetFocus(list_);
}

void ProcessPage::AddProcessRow(const TProcessManager& process, const std::string& systemRoot,
                                const ProcessExtraTexts& extra, std::vector<ListRow>& rows) const {
    const std::string priorityName = PriorityClassToName(process.PriorityClass);
    ListRow& row = rows.emplace_back();
    row.key = ProcessRowKey(process);
    row.cells.reserve(columns_.Index.size());
    for (int kind : columns_.Index)
        row.cells.push_back(ProcessCellText(kind, process, priorityName, systemRoot, extra));
}

bool ProcessPage::ShowsKind(int kind) const {
    return std::find(columns_.Index.begin(), columns_.Index.end(), kind) != columns_.Index.end();
}

std::optional<uint32_t> ProcessPage::ProcessIdOfRow(int row) const {
    const auto pid = StrToIntDollarHex(GetProcessCellText(0, row));
    if (!pid) return std::nullopt;
    return static_cast<uint32_t>(*pid);
}

int ProcessPage::FindProcessRow(uint32_t processId) const {
    for (int row = 0; row < ui::ListRowCount(list_); ++row)
        if (ProcessIdOfRow(row) == processId) return row;
    return -1;
}

std::string ProcessPage::GetProcessCellText(int kind, int row) const {
    HWND list = list_;
    const int target = row == kNone ? ui::SelectedListRow(list) : row;
    return ProcessCellTextRule(
        kind, positions_,
        [&](int cell) { return target < 0 ? std::string() : ui::ListCellText(list, target, cell); },
        state_.clipboardCopying);
}

}  // namespace cvt
