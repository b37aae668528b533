// Clipboard text through CF_TEXT; the system makes the Unicode form from it.
#include "ui/Clipboard.h"

#include <cstring>

namespace ui {
namespace {

// Another program may hold the clipboard for a moment.
bool OpenClipboardWithRetry(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

bool SetClipboardText(HWND owner, const std::string& text) {
    if (!OpenClipboardWithRetry(owner)) return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!placed) GlobalFree(memory);  // the clipboard owns it only once placed
    }
    CloseClipboard();
    return placed;
}

std::string ClipboardText(HWND owner) {
    if (!OpenClipboardWithRetry(owner)) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text.assign(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace ui
