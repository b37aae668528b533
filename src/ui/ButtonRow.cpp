// Bottom-right button rows.
#include "ui/ButtonRow.h"

#include <iterator>

#include "ui/Controls.h"

namespace ui {
namespace {
constexpr int kButtonWidth = 121;
constexpr int kLastButtonWidth = 75;
constexpr int kButtonGap = 6;
}  // namespace

void AddButtonRow(HWND parent, Anchors& anchors, HFONT font, std::initializer_list<ButtonDef> buttons) {
    RECT client{};
    GetClientRect(parent, &client);
    int right = client.right - kButtonMargin;
    const int y = client.bottom - kButtonMargin - kButtonHeight;
    bool last = true;
    for (auto it = std::rbegin(buttons); it != std::rend(buttons); ++it) {
        const int width = last ? kLastButtonWidth : kButtonWidth;
        HWND button = CreateButton(parent, it->id, it->caption, {right - width, y, width, kButtonHeight}, font);
        anchors.Add(button, AnchorBottomRight);
        right -= width + kButtonGap;
        last = false;
    }
}

}  // namespace ui
