// The input method functions the editor uses, looked up at run time: a Windows 95 or NT 4
// without East Asian support has no imm32.dll, or one without them, and the program must still start.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace cvt::ime {

// The composition window at a client point of window, in the given font. Nothing without an IME.
void PlaceCompositionWindow(HWND window, const LOGFONTA& font, POINT point);
// The result string of the composition now ending; nothing when there is none.
[[nodiscard]] std::optional<std::string> ResultString(HWND window);
// Ends a composition in progress as if the user had confirmed it.
void CompleteComposition(HWND window);

}  // namespace cvt::ime
