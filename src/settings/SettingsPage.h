// The Settings page: the refresh rate, the standard task manager registration
// and the Startup shortcut.
#pragma once
#include <windows.h>

#include <functional>

#include "lists/ColumnSettings.h"
#include "lists/ProgramState.h"
#include "ui/Page.h"

namespace cvt {

class SettingsPage {
public:
    // setRefreshInterval: told the milliseconds between refreshes (0: none) each time the rate is set.
    SettingsPage(ProgramState& state, std::function<void(unsigned)> setRefreshInterval);
    SettingsPage(const SettingsPage&) = delete;  // its controls report to one object
    SettingsPage& operator=(const SettingsPage&) = delete;

    // owner: the main window, which receives the commands and owns the message boxes.
    void Create(HWND owner, ui::Page& page, HFONT font);
    // The standard task manager setting exists on the NT family only.
    void InitCommandTags();
    // False when the command is not one of this page's.
    bool OnCommand(int id, int notifyCode);
    // False when the control is not the refresh rate's track bar.
    bool OnHScroll(HWND control);

    // Sets the controls as a user would, so their handlers run.
    void ApplyGeneralOptions(const GeneralOptions& options);
    [[nodiscard]] GeneralOptions Options() const;
    [[nodiscard]] HWND RefreshRateLabel() const noexcept { return lblRefreshRate_; }

    void TrbRefreshRateChange();
    void ChkStandardizationClick();
    void ChkRegisterStartupClick();

private:
    [[nodiscard]] HWND Control(int id) const { return GetDlgItem(page_, id); }

    ProgramState& state_;
    std::function<void(unsigned)> setRefreshInterval_;
    HWND owner_ = nullptr;
    HWND page_ = nullptr;
    HWND lblRefreshRate_ = nullptr;
};

}  // namespace cvt
