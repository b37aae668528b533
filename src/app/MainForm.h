// The main window: the tab control and its five pages, the main menu and its
// shortcuts, the refresh timer, the settings, and the start and close sequences.
// Each page is a class of its own; the pages meet only through what this window
// hands them.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "base/Handles.h"
#include "lists/ColumnSettings.h"
#include "lists/ProgramState.h"
#include "process/ProcessPage.h"
#include "report/ReportPage.h"
#include "schedule/ManagerPage.h"
#include "settings/SettingsPage.h"
#include "sysinfo/ProcessApi.h"
#include "ui/Page.h"
#include "ui/Shell.h"
#include "ui/Window.h"
#include "windows/ApplicationPage.h"

namespace cvt {

class ProcessDangerDb;
class TFrmDetail;

// Page indexes of PgcOnly; the Manager page exists but has no tab.
enum PageIndex : int { kPageApplications = 0, kPageProcesses = 1, kPageManager = 2, kPageReport = 3, kPageSettings = 4 };
inline constexpr int kPageCount = 5;
// Posted by a list view (wParam: its Tag) when the user has dropped a dragged header.
inline constexpr UINT kColumnDraggedMessage = WM_APP + 1;

class TFrmCVT final : public ui::Window {
public:
    // appDir: the program folder; empty means the folder of the running executable.
    explicit TFrmCVT(std::string appDir = {});
    ~TFrmCVT() override;

    // Creates the window and runs FormCreate; false when the window cannot be created.
    bool Create();
    // Keyboard shortcuts of the main menu, and of the process popup while its list has the focus.
    bool TranslateShortcut(MSG& msg);
    // Shortcuts, then dialog-style keyboard navigation of this window, the detail window or the schedule dialog.
    bool PreTranslateMessage(MSG& msg);
    // Made at its first use: a window full of controls that many runs never show.
    [[nodiscard]] TFrmDetail& Detail();

    [[nodiscard]] ProgramState& State() noexcept { return state_; }
    [[nodiscard]] bool TerminationRequested() const noexcept { return terminationRequested_; }
    [[nodiscard]] HWND ListView(int tag) const noexcept;
    [[nodiscard]] HWND TabControl() const noexcept { return pgcOnly_; }
    [[nodiscard]] HWND Control(int id) const;  // a button, check box or track bar by command id
    [[nodiscard]] HWND PageWindow(int page) const noexcept { return pages_[static_cast<size_t>(page)].Hwnd(); }
    [[nodiscard]] const ColumnSettingsArray& Columns() const noexcept { return columnSettings_; }
    [[nodiscard]] int ActivePage() const;
    void SelectPage(int page);

    [[nodiscard]] ProcessPage& Processes() noexcept { return processes_; }
    [[nodiscard]] ApplicationPage& Applications() noexcept { return applications_; }
    [[nodiscard]] ReportPage& Report() noexcept { return report_; }
    [[nodiscard]] ManagerPage& Manager() noexcept { return manager_; }
    [[nodiscard]] SettingsPage& Settings() noexcept { return settings_; }

    // RefreshTimer's tick: the three lists rebuilt, unless the report is being made.
    void RefreshTimerTimer();
    // Milliseconds between ticks; 0 when the timer is stopped.
    [[nodiscard]] unsigned RefreshInterval() const noexcept { return refreshInterval_; }
    // Tests record shell calls instead of opening other programs' windows.
    void SetShellExecutor(ui::ShellExecutor executor) { shellExecute_ = std::move(executor); }

    void MiFileExitClick();
    void MiFileNewTaskClick();
    void MiHelpURLDevelopClick();
    void MiHelpAboutClick();
    // Header clicks and drags of all three lists.
    void LsvColumnClick(int tag, int cellIndex);
    void LsvColumnDragged(int tag);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // MainFormLayout.cpp: the tab control, the pages and the shortcuts, at WM_CREATE.
    void CreateControls();

    // MainForm.cpp: the start sequence and the routing of messages to the pages.
    void FormCreate();
    void RequestTermination();
    void OnCommand(int id, int notifyCode, HWND control);
    LRESULT OnNotify(const NMHDR& header);
    void FormCloseQuery();

    // SettingsStore.cpp.
    void LoadSettings();
    void SaveSettings();
    [[nodiscard]] std::string IniPath(int stringId) const;

    // Referred to by the pages, so made before them.
    ProgramState state_;
    ProcessApi processApi_;  // the provider of process facts, shared by the two list pages
    ColumnSettingsArray columnSettings_{};
    ui::ShellExecutor shellExecute_ = ui::SystemShellExecutor();

    UniqueFont font_;
    HWND pgcOnly_ = nullptr;
    std::array<ui::Page, kPageCount> pages_;
    UniqueAccel mainAccel_;
    UniqueAccel processAccel_;
    std::array<SortDirectionFlags, kListCount> sortFlags_{};
    std::unique_ptr<ProcessDangerDb> dangerDb_;
    std::unique_ptr<TFrmDetail> detail_;
    unsigned refreshInterval_ = 0;
    bool tickInProgress_ = false;
    bool terminationRequested_ = false;
    int firstShow_ = SW_SHOWNORMAL;  // the stored placement's state, applied once the lists are filled
    bool settingsLoaded_ = false;

    // Gone before the page windows they fill.
    ProcessPage processes_;
    ApplicationPage applications_;
    ReportPage report_;
    ManagerPage manager_;
    SettingsPage settings_;
};

}  // namespace cvt
