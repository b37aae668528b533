// Base of our top-level and container windows: one static procedure that
// forwards every message to the object's virtual HandleMessage.
#pragma once
#include <windows.h>

namespace ui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;             // owns a window handle
    Window& operator=(const Window&) = delete;

    [[nodiscard]] HWND Hwnd() const noexcept { return hwnd_; }

protected:
    // Registers the class on first use; returns false when it cannot.
    static bool RegisterClassOnce(const char* className, HICON icon, HBRUSH background, UINT style = 0);
    bool CreateWindowObject(DWORD exStyle, const char* className, const char* caption, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu);

    // Messages not handled fall through to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The last message the window receives; the object may be destroyed here.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace ui
