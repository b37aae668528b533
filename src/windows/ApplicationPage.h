// The Applications page: the visible top-level windows with their icons, its
// buttons and popup menu, and the commands on the selected window.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Handles.h"
#include "base/ListReconcile.h"
#include "lists/ColumnPositions.h"
#include "lists/ColumnSettings.h"
#include "lists/ProgramState.h"
#include "sysinfo/ProcessApi.h"
#include "ui/Page.h"
#include "windows/WindowRecord.h"

namespace cvt {

class ApplicationPage {
public:
    // What the page asks of the rest of the program.
    struct Links {
        std::function<void(const std::string& fullPath)> showDetailForFile;
        std::function<void(uint32_t processId)> endProcess;
        // Selects the process's row on the Processes page and shows that page; false when it is not listed.
        std::function<bool(uint32_t processId)> showProcess;
        std::function<void()> refreshProcessList;
    };

    // Everything referred to outlives the page.
    ApplicationPage(ProgramState& state, ProcessApi& api, const TColumnManager& columns, Links links);
    ApplicationPage(const ApplicationPage&) = delete;  // its controls report to one object
    ApplicationPage& operator=(const ApplicationPage&) = delete;

    // owner: the main window, which receives the commands and owns the message boxes.
    void Create(HWND owner, ui::Page& page, HFONT font);
    void InitCommandTags();
    void UpdateColumnPositions();
    // The system's hung-window test, kept loaded for the whole run.
    void LoadStatusLibrary();
    // False when the command is not one of this page's.
    bool OnCommand(int id, HWND control);
    void OnNotify(const NMHDR& header);
    // False when the control is not this page's list.
    bool OnContextMenu(HWND control, LPARAM screenPoint);

    [[nodiscard]] HWND List() const noexcept { return list_; }
    [[nodiscard]] HMENU Popup() const noexcept { return popup_.Get(); }
    [[nodiscard]] const WindowHandleColumn& HandlePosition() const noexcept { return handleColumn_; }

    void RefreshAppList();
    void MiAppItemClick(int tag);
    void Lsv1SelectItem(int row, bool selected);
    void Lsv1Click();
    // False when the popup must not open.
    bool Lsv1ContextPopup();
    [[nodiscard]] std::optional<int32_t> WindowHandleOfRow(int row) const;

    using IsHungAppWindowFn = BOOL(WINAPI*)(HWND);
    // The system's hung-window test as loaded at start (null when the system lacks it).
    [[nodiscard]] IsHungAppWindowFn HungWindowTest() const noexcept { return isHungAppWindow_; }
    // Tests stand in for it where Wine cannot list another process's hung window.
    void UseHungWindowTest(IsHungAppWindowFn test) noexcept { isHungAppWindow_ = test; }

private:
    void CreatePopup();
    static BOOL CALLBACK EnumAppWindowsProc(HWND window, LPARAM self);
    // Appends the row a window shows: its key, its cells by the columns' kinds, its image.
    void AddAppRow(const AppWindowRow& window, int image, std::vector<ListRow>& rows) const;
    // The image of each found window, in order; -1: none.
    void AssignImages(std::vector<int>& images);
    void SetAppCommandsEnabled(bool enabled);
    bool SelectedWindowStillListed();
    void ReportWindowGone();

    ProgramState& state_;
    ProcessApi& api_;
    const TColumnManager& columns_;
    Links links_;
    HWND owner_ = nullptr;
    HWND page_ = nullptr;
    HWND list_ = nullptr;
    UniqueMenu popup_;             // PumApp
    HIMAGELIST imlApp_ = nullptr;  // owned by the list
    std::unordered_map<HICON, int> imageOfIcon_;  // the slot of each icon a row shows
    struct Found {
        AppWindowRow row;
        HICON icon;
    };
    std::vector<Found> found_;  // the listed windows of the refresh under way
    RowIds rowIds_;             // the key of each row, carried as its lParam
    WindowHandleColumn handleColumn_;
    UniqueLibrary user32_;
    IsHungAppWindowFn isHungAppWindow_ = nullptr;
};

}  // namespace cvt
