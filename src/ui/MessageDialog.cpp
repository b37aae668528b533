// Message boxes with the program's fixed captions.
#include "ui/MessageDialog.h"

#include <utility>

namespace ui {
namespace {

MessageResponder& Responder() {
    static MessageResponder responder;
    return responder;
}

UINT IconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning: return MB_ICONWARNING;
        case MessageKind::Error: return MB_ICONERROR;
        case MessageKind::Information: return MB_ICONINFORMATION;
        case MessageKind::Confirmation: return MB_ICONQUESTION;
        case MessageKind::Plain: return 0;
        case MessageKind::SystemError: return MB_ICONHAND;
    }
    return 0;
}

int Show(HWND owner, MessageKind kind, const std::string& text, bool yesNo) {
    if (Responder()) return Responder()(MessageRecord{kind, MessageCaption(kind), text, yesNo});
    return MessageBoxA(owner, text.c_str(), MessageCaption(kind), IconFor(kind) | (yesNo ? MB_YESNO : MB_OK));
}

}  // namespace

const char* MessageCaption(MessageKind kind) noexcept {
    switch (kind) {
        case MessageKind::Warning: return "警告";
        case MessageKind::Error: return "エラー";
        case MessageKind::Information: return "情報";
        case MessageKind::Confirmation: return "確認";
        case MessageKind::Plain:
        case MessageKind::SystemError: return "";
    }
    return "";
}

int ShowMessage(HWND owner, MessageKind kind, const std::string& text) {
    return Show(owner, kind, text, kind == MessageKind::Confirmation);
}

bool Confirm(HWND owner, const std::string& text) { return Show(owner, MessageKind::Confirmation, text, true) == IDYES; }

bool AskWarning(HWND owner, const std::string& text) { return Show(owner, MessageKind::Warning, text, true) == IDYES; }

void SetMessageResponder(MessageResponder responder) { Responder() = std::move(responder); }

}  // namespace ui
