// A child process for tests and benchmarks to list and act on: it only waits,
// or with --window shows one window with a small icon and serves its messages
// (--hung: shows it and then stops serving them; --clipboard: keeps the clipboard open).
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    const char* mode = argc >= 2 ? argv[1] : "";
    const bool hung = std::strcmp(mode, "--hung") == 0, holdsClipboard = std::strcmp(mode, "--clipboard") == 0;
    if (std::strcmp(mode, "--window") != 0 && !hung && !holdsClipboard) {
        Sleep(INFINITE);
        return 0;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CvtTestChildWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, argc > 2 ? argv[2] : "cvt test child", WS_OVERLAPPEDWINDOW,
                                  20, 20, 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
    // Its own icon, as Windows programs set it; under Wine no other process can read it.
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_APPLICATION)));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (holdsClipboard) OpenClipboard(window);
    MSG msg;
    if (hung) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(INFINITE);
    }
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
