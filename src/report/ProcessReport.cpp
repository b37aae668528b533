// The plain-text snapshot of the process list.
#include "report/ProcessReport.h"

#include <cstdio>

namespace cvt {
namespace {

constexpr std::string_view kBanner = "[Process Report]\r\nEnhanced by Corvault\r\n";
constexpr std::string_view kRule = "-----------------------------------------------------\r\n";
constexpr std::string_view kLineEnd = "\r\n";

std::string DateTimeLine(const LocalDateTime& now) {
    // Wide enough for any int in every field, so the line is never cut.
    char line[128];
    const int length = std::snprintf(line, sizeof line, "DateTime : %.4d/%.2d/%.2d %.2d:%.2d:%.2d\r\n", now.year,
                                     now.month, now.day, now.hour, now.minute, now.second);
    return std::string(line, length > 0 ? static_cast<size_t>(length) : 0);
}

void AppendBlock(std::string& text, const ProcessReportRow& row) {
    text.append("Name=").append(row.name);
    text.append(" ID=").append(row.id);
    text.append(" Prio=").append(row.priority);
    text.append(" User=").append(row.user).append(kLineEnd);
    text.append("Path=").append(row.path).append(kLineEnd);
}

}  // namespace

std::string ProcessReportText(const LocalDateTime& now, std::string_view osName,
                              std::span<const ProcessReportRow> rows) {
    std::string text;
    // A block is about a hundred bytes; one allocation serves a typical list.
    text.reserve(256 + rows.size() * 160);
    text.append(kBanner);
    text.append(DateTimeLine(now));
    text.append("OS : ").append(osName).append(kLineEnd);
    text.append(kRule);
    for (const ProcessReportRow& row : rows) AppendBlock(text, row);
    text.append(kRule);
    return text;
}

}  // namespace cvt
