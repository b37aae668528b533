// Date-times of schedule timers, their day arithmetic, and the texts the
// schedule list shows for an entry.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cvt {

// Date-times are days since 30 December 1899 with the time of day as the
// fraction. Before that day the fraction still counts from midnight (-1.25 is
// 29 December 1899, 06:00), as OLE dates have it.
[[nodiscard]] double DaysFromDate(int year, int month, int day) noexcept;
[[nodiscard]] double TimeFraction(int hour, int minute, int second, int millisecond) noexcept;
// The whole days of date with the time of day timeFraction.
[[nodiscard]] double CombineDateTime(double date, double timeFraction) noexcept;
// Time of day rounded to the millisecond, 0 to 86399999 (a value that rounds
// up to midnight gives 0).
[[nodiscard]] int TimeOfDayMilliseconds(double dateTime) noexcept;

// now moved by each amount in turn; negative amounts move it back.
[[nodiscard]] double AddInterval(double now, std::int32_t days, std::int32_t hours, std::int32_t minutes,
                                 std::int32_t seconds) noexcept;

// The texts of the day, hour, minute and second fields, in that order, as
// integers; otherwise the message about the first one that is not an integer.
struct IntervalAmounts {
    std::array<std::int32_t, 4> amounts{};
    std::optional<std::string> error;
};
[[nodiscard]] IntervalAmounts ReadIntervalAmounts(const std::array<std::string, 4>& texts);

// "タイマー" column: "---" without a timer; the time of day, or the distance
// between now and the timer, as HH:MM.
[[nodiscard]] std::string MgrTimerText(std::int32_t option, double timer, double now);

// Names of operations 0 to 4, from the string table.
using MgrOperationNames = std::array<std::string, 5>;
// "動作" column: the operation's name (empty outside 0-4) after the timer kind's prefix.
[[nodiscard]] std::string MgrOperationText(std::int32_t operation, std::int32_t option,
                                           const MgrOperationNames& names);

}  // namespace cvt
