// The list views' columns: building them, sorting by header, reading cells back.
#include "app/MainForm.h"
#include "base/IniSource.h"
#include "ui/ListView.h"

namespace cvt {

int CompareListItems(const std::string& first, const std::string& second, int sortKey) {
    // Locale-aware text order as the user reads the cells; numbers sort through their fixed-width formats.
    return ApplySortKey(lstrcmpA(first.c_str(), second.c_str()), sortKey);
}

void TFrmCVT::BuildColumns(const IniSource& columnIni) {
    for (int n = 0; n < kListCount; ++n) {
        const TColumnManager& manager = columnSettings_[static_cast<size_t>(n)];
        HWND list = lsv_[static_cast<size_t>(n)];
        ui::DeleteAllListColumns(list);
        for (int i = 0; i < manager.Count; ++i) {
            const auto c = static_cast<size_t>(i);
            ui::AddListColumn(list, i, ReadColumnCaption(columnIni, n, manager.Index[c]), manager.Width[c],
                              manager.Align[c]);
        }
        sortFlags_[static_cast<size_t>(n)].Reset(manager.Count);
    }
}

void TFrmCVT::UpdateColumnPositions(int tag) {
    // Cell indexes are the creation order, which a header drag does not change.
    const std::vector<int>& kinds = columnSettings_[static_cast<size_t>(tag)].Index;
    if (tag == 0) processPositions_.Update(kinds);
    else if (tag == 1) windowHandleColumn_.Update(kinds);
}

void TFrmCVT::LsvColumnDragged(int tag) {
    if (tag >= 0 && tag < kListCount) UpdateColumnPositions(tag);
}

void TFrmCVT::LsvColumnClick(int tag, int cellIndex) {
    if (tag < 0 || tag >= kListCount) return;
    const int key = ColumnClick(sortFlags_[static_cast<size_t>(tag)], columnSettings_[static_cast<size_t>(tag)],
                                cellIndex);
    if (key != 0) SortList(tag, key);
}

void TFrmCVT::SortByStoredKey(int tag) {
    const TColumnManager& manager = columnSettings_[static_cast<size_t>(tag)];
    SortList(tag, SortKeyFor(manager.SortIndex, manager.SortWay));
}

void TFrmCVT::SortList(int tag, int sortKey) {
    HWND list = lsv_[static_cast<size_t>(tag)];
    const SortOrder order = SortOrderFromKey(sortKey);
    const int rows = ui::ListRowCount(list);
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) texts.push_back(ui::ListCellText(list, row, order.cell));
    ui::SortListRows(list, [&](int first, int second) {
        return CompareListItems(texts[static_cast<size_t>(first)], texts[static_cast<size_t>(second)], sortKey);
    });
}

std::string TFrmCVT::GetProcessCellText(int kind, int row) const {
    HWND list = lsv_[0];
    const int target = row == kNone ? ui::SelectedListRow(list) : row;
    return ProcessCellTextRule(
        kind, processPositions_,
        [&](int cell) { return target < 0 ? std::string() : ui::ListCellText(list, target, cell); },
        state_.clipboardCopying);
}

}  // namespace cvt
