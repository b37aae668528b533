// The dialog that adds a schedule entry. Created once, hidden, and shown
// without blocking the main window; its controls keep their contents between uses.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/Handles.h"
#include "schedule/ScheduleStore.h"
#include "ui/Window.h"

namespace cvt {

// Control ids of the dialog, in tab order.
namespace mgr {
enum : int {
    EdtImagePath = 100,
    EdtImageName,
    BtnSelect,
    CmbOperation,
    CmbPriority,
    DtpTimeDate,
    RdbSelectTime,
    RdbSelectInterval,
    EdtIntervalDay,
    EdtIntervalHour,
    EdtIntervalMinute,
    EdtIntervalSecond,
    BtnAddSchedule,
    BtnDontAddSchedule,
    DtpTimeTime,
    RdbOptEveryday,
    RdbOptNone,
    RdbOptRepeat,
};
}  // namespace mgr

// The local date and time as days since 30 December 1899.
[[nodiscard]] double DateTimeOf(const SYSTEMTIME& time) noexcept;
[[nodiscard]] double CurrentDateTime() noexcept;

class TFrmManager final : public ui::Window {
public:
    // schedules outlives the dialog; onAdded runs after each entry has been appended.
    TFrmManager(MgrScheduleList& schedules, std::function<void()> onAdded);
    ~TFrmManager() override;

    bool Create(HWND owner);
    // priorityClass: a Windows priority class, or 0 when the process's is unknown.
    void ShowMgrDialog(uint32_t priorityClass, const std::string& imageName, const std::string& imagePath);
    void BtnAddScheduleClick();
    void BtnDontAddScheduleClick();

    [[nodiscard]] HWND Control(int id) const noexcept { return GetDlgItem(Hwnd(), id); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    [[nodiscard]] int32_t SelectedOperation() const;
    [[nodiscard]] double ChosenDateTime() const;

    MgrScheduleList& schedules_;
    std::function<void()> onAdded_;
    UniqueFont font_;
    HIMAGELIST selectGlyph_ = nullptr;  // shown by BtnSelect; freed after the window
    HWND lastFocus_ = nullptr;          // the control that had the focus when the dialog was left
};

}  // namespace cvt
