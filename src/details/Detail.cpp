// Detail window: layout, opening, placement, and the folder command.
#include "details/Detail.h"

#include <commctrl.h>

#include "base/AppPath.h"
#include "base/Ini.h"
#include "details/DetailText.h"
#include "details/VersionInfo.h"
#include "lists/CopyMessages.h"
#include "ui/ButtonRow.h"
#include "ui/Clipboard.h"
#include "ui/Controls.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr char kClassName[] = "TFrmDetail";
enum : int { kBtnOpenFolder = 100, kBtnHideDetail, kGrid, kTab, kBtnCopyHashes = 1300, kBtnLookUpHash };
constexpr int kMargin = 8;
constexpr UINT_PTR kHashTimer = 1300;
// A step reads for this long, then the message loop runs again: even a large file
// never holds the window for more than about a step and one chunk.
constexpr DWORD kHashStepMilliseconds = 30;
constexpr UINT kHashTimerMilliseconds = 10;

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

}  // namespace

TFrmDetail::TFrmDetail(std::string cvtIniPath, const ProcessDangerDb& dangerDb)
    : cvtIniPath_(std::move(cvtIniPath)), dangerDb_(dangerDb) {}

bool TFrmDetail::Create(HWND owner) {
    if (!RegisterClassOnce(kClassName, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    if (!CreateWindowObject(WS_EX_CONTROLPARENT, kClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 362, 245,
                            640, 479, owner, nullptr))
        return false;
    CreateControls();
    return true;
}

void TFrmDetail::CreateControls() {
    font_.Reset(ui::CreatePointFont("ＭＳ Ｐゴシック", 9));
    HFONT font = font_.Get();
    RECT client{};
    GetClientRect(Hwnd(), &client);
    tab_ = ui::CreateChild(Hwnd(), WC_TABCONTROLA, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                           {4, 4, client.right - 8, client.bottom - 4 - ui::kButtonRowSpace + 4}, kTab, font);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("全般");
    SendMessageA(tab_, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    anchors_.Add(tab_, ui::AnchorAll);
    ui::AddButtonRow(Hwnd(), anchors_, font,
                     {{kBtnCopyHashes, "ハッシュのコピー(&H)"},
                      {kBtnLookUpHash, "オンラインで確認(&V)..."},
                      {kBtnOpenFolder, "フォルダを開く(&O)"},
                      {kBtnHideDetail, "閉じる(&C)"}});
    btnOpenFolder_ = GetDlgItem(Hwnd(), kBtnOpenFolder);
    btnCopyHashes_ = GetDlgItem(Hwnd(), kBtnCopyHashes);
    btnLookUpHash_ = GetDlgItem(Hwnd(), kBtnLookUpHash);

    RECT display{};
    GetClientRect(tab_, &display);
    SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    page_.Create(tab_, Hwnd(), display);
    page_.ForwardLabelColors();
    ShowWindow(page_.Hwnd(), SW_SHOW);
    HWND page = page_.Hwnd();
    auto& anchors = page_.ChildAnchors();
    const int width = display.right - display.left, height = display.bottom - display.top;

    ui::CreateLabel(page, "CVTプロセス情報", {kMargin, kMargin, 200, 12}, font);
    anchors.Add(lblPdb_.Create(page, {16, 24, width - 16 - 112, 49}, font),
                ui::AnchorLeft | ui::AnchorTop | ui::AnchorRight);
    HWND iconHeading = ui::CreateLabel(page, "アイコン", {width - 96, kMargin, 80, 12}, font);
    anchors.Add(iconHeading, ui::AnchorTop | ui::AnchorRight);
    imgLarge_ = ui::CreateChild(page, "STATIC", "", SS_ICON | SS_REALSIZEIMAGE, 0, {width - 92, 28, 32, 32}, -1, nullptr);
    imgSmall_ = ui::CreateChild(page, "STATIC", "", SS_ICON | SS_REALSIZEIMAGE, 0, {width - 48, 36, 16, 16}, -1, nullptr);
    anchors.Add(imgLarge_, ui::AnchorTop | ui::AnchorRight);
    anchors.Add(imgSmall_, ui::AnchorTop | ui::AnchorRight);
    ui::CreateLabel(page, "詳細情報", {kMargin, 82, 200, 12}, font);
    grid_.Create(page, kGrid, {kMargin, 98, width - 2 * kMargin, height - 98 - kMargin}, font, "項目", 110, "内容", 444);
    anchors.Add(grid_.Hwnd(), ui::AnchorAll);
    static const char* const kKeys[] = {
        "ファイル名", "ファイルの種類", "説明", "フルパス", "親パス", "サイズ", "作成日時", "更新日時",
        "アクセス日時", "属性", "正式ファイル名", "製品名", "内部名", "ファイルバージョン", "製品バージョン",
        "ｽﾍﾟｼｬﾙ ﾋﾞﾙﾄﾞ情報", "ﾌﾟﾗｲﾍﾞｰﾄ ﾋﾞﾙﾄﾞ情報", "コメント", "著作権", "会社名", "商標", "言語", "互換:OS",
        "互換:ﾃﾞｨｽﾌﾟﾚｲ設定", "互換:入力設定"};
    for (const char* key : kKeys) grid_.AddRow(key, "");
    // After every other row: found by their own index, whatever comes before them.
    firstHashRow_ = grid_.RowCount();
    for (const char* key : {"MD5", "SHA-1", "SHA-256"}) grid_.AddRow(key, "");
    grid_.FitKeyColumn();
    fileRowCount_ = grid_.RowCount();
}

void TFrmDetail::ShowDetailForProcess(const std::string& imageName, const std::string& fullPath,
                                      const std::vector<std::pair<std::string, std::string>>& extraRows) {
    extraRows_ = extraRows;
    Open(imageName, fullPath);
}

void TFrmDetail::ShowDetailForFile(const std::string& fullPath) {
    extraRows_.clear();
    Open(std::string(FileNamePart(fullPath, IsLeadByteOfAnsiCodePage)), fullPath);
}

void TFrmDetail::Open(const std::string& imageName, const std::string& fullPath) {
    imageName_ = imageName;
    fullPath_ = fullPath;
    SetWindowTextA(Hwnd(), ("[ " + imageName_ + " ] の詳細").c_str());
    FillDetail();
    // The rows of the previous subject go; the file's own rows are refilled above.
    grid_.RemoveRowsFrom(fileRowCount_);
    for (const auto& [key, value] : extraRows_) grid_.AddRow(key, value);
    lblPdb_.ShowPdbInfo(dangerDb_, imageName_);
    // Already visible: refilled in place, without reading the placement again.
    if (!IsWindowVisible(Hwnd())) FormShow();
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
}

void TFrmDetail::FillDetail() {
    TVersionInfo info;
    info.SetFileName(fullPath_);
    const std::array<std::string, 3> compat = CompatibilityTexts(info.CompatLayers());
    const std::string values[] = {imageName_,
                                  info.TypeName(),
                                  info.FileDescription(),
                                  fullPath_,
                                  std::string(FolderPart(fullPath_, IsLeadByteOfAnsiCodePage)),
                                  info.SizeText(),
                                  info.CreationTime(),
                                  info.LastWriteTime(),
                                  info.LastAccessTime(),
                                  TVersionInfo::FormatAttributes(info.Attributes()),
                                  info.OriginalFilename(),
                                  info.ProductName(),
                                  info.InternalName(),
                                  info.FileVersion(),
                                  info.ProductVersion(),
                                  info.SpecialBuild(),
                                  info.PrivateBuild(),
                                  info.Comments(),
                                  info.LegalCopyright(),
                                  info.CompanyName(),
                                  info.LegalTrademarks(),
                                  info.Language(),
                                  compat[0],
                                  compat[1],
                                  compat[2]};
    for (int row = 0; row < static_cast<int>(std::size(values)); ++row) grid_.SetValue(row, values[row]);

    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(fullPath_.c_str(), &found);
    EnableWindow(btnOpenFolder_, find != INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);

    // The image controls show the icons; this window keeps them alive until the next fill.
    largeIcon_ = info.TakeLargeIcon();
    smallIcon_ = info.TakeSmallIcon();
    SendMessageA(imgLarge_, STM_SETICON, reinterpret_cast<WPARAM>(largeIcon_.Get()), 0);
    SendMessageA(imgSmall_, STM_SETICON, reinterpret_cast<WPARAM>(smallIcon_.Get()), 0);
    StartHashing();
}

void TFrmDetail::StartHashing() {
    hasher_ = std::make_unique<FileHasher>(fullPath_);
    ShowHashRows();
    SetTimer(Hwnd(), kHashTimer, kHashTimerMilliseconds, nullptr);
}

void TFrmDetail::StopHashing() {
    KillTimer(Hwnd(), kHashTimer);
    hasher_.reset();
}

void TFrmDetail::HashTimerTick() {
    if (!hasher_) return;
    if (hasher_->Step(kHashStepMilliseconds) != HashOutcome::Running) KillTimer(Hwnd(), kHashTimer);
    ShowHashRows();
}

void TFrmDetail::ShowHashRows() {
    const HashOutcome outcome = hasher_->Outcome();
    const FileHashes& hashes = hasher_->Hashes();
    const std::string* hexes[] = {&hashes.md5, &hashes.sha1, &hashes.sha256};
    for (int i = 0; i < 3; ++i) grid_.SetValue(firstHashRow_ + i, HashRowText(outcome, hasher_->Percent(), *hexes[i]));
    const bool done = outcome == HashOutcome::Done;
    EnableWindow(btnCopyHashes_, done);
    EnableWindow(btnLookUpHash_, done && !VirusTotalUrl(hashes.sha256).empty());
}

void TFrmDetail::BtnCopyHashesClick() {
    if (!hasher_ || hasher_->Outcome() != HashOutcome::Done) return;
    if (!ui::SetClipboardText(Hwnd(), HashesClipboardText(hasher_->Hashes()))) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, kCopyFailedMessage);
        return;
    }
    ui::ShowMessage(Hwnd(), ui::MessageKind::Information, kCopiedMessage);
}

void TFrmDetail::BtnLookUpHashClick() {
    if (!hasher_ || hasher_->Outcome() != HashOutcome::Done) return;
    const std::string url = VirusTotalUrl(hasher_->Hashes().sha256);
    if (url.empty() || !ui::Confirm(Hwnd(), LookUpQuestion(url))) return;
    if (shellExecute_(Hwnd(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL) <= 32)
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, "ブラウザを開けませんでした。");
}

void TFrmDetail::FormShow() {
    WINDOWPLACEMENT placement{};
    if (ReadIniStruct(cvtIniPath_, "Window", "SubPlacement", &placement, sizeof placement) &&
        placement.length == sizeof placement) {
        // A placement stored while minimised or hidden would keep the window out of sight.
        if (placement.showCmd != SW_SHOWMAXIMIZED) placement.showCmd = SW_SHOWNORMAL;
        SetWindowPlacement(Hwnd(), &placement);
    }
}

void TFrmDetail::FormHide() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(Hwnd(), &placement))
        WriteIniStruct(cvtIniPath_, "Window", "SubPlacement", &placement, sizeof placement);
}

void TFrmDetail::BtnHideDetailClick() {
    // Hidden, the window has nobody to show hashes to; the next opening starts again.
    StopHashing();
    if (!IsWindowVisible(Hwnd())) return;
    FormHide();
    ShowWindow(Hwnd(), SW_HIDE);
}

void TFrmDetail::BtnOpenFolderClick() {
    const std::string folder(FolderPart(fullPath_, IsLeadByteOfAnsiCodePage));
    const std::string parameters = "/n,/e," + folder + ",/select," + fullPath_;
    shellExecute_(GetDesktopWindow(), "open", "Explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

LRESULT TFrmDetail::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (tab_ != nullptr) {
                anchors_.Apply(Hwnd());
                RECT display{};
                GetClientRect(tab_, &display);
                SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
                SetWindowPos(page_.Hwnd(), nullptr, display.left, display.top, display.right - display.left,
                             display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kBtnOpenFolder) BtnOpenFolderClick();
            else if (LOWORD(wParam) == kBtnCopyHashes) BtnCopyHashesClick();
            else if (LOWORD(wParam) == kBtnLookUpHash) BtnLookUpHashClick();
            else if (LOWORD(wParam) == kBtnHideDetail || LOWORD(wParam) == IDCANCEL) BtnHideDetailClick();
            return 0;
        case WM_TIMER:
            if (wParam == kHashTimer) HashTimerTick();
            return 0;
        case WM_NOTIFY:
            grid_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = lblPdb_.OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_CLOSE:
            // Closing only hides: the window is reused for the next detail.
            BtnHideDetailClick();
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace cvt
