// Tab page container.
#include "ui/Page.h"

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

}  // namespace ui
