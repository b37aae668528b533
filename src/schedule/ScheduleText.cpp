// Schedule timers: day arithmetic and list texts.
#include "schedule/ScheduleText.h"

#include <cmath>
#include <cstdio>

#include "base/StrToInt.h"
#include "schedule/ScheduleStore.h"

namespace cvt {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// 1 January 1970 counted from 30 December 1899.
constexpr int kUnixEpochDay = 25569;

// Days from 1 January 1970 of a date of the proleptic Gregorian calendar.
constexpr long long DaysFromCivil(long long year, unsigned month, unsigned day) noexcept {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

// Milliseconds of a fraction of a day, rounded, within one day.
int FractionMilliseconds(double fraction) noexcept {
    if (!std::isfinite(fraction)) return 0;
    const double rounded = std::round(std::fabs(fraction) * kMillisecondsPerDay);
    return rounded >= kMillisecondsPerDay ? 0 : static_cast<int>(rounded);
}

std::string HourMinute(int milliseconds) {
    char text[16];
    (void)std::snprintf(text, sizeof text, "%02d:%02d", milliseconds / 3600000, milliseconds / 60000 % 60);
    return text;
}

}  // namespace

double DaysFromDate(int year, int month, int day) noexcept {
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kUnixEpochDay);
}

double TimeFraction(int hour, int minute, int second, int millisecond) noexcept {
    return ((hour * 60.0 + minute) * 60.0 + second + millisecond / 1000.0) / 86400.0;
}

double CombineDateTime(double date, double timeFraction) noexcept {
    const double days = std::trunc(date);
    return days < 0 ? days - timeFraction : days + timeFraction;
}

int TimeOfDayMilliseconds(double dateTime) noexcept {
    if (!std::isfinite(dateTime)) return 0;
    return FractionMilliseconds(dateTime - std::trunc(dateTime));
}

double AddInterval(double now, std::int32_t days, std::int32_t hours, std::int32_t minutes,
                   std::int32_t seconds) noexcept {
    double t = now + days;
    t = (t * 24 + hours) / 24;
    t = (t * 1440 + minutes) / 1440;
    return (t * 86400 + seconds) / 86400;
}

IntervalAmounts ReadIntervalAmounts(const std::array<std::string, 4>& texts) {
    IntervalAmounts result;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto value = StrToIntDollarHex(texts[i]);
        if (!value) {
            result.error = "'" + texts[i] + "' is not a valid integer value";
            break;
        }
        result.amounts[i] = *value;
    }
    return result;
}

std::string MgrTimerText(std::int32_t option, double timer, double now) {
    if (timer == 0) return "---";
    if ((option & kMgrAtTime) != 0) {
        const std::string time = HourMinute(TimeOfDayMilliseconds(timer));
        return (option & kMgrEveryDay) != 0 ? "毎日" + time : time;
    }
    if ((option & kMgrAfterInterval) != 0) {
        // Time left while the timer lies ahead, time since once it has passed; whole days drop out.
        const double distance = std::fabs(now - timer);
        const int milliseconds = std::isfinite(distance) ? FractionMilliseconds(std::fmod(distance, 1.0)) : 0;
        const std::string time = HourMinute(milliseconds);
        return (option & kMgrRepeat) != 0 ? time + "毎" : time;
    }
    return "";
}

std::string MgrOperationText(std::int32_t operation, std::int32_t option, const MgrOperationNames& names) {
    const std::string name =
        operation >= 0 && operation < static_cast<std::int32_t>(names.size()) ? names[static_cast<size_t>(operation)]
                                                                              : std::string();
    if ((option & kMgrAtTime) != 0) return ((option & kMgrEveryDay) != 0 ? "毎日指定時刻に" : "指定時刻に") + name;
    if ((option & kMgrAfterInterval) != 0) return ((option & kMgrRepeat) != 0 ? "指定時間毎に" : "指定時間後に") + name;
    return name;
}

}  // namespace cvt
