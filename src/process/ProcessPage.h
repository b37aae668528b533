// The Processes page: the process list with its buttons and popup menu, the
// refresh that brings it up to date, and the commands on the selected process.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Handles.h"
#include "base/ListReconcile.h"
#include "lists/ColumnPositions.h"
#include "lists/ColumnSettings.h"
#include "lists/ProgramState.h"
#include "process/ProcessCellText.h"
#include "process/ProcessVerdicts.h"
#include "process/VerdictRows.h"
#include "sysinfo/ProcessApi.h"
#include "sysinfo/ProcessInfoCache.h"
#include "sysinfo/ProcessRecord.h"
#include "ui/Page.h"
#include "ui/Shell.h"

namespace cvt {

class ProcessPage {
public:
    // What the page asks of the rest of the program.
    struct Links {
        // verdictRows: key and value of the rows the detail window adds for the process.
        std::function<void(const std::string& imageName, const std::string& fullPath,
                           const std::vector<std::pair<std::string, std::string>>& verdictRows)>
            showDetail;
        std::function<void(uint32_t priorityClass, const std::string& imageName, const std::string& imagePath)>
            showScheduleDialog;
        std::function<void()> requestTermination;
    };

    // Everything referred to outlives the page; shellExecute is read at each use.
    ProcessPage(ProgramState& state, ProcessApi& api, const TColumnManager& columns,
                const ui::ShellExecutor& shellExecute, Links links);
    ProcessPage(const ProcessPage&) = delete;  // its controls report to one object
    ProcessPage& operator=(const ProcessPage&) = delete;

    // owner: the main window, which receives the commands and owns the message boxes.
    void Create(HWND owner, ui::Page& page, HFONT font);
    // The popup's tags, and the priority classes that the system family has.
    void InitCommandTags();
    void UpdateColumnPositions();
    // False when the command is not one of this page's.
    bool OnCommand(int id);
    // The list's custom drawing answers through the result.
    LRESULT OnNotify(const NMHDR& header);
    // False when the control is not this page's list.
    bool OnContextMenu(HWND control, LPARAM screenPoint);

    [[nodiscard]] HWND List() const noexcept { return list_; }
    [[nodiscard]] HMENU Popup() const noexcept { return popup_.Get(); }
    [[nodiscard]] const ProcessColumnPositions& Positions() const noexcept { return positions_; }

    void RefreshProcessList();
    // Text of a process column kind in a row; kNone as the row means the selected row.
    [[nodiscard]] std::string GetProcessCellText(int kind, int row) const;
    [[nodiscard]] std::string PriorityClassToName(uint32_t priorityClass) const;
    [[nodiscard]] uint32_t PriorityNameToClass(const std::string& name) const;
    // The PID a row shows, in either format; kNone: the selected row.
    [[nodiscard]] std::optional<uint32_t> ProcessIdOfRow(int row) const;
    [[nodiscard]] int FindProcessRow(uint32_t processId) const;
    // The next refresh reads every process's path and user afresh.
    void ForgetProcessMemo() { cache_ = ProcessInfoCache{}; }

    // The verdicts' sources: the danger database (null: none) and the system
    // (tests pass another system's facts). Until then no process is judged.
    void SetVerdictSources(const ProcessDangerDb* database, const HostFacts& host);
    void SetVerdictHost(const HostFacts& host) { SetVerdictSources(verdicts_.Database(), host); }
    // Rows coloured by their verdict and newness; the popup's checked item.
    void SetVerdictColours(bool on);
    [[nodiscard]] bool VerdictColours() const noexcept { return verdictColours_; }
    // What a row is drawn on, none when the list's own colours; colours off give none.
    [[nodiscard]] std::optional<RowColour> RowBackgroundOfRow(int row) const;
    // "判定" and one row per reason, for the selected process.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> VerdictRowsOfSelection();

    void MiProcessPriorityClick(int priorityClass);
    // Asks, ends the process and removes its row. A non-empty expectedImageName
    // refuses a process that has taken over the PID since the row was made.
    void EndProcessWithConfirmation(uint32_t processId, const std::string& expectedImageName = {});
    void MiProcessExitClick();
    void MiProcessDetailClick();
    void MiProcessOpenFolderClick();
    void MiProcessCopyClick(int tag);
    void MiProcessSetManagerClick();
    void Lsv0SelectItem(int row, bool selected);
    void Lsv0Click();
    // False when the popup must not open.
    bool Lsv0ContextPopup();
    void MarkCurrentPriority(const std::string& text);

private:
    void CreatePopup();
    // Appends the row a process shows: its key and its cells by the columns' kinds.
    void AddProcessRow(const TProcessManager& process, const std::string& systemRoot, const ProcessExtraTexts& extra,
                       std::vector<ListRow>& rows) const;
    bool IsSameProcess(uint32_t processId, const std::string& imageName);
    void SetProcessFileCommandsEnabled(bool enabled);
    // Whether this refresh needs the verdicts, the command lines.
    [[nodiscard]] bool ShowsKind(int kind) const;
    [[nodiscard]] LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    struct RowLook {
        VerdictLevel level = VerdictLevel::None;
        bool isNew = false;
        friend bool operator==(const RowLook&, const RowLook&) = default;
    };

    ProgramState& state_;
    ProcessApi& api_;
    const TColumnManager& columns_;
    const ui::ShellExecutor& shellExecute_;
    Links links_;
    HWND owner_ = nullptr;
    HWND page_ = nullptr;
    HWND list_ = nullptr;
    UniqueMenu popup_;  // PumProcess
    ProcessColumnPositions positions_;
    ProcessInfoCache cache_;
    RowIds rowIds_;  // the key of each row, carried as its lParam
    ProcessVerdicts verdicts_;
    bool verdictColours_ = true;
    NewRows newRows_;
    std::unordered_map<std::string, RowLook> looks_;      // by row key
    std::unordered_map<std::string, Verdict> verdictOf_;  // by row key; empty when the refresh judged none
    std::vector<TProcessManager> lastProcesses_;          // to judge on demand when the refresh did not
};

}  // namespace cvt
