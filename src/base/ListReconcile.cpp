#include "base/ListReconcile.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

namespace cvt {
namespace {

// Index of each key, or nothing when a key repeats.
bool IndexKeys(const std::vector<ListRow>& rows, std::unordered_map<std::string, int>& index) {
    index.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        if (!index.emplace(rows[i].key, static_cast<int>(i)).second) return false;
    return true;
}

// Marks the elements of a longest strictly increasing run of values (patience sorting).
std::vector<bool> LongestIncreasingRun(const std::vector<int>& values) {
    std::vector<int> tails;                    // index into values of the smallest tail of each length
    std::vector<int> before(values.size(), -1);  // predecessor in the run ending at each element
    for (size_t i = 0; i < values.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), values[i],
                                         [&](int tail, int value) { return values[static_cast<size_t>(tail)] < value; });
        if (at != tails.begin()) before[i] = *(at - 1);
        if (at == tails.end()) tails.push_back(static_cast<int>(i));
        else *at = static_cast<int>(i);
    }
    std::vector<bool> inRun(values.size(), false);
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[static_cast<size_t>(i)])
        inRun[static_cast<size_t>(i)] = true;
    return inRun;
}

}  // namespace

std::vector<ListEdit> ReconcileRows(const std::vector<ListRow>& shown, const std::vector<ListRow>& fresh) {
    std::vector<ListEdit> edits;
    std::unordered_map<std::string, int> shownIndex, freshIndex;
    const bool unique = IndexKeys(shown, shownIndex) && IndexKeys(fresh, freshIndex);

    // Rows that stay: present in both with the same number of cells, in fresh order.
    std::vector<int> survivor;     // shown index of each candidate, in shown order
    std::vector<int> survivorAt;   // its fresh index
    if (unique) {
        for (size_t i = 0; i < shown.size(); ++i) {
            const auto found = freshIndex.find(shown[i].key);
            if (found == freshIndex.end()) continue;
            if (fresh[static_cast<size_t>(found->second)].cells.size() != shown[i].cells.size()) continue;
            survivor.push_back(static_cast<int>(i));
            survivorAt.push_back(found->second);
        }
    }
    const std::vector<bool> staysInPlace = LongestIncreasingRun(survivorAt);
    std::vector<int> keptFrom(fresh.size(), -1);  // per fresh row: the shown row it keeps, or -1
    std::vector<bool> keep(shown.size(), false);
    for (size_t s = 0; s < survivor.size(); ++s) {
        if (!staysInPlace[s]) continue;
        keep[static_cast<size_t>(survivor[s])] = true;
        keptFrom[static_cast<size_t>(survivorAt[s])] = survivor[s];
    }

    // From the bottom up, so that the rows above keep their indexes.
    for (size_t i = shown.size(); i-- > 0;)
        if (!keep[i]) edits.push_back({ListEdit::Kind::Remove, static_cast<int>(i), 0, 0});

    // The kept rows are now in fresh order; what is missing goes in before them.
    for (size_t j = 0; j < fresh.size(); ++j) {
        const int row = static_cast<int>(j);
        const int from = keptFrom[j];
        if (from < 0) {
            edits.push_back({ListEdit::Kind::Insert, row, 0, row});
            continue;
        }
        const ListRow& before = shown[static_cast<size_t>(from)];
        for (size_t c = 0; c < fresh[j].cells.size(); ++c)
            if (before.cells[c] != fresh[j].cells[c]) edits.push_back({ListEdit::Kind::SetCell, row, static_cast<int>(c), row});
        if (before.image != fresh[j].image) edits.push_back({ListEdit::Kind::SetImage, row, 0, row});
    }
    return edits;
}

uintptr_t RowIds::IdOf(const std::string& key) {
    const auto [at, added] = ids_.emplace(key, next_);
    if (added) rows_[next_++].key = key;
    return at->second;
}

const std::string* RowIds::KeyOf(uintptr_t id) const {
    const auto found = rows_.find(id);
    return found == rows_.end() ? nullptr : &found->second.key;
}

const ListRow* RowIds::ShownOf(uintptr_t id) const {
    const auto found = rows_.find(id);
    return found == rows_.end() || found->second.cells.empty() ? nullptr : &found->second;
}

void RowIds::ForgetShown(uintptr_t id) {
    if (const auto found = rows_.find(id); found != rows_.end()) found->second.cells.clear();
}

void RowIds::Shown(const std::vector<ListRow>& rows) {
    std::unordered_map<std::string, uintptr_t> kept;
    std::unordered_map<uintptr_t, ListRow> shown;
    order_.clear();
    orderKnown_ = true;
    for (const ListRow& row : rows) {
        const auto found = ids_.find(row.key);
        // A row this object gave no id to: the list's order is unknown.
        if (found == ids_.end()) {
            orderKnown_ = false;
            continue;
        }
        kept.emplace(row.key, found->second);
        shown.emplace(found->second, row);
        order_.push_back(found->second);
    }
    ids_ = std::move(kept);
    rows_ = std::move(shown);
}

const std::vector<uintptr_t>* RowIds::Order(size_t rowCount) const {
    return orderKnown_ && order_.size() == rowCount ? &order_ : nullptr;
}

void ApplyListEdits(std::vector<ListRow>& rows, const std::vector<ListEdit>& edits, const std::vector<ListRow>& fresh) {
    for (const ListEdit& edit : edits) {
        const auto row = static_cast<size_t>(edit.row);
        if (edit.kind == ListEdit::Kind::Remove) {
            rows.erase(rows.begin() + edit.row);
            continue;
        }
        const ListRow& source = fresh[static_cast<size_t>(edit.fresh)];
        if (edit.kind == ListEdit::Kind::Insert) rows.insert(rows.begin() + edit.row, source);
        else if (edit.kind == ListEdit::Kind::SetCell) rows[row].cells[static_cast<size_t>(edit.cell)] = source.cells[static_cast<size_t>(edit.cell)];
        else rows[row].image = source.image;
    }
}

}  // namespace cvt
