// From the snapshot's records to the verdict engine's facts, and from verdicts
// to what a row of the process list shows: its cell text and its colour.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sysinfo/ProcessRecord.h"
#include "verdict/Verdict.h"

namespace cvt {

// A PID is reused once its process has gone; with its start time it names one process.
[[nodiscard]] std::string ProcessRowKey(const TProcessManager& process);

// The facts the records themselves hold: names, path, parent, account, command
// line. The version names and the database entry are the caller's to add.
// systemRoot fills the kernel-style paths as the path column shows them.
[[nodiscard]] std::vector<ProcessFacts> FactsOfSnapshot(const std::vector<TProcessManager>& processes,
                                                        std::string_view systemRoot);

using TextLoader = std::function<std::string(unsigned stringId)>;
// "警告: " and the first reason; empty without a verdict.
[[nodiscard]] std::string VerdictCellText(const Verdict& verdict, const TextLoader& load);
// One line per reason, as the detail window lists them.
[[nodiscard]] std::string ReasonText(const Reason& reason, const TextLoader& load);

struct RowColour {
    uint8_t red, green, blue;
    friend bool operator==(const RowColour&, const RowColour&) = default;
};
inline constexpr RowColour kNoticeColour{255, 255, 192};   // pale yellow
inline constexpr RowColour kWarningColour{255, 192, 112};  // orange
inline constexpr RowColour kDangerColour{255, 128, 128};   // red light enough for black text
inline constexpr RowColour kNewRowColour{208, 232, 255};   // pale blue

// The level's colour, else the new-process colour, else none.
[[nodiscard]] std::optional<RowColour> RowBackground(VerdictLevel level, bool isNew);

// Which rows appeared since the previous refresh, kept for that refresh and the next.
class NewRows {
public:
    // The keys of one refresh. The first refresh finds nothing new: every process
    // was there before the list was.
    void Refresh(const std::vector<std::string>& keys);
    [[nodiscard]] bool IsNew(const std::string& key) const { return refreshesLeft_.contains(key); }

private:
    static constexpr int kRefreshesShown = 2;
    bool first_ = true;
    std::unordered_map<std::string, int> refreshesLeft_;
    std::vector<std::string> previous_;
};

}  // namespace cvt
