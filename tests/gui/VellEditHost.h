// A report editor in a window of its own, driven by real messages, and the pixels its painting leaves.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "GuiTestSupport.h"
#include "editor/VellEdit.h"

namespace cvt::test {

class EditorHost {
public:
    // configure runs before the window exists, as a form sets its properties.
    explicit EditorHost(const std::function<void(TVellEdit&)>& configure = {}) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CvtEditorTestParent";
        RegisterClassA(&wc);  // fails harmlessly for the second host
        // Topmost, so that what the screen shows of it is its own painting.
        parent_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  420, 240, nullptr, nullptr, wc.hInstance, nullptr);
        edit.SetFont({.Name = "ＭＳ ゴシック", .Height = -13, .CharSet = SHIFTJIS_CHARSET, .Color = 0});
        edit.Model().SetWordWrap(false);
        if (configure) configure(edit);
        edit.Create(parent_, 0, 0, 420, 240);
        SetForegroundWindow(parent_);
        SetFocus(edit.Hwnd());
        PumpMessages();
    }
    ~EditorHost() {
        DestroyWindow(parent_);
        PumpMessages();
    }
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    [[nodiscard]] HWND Hwnd() const { return edit.Hwnd(); }
    [[nodiscard]] HWND Parent() const { return parent_; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(Hwnd(), message, wParam, lParam); }

    [[nodiscard]] std::string Text() {
        std::string text(static_cast<size_t>(Send(WM_GETTEXTLENGTH)) + 1, '\0');
        text.resize(static_cast<size_t>(Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    // Row and column as the registered message reports them.
    [[nodiscard]] std::pair<int, int> Caret() {
        const auto packed = static_cast<DWORD>(Send(edit.GetCaretPosMessage()));
        return {HIWORD(packed), LOWORD(packed)};
    }
    void SetSel(int anchorRow, int anchorCol, int caretRow, int caretCol) {
        Send(EM_SETSEL, MAKELONG(anchorCol, anchorRow), MAKELONG(caretCol, caretRow));
    }
    // Ctrl and Shift as the thread's keyboard state says, for what the editor reads with GetKeyState.
    static void Hold(bool ctrl, bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void Key(int vk, bool ctrl = false, bool shift = false) {
        Hold(ctrl, shift);
        Send(WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        Send(WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
        Hold(false, false);
    }
    // Each byte a queued WM_CHAR, as the keyboard and a double-byte system deliver them.
    void Type(const std::string& bytes) {
        for (const char c : bytes) PostMessageA(Hwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
        PumpMessages();
    }
    // Client point in the middle of the height of a row, at a column's left edge.
    [[nodiscard]] POINT PointOf(int row, int col) const {
        const TVellLayout& layout = edit.Model().Layout();
        return {layout.TextLeft() + layout.ColumnX(edit.Lines().Row(row), col) - edit.Model().HScrollPos(),
                layout.RowY(row, edit.Model().TopRow()) + layout.CharHeight() / 2};
    }
    void Mouse(UINT message, POINT at, WPARAM keys = 0) { Send(message, keys, MAKELPARAM(at.x, at.y)); }

    TVellEdit edit;

private:
    HWND parent_ = nullptr;
};

// Pixels of a client area as COLORREF values.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    [[nodiscard]] COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    [[nodiscard]] int Count(RECT area, COLORREF colour) const {
        int count = 0;
        for (int y = std::max<int>(0, area.top); y < std::min<int>(height, area.bottom); ++y)
            for (int x = std::max<int>(0, area.left); x < std::min<int>(width, area.right); ++x)
                count += At(x, y) == colour ? 1 : 0;
        return count;
    }
};

// draw paints the client area into the DC it is given.
inline Picture Capture(HWND hwnd, const std::function<void(HDC, int, int)>& draw) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Picture picture{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory, picture.width, picture.height);
    GdiFlush();
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const DWORD p = static_cast<const DWORD*>(bits)[i];
        picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

// The client area as one full paint draws it.
inline Picture Render(HWND hwnd) {
    return Capture(hwnd, [hwnd](HDC dc, int, int) { SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
}

// Whether some other window covers part of the client area.
inline bool Covered(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    for (int y = 1; y < client.bottom; y += client.bottom / 4)
        for (int x = 1; x < client.right; x += client.right / 4) {
            POINT at{x, y};
            ClientToScreen(hwnd, &at);
            if (WindowFromPoint(at) != hwnd) return true;
        }
    return false;
}

// The client area as the screen shows it, without the caret.
inline Picture Screen(HWND hwnd) {
    // A window of another test run on the same desktop would be in the picture.
    for (int attempt = 0; attempt < 20 && Covered(hwnd); ++attempt) {
        SetWindowPos(GetAncestor(hwnd, GA_ROOT), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PumpMessages(50);
    }
    UpdateWindow(hwnd);
    HideCaret(hwnd);
    Picture picture = Capture(hwnd, [hwnd](HDC dc, int width, int height) {
        HDC screen = GetDC(hwnd);
        BitBlt(dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, screen);
    });
    ShowCaret(hwnd);
    return picture;
}

}  // namespace cvt::test
