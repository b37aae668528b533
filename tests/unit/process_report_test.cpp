// The process report's bytes, with a fixed clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/ProcessReport.h"

using namespace cvt;

namespace {

constexpr char kRule[] = "-----------------------------------------------------\r\n";
constexpr char kHead[] = "[Process Report]\r\nEnhanced by Corvault\r\n"
                         "DateTime : 2026/03/07 09:05:02\r\n"
                         "OS : Microsoft Windows XP Professional Service Pack 3 (Build 2600)\r\n";
constexpr LocalDateTime kMorning{2026, 3, 7, 9, 5, 2};
constexpr char kXp[] = "Microsoft Windows XP Professional Service Pack 3 (Build 2600)";

}  // namespace

TEST(ProcessReportText, EmptyListGivesTheHeadAndBothRulesBackToBack) {
    EXPECT_EQ(ProcessReportText(kMorning, kXp, {}), std::string(kHead) + kRule + kRule);
    EXPECT_EQ(std::string(kRule).size(), 55u);  // 53 hyphens and CR LF
}

TEST(ProcessReportText, OneBlockPerRowInTheGivenOrderWithTheTextsAsShown) {
    const std::vector<ProcessReportRow> rows = {
        {"zeta.exe", "  456", "通常", "root", "C:\\Program Files\\zeta.exe"},
        {"alpha.exe", "$0004D2", "高", "不明", "C:\\WINDOWS\\alpha.exe"},
        {"ソフト.exe", "99999", "リアルタイム", "ユーザー", "C:\\ソフト\\ソフト.exe"},
    };
    EXPECT_EQ(ProcessReportText(kMorning, kXp, rows),
              std::string(kHead) + kRule +
                  "Name=zeta.exe ID=  456 Prio=通常 User=root\r\nPath=C:\\Program Files\\zeta.exe\r\n"
                  "Name=alpha.exe ID=$0004D2 Prio=高 User=不明\r\nPath=C:\\WINDOWS\\alpha.exe\r\n"
                  "Name=ソフト.exe ID=99999 Prio=リアルタイム User=ユーザー\r\nPath=C:\\ソフト\\ソフト.exe\r\n" +
                  kRule);
    // Shift-JIS, as the system's ANSI code page on the target.
    EXPECT_NE(ProcessReportText(kMorning, kXp, rows).find("User=\x95\x73\x96\xBE\r\n"), std::string::npos);
}
