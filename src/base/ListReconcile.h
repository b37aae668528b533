// The edits that turn the rows a list shows into the rows a rebuild would give,
// touching nothing that did not change: a list refreshed in place looks exactly
// like one rebuilt, without the cost and the flicker of the rebuild.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace cvt {

// One row: a key that stays the same while its object lives (a process or a
// window), its cell texts (cell 0 is the caption) and its image (-1: none).
struct ListRow {
    std::string key;
    std::vector<std::string> cells;
    int image = -1;

    friend bool operator==(const ListRow&, const ListRow&) = default;
};

struct ListEdit {
    enum class Kind { Remove, Insert, SetCell, SetImage };
    Kind kind = Kind::Remove;
    int row = 0;       // the row's index when the edit is applied
    int cell = 0;      // SetCell
    int fresh = 0;     // Insert, SetCell, SetImage: the index of the row in the fresh rows
};

// Edits in the order they must be applied: removals from the bottom up, then
// insertions and rewrites from the top down. Rows present in both lists keep
// their place unless the fresh order moves them; of those, the most that can
// stay in place do (a longest run in fresh order), and a moved row is removed
// and inserted. Keys must be unique in each list; when they are not, every row
// is removed and inserted again.
[[nodiscard]] std::vector<ListEdit> ReconcileRows(const std::vector<ListRow>& shown,
                                                  const std::vector<ListRow>& fresh);

// A number for each key that a list row can carry with it (its lParam), so that
// the row's key survives sorting and the removal of other rows. 0 is no key.
// It also remembers what each row was last given, so that a refresh need not
// read every cell back from the control.
class RowIds {
public:
    [[nodiscard]] uintptr_t IdOf(const std::string& key);
    // Null for 0 and for numbers this object did not give.
    [[nodiscard]] const std::string* KeyOf(uintptr_t id) const;
    // The row as last given to the list; null when unknown or written by someone else since.
    [[nodiscard]] const ListRow* ShownOf(uintptr_t id) const;
    // Someone else wrote into the row: its cells are read from the list again.
    void ForgetShown(uintptr_t id);
    // The list now shows exactly these rows in this order: the keys of other rows
    // are forgotten, so the table never outgrows the list.
    void Shown(const std::vector<ListRow>& rows);
    // The ids of the rows in the order last shown, when the list still has that many
    // rows and has not been sorted since; null otherwise.
    [[nodiscard]] const std::vector<uintptr_t>* Order(size_t rowCount) const;
    // The list was sorted: the order is read from the list again.
    void ForgetOrder() { orderKnown_ = false; }

private:
    std::unordered_map<std::string, uintptr_t> ids_;
    std::unordered_map<uintptr_t, ListRow> rows_;  // by id: the key and what the row shows
    std::vector<uintptr_t> order_;
    bool orderKnown_ = false;
    uintptr_t next_ = 1;
};

// What the edits do, on plain rows: the tests' model of a list view.
void ApplyListEdits(std::vector<ListRow>& rows, const std::vector<ListEdit>& edits,
                    const std::vector<ListRow>& fresh);

}  // namespace cvt
