// List view helpers over the common-controls messages.
#include "ui/ListView.h"

#include <windows.h>
#include <commctrl.h>

namespace ui {

HWND CreateReportListView(HWND parent, int id, Bounds bounds, HFONT font) {
    HWND hwnd = CreateChild(parent, WC_LISTVIEWA, "",
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE,
                            bounds, id, font);
    if (hwnd != nullptr) {
        const DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
        SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    }
    return hwnd;
}

void AddListColumn(HWND listView, int cellIndex, const std::string& caption, int width, int alignment) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = alignment == 1 ? LVCFMT_RIGHT : alignment == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(caption.c_str());
    column.iSubItem = cellIndex;
    SendMessageA(listView, LVM_INSERTCOLUMNA, cellIndex, reinterpret_cast<LPARAM>(&column));
}

void DeleteAllListColumns(HWND listView) {
    while (SendMessageA(listView, LVM_DELETECOLUMN, 0, 0) != FALSE) {
    }
}

int ListColumnCount(HWND listView) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    return header == nullptr ? 0 : static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

int ListColumnWidth(HWND listView, int cellIndex) {
    return static_cast<int>(SendMessageA(listView, LVM_GETCOLUMNWIDTH, cellIndex, 0));
}

std::string ListColumnCaption(HWND listView, int cellIndex) {
    char buffer[260] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = sizeof buffer;
    SendMessageA(listView, LVM_GETCOLUMNA, cellIndex, reinterpret_cast<LPARAM>(&column));
    return buffer;
}

std::vector<int> ListColumnOrder(HWND listView) {
    std::vector<int> order(static_cast<size_t>(ListColumnCount(listView)));
    if (!order.empty())
        SendMessageA(listView, LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

namespace {
// -1 would ask the parent for the image (I_IMAGECALLBACK) every time the row is drawn.
int ImageOrNone(int image) { return image < 0 ? I_IMAGENONE : image; }

int InsertListRow(HWND listView, int at, const std::vector<std::string>& texts, int image, LPARAM param) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iImage = ImageOrNone(image);
    item.iItem = at;
    item.lParam = param;
    item.pszText = const_cast<char*>(texts.empty() ? "" : texts[0].c_str());
    const int row = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (size_t i = 1; i < texts.size(); ++i) SetListCellText(listView, row, static_cast<int>(i), texts[i]);
    return row;
}
}  // namespace

int AppendListRow(HWND listView, const std::vector<std::string>& texts, int image) {
    return InsertListRow(listView, ListRowCount(listView), texts, image, 0);
}

void SetListCellText(HWND listView, int row, int cellIndex, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = cellIndex;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

int ListRowCount(HWND listView) { return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)); }

LPARAM ListRowParam(HWND listView, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

std::string ListCellText(HWND listView, int row, int cellIndex) {
    // The control copies at most the buffer size; grow until the text fits.
    std::string buffer(256, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = cellIndex;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const int length =
            static_cast<int>(SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        if (length < static_cast<int>(buffer.size()) - 1 || buffer.size() >= 65536) {
            buffer.resize(static_cast<size_t>(length < 0 ? 0 : length));
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

int SelectedListRow(HWND listView) {
    return static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectListRow(HWND listView, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

namespace {
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
    const auto& compare = *reinterpret_cast<const std::function<int(int, int)>*>(context);
    return compare(static_cast<int>(first), static_cast<int>(second));
}
}  // namespace

namespace {
LPARAM RowParam(HWND listView, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

void SetRowParam(HWND listView, int row, LPARAM param) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = param;
    SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}
}  // namespace

void SortListRows(HWND listView, const std::function<int(int, int)>& compare) {
    // The callback must not read the control while it sorts, so each row carries
    // its number from before the sort and the caller compares texts it read first;
    // the rows' own lParams are put back afterwards.
    const int count = ListRowCount(listView);
    std::vector<LPARAM> params(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        params[static_cast<size_t>(row)] = RowParam(listView, row);
        SetRowParam(listView, row, row);
    }
    SendMessageA(listView, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(&CompareRows));
    for (int row = 0; row < count; ++row) {
        const auto before = static_cast<size_t>(RowParam(listView, row));
        SetRowParam(listView, row, before < params.size() ? params[before] : 0);
    }
}

bool ReconcileListRows(HWND listView, const std::vector<cvt::ListRow>& fresh, cvt::RowIds& ids) {
    using cvt::ListEdit;
    // A list without images has none to compare.
    const bool images = SendMessageA(listView, LVM_GETIMAGELIST, LVSIL_SMALL, 0) != 0;
    const int count = ListRowCount(listView);
    const auto cells = static_cast<size_t>(ListColumnCount(listView));
    std::vector<cvt::ListRow> shown(static_cast<size_t>(count));
    const std::vector<uintptr_t>* order = ids.Order(shown.size());
    for (int row = 0; row < count; ++row) {
        cvt::ListRow& r = shown[static_cast<size_t>(row)];
        // Every message to the control costs: what each row was last given, and in which
        // order, is remembered, and only what someone else changed is read back.
        const uintptr_t id = order != nullptr ? (*order)[static_cast<size_t>(row)]
                                              : static_cast<uintptr_t>(ListRowParam(listView, row));
        if (const cvt::ListRow* known = ids.ShownOf(id); known != nullptr && known->cells.size() == cells) {
            r = *known;
            continue;
        }
        const std::string* key = ids.KeyOf(id);
        // Keys never start with a NUL: a row of unknown number matches no fresh row.
        r.key = key != nullptr ? *key : std::string(1, '\0') + std::to_string(row);
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        r.image = images && item.iImage >= 0 ? item.iImage : -1;
        r.cells.reserve(cells);
        for (size_t c = 0; c < cells; ++c) r.cells.push_back(ListCellText(listView, row, static_cast<int>(c)));
    }
    const std::vector<ListEdit> edits = cvt::ReconcileRows(shown, fresh);
    if (!edits.empty()) {
        SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
        for (const ListEdit& edit : edits) {
            if (edit.kind == ListEdit::Kind::Remove) {
                SendMessageA(listView, LVM_DELETEITEM, edit.row, 0);
                continue;
            }
            const cvt::ListRow& source = fresh[static_cast<size_t>(edit.fresh)];
            if (edit.kind == ListEdit::Kind::Insert) {
                InsertListRow(listView, edit.row, source.cells, source.image, static_cast<LPARAM>(ids.IdOf(source.key)));
            } else if (edit.kind == ListEdit::Kind::SetCell) {
                SetListCellText(listView, edit.row, edit.cell, source.cells[static_cast<size_t>(edit.cell)]);
            } else {
                LVITEMA item{};
                item.mask = LVIF_IMAGE;
                item.iItem = edit.row;
                item.iImage = ImageOrNone(source.image);
                SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            }
        }
        SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
        // The control paints its own background: no erase, no flicker.
        InvalidateRect(listView, nullptr, FALSE);
    }
    ids.Shown(fresh);
    return !edits.empty();
}

}  // namespace ui

namespace ui {
namespace {

// Header notifications go to the list view itself, so the list view is subclassed.
struct DragNotice {
    WNDPROC previous;
    HWND target;
    UINT message;
    WPARAM wParam;
};
constexpr char kDragNoticeProp[] = "CvtDragNotice";

LRESULT CALLBACK ListViewWithDragNotice(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* notice = static_cast<DragNotice*>(GetPropA(hwnd, kDragNoticeProp));
    if (notice == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    const WNDPROC previous = notice->previous;
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == HDN_ENDDRAG)
        PostMessageA(notice->target, notice->message, notice->wParam, 0);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, kDragNoticeProp);
        delete notice;
    }
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

}  // namespace

void NotifyColumnDragged(HWND listView, HWND target, UINT message, WPARAM wParam) {
    auto* notice = new DragNotice{nullptr, target, message, wParam};
    SetPropA(listView, kDragNoticeProp, notice);
    notice->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListViewWithDragNotice)));
}

}  // namespace ui
