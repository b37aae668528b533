// The list views' columns and rows: building, sorting, and the popup's place.
#include "lists/ColumnView.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/ButtonRow.h"
#include "ui/Controls.h"
#include "ui/ListView.h"

namespace cvt {

int CompareListItems(const std::string& first, const std::string& second, int sortKey) {
    // Locale-aware text order as the user reads the cells; numbers sort through their fixed-width formats.
    return ApplySortKey(lstrcmpA(first.c_str(), second.c_str()), sortKey);
}

HWND CreatePageList(ui::Page& page, HFONT font, int id, int tag) {
    constexpr int kMargin = ui::kButtonMargin;
    RECT rc{};
    GetClientRect(page.Hwnd(), &rc);
    const ui::Bounds bounds{kMargin, kMargin, rc.right - 2 * kMargin, rc.bottom - kMargin - ui::kButtonRowSpace};
    HWND list = ui::CreateReportListView(page.Hwnd(), id, bounds, font);
    page.ChildAnchors().Add(list, ui::AnchorAll);
    ui::SetControlTag(list, tag);
    return list;
}

void BuildListColumns(HWND list, int listNumber, const TColumnManager& manager, const IniSource& columnIni) {
    ui::DeleteAllListColumns(list);
    for (int i = 0; i < manager.Count; ++i) {
        const auto c = static_cast<size_t>(i);
        ui::AddListColumn(list, i, ReadColumnCaption(columnIni, listNumber, manager.Index[c]), manager.Width[c],
                          manager.Align[c]);
    }
}

void SortByStoredKey(HWND list, const TColumnManager& manager) {
    SortList(list, SortKeyFor(manager.SortIndex, manager.SortWay));
}

void SortList(HWND list, int sortKey) {
    const SortOrder order = SortOrderFromKey(sortKey);
    const int rows = ui::ListRowCount(list);
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) texts.push_back(ui::ListCellText(list, row, order.cell));
    ui::SortListRows(list, [&](int first, int second) {
        return CompareListItems(texts[static_cast<size_t>(first)], texts[static_cast<size_t>(second)], sortKey);
    });
}

void SortRows(std::vector<ListRow>& rows, int sortKey) {
    const auto cell = static_cast<size_t>(SortOrderFromKey(sortKey).cell);
    static const std::string kNoText;
    const auto text = [&](const ListRow& row) -> const std::string& {
        return cell < row.cells.size() ? row.cells[cell] : kNoText;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& first, const ListRow& second) {
        return CompareListItems(text(first), text(second), sortKey) < 0;
    });
}

void TrackListPopup(HWND list, HMENU popup, LPARAM screenPoint, HWND owner) {
    POINT pt{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {
        RECT rc{};
        const int row = ui::SelectedListRow(list);
        rc.left = LVIR_BOUNDS;
        if (row < 0 || !SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc))) rc = {};
        pt = {rc.left, rc.bottom};
        ClientToScreen(list, &pt);
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
}

}  // namespace cvt
