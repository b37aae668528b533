// Plain text on the clipboard, in the ANSI code page.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

// Replaces the clipboard's contents; false when the clipboard could not be had.
bool SetClipboardText(HWND owner, const std::string& text);
[[nodiscard]] std::string ClipboardText(HWND owner);

}  // namespace ui
