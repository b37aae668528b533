// The system audit as text.
#include "report/AuditReport.h"

#include <algorithm>

namespace cvt {
namespace {

constexpr std::string_view kBanner = "[System Audit]\r\nEnhanced by Corvault\r\n";
constexpr std::string_view kRule = "-----------------------------------------------------\r\n";

std::string_view ViewTag(unsigned views) {
    if (views == kView64) return " (64ビット)";
    if (views == kView32) return " (32ビット)";
    return "";
}

}  // namespace

std::string AuditReportText(const LocalDateTime& now, std::string_view osName, std::span<const AuditFinding> findings) {
    // The process report's heading, less its banner: one reading for both.
    std::string heading = ProcessReportText(now, osName, {});
    heading.erase(0, heading.find("DateTime"));
    heading.resize(heading.size() - kRule.size());

    std::string text(kBanner);
    text.append(heading);
    auto count = [&](AuditLevel level) {
        return std::to_string(std::count_if(findings.begin(), findings.end(),
                                            [&](const AuditFinding& f) { return f.level == level; }));
    };
    text.append("危険=").append(count(AuditLevel::Critical));
    text.append(" 警告=").append(count(AuditLevel::Warning));
    text.append(" 情報=").append(count(AuditLevel::Info)).append("\r\n");
    for (const AuditFinding& finding : findings) {
        text.append("[").append(AuditLevelText(finding.level)).append("] ").append(finding.place);
        text.append(ViewTag(finding.views)).append("\r\n");
        text.append("    ").append(finding.reason).append("\r\n");
    }
    if (findings.empty()) text.append("問題は見つかりませんでした。\r\n");
    text.append(kRule);
    return text;
}

}  // namespace cvt
