// Message boxes with the program's fixed captions.
#include "ui/MessageDialog.h"

#include <utility>

namespace ui {
namespace {

MessageResponder& Responder() {
    static MessageResponder responder;
    return responder;
}

UINT StyleFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning: return MB_OK | MB_ICONWARNING;
        case MessageKind::Error: return MB_OK | MB_ICONERROR;
        case MessageKind::Information: return MB_OK | MB_ICONINFORMATION;
        case MessageKind::Confirmation: return MB_YESNO | MB_ICONQUESTION;
        case MessageKind::Plain: return MB_OK;
    }
    return MB_OK;
}

}  // namespace

const char* MessageCaption(MessageKind kind) noexcept {
    switch (kind) {
        case MessageKind::Warning: return "警告";
        case MessageKind::Error: return "エラー";
        case MessageKind::Information: return "情報";
        case MessageKind::Confirmation: return "確認";
        case MessageKind::Plain: return "";
    }
    return "";
}

int ShowMessage(HWND owner, MessageKind kind, const std::string& text) {
    if (Responder()) return Responder()(MessageRecord{kind, MessageCaption(kind), text});
    return MessageBoxA(owner, text.c_str(), MessageCaption(kind), StyleFor(kind));
}

bool Confirm(HWND owner, const std::string& text) {
    return ShowMessage(owner, MessageKind::Confirmation, text) == IDYES;
}

void SetMessageResponder(MessageResponder responder) { Responder() = std::move(responder); }

}  // namespace ui
