// Schedule entries and cvtmgr.ini.
#include "schedule/ScheduleStore.h"

#include <charconv>
#include <cmath>
#include <unordered_set>

#include "base/AsciiText.h"
#include "base/IniBool.h"

namespace cvt {
namespace {

constexpr char kGeneral[] = "General";
constexpr char kNumOfMgr[] = "NumOfMgr";

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }
bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// What loading gives for an entry whose section the file lacks: every key at its default.
TMgrSchedule AbsentEntry() {
    TMgrSchedule entry;
    entry.Deletable = true;
    return entry;
}

// n of a section named "Mgr" + n, in any letter case as the file's reader takes it.
std::optional<std::size_t> MgrIndexOf(std::string_view name) {
    if (name.size() < 4 || !AsciiEqualsIgnoringCase(name.substr(0, 3), "Mgr")) return std::nullopt;
    // "Mgr" + index never has a sign or a leading zero.
    if (name[3] == '0' && name.size() > 4) return std::nullopt;
    std::size_t index = 0;
    const auto result = std::from_chars(name.data() + 3, name.data() + name.size(), index);
    if (result.ec != std::errc{} || result.ptr != name.data() + name.size()) return std::nullopt;
    return index;
}

std::unordered_set<std::size_t> MgrSectionIndexes(const std::vector<std::string>& sectionNames) {
    std::unordered_set<std::size_t> indexes;
    for (const std::string& name : sectionNames)
        if (const auto index = MgrIndexOf(name)) indexes.insert(*index);
    return indexes;
}

// Entry index as loading reads it from its section; a field that cannot be read
// takes its default and its message goes to report.
template <class Report>
TMgrSchedule ReadMgrEntry(const IniSource& ini, std::size_t index, char decimalSeparator, Report&& report) {
    TMgrSchedule entry;
    const std::string section = MgrSection(index);
    entry.FileName = ini.ReadString(section, "FileName", "");
    entry.FilePath = ini.ReadString(section, "FilePath", "");
    entry.Operation = ini.ReadInt(section, "Operation", 0);
    entry.Option = ini.ReadInt(section, "Option", 0);
    const std::string timer = ini.ReadString(section, "Timer", "0.0");
    if (const auto value = ParseMgrTimer(timer, decimalSeparator)) entry.Timer = *value;
    else report(InvalidFloatMessage(timer));
    const std::string deletable = ini.ReadString(section, "Deletable", "True");
    if (const auto value = ParseIniBool(deletable)) {
        entry.Deletable = *value;
    } else {
        entry.Deletable = true;  // what an absent key gives
        report(InvalidBooleanMessage(deletable));
    }
    return entry;
}

}  // namespace

std::string FormatMgrTimer(double timer, char decimalSeparator) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, timer, std::chars_format::general, 15);
    // Next to the largest number, 15 digits round past it and would never read back: the exact form then.
    double back = 0;
    if (std::from_chars(text, result.ptr, back).ec != std::errc{}) result = std::to_chars(text, text + sizeof text, timer);
    std::string formatted(text, result.ptr);
    for (char& c : formatted)
        if (c == '.') c = decimalSeparator;
    return formatted;
}

std::optional<double> ParseMgrTimer(std::string_view text, char decimalSeparator) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // The mantissa starts with a digit or the decimal mark; a sign may only follow the exponent letter.
    std::string plain;
    plain.reserve(text.size());
    for (const char c : text) {
        if (c == decimalSeparator || c == '.') plain += '.';
        else if (IsDigit(c) || c == 'e' || c == 'E' || c == '+' || c == '-') plain += c;
        else return std::nullopt;
    }
    if (plain.empty() || !(IsDigit(plain.front()) || plain.front() == '.')) return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string InvalidFloatMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid floating point value";
    return message;
}

std::string TooManySchedulesMessage(int storedCount) {
    return "cvtmgr.ini のスケジュール数 " + std::to_string(storedCount) + " は多すぎます。\r\n最初の " +
           std::to_string(kMaxMgrCount) + " 件だけを読み込みます。";
}

std::string LoadErrorsMessage(const std::vector<std::string>& errors) {
    constexpr std::size_t kListed = 10;
    std::string message;
    for (std::size_t i = 0; i < errors.size() && i < kListed; ++i) {
        if (i > 0) message += "\r\n";
        message += errors[i];
    }
    if (errors.size() > kListed) message += "\r\nほか " + std::to_string(errors.size() - kListed) + " 件";
    return message;
}

std::string MgrSection(std::size_t index) { return "Mgr" + std::to_string(index); }

bool MgrSectionNeeded(std::string_view foldedName, std::size_t count) {
    if (foldedName == "general") return true;
    const auto index = MgrIndexOf(foldedName);
    return index && *index < count;
}

LoadedMgrSchedules LoadMgrSchedulesModel(const IniSource& ini, const std::vector<std::string>& sectionNames,
                                         char decimalSeparator) {
    LoadedMgrSchedules loaded;
    int count = ini.ReadInt(kGeneral, kNumOfMgr, 0);
    if (count < 0) count = 0;
    if (count > kMaxMgrCount) {
        loaded.cutCount = count;
        count = kMaxMgrCount;
    }
    std::unordered_set<std::string> reported;
    const auto report = [&](std::string message) {
        if (reported.insert(message).second) loaded.errors.push_back(std::move(message));
    };

    const std::unordered_set<std::size_t> stored = MgrSectionIndexes(sectionNames);
    loaded.schedules.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
        loaded.schedules.push_back(stored.contains(i) ? ReadMgrEntry(ini, i, decimalSeparator, report) : AbsentEntry());
    return loaded;
}

std::vector<std::size_t> MgrEntriesToWrite(const IniSource& stored, const std::vector<std::string>& sectionNames,
                                           const MgrScheduleList& schedules, char decimalSeparator) {
    const std::unordered_set<std::size_t> sections = MgrSectionIndexes(sectionNames);
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < schedules.size(); ++i) {
        bool unreadable = false;
        const TMgrSchedule onFile =
            sections.contains(i)
                ? ReadMgrEntry(stored, i, decimalSeparator, [&](const std::string&) { unreadable = true; })
                : AbsentEntry();
        // A field that took its default is written out, so its message is not shown at every start.
        if (unreadable || onFile != schedules[i]) entries.push_back(i);
    }
    return entries;
}

void SaveMgrSchedulesModel(IniSink& ini, const MgrScheduleList& schedules, const std::vector<std::size_t>& entries,
                           char decimalSeparator) {
    ini.WriteInt(kGeneral, kNumOfMgr, static_cast<int>(schedules.size()));
    for (const std::size_t i : entries) {
        if (i >= schedules.size()) continue;
        const TMgrSchedule& entry = schedules[i];
        const std::string section = MgrSection(i);
        ini.WriteString(section, "FileName", entry.FileName);
        ini.WriteString(section, "FilePath", entry.FilePath);
        ini.WriteInt(section, "Operation", entry.Operation);
        ini.WriteInt(section, "Option", entry.Option);
        ini.WriteString(section, "Timer", FormatMgrTimer(entry.Timer, decimalSeparator));
        // Unlike the settings' "True"/"False"; both forms read back.
        ini.WriteString(section, "Deletable", entry.Deletable ? "-1" : "0");
    }
}

}  // namespace cvt
