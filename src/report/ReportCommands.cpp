// The Report page and the process report: made from the process list, then
// copied or saved from its view.
#include "report/ReportPage.h"

#include <commdlg.h>

#include <vector>

#include "editor/VellEdit.h"
#include "lists/CommandIds.h"
#include "lists/CopyMessages.h"
#include "report/SafeFileWrite.h"
#include "sysinfo/OsNameWin32.h"
#include "ui/ButtonRow.h"
#include "ui/Clipboard.h"
#include "ui/Controls.h"
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

ReportPage::ReportPage(ProgramState& state, Links links) : state_(state), links_(std::move(links)) {}

ReportPage::~ReportPage() = default;

void ReportPage::Create(HWND owner, ui::Page& page, HFONT font) {
    constexpr int kMargin = ui::kButtonMargin;
    owner_ = owner;
    auto& anchors = page.ChildAnchors();
    RECT size{};
    GetClientRect(page.Hwnd(), &size);
    HWND label = ui::CreateLabel(page.Hwnd(), "「レポート」タブでは、プロセス一覧で取得したレポートの内容を表示します。",
                                 {kMargin, kMargin, size.right - 2 * kMargin, 12}, font);
    anchors.Add(label, ui::AnchorLeft | ui::AnchorTop | ui::AnchorRight);
    sedReportEdit_ = std::make_unique<TVellEdit>();
    TVellEdit& sed = *sedReportEdit_;
    sed.SetFont({.Name = "ＭＳ ゴシック", .Height = -13, .CharSet = SHIFTJIS_CHARSET, .Color = 0});
    sed.SetBorderStyle(TBorderStyle::bsSingle);
    sed.Model().HorzScrollBar = true;
    sed.Model().SetWordWrap(false);
    // Between the label and the buttons, growing with the page.
    constexpr int kEditTop = kMargin + 12 + kMargin / 2;
    sed.Create(page.Hwnd(), kMargin, kEditTop, size.right - 2 * kMargin, size.bottom - kEditTop - ui::kButtonRowSpace,
               cmd::SedReport);
    anchors.Add(sed.Hwnd(), ui::AnchorAll);
    ConnectReportView(&sed);
    ui::AddButtonRow(page.Hwnd(), anchors, font,
                     {{cmd::BtnReportSave, "保存(&S)..."},
                      {cmd::BtnReportClipboard, "Clipboard(&C)"},
                      {cmd::BtnReportExit, "終了(&X)"}});
}

bool ReportPage::OnCommand(int id) {
    switch (id) {
        case cmd::BtnReportClipboard:
            BtnReportClipboardClick();
            return true;
        case cmd::BtnReportSave:
            BtnReportSaveClick();
            return true;
        case cmd::MiFileSystemAudit:
            MiSystemAuditClick();
            return true;
        default:
            return false;
    }
}

LocalDateTime ReportPage::Now() const { return localClock_ ? localClock_() : SystemLocalTime(); }

std::string ReportPage::BuildProcessReport() const {
    const LocalDateTime now = Now();
    const std::string osName = GetOSName();
    const int count = links_.processRowCount();
    std::vector<ProcessReportRow> rows;
    rows.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int row = 0; row < count; ++row) {
        rows.push_back({.name = links_.processCellText(2, row),
                        .id = links_.processCellText(0, row),
                        .priority = links_.processCellText(4, row),
                        .user = links_.processCellText(5, row),
                        .path = links_.processCellText(3, row)});
    }
    return ProcessReportText(now, osName, rows);
}

void ReportPage::BtnProcessSnapShotClick() {
    if (sedReport_ == nullptr) return;
    if (state_.processListRefreshing) {
        ui::ShowMessage(owner_, ui::MessageKind::Warning, kListRefreshing);
        return;
    }
    // Lowered however the report ends, or the refresh timer would stay idle for good.
    struct InProgress {
        bool& flag;
        explicit InProgress(bool& f) : flag(f) { flag = true; }
        ~InProgress() { flag = false; }
    } inProgress(state_.reportInProgress);
    sedReport_->SetText(BuildProcessReport());
    links_.showPage();
}

void ReportPage::BtnReportClipboardClick() {
    if (sedReport_ == nullptr) return;
    // Saying "copied" when the clipboard could not be had would leave the user pasting old contents.
    if (!ui::SetClipboardText(owner_, sedReport_->GetText())) {
        ui::ShowMessage(owner_, ui::MessageKind::Error, kCopyFailedMessage);
        return;
    }
    ui::ShowMessage(owner_, ui::MessageKind::Information, kCopiedMessage);
}

void ReportPage::BtnReportSaveClick() {
    if (sedReport_ == nullptr) return;
    const ui::SaveDialogRequest request{.filter = std::string(kReportFilter, sizeof kReportFilter),
                                        .flags = kReportSaveFlags};
    const std::optional<std::string> path = ui::AskSaveFileName(owner_, request);
    if (!path) return;
    const DWORD error = WriteFileReplacing(*path, sedReport_->GetText());
    if (error != ERROR_SUCCESS) ui::ShowMessage(owner_, ui::MessageKind::Error, SystemErrorText(error));
}

}  // namespace cvt
