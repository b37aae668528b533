// The Settings page: refresh timer, standard task manager registration and
// the Startup shortcut.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "../../res/resource.h"
#include "app/DebuggerValue.h"
#include "app/MainForm.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr UINT_PTR kRefreshTimerId = 1;

// The key text starts with a backslash: the path is taken from the root key.
std::string TaskManagerKeyPath() {
    std::string path = LoadText(IDS_TASKMGR_IFEO_KEY);
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void TFrmCVT::TrbRefreshRateChange() {
    const int position = static_cast<int>(SendMessageA(Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0));
    const unsigned interval = position <= 2 ? 0 : static_cast<unsigned>(position) * 1000;
    SetWindowTextA(lblRefreshRate_, interval == 0 ? "更新なし" : (std::to_string(position) + "秒").c_str());
    // Each SetTimer starts the countdown afresh and the track bar notifies on every drag
    // step: only a new interval restarts it, or moving the thumb would put off every refresh.
    if (interval == refreshInterval_) return;
    refreshInterval_ = interval;
    if (interval == 0) KillTimer(Hwnd(), kRefreshTimerId);
    else SetTimer(Hwnd(), kRefreshTimerId, interval, nullptr);
}

void TFrmCVT::RefreshTimerTimer() {
    // The flag covers the refresh only: a box it shows must not have the lists rebuilt
    // under it, while a box that a command dispatched below opens lets the ticks refresh.
    if (tickInProgress_ || state_.reportInProgress) return;
    tickInProgress_ = true;
    {
        // Lowered however the refresh ends, or the timer would stay idle for good.
        struct Lowered {
            bool& flag;
            ~Lowered() { flag = false; }
        } lowered{tickInProgress_};
        processes_.RefreshProcessList();
        applications_.RefreshAppList();
        manager_.RefreshMgrList();
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
            break;
        }
        // A tick that fell due meanwhile is spent: run here, ticks slower than the
        // interval would nest without end.
        if (msg.message == WM_TIMER && msg.hwnd == Hwnd() && msg.wParam == kRefreshTimerId) continue;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    tickInProgress_ = false;
}

void TFrmCVT::ChkStandardizationClick() {
    if (!state_.isNTPlatform) return;
    const std::string keyPath = TaskManagerKeyPath();
    const std::string valueName = LoadText(IDS_DEBUGGER_VALUE);
    if (ui::IsChecked(Control(cmd::ChkStandardization))) {
        HKEY raw = nullptr;
        LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &raw, nullptr);
        UniqueRegKey key(raw);
        if (result == ERROR_SUCCESS) {
            const std::string command = DebuggerCommand(state_.appDir);
            result = RegSetValueExA(key.Get(), valueName.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(command.c_str()),
                                    static_cast<DWORD>(command.size()) + 1);
        }
        if (result != ERROR_SUCCESS)
            ui::ShowMessage(Hwnd(), ui::MessageKind::Error, RegistryWriteFailedMessage(valueName));
        return;
    }
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return;
    UniqueRegKey key(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, RegistryTypeMessage(valueName));
        return;
    }
    std::string value(size, '\0');
    if (size == 0 ||
        RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
            ERROR_SUCCESS)
        return;
    value.resize(strnlen(value.c_str(), value.size()));
    // Another program's registration is not ours to remove.
    if (!value.empty() && NamesCorvault(value)) RegDeleteValueA(key.Get(), valueName.c_str());
}

void TFrmCVT::ChkRegisterStartupClick() {
    LPITEMIDLIST folderId = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(Hwnd(), CSIDL_STARTUP, &folderId)) || folderId == nullptr) return;
    char folder[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListA(folderId, folder);
    CoTaskMemFree(folderId);
    if (!found || folder[0] == '\0') return;
    std::string shortcut = folder;
    if (shortcut.back() != '\\') shortcut += '\\';
    shortcut += LoadText(IDS_STARTUP_LINK);
    const bool exists = FileExists(shortcut);

    if (ui::IsChecked(Control(cmd::ChkRegisterStartup)) && !exists) {
        using CreateShortcutFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR);
        // By full path from the program folder, never through the search order.
        UniqueLibrary library(LoadLibraryA((state_.appDir + "Shortcut.dll").c_str()));
        if (auto create = LookUpFunction<CreateShortcutFn>(library.Get(), "CreateShortcut"))
            create(shortcut.c_str(), (state_.appDir + "cvt.exe").c_str(), LoadText(IDS_APP_DESCRIPTION).c_str());
    } else if (!ui::IsChecked(Control(cmd::ChkRegisterStartup)) && exists) {
        DeleteFileA(shortcut.c_str());
    }
}

}  // namespace cvt
