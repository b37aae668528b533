// Report-mode list views: creation, columns, rows, cell texts and sorting.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/ListReconcile.h"
#include "ui/Controls.h"

namespace ui {

// Whole-row, single selection, selection shown without focus, draggable headers.
HWND CreateReportListView(HWND parent, int id, Bounds bounds, HFONT font);

// alignment: 0 left, 1 right, 2 centre.
void AddListColumn(HWND listView, int cellIndex, const std::string& caption, int width, int alignment);
void DeleteAllListColumns(HWND listView);
[[nodiscard]] int ListColumnCount(HWND listView);
[[nodiscard]] int ListColumnWidth(HWND listView, int cellIndex);
[[nodiscard]] std::string ListColumnCaption(HWND listView, int cellIndex);
// Cell indexes in the order the user sees the columns.
[[nodiscard]] std::vector<int> ListColumnOrder(HWND listView);

// Adds a row at the end; texts[0] is the caption. image: index in the small-icon
// list, or -1 for none. Returns the row number.
int AppendListRow(HWND listView, const std::vector<std::string>& texts, int image = -1);
[[nodiscard]] int ListRowCount(HWND listView);
// The number a row carries (its lParam); 0 for no row.
[[nodiscard]] LPARAM ListRowParam(HWND listView, int row);
// The number a row carries (its lParam); 0 for no row.
LPARAM ListRowParam(HWND listView, int row);
void SetListCellText(HWND listView, int row, int cellIndex, const std::string& text);
[[nodiscard]] std::string ListCellText(HWND listView, int row, int cellIndex);
[[nodiscard]] int SelectedListRow(HWND listView);
void SelectListRow(HWND listView, int row);

// Sorts the rows; compare gets two row numbers as they stood before the sort
// and must not read the control (read the texts first). Each row keeps its lParam.
void SortListRows(HWND listView, const std::function<int(int, int)>& compare);

// Makes the list show fresh, in its order, by editing only the rows and cells
// that differ; each row carries its key's number from ids as its lParam. Rows
// of unknown number (put there by anyone else) are replaced. Painting is off
// while edits are applied; a list with nothing to change is not touched.
// Returns whether anything changed.
bool ReconcileListRows(HWND listView, const std::vector<cvt::ListRow>& fresh, cvt::RowIds& ids);

}  // namespace ui

namespace ui {
// Posts message(wParam) to target after the user drops a dragged header, once
// the control has taken the new column order.
void NotifyColumnDragged(HWND listView, HWND target, UINT message, WPARAM wParam);
}  // namespace ui
