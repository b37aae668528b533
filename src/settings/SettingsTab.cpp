// The Settings page: refresh rate, standard task manager registration and
// the Startup shortcut.
#include "settings/SettingsPage.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "../../res/resource.h"
#include "base/Handles.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "lists/CommandIds.h"
#include "sysinfo/DebuggerValue.h"
#include "ui/Controls.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

// The key text starts with a backslash: the path is taken from the root key.
std::string TaskManagerKeyPath() {
    std::string path = LoadText(IDS_TASKMGR_IFEO_KEY);
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

SettingsPage::SettingsPage(ProgramState& state, std::function<void(unsigned)> setRefreshInterval)
    : state_(state), setRefreshInterval_(std::move(setRefreshInterval)) {}

void SettingsPage::Create(HWND owner, ui::Page& page, HFONT font) {
    owner_ = owner;
    page_ = page.Hwnd();
    HWND p = page_;
    ui::CreateGroupBox(p, "リストの更新頻度", {8, 8, 289, 57}, font);
    // The group box is drawn behind; its inner controls sit on the page at the group's offset.
    ui::CreateTrackBar(p, cmd::TrbRefreshRate, {8 + 8, 8 + 16, 217, 33},
                       {.minimum = 2, .maximum = 59, .position = 4, .lineSize = 3, .pageSize = 6, .tickFrequency = 3});
    lblRefreshRate_ = ui::CreateLabel(p, "更新なし", {8 + 235, 8 + 16, 44, 12}, font, ui::TextAlign::Right);
    ui::CreateCheckBox(p, cmd::ChkStandardization, " ", {8, 72, 17, 33}, font);
    ui::FitLabelToText(ui::CreateLabel(
        p, "Corvaultを標準タスクマネージャとする\r\n※2000/XPのみの機能です / レジストリを変更します",
        {32, 80, 268, 24}, font));
    HWND startup =
        ui::CreateCheckBox(p, cmd::ChkRegisterStartup, "スタートアップに登録する(この機能は調整中です。)",
                           {8, 120, 297, 17}, font);
    EnableWindow(startup, FALSE);
}

void SettingsPage::InitCommandTags() {
    // The 95/98/Me family has no standard task manager setting.
    EnableWindow(Control(cmd::ChkStandardization), state_.isNTPlatform ? TRUE : FALSE);
}

bool SettingsPage::OnCommand(int id, int notifyCode) {
    if (id == cmd::ChkStandardization) {
        if (notifyCode == BN_CLICKED) ChkStandardizationClick();
        return true;
    }
    if (id == cmd::ChkRegisterStartup) {
        if (notifyCode == BN_CLICKED) ChkRegisterStartupClick();
        return true;
    }
    return false;
}

bool SettingsPage::OnHScroll(HWND control) {
    if (control != Control(cmd::TrbRefreshRate)) return false;
    TrbRefreshRateChange();
    return true;
}

void SettingsPage::ApplyGeneralOptions(const GeneralOptions& options) {
    // Assigning runs the handlers, as a user's change would; the rate's label and
    // timer always follow the assigned position, also when it did not move.
    SendMessageA(Control(cmd::TrbRefreshRate), TBM_SETPOS, TRUE, options.refreshRate);
    TrbRefreshRateChange();
    if (ui::IsChecked(Control(cmd::ChkStandardization)) != options.standardization) {
        ui::SetChecked(Control(cmd::ChkStandardization), options.standardization);
        ChkStandardizationClick();
    }
    if (ui::IsChecked(Control(cmd::ChkRegisterStartup)) != options.registerStartup) {
        ui::SetChecked(Control(cmd::ChkRegisterStartup), options.registerStartup);
        ChkRegisterStartupClick();
    }
}

GeneralOptions SettingsPage::Options() const {
    GeneralOptions options;
    options.refreshRate = static_cast<int>(SendMessageA(Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0));
    options.standardization = ui::IsChecked(Control(cmd::ChkStandardization));
    options.registerStartup = ui::IsChecked(Control(cmd::ChkRegisterStartup));
    return options;
}

void SettingsPage::TrbRefreshRateChange() {
    const int position = static_cast<int>(SendMessageA(Control(cmd::TrbRefreshRate), TBM_GETPOS, 0, 0));
    const unsigned interval = position <= 2 ? 0 : static_cast<unsigned>(position) * 1000;
    SetWindowTextA(lblRefreshRate_, interval == 0 ? "更新なし" : (std::to_string(position) + "秒").c_str());
    setRefreshInterval_(interval);
}

void SettingsPage::ChkStandardizationClick() {
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
            ui::ShowMessage(owner_, ui::MessageKind::Error, RegistryWriteFailedMessage(valueName));
        return;
    }
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return;
    UniqueRegKey key(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        ui::ShowMessage(owner_, ui::MessageKind::Error, RegistryTypeMessage(valueName));
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

void SettingsPage::ChkRegisterStartupClick() {
    LPITEMIDLIST folderId = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner_, CSIDL_STARTUP, &folderId)) || folderId == nullptr) return;
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
