// The main window and what it holds itself: the tab control with its pages, each
// filled by the class of its page, the main menu and the keyboard shortcuts.
#include <windows.h>
#include <commctrl.h>

#include "../../res/resource.h"
#include "app/MainForm.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

namespace cvt {
namespace {

constexpr char kClassName[] = "TFrmCVT";
constexpr char kCaption[] = "Corvault Ver 1.01";

HMENU CreateMainMenu() {
    HMENU bar = CreateMenu();
    HMENU file = ui::AppendSubmenu(bar, {.caption = "ファイル(&F)"});
    ui::AppendMenuItem(file, {.id = cmd::MiFileNewTask, .caption = "新しいタスクの実行(&N)..."});
    ui::AppendMenuItem(file, {.id = cmd::MiFileSystemAudit, .caption = "システム監査(&A)"});
    ui::AppendMenuSeparator(file);
    ui::AppendMenuItem(file, {.id = cmd::MiFileExit, .caption = "Corvaultの終了(&X)"});
    HMENU refresh = ui::AppendSubmenu(bar, {.caption = "更新(&R)"});
    ui::AppendMenuItem(refresh, {.id = cmd::MiRefreshApp, .caption = "アプリケーションの更新(&A)", .shortcut = "F5"});
    ui::AppendMenuItem(refresh, {.id = cmd::MiRefreshProcess, .caption = "プロセスの更新(&P)", .shortcut = "F6"});
    HMENU help = ui::AppendSubmenu(bar, {.caption = "ヘルプ(&H)"});
    ui::AppendMenuItem(help, {.id = cmd::MiHelpURLDevelop, .caption = "開発元ホームページ(&D)..."});
    ui::AppendMenuSeparator(help);
    ui::AppendMenuItem(help, {.id = cmd::MiHelpAbout, .caption = "バージョン情報(&A)..."});
    return bar;
}

}  // namespace

bool TFrmCVT::Create() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CVT));
    if (!RegisterClassOnce(kClassName, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    HMENU menu = CreateMainMenu();
    if (!CreateWindowObject(WS_EX_CONTROLPARENT, kClassName, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 197,
                            118, 682, 483, nullptr, menu)) {
        DestroyMenu(menu);
        return false;
    }
    FormCreate();
    return true;
}

void TFrmCVT::CreateControls() {
    font_.Reset(ui::CreatePointFont("ＭＳ Ｐゴシック", 9));

    RECT client{};
    GetClientRect(Hwnd(), &client);
    pgcOnly_ = ui::CreateChild(Hwnd(), WC_TABCONTROLA, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                               WS_EX_CONTROLPARENT, {0, 0, client.right, client.bottom}, cmd::PgcOnly, font_.Get());
    // Tab items in page order; the Manager page gets none.
    static const char* const kTabCaptions[] = {"アプリケーション", "プロセス", "レポート", "設定"};
    for (int i = 0; i < 4; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabCaptions[i]);
        SendMessageA(pgcOnly_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    ui::CreateTabPages(pgcOnly_, Hwnd(), pages_);
    applications_.Create(Hwnd(), pages_[kPageApplications], font_.Get());
    processes_.Create(Hwnd(), pages_[kPageProcesses], font_.Get());
    manager_.Create(Hwnd(), pages_[kPageManager], font_.Get());
    report_.Create(Hwnd(), pages_[kPageReport], font_.Get());
    settings_.Create(Hwnd(), pages_[kPageSettings], font_.Get());
    for (int tag = 0; tag < kListCount; ++tag)
        ui::NotifyColumnDragged(ListView(tag), Hwnd(), kColumnDraggedMessage, static_cast<WPARAM>(tag));
    mainAccel_ = ui::CreateAccelerators({{FVIRTKEY, VK_F5, cmd::MiRefreshApp}, {FVIRTKEY, VK_F6, cmd::MiRefreshProcess}});
    processAccel_ = ui::CreateAccelerators({{FVIRTKEY | FCONTROL, 'D', cmd::MiProcessDetail},
                                            {FVIRTKEY | FCONTROL, 'N', cmd::MiProcessPrioNormal},
                                            {FVIRTKEY | FCONTROL, 'Q', cmd::MiProcessExit},
                                            {FVIRTKEY | FCONTROL, 'F', cmd::MiProcessOpenFolder},
                                            {FVIRTKEY | FCONTROL, 'C', cmd::MiProcessCopyAll}});
    SelectPage(kPageProcesses);
}

bool TFrmCVT::TranslateShortcut(MSG& msg) {
    if (processAccel_ && GetFocus() == processes_.List() && TranslateAcceleratorA(Hwnd(), processAccel_.Get(), &msg))
        return true;
    return mainAccel_ && TranslateAcceleratorA(Hwnd(), mainAccel_.Get(), &msg) != 0;
}

HWND TFrmCVT::ListView(int tag) const noexcept {
    return tag == 0 ? processes_.List() : tag == 1 ? applications_.List() : manager_.List();
}

HWND TFrmCVT::Control(int id) const {
    for (const auto& page : pages_) {
        if (HWND hwnd = GetDlgItem(page.Hwnd(), id)) return hwnd;
    }
    return nullptr;
}

int TFrmCVT::ActivePage() const {
    for (int i = 0; i < kPageCount; ++i) {
        if (IsWindowVisible(pages_[static_cast<size_t>(i)].Hwnd())) return i;
    }
    return -1;
}

void TFrmCVT::SelectPage(int page) {
    // Tab items skip the hidden Manager page.
    const int tabItem = page < kPageManager ? page : page - 1;
    if (page != kPageManager) SendMessageA(pgcOnly_, TCM_SETCURSEL, tabItem, 0);
    for (int i = 0; i < kPageCount; ++i)
        ShowWindow(pages_[static_cast<size_t>(i)].Hwnd(), i == page ? SW_SHOW : SW_HIDE);
}

}  // namespace cvt
