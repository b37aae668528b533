// The real version facts and name under the Windows versions that Wine can pretend to be.
// Wine reports another Windows per executable name, so each mode runs in a copy of this test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "GuiTestSupport.h"
#include "editor/ReportView.h"
#include "sysinfo/OsNameWin32.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr char kModeVariable[] = "CVT_TEST_OS_MODE";

// What each Wine mode reports (see WINE-NOTES.md) and the name that follows from it.
struct ModeCase {
    const char* mode;
    uint32_t major;
    uint32_t minor;
    uint32_t platformId;
    const char* name;
};

constexpr ModeCase kModes[] = {
    {"win98", 4, 10, kPlatformWindows, "Windows 98 Second Edition"},
    {"win2k", 5, 0, kPlatformNt, "Windows 2000 Professional Service Pack 4 (Build 2195)"},
    {"winxp", 5, 1, kPlatformNt, "Windows XP Professional Service Pack 3 (Build 2600)"},
#ifdef _WIN64
    // The 64-bit program runs on x64 editions only: the native architecture is AMD64.
    {"winxp64", 5, 2, kPlatformNt, "Windows XP Professional x64 Edition Service Pack 2 (Build 3790)"},
    {"win2003", 5, 2, kPlatformNt, "WIndows Server 2003 Standard x64 Edition Service Pack 2 (Build 3790)"},
#else
    {"win2003", 5, 2, kPlatformNt, "WIndows Server 2003 Standard Edition Service Pack 2 (Build 3790)"},
#endif
};

// The report's "OS : " line, as the Report button writes it.
std::string ReportOsLine() {
    struct Capture final : ReportView {
        void SetText(std::string_view text) override { report = text; }
        [[nodiscard]] std::string GetText() const override { return report; }
        std::string report;
    } view;
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MainFormHost host(folder);
    host.Form().Report().ConnectReportView(&view);
    host.Form().Report().BtnProcessSnapShotClick();
    const size_t at = view.report.find("OS : ");
    return at == std::string::npos ? std::string() : view.report.substr(at, view.report.find("\r\n", at) - at);
}

uint16_t NativeArchitecture() {
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}

}  // namespace

TEST(OsName, EachPretendedWindowsIsNamedFromWhatItReports) {
    TempFolder folder;
    for (const ModeCase& mode : kModes)
        EXPECT_EQ(RunCopyAsWindows(folder, mode.mode, "OsNameChild.*", kModeVariable, mode.mode), 0u) << "the checks in the " << mode.mode << " copy failed";
}

TEST(OsNameChild, FactsAndNameOfThisMode) {
    const char* modeName = std::getenv(kModeVariable);
    if (modeName == nullptr) GTEST_SKIP() << "runs only in a copy started for one Windows version";
    const ModeCase* mode = nullptr;
    for (const ModeCase& candidate : kModes)
        if (strcmp(candidate.mode, modeName) == 0) mode = &candidate;
    ASSERT_NE(mode, nullptr) << modeName;

    const OsFacts facts = GatherOsFacts();
    EXPECT_EQ(facts.path, VersionRecordPath::Extended);  // even win98 mode fills the 156-byte record
    EXPECT_EQ(facts.major, mode->major);
    EXPECT_EQ(facts.minor, mode->minor);
    EXPECT_EQ(facts.platformId, mode->platformId);
    // Architecture and the R2 metric are asked for on 5.2 only.
    const bool is52 = mode->major == 5 && mode->minor == 2;
    const uint16_t architecture = NativeArchitecture();
    if (is52) {
        EXPECT_EQ(facts.processorArchitecture, architecture);
        EXPECT_EQ(facts.serverR2Metric, 0);
    } else {
        EXPECT_EQ(facts.processorArchitecture, 0);
    }
    EXPECT_FALSE(facts.productOptionsType.has_value());
    EXPECT_EQ(GetOSName(), mode->name);
    EXPECT_EQ(ReportOsLine(), std::string("OS : ") + mode->name);
}
