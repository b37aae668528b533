// A plain container for one tab page. Child controls report to their parent,
// so the page hands their notifications on to the window that handles them.
#pragma once
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

}  // namespace ui
