// The main window's tab control and its pages, each filled by the class of its page.
#include <windows.h>
#include <commctrl.h>

#include "app/MainForm.h"
#include "lists/ColumnView.h"
#include "lists/CommandIds.h"
#include "ui/ButtonRow.h"
#include "ui/Controls.h"
#include "ui/ListView.h"

namespace cvt {

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
    CreatePages();
    applications_.Create(Hwnd(), pages_[kPageApplications], font_.Get());
    lsv_[1] = applications_.List();
    processes_.Create(Hwnd(), pages_[kPageProcesses], font_.Get());
    lsv_[0] = processes_.List();
    manager_.Create(Hwnd(), pages_[kPageManager], font_.Get());
    lsv_[2] = manager_.List();
    report_.Create(Hwnd(), pages_[kPageReport], font_.Get());
    settings_.Create(Hwnd(), pages_[kPageSettings], font_.Get());
    for (size_t tag = 0; tag < lsv_.size(); ++tag)
        ui::NotifyColumnDragged(lsv_[tag], Hwnd(), kColumnDraggedMessage, tag);
    CreateAccelerators();
    SelectPage(kPageProcesses);
}

void TFrmCVT::CreatePages() {
    RECT display{};
    GetClientRect(pgcOnly_, &display);
    SendMessageA(pgcOnly_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (auto& page : pages_) page.Create(pgcOnly_, Hwnd(), display);
}

void TFrmCVT::LayoutPages() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    SetWindowPos(pgcOnly_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT display{};
    GetClientRect(pgcOnly_, &display);
    SendMessageA(pgcOnly_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (auto& page : pages_)
        SetWindowPos(page.Hwnd(), nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
