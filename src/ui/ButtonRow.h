// A row of push buttons kept at the bottom right corner of their parent.
#pragma once
#include <windows.h>

#include <initializer_list>

#include "ui/Anchors.h"

namespace ui {

inline constexpr int kButtonMargin = 8;
inline constexpr int kButtonHeight = 25;
// Space a row takes below the control above it: a gap, the buttons, the margin.
inline constexpr int kButtonRowSpace = kButtonMargin + kButtonHeight + kButtonMargin;

struct ButtonDef {
    int id;
    const char* caption;
};

// Left to right; each button is 121 pixels wide but the last, a narrow 75.
void AddButtonRow(HWND parent, Anchors& anchors, HFONT font, std::initializer_list<ButtonDef> buttons);

}  // namespace ui
