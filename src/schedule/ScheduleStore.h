// Schedule entries and their file cvtmgr.ini: the entry record, the "Timer"
// text, and loading and saving through the platform-free INI interfaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/IniSource.h"

namespace cvt {

// Bits of TMgrSchedule::Option; 0 means no timer.
enum MgrOption : std::int32_t { kMgrAtTime = 1, kMgrAfterInterval = 2, kMgrEveryDay = 4, kMgrRepeat = 8 };

// Operation 3 waits for the process to end, so it has no timer.
inline constexpr std::int32_t kMgrShutdownAfterEnd = 3;

struct TMgrSchedule {
    std::string FileName;
    std::string FilePath;
    std::int32_t Operation = 0;  // 0 to 4; -1 when none was chosen
    std::int32_t Option = 0;     // MgrOption bits
    double Timer = 0;            // days since 30 December 1899, time of day as the fraction; 0: none
    bool Deletable = false;      // carried through load and save, never acted on

    bool operator==(const TMgrSchedule&) const = default;
};

// In insertion order; entries are only ever appended.
using MgrScheduleList = std::vector<TMgrSchedule>;

// A larger "NumOfMgr" is cut to this, so that a damaged count can neither
// stall the start nor make the close write thousands of empty sections.
inline constexpr int kMaxMgrCount = 10000;

// General format with at most 15 significant digits, trailing zeros dropped,
// decimalSeparator in place of the point: 0 -> "0", 38596.6491314815.
[[nodiscard]] std::string FormatMgrTimer(double timer, char decimalSeparator);
// Blanks around the number are ignored; the decimal mark may be decimalSeparator
// or a point, so that a file survives a change of the user's locale. Nothing
// but a finite number is accepted.
[[nodiscard]] std::optional<double> ParseMgrTimer(std::string_view text, char decimalSeparator);
[[nodiscard]] std::string InvalidFloatMessage(std::string_view text);

// "Mgr" and the entry's index.
[[nodiscard]] std::string MgrSection(std::size_t index);
// Whether loading or saving count entries reads the section of that lower-case
// name: "general", and "mgr" with an index below count.
[[nodiscard]] bool MgrSectionNeeded(std::string_view foldedName, std::size_t count);

struct LoadedMgrSchedules {
    MgrScheduleList schedules;
    // Each distinct message about an unreadable field, in file order; only
    // that field took its default.
    std::vector<std::string> errors;
    // The stored "NumOfMgr" when it was above kMaxMgrCount.
    std::optional<int> cutCount;
};

// The warning about a cut "NumOfMgr", and the one error box about unreadable
// fields (a damaged file may hold thousands; the box lists the first few).
[[nodiscard]] std::string TooManySchedulesMessage(int storedCount);
[[nodiscard]] std::string LoadErrorsMessage(const std::vector<std::string>& errors);

// sectionNames: the sections the file holds. An entry without its section
// takes every default without a read, so that a damaged count costs no time.
[[nodiscard]] LoadedMgrSchedules LoadMgrSchedulesModel(const IniSource& ini,
                                                       const std::vector<std::string>& sectionNames,
                                                       char decimalSeparator);
// Indexes of the entries that saving has to write: those that the file, as it
// stands now, does not give back as they are. Entries are never edited, so these
// are the ones added since the start (and any the file lost meanwhile); every
// other key left unwritten spares the system one rewrite of the whole file, and a
// damaged file would otherwise ask for tens of thousands. A loaded entry's text
// thus stays as it was, unless a field could not be read: that entry is written
// with the default it took.
// stored: the file now; sectionNames: its sections, in any letter case.
[[nodiscard]] std::vector<std::size_t> MgrEntriesToWrite(const IniSource& stored,
                                                         const std::vector<std::string>& sectionNames,
                                                         const MgrScheduleList& schedules, char decimalSeparator);
// "NumOfMgr", then the six keys of each entry named, in the order of the file;
// sections past the count are left alone.
void SaveMgrSchedulesModel(IniSink& ini, const MgrScheduleList& schedules, const std::vector<std::size_t>& entries,
                           char decimalSeparator);

}  // namespace cvt
