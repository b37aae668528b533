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

std::string DateLine(const LocalDateTime& time) {
    const std::string text = ProcessReportText(time, "", {});
    const size_t start = text.find("DateTime : ");
    return text.substr(start, text.find("\r\n", start) - start);
}

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

TEST(ProcessReportText, FieldsAreCopiedNotInterpreted) {
    // Empty fields (no such column) keep their labels; format characters and bytes stay as they are.
    const std::vector<ProcessReportRow> rows = {{}, {"100%s.exe", "%d", "%n", "a\tb", std::string("x\0y", 3)}};
    EXPECT_EQ(ProcessReportText(kMorning, "%s", rows),
              "[Process Report]\r\nEnhanced by Corvault\r\nDateTime : 2026/03/07 09:05:02\r\nOS : %s\r\n" +
                  std::string(kRule) + "Name= ID= Prio= User=\r\nPath=\r\n" +
                  "Name=100%s.exe ID=%d Prio=%n User=a\tb\r\nPath=" + std::string("x\0y", 3) + "\r\n" + kRule);
}

TEST(ProcessReportText, DateAndTimeAreZeroPaddedWithA24HourClock) {
    EXPECT_EQ(DateLine({2026, 12, 31, 23, 59, 59}), "DateTime : 2026/12/31 23:59:59");
    EXPECT_EQ(DateLine({2000, 1, 1, 0, 0, 0}), "DateTime : 2000/01/01 00:00:00");
    EXPECT_EQ(DateLine({1601, 2, 9, 13, 7, 8}), "DateTime : 1601/02/09 13:07:08");
    EXPECT_EQ(DateLine({999, 1, 1, 0, 0, 0}), "DateTime : 0999/01/01 00:00:00");
    // The widest values a SYSTEMTIME can hold are written whole.
    EXPECT_EQ(DateLine({65535, 65535, 65535, 65535, 65535, 65535}),
              "DateTime : 65535/65535/65535 65535:65535:65535");
}
