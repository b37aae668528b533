// The system's save-file dialog. Every one goes through AskSaveFileName so that
// a test can answer it instead of a person.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace ui {

struct SaveDialogRequest {
    // Pairs of a description and its patterns, each ended by a NUL; the list ends with one more.
    std::string filter;
    DWORD flags = 0;  // OFN_ options
};

// The full path chosen, or nothing when the user cancelled.
[[nodiscard]] std::optional<std::string> AskSaveFileName(HWND owner, const SaveDialogRequest& request);

// Tests install a responder; it sees each request and gives the path chosen.
using SaveDialogResponder = std::function<std::optional<std::string>(const SaveDialogRequest&)>;
void SetSaveDialogResponder(SaveDialogResponder responder);

}  // namespace ui
