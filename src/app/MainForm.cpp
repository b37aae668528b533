// Main window: start sequence, the pages' wiring, the routing of messages to
// them, the refresh timer, help and Run commands, close.
#include "app/MainForm.h"

#include <commctrl.h>

#include "../../res/resource.h"
#include "base/AppPath.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "details/Detail.h"
#include "details/ProcessDangerDb.h"
#include "lists/CommandIds.h"
#include "sysinfo/HostFacts.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr UINT_PTR kRefreshTimerId = 1;
constexpr char kHomePageUrl[] = "https://corvault.example.org/";
constexpr char kAboutCredits[] = "Copyright (C) 2026 Corvault developers\r\n"
                                 "不審なプロセスを素早くチェックできるタスクマネージャ";

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

std::string ExecutableFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AppDirFromModulePath(path, IsLeadByteOfAnsiCodePage);
}

bool EnableDebugPrivilege() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
    UniqueKernelHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &privileges.Privileges[0].Luid)) return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    SetLastError(0);
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof privileges, &previous, &previousLength);
    // Success without the privilege assigned reports ERROR_NOT_ALL_ASSIGNED.
    return GetLastError() == 0;
}

}  // namespace

// What each page needs of the others it reaches through here.
TFrmCVT::TFrmCVT(std::string appDir)
    : processes_(state_, processApi_, columnSettings_[0], shellExecute_,
                 {.showDetail =
                      [this](const std::string& imageName, const std::string& fullPath,
                             const std::vector<std::pair<std::string, std::string>>& verdictRows) {
                          Detail().ShowDetailForProcess(imageName, fullPath, verdictRows);
                      },
                  .showScheduleDialog =
                      [this](uint32_t priorityClass, const std::string& imageName, const std::string& imagePath) {
                          manager_.ShowMgrDialog(priorityClass, imageName, imagePath);
                      },
                  .requestTermination = [this] { RequestTermination(); }}),
      applications_(state_, processApi_, columnSettings_[1],
                    {.showDetailForFile = [this](const std::string& fullPath) { Detail().ShowDetailForFile(fullPath); },
                     .endProcess = [this](uint32_t processId) { processes_.EndProcessWithConfirmation(processId); },
                     .showProcess =
                         [this](uint32_t processId) {
                             const int row = processes_.FindProcessRow(processId);
                             if (row < 0) return false;
                             ui::SelectListRow(processes_.List(), row);
                             SelectPage(kPageProcesses);
                             return true;
                         },
                     .refreshProcessList = [this] { processes_.RefreshProcessList(); }}),
      report_(state_, {.processRowCount = [this] { return ui::ListRowCount(processes_.List()); },
                       .processCellText = [this](int kind, int row) { return processes_.GetProcessCellText(kind, row); },
                       .showPage = [this] { SelectPage(kPageReport); }}),
      settings_(state_, [this](unsigned interval) {
          // Each SetTimer starts the countdown afresh and the track bar notifies on every drag
          // step: only a new interval restarts it, or moving the thumb would put off every refresh.
          if (interval == refreshInterval_) return;
          refreshInterval_ = interval;
          if (interval == 0) KillTimer(Hwnd(), kRefreshTimerId);
          else SetTimer(Hwnd(), kRefreshTimerId, interval, nullptr);
      }) {
    state_.appDir = std::move(appDir);
}

TFrmCVT::~TFrmCVT() {
    // The detail window is owned by this one: it goes first.
    detail_.reset();
}

TFrmDetail& TFrmCVT::Detail() {
    if (!detail_) {
        detail_ = std::make_unique<TFrmDetail>(IniPath(IDS_CVT_INI), *dangerDb_);
        detail_->Create(Hwnd());
    }
    return *detail_;
}

bool TFrmCVT::PreTranslateMessage(MSG& msg) {
    if (TranslateShortcut(msg)) return true;
    if (detail_ && detail_->Hwnd() != nullptr && IsChild(detail_->Hwnd(), msg.hwnd))
        return IsDialogMessageA(detail_->Hwnd(), &msg) != FALSE;
    if (HWND dialog = manager_.DialogWindow(); dialog != nullptr && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)))
        return IsDialogMessageA(dialog, &msg) != FALSE;
    return Hwnd() != nullptr && IsDialogMessageA(Hwnd(), &msg) != FALSE;
}

void TFrmCVT::FormCreate() {
    if (state_.appDir.empty()) state_.appDir = ExecutableFolder();
    state_.debugPrivilegeEnabled = EnableDebugPrivilege();
    applications_.LoadStatusLibrary();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    state_.isNTPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    LoadSettings();
    manager_.LoadMgrSchedules(IniPath(IDS_CVTMGR_INI));
    dangerDb_ = std::make_unique<ProcessDangerDb>(LoadPdb(IniPath(IDS_CVTPDB_INI)));
    processes_.SetVerdictSources(dangerDb_.get(), ReadHostFacts());
    // InitCommandTags: each page tags its commands and enables what the system family has.
    processes_.InitCommandTags();
    applications_.InitCommandTags();
    settings_.InitCommandTags();
    processes_.UpdateColumnPositions();
    applications_.UpdateColumnPositions();
    state_.SelectedProcessId() = kNone;
    state_.SelectedWindowHandle() = kNone;
    processes_.RefreshProcessList();
    applications_.RefreshAppList();
    manager_.RefreshMgrList();
    if (!IsWindowVisible(Hwnd())) ShowWindow(Hwnd(), firstShow_);
    UpdateWindow(Hwnd());
    // The refresh gave the list the focus only if it was shown already.
    if (IsWindowVisible(processes_.List()) && state_.mainFormActive) SetFocus(processes_.List());
}

void TFrmCVT::RequestTermination() {
    terminationRequested_ = true;
    PostQuitMessage(0);
}

LRESULT TFrmCVT::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_SIZE:
            if (pgcOnly_ != nullptr) ui::LayoutTabPages(pgcOnly_, pages_);
            return 0;
        case WM_ACTIVATE:
            state_.mainFormActive = LOWORD(wParam) != WA_INACTIVE;
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            if (!processes_.OnContextMenu(reinterpret_cast<HWND>(wParam), lParam))
                applications_.OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kRefreshTimerId) RefreshTimerTimer();
            return 0;
        case WM_HSCROLL:
            settings_.OnHScroll(reinterpret_cast<HWND>(lParam));
            return 0;
        case kColumnDraggedMessage:
            LsvColumnDragged(static_cast<int>(wParam));
            return 0;
        case WM_CLOSE:
            FormCloseQuery();
            DestroyWindow(Hwnd());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void TFrmCVT::OnCommand(int id, int notifyCode, HWND control) {
    switch (id) {
        case cmd::MiFileExit:
        case cmd::BtnProcessExit:
        case cmd::BtnAppExit:
        case cmd::BtnManagerExit:
        case cmd::BtnReportExit:
            MiFileExitClick();
            break;
        case cmd::MiFileNewTask:
        case cmd::BtnAppNewTask:
            MiFileNewTaskClick();
            break;
        case cmd::MiRefreshProcess:
            processes_.RefreshProcessList();
            break;
        case cmd::BtnProcessSnapShot:
            report_.BtnProcessSnapShotClick();
            break;
        case cmd::MiRefreshApp:
            applications_.RefreshAppList();
            break;
        case cmd::MiHelpURLDevelop:
            MiHelpURLDevelopClick();
            break;
        case cmd::MiHelpAbout:
            MiHelpAboutClick();
            break;
        default:
            if (!processes_.OnCommand(id) && !applications_.OnCommand(id, control) && !report_.OnCommand(id) &&
                !manager_.OnCommand(id))
                settings_.OnCommand(id, notifyCode);
            break;
    }
}

LRESULT TFrmCVT::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == pgcOnly_ && header.code == TCN_SELCHANGE) {
        const int item = static_cast<int>(SendMessageA(pgcOnly_, TCM_GETCURSEL, 0, 0));
        SelectPage(item < kPageManager ? item : item + 1);
        return 0;
    }
    for (int tag = 0; tag < kListCount; ++tag) {
        if (header.hwndFrom != ListView(tag)) continue;
        if (header.code == LVN_COLUMNCLICK)
            LsvColumnClick(tag, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        if (tag == 0) return processes_.OnNotify(header);
        if (tag == 1) applications_.OnNotify(header);
        return 0;
    }
    return 0;
}

void TFrmCVT::MiFileExitClick() {
    // Closing by command takes exactly the path of the close box.
    SendMessageA(Hwnd(), WM_CLOSE, 0, 0);
}

void TFrmCVT::MiFileNewTaskClick() {
    using RunFileDlgFn = int(WINAPI*)(HWND, HICON, LPCSTR, LPCSTR, LPCSTR, UINT);
    UniqueLibrary shell = LoadSystemLibrary("Shell32.dll");
    // The Run dialog is exported by ordinal only.
    auto runDialog = LookUpFunction<RunFileDlgFn>(shell.Get(), MAKEINTRESOURCEA(61));
    if (runDialog == nullptr) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadText(IDS_RUNDIALOG_LOAD_FAILED));
        return;
    }
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(Hwnd(), GCLP_HICON));
    runDialog(Hwnd(), icon, nullptr, nullptr, nullptr, 4);
}

void TFrmCVT::MiHelpURLDevelopClick() {
    shellExecute_(GetDesktopWindow(), "open", kHomePageUrl, nullptr, nullptr, SW_SHOWDEFAULT);
}

void TFrmCVT::MiHelpAboutClick() {
    ui::ShowMessage(Hwnd(), ui::MessageKind::Information, std::string("Corvault Ver 1.00\r\n\r\n") + kAboutCredits);
}

void TFrmCVT::RefreshTimerTimer() {
    // The flag covers the refresh only: a box it shows must not have the lists rebuilt
    // under it, while a box that a command dispatched below opens lets the ticks refresh.
    if (tickInProgress_ || state_.reportInProgress) return;
    tickInProgress_ = true;
    {
        // Lowered however the refresh ends, or the timer would stay idle for good.
        struct Lowered {
            bool& flag;
            ~Lowered() { flag = false; }
        } lowered{tickInProgress_};
        processes_.RefreshProcessList();
        applications_.RefreshAppList();
        manager_.RefreshMgrList();
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
            break;
        }
        // A tick that fell due meanwhile is spent: run here, ticks slower than the
        // interval would nest without end.
        if (msg.message == WM_TIMER && msg.hwnd == Hwnd() && msg.wParam == kRefreshTimerId) continue;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    tickInProgress_ = false;
}

void TFrmCVT::FormCloseQuery() {
    SaveSettings();
    manager_.SaveMgrSchedules(IniPath(IDS_CVTMGR_INI));
}

}  // namespace cvt
