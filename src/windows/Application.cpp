// The Applications page: visible top-level windows with icons, and the
// commands on the selected one.
#include "windows/ApplicationPage.h"

#include <algorithm>
#include <functional>

#include "../../res/resource.h"
#include "base/StrToInt.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "sysinfo/ProcessSnapshot.h"
#include "ui/ButtonRow.h"
#include "ui/Controls.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr UINT kRefreshFrame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

// Window handles are 32-bit values on 64-bit Windows too; the system widens them
// with their sign, as its own HandleToLong/LongToHandle pair does.
HWND AsWindow(int32_t handle) { return reinterpret_cast<HWND>(static_cast<intptr_t>(handle)); }

void RefreshFrame(HWND window) { SetWindowPos(window, nullptr, 0, 0, 0, 0, kRefreshFrame); }

// A window that serves no messages must not hang the list: its answer is awaited briefly.
constexpr UINT kIconQueryTimeoutMs = 200;

// Null when the window has no icon; unanswered: its icon query failed rather than said "none".
HICON WindowIcon(HWND window, bool& unanswered) {
    DWORD_PTR answer = 0;
    unanswered = SendMessageTimeoutA(window, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                     kIconQueryTimeoutMs, &answer) == 0;
    auto icon = unanswered ? nullptr : reinterpret_cast<HICON>(answer);
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon;
}

DWORD OwnerProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool RunningUnderWine() {
    static const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return underWine;
}

}  // namespace

ApplicationPage::ApplicationPage(ProgramState& state, ProcessApi& api, const TColumnManager& columns, Links links)
    : state_(state), api_(api), columns_(columns), links_(std::move(links)) {}

void ApplicationPage::Create(HWND owner, ui::Page& page, HFONT font) {
    owner_ = owner;
    page_ = page.Hwnd();
    list_ = CreatePageList(page, font, cmd::Lsv1, 1);
    imlApp_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
    // The list view owns the image list from here on and destroys it with itself.
    SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imlApp_));
    ui::AddButtonRow(page_, page.ChildAnchors(), font,
                     {{cmd::BtnAppNewTask, "新しいタスク(&N)..."},
                      {cmd::BtnAppShowForeground, "切り替え(&A)"},
                      {cmd::BtnAppTerminate, "タスクの終了(&E)"},
                      {cmd::BtnAppRefresh, "更新(&R)"},
                      {cmd::BtnAppExit, "終了(&X)"}});
    CreatePopup();
}

void ApplicationPage::CreatePopup() {
    popup_.Reset(CreatePopupMenu());
    HMENU a = popup_.Get();
    ui::AppendMenuItem(a, {.id = cmd::MiAppChangeTask, .caption = "切り替え(&S)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppMinimize, .caption = "最小化(&M)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppMaximize, .caption = "最大化(&X)"});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppAlwaysTopMost, .caption = "常に手前に表示(&A)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppToolWindow, .caption = "ツールウィンドウとして表示(&T)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppEnableUserInput, .caption = "ユーザー入力を受け付ける(&I)"});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppShowDetail, .caption = "実行ファイルの詳細(&O)..."});
    ui::AppendMenuItem(a, {.id = cmd::MiAppShowProcess, .caption = "プロセスの表示(&P)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppSetManager, .caption = "マネジメントする(&N)..."});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppTerminate, .caption = "タスクの終了(&E)"});
}

void ApplicationPage::InitCommandTags() {
    const struct { int id; int tag; } appTags[] = {
        {cmd::MiAppChangeTask, 0},    {cmd::MiAppMinimize, 2},      {cmd::MiAppMaximize, 3},
        {cmd::MiAppAlwaysTopMost, 4}, {cmd::MiAppToolWindow, 5},    {cmd::MiAppEnableUserInput, 6},
        {cmd::MiAppShowDetail, 7},    {cmd::MiAppShowProcess, 8},   {cmd::MiAppTerminate, 9}};
    for (const auto& t : appTags) ui::SetMenuItemTag(popup_.Get(), t.id, t.tag);
    ui::SetControlTag(GetDlgItem(page_, cmd::BtnAppShowForeground), 1);
    ui::SetControlTag(GetDlgItem(page_, cmd::BtnAppTerminate), 9);
}

void ApplicationPage::UpdateColumnPositions() {
    // Cell indexes are the creation order, which a header drag does not change.
    handleColumn_.Update(columns_.Index);
}

bool ApplicationPage::OnCommand(int id, HWND control) {
    switch (id) {
        case cmd::BtnAppRefresh:
            RefreshAppList();
            return true;
        case cmd::MiAppChangeTask:
        case cmd::MiAppMinimize:
        case cmd::MiAppMaximize:
        case cmd::MiAppAlwaysTopMost:
        case cmd::MiAppToolWindow:
        case cmd::MiAppEnableUserInput:
        case cmd::MiAppShowDetail:
        case cmd::MiAppShowProcess:
        case cmd::MiAppTerminate:
            MiAppItemClick(ui::MenuItemTag(popup_.Get(), id));
            return true;
        case cmd::BtnAppShowForeground:
        case cmd::BtnAppTerminate:
            MiAppItemClick(ui::ControlTag(control));
            return true;
        default:
            return false;
    }
}

void ApplicationPage::OnNotify(const NMHDR& header) {
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0)
            Lsv1SelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
    } else if (header.code == LVN_COLUMNCLICK) {
        rowIds_.ForgetOrder();  // the click sorts the rows
    } else if (header.code == NM_CLICK) {
        Lsv1Click();
    } else if (header.code == NM_DBLCLK) {
        MiAppItemClick(7);  // Lsv1DblClick: the executable's detail
    }
}

bool ApplicationPage::OnContextMenu(HWND control, LPARAM screenPoint) {
    if (control != list_) return false;
    if (Lsv1ContextPopup()) TrackListPopup(list_, popup_.Get(), screenPoint, owner_);
    return true;
}

void ApplicationPage::LoadStatusLibrary() {
    user32_ = LoadSystemLibrary("User32.dll");
    isHungAppWindow_ = LookUpFunction<IsHungAppWindowFn>(user32_.Get(), "IsHungAppWindow");
}

void ApplicationPage::RefreshAppList() {
    found_.clear();
    EnumWindows(&ApplicationPage::EnumAppWindowsProc, reinterpret_cast<LPARAM>(this));
    std::vector<int> images;
    AssignImages(images);
    // The rows a rebuild would add, in the order the system enumerates the windows:
    // the remembered window's row is the one to select, else the first row added.
    std::vector<ListRow> fresh;
    fresh.reserve(found_.size());
    std::string selectedKey;
    for (size_t i = 0; i < found_.size(); ++i) {
        AddAppRow(found_[i].row, images[i], fresh);
        if (static_cast<int32_t>(found_[i].row.handle) == state_.SelectedWindowHandle()) selectedKey = fresh.back().key;
    }
    if (selectedKey.empty() && !fresh.empty()) selectedKey = fresh.front().key;
    SortRows(fresh, SortKeyFor(columns_.SortIndex, columns_.SortWay));
    // In place: the list keeps its scroll position, and unchanged rows are not redrawn.
    ui::ReconcileListRows(list_, fresh, rowIds_);
    const auto at = std::find_if(fresh.begin(), fresh.end(), [&](const ListRow& row) { return row.key == selectedKey; });
    if (at == fresh.end()) return;
    const int row = static_cast<int>(at - fresh.begin());
    if (ui::SelectedListRow(list_) != row) ui::SelectListRow(list_, row);
    else Lsv1SelectItem(row, true);
}

void ApplicationPage::AssignImages(std::vector<int>& images) {
    // One image per distinct icon handle, kept while any window shows it: copying an
    // icon is the costly step. A slot whose icon has gone takes the next new icon, and
    // free slots at the end are dropped, so the image list never outgrows the screen.
    std::unordered_map<HICON, int> kept;
    for (const Found& window : found_)
        if (const auto known = imageOfIcon_.find(window.icon); known != imageOfIcon_.end()) kept.insert(*known);
    std::vector<int> freeSlots;
    for (const auto& [icon, slot] : imageOfIcon_)
        if (kept.count(icon) == 0) freeSlots.push_back(slot);
    std::sort(freeSlots.begin(), freeSlots.end(), std::greater<>());  // lowest last, taken first
    images.reserve(found_.size());
    for (const Found& window : found_) {
        if (const auto known = kept.find(window.icon); known != kept.end()) {
            images.push_back(known->second);
            continue;
        }
        // A null icon (a window Wine lists without one) is refused, and the row has no image.
        int slot = -1;
        if (window.icon != nullptr) {
            if (freeSlots.empty()) {
                slot = ImageList_AddIcon(imlApp_, window.icon);
            } else {
                slot = ImageList_ReplaceIcon(imlApp_, freeSlots.back(), window.icon);
                if (slot >= 0) freeSlots.pop_back();
            }
        }
        if (slot >= 0) kept.emplace(window.icon, slot);
        images.push_back(slot);
    }
    imageOfIcon_ = std::move(kept);
    std::vector<bool> used(static_cast<size_t>(ImageList_GetImageCount(imlApp_)), false);
    for (const auto& [icon, slot] : imageOfIcon_)
        if (slot >= 0 && static_cast<size_t>(slot) < used.size()) used[static_cast<size_t>(slot)] = true;
    for (int last = static_cast<int>(used.size()) - 1; last >= 0 && !used[static_cast<size_t>(last)]; --last)
        ImageList_Remove(imlApp_, last);
}

BOOL CALLBACK ApplicationPage::EnumAppWindowsProc(HWND window, LPARAM self) {
    auto& page = *reinterpret_cast<ApplicationPage*>(self);
    bool unanswered = false;
    HICON icon = WindowIcon(window, unanswered);
    // Wine answers no icon query about another process's window (the message fails, the class
    // icons read 0): such a window is listed without one, or the page would show only ours.
    if (!IsWindowVisible(window) || (icon == nullptr && !(unanswered && RunningUnderWine()))) return TRUE;
    AppWindowRow row;
    if (page.state_.isNTPlatform && page.isHungAppWindow_ != nullptr)
        row.status = page.isHungAppWindow_(window) ? "応答なし" : "実行中";
    else
        row.status = "不明";
    row.handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    row.processId = OwnerProcess(window);
    std::string title(static_cast<size_t>(GetWindowTextLengthA(window)) + 5, '\0');
    title.resize(static_cast<size_t>(std::max(0, GetWindowTextA(window, title.data(), static_cast<int>(title.size())))));
    row.title = std::move(title);
    page.found_.push_back({std::move(row), icon});
    return TRUE;
}

void ApplicationPage::AddAppRow(const AppWindowRow& window, int image, std::vector<ListRow>& rows) const {
    ListRow& row = rows.emplace_back();
    // A handle can pass to another window once its own is gone; with its owner it names one window.
    row.key = std::to_string(window.handle) + "/" + std::to_string(window.processId);
    for (int kind : columns_.Index) row.cells.push_back(WindowCellText(kind, window));
    row.image = image;
}

std::optional<int32_t> ApplicationPage::WindowHandleOfRow(int row) const {
    const int cell = handleColumn_.Cell();
    if (cell == kNone || row < 0) return std::nullopt;
    return StrToIntDollarHex(std::string(handleColumn_.Prefix()) + ui::ListCellText(list_, row, cell));
}

void ApplicationPage::SetAppCommandsEnabled(bool enabled) {
    ui::EnableMenuCommand(popup_.Get(), cmd::MiAppChangeTask, enabled);
    ui::EnableMenuCommand(popup_.Get(), cmd::MiAppTerminate, enabled);
    EnableWindow(GetDlgItem(page_, cmd::BtnAppShowForeground), enabled);
    EnableWindow(GetDlgItem(page_, cmd::BtnAppTerminate), enabled);
}

void ApplicationPage::Lsv1SelectItem(int row, bool selected) {
    if (!selected) return;
    if (const auto handle = WindowHandleOfRow(row)) state_.SelectedWindowHandle() = *handle;
    SetAppCommandsEnabled(true);
}

void ApplicationPage::Lsv1Click() {
    if (ui::SelectedListRow(list_) < 0) SetAppCommandsEnabled(false);
}

bool ApplicationPage::SelectedWindowStillListed() {
    // A handle can be reused by another window once its own has gone: it must
    // still be a window of the process that the selected row shows.
    HWND window = AsWindow(state_.SelectedWindowHandle());
    if (!IsWindow(window)) return false;
    const int row = ui::SelectedListRow(list_);
    int pidCell = kNone, pidKind = 0;
    const auto& kinds = columns_.Index;
    for (size_t cell = 0; cell < kinds.size(); ++cell)
        if (kinds[cell] == 4 || kinds[cell] == 5) pidCell = static_cast<int>(cell), pidKind = kinds[cell];
    if (row < 0 || pidCell == kNone) return true;
    std::string pidText = pidKind == 4 ? "$" : "";
    pidText += ui::ListCellText(list_, row, pidCell);
    const auto pid = StrToIntDollarHex(pidText);
    return pid && static_cast<DWORD>(*pid) == OwnerProcess(window);
}

void ApplicationPage::ReportWindowGone() {
    ui::ShowMessage(owner_, ui::MessageKind::Error, LoadText(IDS_APP_GONE));
    RefreshAppList();
}

void ApplicationPage::MiAppItemClick(int tag) {
    if (tag < 0 || tag > 9) return;
    if (!SelectedWindowStillListed()) {
        ReportWindowGone();
        return;
    }
    HWND window = AsWindow(state_.SelectedWindowHandle());
    HMENU popup = popup_.Get();
    switch (tag) {
        case 0:
        case 1:
            if (IsIconic(window)) OpenIcon(window);
            SetActiveWindow(window);
            RefreshFrame(window);
            break;
        case 2:
            ShowWindow(window, SW_MINIMIZE);
            RefreshFrame(window);
            break;
        case 3:
            ShowWindow(window, SW_MAXIMIZE);
            RefreshFrame(window);
            break;
        case 4: {
            const bool checked = ui::IsMenuCommandChecked(popup, cmd::MiAppAlwaysTopMost);
            SetWindowPos(window, checked ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
            ui::CheckMenuCommand(popup, cmd::MiAppAlwaysTopMost, !checked);
            break;
        }
        case 5:
            SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) ^ WS_EX_TOOLWINDOW);
            RefreshFrame(window);
            ui::CheckMenuCommand(popup, cmd::MiAppToolWindow, !ui::IsMenuCommandChecked(popup, cmd::MiAppToolWindow));
            break;
        case 6: {
            const bool checked = ui::IsMenuCommandChecked(popup, cmd::MiAppEnableUserInput);
            EnableWindow(window, checked ? FALSE : TRUE);
            ui::CheckMenuCommand(popup, cmd::MiAppEnableUserInput, !checked);
            break;
        }
        case 7: {
            const std::string path = GetProcessImagePath(api_, state_.isNTPlatform, OwnerProcess(window));
            if (path.empty()) ui::ShowMessage(owner_, ui::MessageKind::Error, LoadText(IDS_NO_FILE_NAME_FROM_PROCESS));
            else links_.showDetailForFile(path);
            break;
        }
        case 8: {
            if (!links_.showProcess(OwnerProcess(window))) {
                ui::ShowMessage(owner_, ui::MessageKind::Error, LoadText(IDS_APP_NOT_IN_PROCESS_LIST));
                links_.refreshProcessList();
            }
            break;
        }
        case 9:
            links_.endProcess(OwnerProcess(window));
            break;
        default:
            break;
    }
}

bool ApplicationPage::Lsv1ContextPopup() {
    if (ui::SelectedListRow(list_) < 0) return false;
    HWND window = AsWindow(state_.SelectedWindowHandle());
    if (!IsWindow(window)) {
        ReportWindowGone();
        return false;
    }
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    ui::CheckMenuCommand(popup_.Get(), cmd::MiAppEnableUserInput, IsWindowEnabled(window) != FALSE);
    ui::CheckMenuCommand(popup_.Get(), cmd::MiAppToolWindow, (exStyle & WS_EX_TOOLWINDOW) != 0);
    ui::CheckMenuCommand(popup_.Get(), cmd::MiAppAlwaysTopMost, (exStyle & WS_EX_TOPMOST) != 0);
    return true;
}

}  // namespace cvt
