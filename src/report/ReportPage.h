// The Report page: the report editor with its label and buttons, and the
// commands that make the process report and copy or save it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "editor/ReportView.h"
#include "lists/ProgramState.h"
#include "report/ProcessReport.h"
#include "ui/Page.h"

namespace cvt {

class TVellEdit;

class ReportPage {
public:
    // What the page asks of the rest of the program.
    struct Links {
        // The process list as it stands: its row count and a row's text by column kind.
        std::function<int()> processRowCount;
        std::function<std::string(int kind, int row)> processCellText;
        std::function<void()> showPage;
    };

    ReportPage(ProgramState& state, Links links);
    ~ReportPage();
    ReportPage(const ReportPage&) = delete;  // its controls report to one object
    ReportPage& operator=(const ReportPage&) = delete;

    // owner: the main window, which receives the commands and owns the message boxes and dialogs.
    void Create(HWND owner, ui::Page& page, HFONT font);
    // False when the command is not one of this page's.
    bool OnCommand(int id);

    // The button sits on the Processes page; the report it makes is this page's.
    void BtnProcessSnapShotClick();
    void BtnReportClipboardClick();
    void BtnReportSaveClick();
    // The audit of the places that replace or inject programs, shown like a report.
    void MiSystemAuditClick();

    // The control that shows the report; the commands need one.
    void ConnectReportView(ReportView* view) noexcept { sedReport_ = view; }
    // The report editor, connected as the report view when the page is made.
    [[nodiscard]] TVellEdit& SedReport() noexcept { return *sedReportEdit_; }
    // Tests date the report with a fixed time; empty: the system's local time.
    using LocalClock = std::function<LocalDateTime()>;
    void SetLocalClock(LocalClock clock) { localClock_ = std::move(clock); }
    // Tests put accessibility programs of their own in a folder; empty: the system folder.
    void SetAuditProgramFolder(std::string folder) { auditProgramFolder_ = std::move(folder); }

private:
    // The report text of the process list as it stands, in its shown order.
    [[nodiscard]] std::string BuildProcessReport() const;
    [[nodiscard]] LocalDateTime Now() const;

    ProgramState& state_;
    Links links_;
    HWND owner_ = nullptr;
    std::unique_ptr<TVellEdit> sedReportEdit_;
    ReportView* sedReport_ = nullptr;  // not owned
    LocalClock localClock_;
    std::string auditProgramFolder_;
};

}  // namespace cvt
