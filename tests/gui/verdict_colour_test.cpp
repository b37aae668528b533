// Rows of the process list drawn in their verdict's colour, a new process
// highlighted for two refreshes, and the popup item that turns colours off.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "process/VerdictRows.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr int kPidCell = 2;  // right-aligned: its left end is bare background

COLORREF Rgb(RowColour colour) { return RGB(colour.red, colour.green, colour.blue); }

// What the screen shows at the left end of the row's PID cell.
COLORREF PixelOfRow(HWND list, int row) {
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    // Only what the list itself found to repaint: a colour must not wait for something else to change.
    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
    RECT cell{};
    cell.top = kPidCell;
    cell.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    HDC dc = GetDC(list);
    const COLORREF pixel = GetPixel(dc, cell.left + 3, (cell.top + cell.bottom) / 2);
    ReleaseDC(list, dc);
    return pixel;
}

// A program of the prefix itself, which carries no verdict, started hidden.
class WineProgram {
public:
    WineProgram() {
        STARTUPINFOA startup{sizeof startup};
        startup.dwFlags = STARTF_USESHOWWINDOW;  // and SW_HIDE
        char line[MAX_PATH + 16] = {};
        lstrcatA(line + GetSystemDirectoryA(line, MAX_PATH), "\\notepad.exe");
        CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
        WaitForInputIdle(info_.hProcess, 3000);
    }
    ~WineProgram() {
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    [[nodiscard]] DWORD Id() const noexcept { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

class VerdictColourTest : public testing::Test {
protected:
    VerdictColourTest() { folder_.CopyShippedColumnIni(); }

    // A row away from the selection, which keeps the system's colours.
    static int UnselectedRowOf(TFrmCVT& form, DWORD pid) {
        const int row = RowOfProcess(form, pid);
        if (row >= 0 && ui::SelectedListRow(form.ListView(0)) == row)
            ui::SelectListRow(form.ListView(0), row == 0 ? 1 : 0);
        return row;
    }

    TempFolder folder_;
    MessageLog messages_;
};

TEST_F(VerdictColourTest, RowsShowLevelAndNewnessUntilTurnedOff) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    form.SelectPage(kPageProcesses);
    ChildProcess document(folder_, "report.pdf.exe");  // new and warned: the level's colour wins
    form.Processes().RefreshProcessList();
    HWND list = form.ListView(0);
    const int warned = UnselectedRowOf(form, document.Id());
    ASSERT_GE(warned, 0);
    EXPECT_EQ(PixelOfRow(list, warned), Rgb(kWarningColour));

    WineProgram fresh;
    for (int refresh = 0; refresh < 3; ++refresh) {
        form.Processes().RefreshProcessList();
        const int row = UnselectedRowOf(form, fresh.Id());
        ASSERT_GE(row, 0);
        const COLORREF expected = refresh < 2 ? Rgb(kNewRowColour) : GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(PixelOfRow(list, row), expected) << "refresh " << refresh;
    }

    HMENU popup = form.Processes().Popup();
    EXPECT_TRUE(ui::IsMenuCommandChecked(popup, cmd::MiProcessVerdictColours));
    SendMessageA(form.Hwnd(), WM_COMMAND, cmd::MiProcessVerdictColours, 0);
    EXPECT_FALSE(ui::IsMenuCommandChecked(popup, cmd::MiProcessVerdictColours));
    const int plain = UnselectedRowOf(form, document.Id());
    EXPECT_EQ(PixelOfRow(list, plain), GetSysColor(COLOR_WINDOW));
    host.CloseByCommand();
    char stored[16] = {};
    GetPrivateProfileStringA("General", "VerdictColors", "", stored, sizeof stored, folder_.File("cvt.ini").c_str());
    EXPECT_STREQ(stored, "False");

    MainFormHost again(folder_);
    EXPECT_FALSE(again.Form().Processes().VerdictColours());
    EXPECT_FALSE(ui::IsMenuCommandChecked(again.Form().Processes().Popup(), cmd::MiProcessVerdictColours));
}

}  // namespace
