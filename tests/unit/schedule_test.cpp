// Schedule entries: the cvtmgr.ini model, the "Timer" text, day arithmetic and list texts.
#include <gmock/gmock.h>

#include <limits>

#include "FakeIni.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleText.h"

using namespace cvt;
using cvt::test::FakeIni;
using ::testing::ElementsAre;

namespace {

const MgrOperationNames kNames = {"優先度をチェック", "プロセスを起動", "プロセスを終了",
                                  "プロセスが終了した後にWindowsを終了", "Windowsを終了"};
constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 60 * kSecond;
constexpr double kHour = 60 * kMinute;
constexpr double kNoon = 38596.5;  // 1 September 2005, 12:00

// An INI file that also records the writes in the order it receives them.
class RecordingIni final : public FakeIni {
public:
    using FakeIni::FakeIni;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override {
        writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
        FakeIni::WriteString(section, key, value);
    }
    std::vector<std::string> writes;
};

LoadedMgrSchedules Load(const FakeIni& ini, char decimalSeparator = '.') {
    return LoadMgrSchedulesModel(ini, ini.SectionNames(), decimalSeparator);
}

}  // namespace

TEST(MgrListText, EveryCombinationTheDialogProduces) {
    const double timer = DaysFromDate(2026, 3, 1) + TimeFraction(9, 30, 59, 0);
    const double now = timer - 2 * kHour - 5 * kMinute;
    const struct { int option; const char* timerText; const char* prefix; } rows[] = {
        {1, "09:30", "指定時刻に"},   {5, "毎日09:30", "毎日指定時刻に"}, {9, "09:30", "指定時刻に"},
        {2, "02:05", "指定時間後に"}, {6, "02:05", "指定時間後に"},       {10, "02:05毎", "指定時間毎に"}};
    for (const auto& row : rows) {
        EXPECT_EQ(MgrTimerText(row.option, timer, now), row.timerText) << row.option;
        EXPECT_EQ(MgrOperationText(2, row.option, kNames), std::string(row.prefix) + "プロセスを終了") << row.option;
    }
    EXPECT_EQ(MgrTimerText(0, 0, now), "---");  // operation 3
    EXPECT_EQ(MgrOperationText(3, 0, kNames), "プロセスが終了した後にWindowsを終了");
    EXPECT_EQ(MgrOperationText(-1, 1, kNames), "指定時刻に");  // no operation chosen
    EXPECT_EQ(MgrOperationText(5, 2, kNames), "指定時間後に");
    EXPECT_EQ(MgrTimerText(5, 0, now), "---");
    EXPECT_EQ(MgrTimerText(4, timer, now), "");
}

TEST(MgrListText, IntervalCountsDownThenUpAndTimeOfDayRoundsToTheMillisecond) {
    const double timer = kNoon + kHour;
    EXPECT_EQ(MgrTimerText(2, timer, kNoon + 0.0004 * kSecond), "01:00");
    EXPECT_EQ(MgrTimerText(2, timer, kNoon + 0.4 * kSecond), "00:59");  // seconds are cut, not rounded
    EXPECT_EQ(MgrTimerText(2, timer, timer + 3 * kMinute), "00:03");    // time since it passed
    EXPECT_EQ(MgrTimerText(2, timer, timer - 2 - 4 * kHour), "04:00");  // whole days drop out
    EXPECT_EQ(MgrTimerText(1, kNoon + 12 * kHour - 0.0004 * kSecond, 0), "00:00");
    // Before 30 December 1899 the fraction still counts forward from midnight.
    EXPECT_EQ(CombineDateTime(DaysFromDate(1899, 12, 29), TimeFraction(6, 0, 0, 0)), -1.25);
    EXPECT_EQ(MgrTimerText(1, -1.25, 0), "06:00");
    EXPECT_EQ(DaysFromDate(2005, 9, 1), 38596);
    EXPECT_EQ(DaysFromDate(2024, 3, 1) - DaysFromDate(2024, 2, 28), 2);
    EXPECT_EQ(MgrTimerText(2, 1e300, kNoon), "00:00");  // far outside any calendar, still a time
}

TEST(MgrStore, SaveWritesOnlyTheEntriesTheFileDoesNotGiveBack) {
    // Sections 1, 2 and 4 are missing: their entries read as absent ones and stay absent.
    RecordingIni ini("[General] NumOfMgr=5 [Mgr0] FileName=a.exe [Mgr3] Timer=0.0 Deletable=maybe [Mgr9] FileName=left");
    MgrScheduleList schedules = Load(ini).schedules;
    schedules[0] = {"a.exe", "C:\\a.exe", 1, 5, 38596.649131481481, false};
    schedules.push_back({"", "", -1, 0, 0, false});  // as the dialog appends it
    SaveMgrSchedulesModel(ini, schedules, MgrEntriesToWrite(ini, ini.SectionNames(), schedules, ','), ',');
    // Mgr3 is unchanged but its unreadable field took the default: written, so the message does not come again.
    EXPECT_THAT(ini.writes,
                ElementsAre("General/NumOfMgr=6", "Mgr0/FileName=a.exe", "Mgr0/FilePath=C:\\a.exe", "Mgr0/Operation=1",
                            "Mgr0/Option=5", "Mgr0/Timer=38596,6491314815", "Mgr0/Deletable=0", "Mgr3/FileName=",
                            "Mgr3/FilePath=", "Mgr3/Operation=0", "Mgr3/Option=0", "Mgr3/Timer=0", "Mgr3/Deletable=-1",
                            "Mgr5/FileName=", "Mgr5/FilePath=", "Mgr5/Operation=-1", "Mgr5/Option=0", "Mgr5/Timer=0",
                            "Mgr5/Deletable=0"));
    EXPECT_TRUE(Load(ini, ',').errors.empty());
    EXPECT_EQ(ini.ReadString("Mgr9", "FileName", ""), "left");
    EXPECT_NEAR(Load(ini, ',').schedules[0].Timer, 38596.649131481481, 1e-9);
}
