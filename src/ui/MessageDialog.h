// The program's modal messages. Every one goes through ShowMessage so that a
// test can answer it instead of a person.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// Plain: no caption and no icon; SystemError: no caption, the stop icon.
enum class MessageKind { Warning, Error, Information, Confirmation, Plain, SystemError };

struct MessageRecord {
    MessageKind kind;
    std::string caption;
    std::string text;
    bool yesNo;  // the buttons are Yes and No rather than OK
};

// Returns IDOK for the one-button kinds, IDYES or IDNO for a confirmation.
int ShowMessage(HWND owner, MessageKind kind, const std::string& text);
// A question with Yes and No; it proceeds only on Yes.
[[nodiscard]] bool Confirm(HWND owner, const std::string& text);
// The same with a warning's caption and icon.
[[nodiscard]] bool AskWarning(HWND owner, const std::string& text);

[[nodiscard]] const char* MessageCaption(MessageKind kind) noexcept;

// Tests install a responder; it sees each message and gives the button pressed.
using MessageResponder = std::function<int(const MessageRecord&)>;
void SetMessageResponder(MessageResponder responder);

}  // namespace ui
