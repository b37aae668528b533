// Verdicts on the Processes page, on children planted under the names and in
// the folders each rule is about; the system judged as Windows XP, and as the
// Wine prefix it really is.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../res/resource.h"
#include "GuiTestSupport.h"
#include "base/StringTable.h"
#include "details/Detail.h"
#include "lists/CommandIds.h"
#include "sysinfo/HostFacts.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr int kNameCell = 0, kVerdictCell = 1;  // the shipped column.ini: image name, then 判定

// The longest literal piece of a reason's text: what shows whatever fills its "%s".
std::string Fragment(unsigned id) {
    const std::string text = LoadText(id);
    std::string longest;
    for (size_t from = 0; from <= text.size();) {
        const size_t to = std::min(text.find("%s", from), text.size());
        if (to - from > longest.size()) longest = text.substr(from, to - from);
        from = to + 2;
    }
    return longest;
}

class VerdictListTest : public testing::Test {
protected:
    VerdictListTest() {
        folder_.CopyShippedColumnIni();
        CopyFileA(SourceTreePath(CVT_SOURCE_DIR "/data/cvtpdb.ini").c_str(), folder_.File("cvtpdb.ini").c_str(), FALSE);
    }

    static HostFacts WindowsXp() {
        HostFacts xp = ReadHostFacts();
        xp.underWine = false, xp.major = 5, xp.minor = 1;
        return xp;
    }

    // The level names and reason texts of a process's rows in the detail window.
    static std::vector<std::string> DetailReasons(TFrmCVT& form, DWORD pid) {
        const int row = RowOfProcess(form, pid);
        if (row < 0) return {"<no row>"};
        ui::SelectListRow(form.ListView(0), row);
        form.Processes().MiProcessDetailClick();
        const ui::KeyValueGrid& grid = form.Detail().Grid();
        std::vector<std::string> rows;
        for (int r = 0; r < grid.RowCount(); ++r)
            if (grid.Key(r) == "判定" || !rows.empty()) rows.push_back(grid.Key(r) + "|" + grid.Value(r));
        return rows;
    }

    static bool HasReason(const std::vector<std::string>& rows, const char* level, unsigned id) {
        for (const std::string& row : rows)
            if (row.starts_with(std::string(level) + "|") && row.find(Fragment(id)) != std::string::npos) return true;
        return false;
    }

    TempFolder folder_;
    MessageLog messages_;
};

TEST_F(VerdictListTest, PlantedChildrenShowTheirRulesAsOnWindowsXp) {
    folder_.Write("cvt.ini", "[List0]\r\nCount=4\r\nIndex0=2\r\nWidth0=90\r\nIndex1=100\r\nWidth1=200\r\n"
                             "Index2=103\r\nWidth2=200\r\nIndex3=1\r\nWidth3=50\r\n");
    TempFolder second;
    ChildProcess svchost(folder_, "svchost.exe"), lookAlike(folder_, "svch0st.exe"),
        document(folder_, "report.pdf.exe"), blanks(folder_, "readme     .exe"), vista(folder_, "wininit.exe"),
        worm(folder_, "msblast.exe"), lsass(folder_, "lsass.exe"), lsassAgain(second, "lsass.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    form.Processes().SetVerdictHost(WindowsXp());
    form.Processes().RefreshProcessList();

    const auto svchostRows = DetailReasons(form, svchost.Id());
    ASSERT_GE(svchostRows.size(), 6u) << testing::PrintToString(svchostRows);
    EXPECT_EQ(svchostRows[0], "判定|危険");
    EXPECT_TRUE(HasReason(svchostRows, "危険", IDS_VERDICT_WRONG_FOLDER));
    EXPECT_TRUE(HasReason(svchostRows, "警告", IDS_VERDICT_WRONG_PARENT));
    EXPECT_TRUE(HasReason(svchostRows, "警告", IDS_VERDICT_NO_ARGUMENT));
    EXPECT_TRUE(HasReason(svchostRows, "警告", IDS_VERDICT_WRONG_ACCOUNT));
    EXPECT_TRUE(HasReason(svchostRows, "注意", IDS_VERDICT_UNUSUAL_FOLDER));
    EXPECT_TRUE(HasReason(svchostRows, "注意", IDS_VERDICT_NO_VERSION_NAMES));

    EXPECT_TRUE(HasReason(DetailReasons(form, lookAlike.Id()), "警告", IDS_VERDICT_LOOK_ALIKE));
    EXPECT_TRUE(HasReason(DetailReasons(form, document.Id()), "警告", IDS_VERDICT_DOUBLE_EXTENSION));
    EXPECT_TRUE(HasReason(DetailReasons(form, blanks.Id()), "警告", IDS_VERDICT_BLANKS_BEFORE_EXTENSION));
    EXPECT_TRUE(HasReason(DetailReasons(form, vista.Id()), "警告", IDS_VERDICT_NEWER_WINDOWS));
    EXPECT_TRUE(HasReason(DetailReasons(form, worm.Id()), "危険", IDS_VERDICT_DATABASE_LEVEL));
    EXPECT_TRUE(HasReason(DetailReasons(form, lsassAgain.Id()), "警告", IDS_VERDICT_TOO_MANY));

    // The cell: the level and the most serious reason.
    const int row = RowOfProcess(form, svchost.Id());
    const std::string cell = ui::ListCellText(form.ListView(0), row, kVerdictCell);
    EXPECT_TRUE(cell.starts_with("危険: ")) << cell;
    EXPECT_NE(cell.find(Fragment(IDS_VERDICT_WRONG_FOLDER)), std::string::npos) << cell;
    EXPECT_EQ(ui::ListCellText(form.ListView(0), row, 2), "\"" + svchost.Path() + "\"");  // its command line

    // One lsass ended: the other is alone again.
    lsass.End();
    form.Processes().RefreshProcessList();
    EXPECT_FALSE(HasReason(DetailReasons(form, lsassAgain.Id()), "警告", IDS_VERDICT_TOO_MANY));
}

TEST_F(VerdictListTest, WinePrefixOwnProcessesShowNoVerdict) {
    ChildProcess planted(folder_, "svchost.exe");
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND list = form.ListView(0);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    int judged = 0;
    for (int row = 0; row < ui::ListRowCount(list); ++row) {
        // The prefix's own programs; tests running beside this one start others.
        const std::string path = form.Processes().GetProcessCellText(3, row);
        if (_strnicmp(path.c_str(), windows, strlen(windows)) != 0) continue;
        EXPECT_EQ(ui::ListCellText(list, row, kVerdictCell), "") << ui::ListCellText(list, row, kNameCell);
        EXPECT_EQ(form.Processes().RowBackgroundOfRow(row), std::nullopt);
        ++judged;
    }
    EXPECT_GE(judged, 3);  // services.exe, winedevice.exe, explorer.exe, ... of the prefix
    // Wine's layout excuses its own folder only: a system name elsewhere is still caught.
    const std::string cell = ui::ListCellText(list, RowOfProcess(form, planted.Id()), kVerdictCell);
    EXPECT_TRUE(cell.starts_with("危険: ")) << cell;
}

}  // namespace
