// Column settings of the three list views: loading, saving and sort keys.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/IniSource.h"
#include "base/None.h"

namespace cvt {

// More columns than any list has kinds for; larger stored counts are refused.
constexpr int kMaxColumns = 64;
// Widths outside this range are not trusted.
constexpr int kMaxColumnWidth = 4000;
// Width of a column whose stored and default widths are both unusable.
constexpr int kFallbackColumnWidth = 100;
constexpr int kListCount = 3;

// One list view's columns, in creation order. Count equals the vectors' sizes.
struct TColumnManager {
    int Count = 0;
    int SortIndex = 0;    // cell index of the sort column
    bool SortWay = true;  // true: ascending
    std::vector<int> Index;  // kind of each column
    std::vector<int> Width;
    std::vector<int> Align;  // 0 left, 1 right, 2 centre
};

// Indexed by the list view's tag: 0 processes, 1 windows, 2 schedules.
using ColumnSettingsArray = std::array<TColumnManager, kListCount>;

struct GeneralOptions {
    int refreshRate = 2;
    bool standardization = false;
    bool registerStartup = false;
};

struct LoadedSettings {
    ColumnSettingsArray columns;
    // No usable column count for some list: the lists from there on are not
    // loaded, no column may be built and the program cannot start.
    bool columnsMissing = false;
    // Once raised by one list it stays raised for the later ones.
    bool defaultsUsed = false;
    // One record per list pass, in order: the window applies each in turn.
    std::vector<GeneralOptions> generalPasses;
    // Each unreadable boolean text once; its key took its default.
    std::vector<std::string> invalidBooleans;
};

// Reads the three lists from cvt.ini, falling back to column.ini's defaults.
[[nodiscard]] LoadedSettings LoadSettingsModel(const IniSource& cvtIni,
                                               const IniSource& columnIni);

// Caption of a column kind of a list; empty when column.ini has none.
[[nodiscard]] std::string ReadColumnCaption(const IniSource& columnIni, int list, int kind);

// A column as the list view shows it at save time.
struct ShownColumn {
    int cellIndex = 0;  // creation index; never changed by a drag
    int kind = 0;
    int width = 0;
    int align = 0;
};

struct SavedState {
    GeneralOptions general;
    // Per list, the columns in the order they are shown now.
    std::array<std::vector<ShownColumn>, kListCount> shown;
};

// Writes the General and List sections. The managers take the shown order, as
// the next start will create the columns in it; their SortIndex stays a cell
// index because the running lists still sort by it.
void SaveSettingsModel(IniSink& cvtIni, const SavedState& state, ColumnSettingsArray& columns);

// Sort keys: +(cell+1) ascending, -(cell+1) descending; cell 0 is the caption.
[[nodiscard]] int SortKeyFor(int sortIndex, bool sortWay) noexcept;

struct SortOrder {
    int cell = 0;
    bool descending = false;
};

[[nodiscard]] SortOrder SortOrderFromKey(int sortKey) noexcept;

// The comparison's sign, reversed for a descending key; always -1, 0 or 1.
[[nodiscard]] int ApplySortKey(int compareResult, int sortKey) noexcept;

// Per column of one list: whether its next header click sorts descending.
class SortDirectionFlags {
public:
    // After the columns are built: count flags, all ascending.
    void Reset(int count);
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(flags.size()); }
    [[nodiscard]] bool NextDescending(int cell) const noexcept;

    // Key for a click on that cell's header, then flips its flag. 0 for a cell
    // this list does not have: do not sort.
    [[nodiscard]] int ClickKey(int cell) noexcept;

private:
    std::vector<bool> flags;
};

// A header click: the key to sort by now, remembered in the manager as the
// list's sort for later refreshes and for the next start. 0: nothing to sort.
[[nodiscard]] int ColumnClick(SortDirectionFlags& flags, TColumnManager& manager, int cell) noexcept;

}  // namespace cvt
