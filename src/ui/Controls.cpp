// Child controls: one place for their styles so every window gets the same look.
#include "ui/Controls.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace ui {

HFONT CreatePointFont(const char* face, int points) {
    LOGFONTA lf{};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle,
                 Bounds bounds, int id, HFONT font) {
    HWND hwnd = CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, bounds.x, bounds.y,
                                bounds.width, bounds.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                nullptr);
    if (hwnd != nullptr && font != nullptr) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

HWND CreateButton(HWND parent, int id, const char* caption, Bounds bounds, HFONT font) {
    return CreateChild(parent, "BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, 0, bounds, id, font);
}

HWND CreateCheckBox(HWND parent, int id, const char* caption, Bounds bounds, HFONT font) {
    return CreateChild(parent, "BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, bounds, id, font);
}

HWND CreateGroupBox(HWND parent, const char* caption, Bounds bounds, HFONT font) {
    return CreateChild(parent, "BUTTON", caption, BS_GROUPBOX, 0, bounds, -1, font);
}

HWND CreateLabel(HWND parent, const char* text, Bounds bounds, HFONT font, TextAlign align) {
    const DWORD alignStyle = align == TextAlign::Right ? SS_RIGHT : align == TextAlign::Center ? SS_CENTER : SS_LEFT;
    return CreateChild(parent, "STATIC", text, alignStyle | SS_NOPREFIX, 0, bounds, -1, font);
}

void FitLabelToText(HWND label) {
    char text[1024] = {};
    GetWindowTextA(label, text, sizeof text);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT needed{};
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT rc{};
    GetWindowRect(label, &rc);
    const int width = std::max<int>(rc.right - rc.left, needed.right);
    const int height = std::max<int>(rc.bottom - rc.top, needed.bottom);
    SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateTrackBar(HWND parent, int id, Bounds bounds, const TrackBarRange& range) {
    HWND hwnd = CreateChild(parent, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0,
                            bounds, id, nullptr);
    if (hwnd == nullptr) return nullptr;
    SendMessageA(hwnd, TBM_SETRANGE, FALSE, MAKELPARAM(range.minimum, range.maximum));
    SendMessageA(hwnd, TBM_SETLINESIZE, 0, range.lineSize);
    SendMessageA(hwnd, TBM_SETPAGESIZE, 0, range.pageSize);
    SendMessageA(hwnd, TBM_SETTICFREQ, range.tickFrequency, 0);
    SendMessageA(hwnd, TBM_SETPOS, TRUE, range.position);
    return hwnd;
}

void SetControlTag(HWND control, int tag) noexcept {
    // GWLP_USERDATA of the system's control classes is free for the application.
    SetWindowLongPtrA(control, GWLP_USERDATA, static_cast<LONG_PTR>(tag));
}

int ControlTag(HWND control) noexcept { return static_cast<int>(GetWindowLongPtrA(control, GWLP_USERDATA)); }

bool IsChecked(HWND checkBox) noexcept { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND checkBox, bool checked) noexcept {
    SendMessageA(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace ui
