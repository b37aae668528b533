// Key/value grid over a list view with an EDIT control laid over the value cell.
#include "ui/KeyValueGrid.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/ListView.h"

namespace ui {

bool KeyValueGrid::Create(HWND parent, int id, Bounds bounds, HFONT font, const char* keyTitle, int keyWidth,
                          const char* valueTitle, int valueWidth) {
    list_ = CreateChild(parent, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                        WS_EX_CLIENTEDGE, bounds, id, font);
    if (list_ == nullptr) return false;
    const DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    AddListColumn(list_, 0, keyTitle, keyWidth, 0);
    AddListColumn(list_, 1, valueTitle, valueWidth, 0);
    return true;
}

void KeyValueGrid::AddRow(const std::string& key, const std::string& value) { AppendListRow(list_, {key, value}); }

void KeyValueGrid::RemoveRowsFrom(int row) {
    for (int last = RowCount() - 1; last >= row && last >= 0; --last) SendMessageA(list_, LVM_DELETEITEM, last, 0);
}

void KeyValueGrid::FitKeyColumn() {
    constexpr int kCellPadding = 16;
    int width = ListColumnWidth(list_, 0);
    for (int row = 0; row < RowCount(); ++row) {
        const std::string key = Key(row);
        const int needed = static_cast<int>(SendMessageA(list_, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(key.c_str())));
        width = std::max(width, needed + kCellPadding);
    }
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, width);
}

void KeyValueGrid::SetValue(int row, const std::string& value) { SetListCellText(list_, row, 1, value); }

std::string KeyValueGrid::Key(int row) const { return ListCellText(list_, row, 0); }

std::string KeyValueGrid::Value(int row) const { return ListCellText(list_, row, 1); }

int KeyValueGrid::RowCount() const { return ListRowCount(list_); }

void KeyValueGrid::BeginEdit(int row) {
    EndEdit(true);
    if (row < 0 || row >= RowCount()) return;
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    if (!SendMessageA(list_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) return;
    editRow_ = row;
    editor_ = CreateWindowExA(0, "EDIT", Value(row).c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                              cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, list_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SendMessageA(editor_, WM_SETFONT, SendMessageA(list_, WM_GETFONT, 0, 0), FALSE);
    SetWindowLongPtrA(editor_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editorDefault_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorProc)));
    SendMessageA(editor_, EM_SETSEL, 0, -1);
    SetFocus(editor_);
}

void KeyValueGrid::EndEdit(bool keep) {
    if (editor_ == nullptr) return;
    HWND editor = editor_;
    editor_ = nullptr;  // first, so that the focus loss below does not end the edit twice
    if (keep) {
        char text[1024] = {};
        GetWindowTextA(editor, text, sizeof text);
        SetValue(editRow_, text);
    }
    editRow_ = -1;
    DestroyWindow(editor);
}

LRESULT CALLBACK KeyValueGrid::EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* grid = reinterpret_cast<KeyValueGrid*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    const WNDPROC previous = grid->editorDefault_;
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                grid->EndEdit(wParam == VK_RETURN);
                SetFocus(grid->list_);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == 27) return 0;  // no beep for the keys handled above
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcA(previous, hwnd, message, wParam, lParam);
            if (grid->editor_ == hwnd) grid->EndEdit(true);  // destroys hwnd: nothing may follow
            return result;
        }
        default:
            break;
    }
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void KeyValueGrid::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != list_) return;
    if (header.code == NM_DBLCLK) {
        BeginEdit(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    } else if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_F2) {
        BeginEdit(SelectedListRow(list_));
    } else if (header.code == LVN_BEGINSCROLL || header.code == NM_CLICK) {
        EndEdit(true);
    }
}

}  // namespace ui
