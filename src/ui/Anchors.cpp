// Anchoring: the edge distances taken at Add are kept on every resize.
#include "ui/Anchors.h"

namespace ui {

void Anchors::Add(HWND child, unsigned anchors) {
    HWND parent = GetParent(child);
    RECT client{}, rc{};
    GetClientRect(parent, &client);
    GetWindowRect(child, &rc);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
    entries_.push_back({child, anchors,
                        {rc.left, rc.top, client.right - rc.right, client.bottom - rc.bottom},
                        rc.right - rc.left, rc.bottom - rc.top});
}

void Anchors::Apply(HWND parent) const {
    RECT client{};
    GetClientRect(parent, &client);
    for (const Entry& e : entries_) {
        int x = e.margins.left, width = e.width;
        if ((e.anchors & AnchorRight) != 0) {
            if ((e.anchors & AnchorLeft) != 0) width = client.right - e.margins.right - x;
            else x = client.right - e.margins.right - width;
        }
        int y = e.margins.top, height = e.height;
        if ((e.anchors & AnchorBottom) != 0) {
            if ((e.anchors & AnchorTop) != 0) height = client.bottom - e.margins.bottom - y;
            else y = client.bottom - e.margins.bottom - height;
        }
        if (width < 0) width = 0;
        if (height < 0) height = 0;
        SetWindowPos(e.child, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace ui
