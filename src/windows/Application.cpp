// The Applications page: visible top-level windows with icons, and the
// commands on the selected one.
#include <windows.h>
#include <commctrl.h>

#include "../../res/resource.h"
#include "app/MainForm.h"
#include "base/StrToInt.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "details/Detail.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "sysinfo/ProcessSnapshot.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/MessageDialog.h"
#include "windows/WindowRecord.h"

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

void TFrmCVT::LoadStatusLibrary() {
    user32_ = LoadSystemLibrary("User32.dll");
    isHungAppWindow_ = LookUpFunction<IsHungAppWindowFn>(user32_.Get(), "IsHungAppWindow");
}

void TFrmCVT::CreateAppImageList() {
    imlApp_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
    // The list view owns the image list from here on and destroys it with itself.
    SendMessageA(lsv_[1], LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imlApp_));
}

void TFrmCVT::RefreshAppList() {
    appImageCounter_ = 0;
    appImageOfIcon_.clear();
    ImageList_RemoveAll(imlApp_);
    HWND list = lsv_[1];
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    EnumWindows(&TFrmCVT::EnumAppWindowsProc, reinterpret_cast<LPARAM>(this));
    if (ui::SelectedListRow(list) < 0 && ui::ListRowCount(list) > 0) ui::SelectListRow(list, 0);
    SortByStoredKey(list, columnSettings_[1]);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

BOOL CALLBACK TFrmCVT::EnumAppWindowsProc(HWND window, LPARAM self) {
    auto& form = *reinterpret_cast<TFrmCVT*>(self);
    bool unanswered = false;
    HICON icon = WindowIcon(window, unanswered);
    // Wine answers no icon query about another process's window (the message fails, the class
    // icons read 0): such a window is listed without one, or the page would show only ours.
    if (!IsWindowVisible(window) || (icon == nullptr && !(unanswered && RunningUnderWine()))) return TRUE;
    AppWindowRow row;
    if (form.state_.isNTPlatform && form.isHungAppWindow_ != nullptr)
        row.status = form.isHungAppWindow_(window) ? "応答なし" : "実行中";
    else
        row.status = "不明";
    row.handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    row.processId = OwnerProcess(window);
    std::string title(static_cast<size_t>(GetWindowTextLengthA(window)) + 5, '\0');
    title.resize(static_cast<size_t>(std::max(0, GetWindowTextA(window, title.data(), static_cast<int>(title.size())))));
    row.title = std::move(title);
    form.AddAppRow(row, icon);
    return TRUE;
}

void TFrmCVT::AddAppRow(const AppWindowRow& window, HICON icon) {
    std::vector<std::string> texts;
    for (int kind : columnSettings_[1].Index) texts.push_back(WindowCellText(kind, window));
    // The image list keeps a copy; the window's own icon handle is never destroyed here.
    // Windows sharing an icon handle share its image: copying an icon is the costly step.
    // A null icon (a window Wine lists without one) is refused, and the row has no image.
    int image = -1;
    if (auto known = appImageOfIcon_.find(icon); known != appImageOfIcon_.end()) {
        image = known->second;
    } else if (ImageList_AddIcon(imlApp_, icon) >= 0) {
        image = appImageCounter_++;
        appImageOfIcon_.emplace(icon, image);
    }
    const int row = ui::AppendListRow(lsv_[1], texts, image);
    if (row >= 0 && static_cast<int32_t>(window.handle) == state_.SelectedWindowHandle()) ui::SelectListRow(lsv_[1], row);
}

std::optional<int32_t> TFrmCVT::WindowHandleOfRow(int row) const {
    const int cell = windowHandleColumn_.Cell();
    if (cell == kNone || row < 0) return std::nullopt;
    return StrToIntDollarHex(std::string(windowHandleColumn_.Prefix()) + ui::ListCellText(lsv_[1], row, cell));
}

void TFrmCVT::SetAppCommandsEnabled(bool enabled) {
    ui::EnableMenuCommand(pumApp_.Get(), cmd::MiAppChangeTask, enabled);
    ui::EnableMenuCommand(pumApp_.Get(), cmd::MiAppTerminate, enabled);
    EnableWindow(Control(cmd::BtnAppShowForeground), enabled);
    EnableWindow(Control(cmd::BtnAppTerminate), enabled);
}

void TFrmCVT::Lsv1SelectItem(int row, bool selected) {
    if (!selected) return;
    if (const auto handle = WindowHandleOfRow(row)) state_.SelectedWindowHandle() = *handle;
    SetAppCommandsEnabled(true);
}

void TFrmCVT::Lsv1Click() {
    if (ui::SelectedListRow(lsv_[1]) < 0) SetAppCommandsEnabled(false);
}

bool TFrmCVT::SelectedWindowStillListed() {
    // A handle can be reused by another window once its own has gone: it must
    // still be a window of the process that the selected row shows.
    HWND window = AsWindow(state_.SelectedWindowHandle());
    if (!IsWindow(window)) return false;
    const int row = ui::SelectedListRow(lsv_[1]);
    int pidCell = kNone, pidKind = 0;
    const auto& kinds = columnSettings_[1].Index;
    for (size_t cell = 0; cell < kinds.size(); ++cell)
        if (kinds[cell] == 4 || kinds[cell] == 5) pidCell = static_cast<int>(cell), pidKind = kinds[cell];
    if (row < 0 || pidCell == kNone) return true;
    std::string pidText = pidKind == 4 ? "$" : "";
    pidText += ui::ListCellText(lsv_[1], row, pidCell);
    const auto pid = StrToIntDollarHex(pidText);
    return pid && static_cast<DWORD>(*pid) == OwnerProcess(window);
}

void TFrmCVT::ReportWindowGone() {
    ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadText(IDS_APP_GONE));
    RefreshAppList();
}

void TFrmCVT::MiAppItemClick(int tag) {
    if (tag < 0 || tag > 9) return;
    if (!SelectedWindowStillListed()) {
        ReportWindowGone();
        return;
    }
    HWND window = AsWindow(state_.SelectedWindowHandle());
    HMENU popup = pumApp_.Get();
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
            const std::string path = GetProcessImagePath(processApi_, state_.isNTPlatform, OwnerProcess(window));
            if (path.empty()) ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadText(IDS_NO_FILE_NAME_FROM_PROCESS));
            else Detail().ShowDetailForFile(path);
            break;
        }
        case 8: {
            const DWORD processId = OwnerProcess(window);
            const int row = processes_.FindProcessRow(processId);
            if (row >= 0) {
                ui::SelectListRow(processes_.List(), row);
                SelectPage(kPageProcesses);
            } else {
                ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadText(IDS_APP_NOT_IN_PROCESS_LIST));
                processes_.RefreshProcessList();
            }
            break;
        }
        case 9:
            processes_.EndProcessWithConfirmation(OwnerProcess(window));
            break;
        default:
            break;
    }
}

bool TFrmCVT::Lsv1ContextPopup() {
    if (ui::SelectedListRow(lsv_[1]) < 0) return false;
    HWND window = AsWindow(state_.SelectedWindowHandle());
    if (!IsWindow(window)) {
        ReportWindowGone();
        return false;
    }
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    ui::CheckMenuCommand(pumApp_.Get(), cmd::MiAppEnableUserInput, IsWindowEnabled(window) != FALSE);
    ui::CheckMenuCommand(pumApp_.Get(), cmd::MiAppToolWindow, (exStyle & WS_EX_TOOLWINDOW) != 0);
    ui::CheckMenuCommand(pumApp_.Get(), cmd::MiAppAlwaysTopMost, (exStyle & WS_EX_TOPMOST) != 0);
    return true;
}

}  // namespace cvt
