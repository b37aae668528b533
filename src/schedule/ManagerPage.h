// The Manager page: the schedule entries kept for the whole run, their list on
// the page that has no tab, its buttons, and the dialog that adds entries.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "schedule/ScheduleStore.h"
#include "ui/Page.h"

namespace cvt {

class TFrmManager;

class ManagerPage {
public:
    ManagerPage();
    ~ManagerPage();
    ManagerPage(const ManagerPage&) = delete;  // the dialog refers to the entries held here
    ManagerPage& operator=(const ManagerPage&) = delete;

    // owner: the main window, which receives the commands, owns the dialog and the message boxes.
    void Create(HWND owner, ui::Page& page, HFONT font);
    // False when the command is not one of this page's.
    bool OnCommand(int id);

    [[nodiscard]] HWND List() const noexcept { return list_; }
    [[nodiscard]] const MgrScheduleList& MgrSchedules() const noexcept { return mgrSchedules_; }
    // Made at its first use: a window full of controls that many runs never show, whose
    // folder glyph makes the shell build its icon list (about 250 ms of a start under Wine).
    [[nodiscard]] TFrmManager& Dialog();
    // Null until the dialog is made, and once it is gone.
    [[nodiscard]] HWND DialogWindow() const noexcept;

    void LoadMgrSchedules(const std::string& path);
    void SaveMgrSchedules(const std::string& path);
    // Rebuilds the schedule list; with no schedules it leaves the list as it is.
    void RefreshMgrList();
    void BtnManageAddClick();
    // priorityClass: a Windows priority class, or 0 when the process's is unknown.
    void ShowMgrDialog(uint32_t priorityClass, const std::string& imageName, const std::string& imagePath);

private:
    HWND owner_ = nullptr;
    HWND list_ = nullptr;
    MgrScheduleList mgrSchedules_;  // outlives the dialog that appends to it
    std::unique_ptr<TFrmManager> dialog_;
};

}  // namespace cvt
