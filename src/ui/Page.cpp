// Tab page container.
#include "ui/Page.h"

#include <commctrl.h>

namespace ui {

bool Page::Create(HWND parent, HWND notifyTarget, RECT bounds) {
    notifyTarget_ = notifyTarget;
    if (!RegisterClassOnce("CvtPage", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    return CreateWindowObject(WS_EX_CONTROLPARENT, "CvtPage", "", WS_CHILD | WS_CLIPCHILDREN, bounds.left,
                              bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr);
}

LRESULT Page::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_CONTEXTMENU:
            return SendMessageA(notifyTarget_, message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            if (forwardColors_) return SendMessageA(notifyTarget_, message, wParam, lParam);
            break;
        case WM_SIZE:
            anchors_.Apply(Hwnd());
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

namespace {

RECT DisplayArea(HWND tab) {
    RECT display{};
    GetClientRect(tab, &display);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return display;
}

}  // namespace

void CreateTabPages(HWND tab, HWND notifyTarget, std::span<Page> pages) {
    const RECT display = DisplayArea(tab);
    for (auto& page : pages) page.Create(tab, notifyTarget, display);
}

void LayoutTabPages(HWND tab, std::span<Page> pages) {
    RECT client{};
    GetClientRect(GetParent(tab), &client);
    SetWindowPos(tab, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT display = DisplayArea(tab);
    for (auto& page : pages)
        SetWindowPos(page.Hwnd(), nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
