// The process report: made from the process list, then copied or saved from its view.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "app/MainForm.h"
#include "lists/CopyMessages.h"
#include "report/ProcessReport.h"
#include "report/ReportView.h"
#include "report/SafeFileWrite.h"
#include "sysinfo/OsNameWin32.h"
#include "ui/Clipboard.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"
#include "ui/SaveDialog.h"

namespace cvt {
namespace {

constexpr char kListRefreshing[] = "リスト更新中です。\r\nもう一度ボタンを押してください。";
// The literal's own NUL ends the list.
constexpr char kReportFilter[] = "テキストファイル (*.txt)\0*.txt\0全てのファイル (*.*)\0*.*\0";
constexpr DWORD kReportSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;

LocalDateTime SystemLocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// The system's text for an error code, without its closing line break.
std::string SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    // No trail byte of a double-byte character is this low.
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    if (text.empty()) text = "ファイルを保存できませんでした。(エラー " + std::to_string(error) + ")";
    return text;
}

}  // namespace

std::string TFrmCVT::BuildProcessReport() const {
    const LocalDateTime now = localClock_ ? localClock_() : SystemLocalTime();
    const std::string osName = GetOSName();
    const int count = ui::ListRowCount(lsv_[0]);
    std::vector<ProcessReportRow> rows;
    rows.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int row = 0; row < count; ++row) {
        rows.push_back({.name = processes_.GetProcessCellText(2, row),
                        .id = processes_.GetProcessCellText(0, row),
                        .priority = processes_.GetProcessCellText(4, row),
                        .user = processes_.GetProcessCellText(5, row),
                        .path = processes_.GetProcessCellText(3, row)});
    }
    return ProcessReportText(now, osName, rows);
}

void TFrmCVT::BtnProcessSnapShotClick() {
    if (sedReport_ == nullptr) return;
    if (state_.processListRefreshing) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Warning, kListRefreshing);
        return;
    }
    // Lowered however the report ends, or the refresh timer would stay idle for good.
    struct InProgress {
        bool& flag;
        explicit InProgress(bool& f) : flag(f) { flag = true; }
        ~InProgress() { flag = false; }
    } inProgress(state_.reportInProgress);
    sedReport_->SetText(BuildProcessReport());
    SelectPage(kPageReport);
}

void TFrmCVT::BtnReportClipboardClick() {
    if (sedReport_ == nullptr) return;
    // Saying "copied" when the clipboard could not be had would leave the user pasting old contents.
    if (!ui::SetClipboardText(Hwnd(), sedReport_->GetText())) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, kCopyFailedMessage);
        return;
    }
    ui::ShowMessage(Hwnd(), ui::MessageKind::Information, kCopiedMessage);
}

void TFrmCVT::BtnReportSaveClick() {
    if (sedReport_ == nullptr) return;
    const ui::SaveDialogRequest request{.filter = std::string(kReportFilter, sizeof kReportFilter),
                                        .flags = kReportSaveFlags};
    const std::optional<std::string> path = ui::AskSaveFileName(Hwnd(), request);
    if (!path) return;
    const DWORD error = WriteFileReplacing(*path, sedReport_->GetText());
    if (error != ERROR_SUCCESS) ui::ShowMessage(Hwnd(), ui::MessageKind::Error, SystemErrorText(error));
}

}  // namespace cvt
