// A list refreshed in place must end exactly as a rebuild, touching only what changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/ListReconcile.h"

using namespace cvt;

namespace {

// A million where nothing slows the drive down (a build of its own, natively,
// without sanitizers); fewer in the sanitized and the Wine runs.
#ifndef CVT_RECONCILE_PAIRS
#define CVT_RECONCILE_PAIRS 20000
#endif

int Count(const std::vector<ListEdit>& edits, ListEdit::Kind kind) {
    return static_cast<int>(std::count_if(edits.begin(), edits.end(), [&](const ListEdit& e) { return e.kind == kind; }));
}

// Rows of both lists (same key and cell count) that a move-free refresh can keep: the
// longest run of them whose fresh order is their shown order. Quadratic, on purpose plain.
int MostRowsThatCanStay(const std::vector<ListRow>& shown, const std::vector<ListRow>& fresh) {
    std::vector<int> at;
    for (const ListRow& row : shown)
        for (size_t j = 0; j < fresh.size(); ++j)
            if (fresh[j].key == row.key && fresh[j].cells.size() == row.cells.size()) at.push_back(static_cast<int>(j));
    std::vector<int> longest(at.size(), 1);
    int best = 0;
    for (size_t i = 0; i < at.size(); ++i) {
        for (size_t k = 0; k < i; ++k)
            if (at[k] < at[i]) longest[i] = std::max(longest[i], longest[k] + 1);
        best = std::max(best, longest[i]);
    }
    return best;
}

std::vector<ListRow> RandomRows(std::mt19937& random, bool uniqueKeys) {
    static const char* const kTexts[] = {"a", "b", "通常"};
    std::vector<int> keys(14);
    for (size_t k = 0; k < keys.size(); ++k) keys[k] = static_cast<int>(k);
    std::shuffle(keys.begin(), keys.end(), random);
    const size_t count = random() % 11;
    const size_t cells = random() % 16 == 0 ? 3 : 2;  // now and then a row of another width
    std::vector<ListRow> rows(count);
    for (size_t i = 0; i < count; ++i) {
        rows[i].key = std::to_string(uniqueKeys ? keys[i] : keys[random() % 4]);
        for (size_t c = 0; c < cells; ++c) rows[i].cells.push_back(kTexts[random() % 3]);
        rows[i].image = static_cast<int>(random() % 3) - 1;
    }
    return rows;
}

}  // namespace

TEST(ListReconcile, RandomRefreshesEndAsTheRebuildAndKeepEveryRowThatCanStay) {
    std::mt19937 random(20261207);
    for (int pair = 0; pair < CVT_RECONCILE_PAIRS; ++pair) {
        const bool unique = pair % 50 != 0;
        const std::vector<ListRow> shown = RandomRows(random, unique);
        const std::vector<ListRow> fresh = RandomRows(random, unique);
        const std::vector<ListEdit> edits = ReconcileRows(shown, fresh);

        std::vector<ListRow> rows = shown;
        for (const ListEdit& edit : edits) {
            // A cell or an image is only rewritten where it differs.
            if (edit.kind == ListEdit::Kind::SetCell)
                ASSERT_NE(rows[edit.row].cells[edit.cell], fresh[edit.fresh].cells[edit.cell]) << pair;
            if (edit.kind == ListEdit::Kind::SetImage) ASSERT_NE(rows[edit.row].image, fresh[edit.fresh].image) << pair;
            ApplyListEdits(rows, {edit}, fresh);
        }
        ASSERT_EQ(rows, fresh) << pair;
        if (unique) {
            const int kept = static_cast<int>(fresh.size()) - Count(edits, ListEdit::Kind::Insert);
            ASSERT_EQ(kept, MostRowsThatCanStay(shown, fresh)) << pair;
            ASSERT_EQ(Count(edits, ListEdit::Kind::Remove), static_cast<int>(shown.size()) - kept) << pair;
        }
    }
}

TEST(ListReconcile, AnUnchangedListIsNotTouched) {
    const std::vector<ListRow> rows = {{"4", {"System", "    4"}, 0}, {"8", {"smss.exe", "    8"}, 1}};
    EXPECT_TRUE(ReconcileRows(rows, rows).empty());
    EXPECT_TRUE(ReconcileRows({}, {}).empty());
}

TEST(ListReconcile, RepeatedKeysRebuildEveryRow) {
    const std::vector<ListRow> shown = {{"1", {"a"}}, {"1", {"b"}}};
    const std::vector<ListRow> fresh = {{"1", {"b"}}};
    const auto edits = ReconcileRows(shown, fresh);
    EXPECT_EQ(Count(edits, ListEdit::Kind::Remove), 2);
    EXPECT_EQ(Count(edits, ListEdit::Kind::Insert), 1);
}
