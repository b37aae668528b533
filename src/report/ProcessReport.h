// The plain-text snapshot of the process list: banner, local time, system name,
// one block per listed process.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace cvt {

// Local wall-clock time as the system gives it; a plain record so that a fixed clock can stand in.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;  // 0-23
    int minute = 0;
    int second = 0;
};

// One listed process, each field the text its column shows (empty when the list has no such column).
struct ProcessReportRow {
    std::string name;
    std::string id;  // as the PID column shows it: "$" and hex digits, or the right-aligned decimal
    std::string priority;
    std::string user;
    std::string path;
};

// The whole report, CR LF after every line, the last rule included. Texts are taken byte for byte.
[[nodiscard]] std::string ProcessReportText(const LocalDateTime& now, std::string_view osName,
                                            std::span<const ProcessReportRow> rows);

}  // namespace cvt
