// The save-file dialog of the common dialog library.
#include "ui/SaveDialog.h"

#include <commdlg.h>

#include <utility>

namespace ui {
namespace {

SaveDialogResponder& Responder() {
    static SaveDialogResponder responder;
    return responder;
}

}  // namespace

std::optional<std::string> AskSaveFileName(HWND owner, const SaveDialogRequest& request) {
    if (Responder()) return Responder()(request);
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = request.filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = request.flags;
    if (GetSaveFileNameA(&dialog)) return std::string(path);
    // 95, 98 and NT 4 know only the shorter record (without the places bar of 2000 and later).
    if (CommDlgExtendedError() != CDERR_STRUCTSIZE) return std::nullopt;  // cancelled, or no dialog
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    if (GetSaveFileNameA(&dialog)) return std::string(path);
    return std::nullopt;
}

void SetSaveDialogResponder(SaveDialogResponder responder) { Responder() = std::move(responder); }

}  // namespace ui
