// Commands that only the NT family has are disabled on the 95/98/Me family.
// Wine reports another Windows per executable name, so the check runs in a
// copy of this test program that Wine is told to treat as Windows 98.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr char kChildVariable[] = "CVT_TEST_EXPECT_WIN98";

}  // namespace

TEST(PlatformFamily, Windows98DisablesAboveAndBelowNormalAndTheStandardTaskManagerOption) {
    TempFolder folder;
    EXPECT_EQ(RunCopyAsWindows(folder, "win98", "PlatformFamilyChild.*", kChildVariable, "1"), 0u)
        << "the checks in the Windows 98 copy failed";
}

TEST(PlatformFamilyChild, NtOnlyCommandsAreDisabled) {
    if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP() << "runs only in the Windows 98 copy";
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    MainFormHost host(folder);
    TFrmCVT& form = host.Form();
    EXPECT_FALSE(form.State().isNTPlatform);
    EXPECT_FALSE(ui::IsMenuCommandEnabled(form.Processes().Popup(), cmd::MiProcessPrioAbove));
    EXPECT_FALSE(ui::IsMenuCommandEnabled(form.Processes().Popup(), cmd::MiProcessPrioBelow));
    EXPECT_TRUE(ui::IsMenuCommandEnabled(form.Processes().Popup(), cmd::MiProcessPrioHigh));
    EXPECT_FALSE(IsWindowEnabled(form.Control(cmd::ChkStandardization)));

    // The image name is the file-name part of the snapshot's text, and the path is that text itself.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exeName = strrchr(self, '\\') + 1;
    const int own = form.Processes().FindProcessRow(GetCurrentProcessId());
    ASSERT_GE(own, 0);
    EXPECT_EQ(ui::ListCellText(form.ListView(0), own, 0), exeName);
    EXPECT_EQ(ui::ListCellText(form.ListView(0), own, 6), exeName);  // Wine's snapshot gives the bare name

    // Without the NT family's hung test every window's status is unknown.
    TestWindow window("cvt 98 window", true, true);
    form.Applications().RefreshAppList();
    const int row = RowOfWindow(form, window.Hwnd());
    ASSERT_GE(row, 0);
    EXPECT_EQ(ui::ListCellText(form.ListView(1), row, 1), "不明");
}
