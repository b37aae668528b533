// A plain container for one tab page. Child controls report to their parent,
// so the page hands their notifications on to the window that handles them.
#pragma once
#include <span>

#include "ui/Anchors.h"
#include "ui/Window.h"

namespace ui {

class Page : public Window {
public:
    bool Create(HWND parent, HWND notifyTarget, RECT bounds);
    [[nodiscard]] Anchors& ChildAnchors() noexcept { return anchors_; }
    // Hands WM_CTLCOLORSTATIC on too, for a target that colours its labels.
    void ForwardLabelColors() noexcept { forwardColors_ = true; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND notifyTarget_ = nullptr;
    Anchors anchors_;
    bool forwardColors_ = false;
};

// The pages of a tab control fill its display area; the tab control fills its parent.
void CreateTabPages(HWND tab, HWND notifyTarget, std::span<Page> pages);
void LayoutTabPages(HWND tab, std::span<Page> pages);

}  // namespace ui
