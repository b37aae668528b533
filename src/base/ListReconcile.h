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
class RowIds {
public:
    [[nodiscard]] uintptr_t IdOf(const std::string& key);
    // Null for 0 and for numbers this object did not give.
    [[nodiscard]] const std::string* KeyOf(uintptr_t id) const;
    // Forgets the keys these rows do not have: the table never outgrows the list.
    void KeepOnly(const std::vector<ListRow>& rows);

private:
    std::unordered_map<std::string, uintptr_t> ids_;
    std::unordered_map<uintptr_t, std::string> keys_;
    uintptr_t next_ = 1;
};

// What the edits do, on plain rows: the tests' model of a list view.
void ApplyListEdits(std::vector<ListRow>& rows, const std::vector<ListEdit>& edits,
                    const std::vector<ListRow>& fresh);

}  // namespace cvt
