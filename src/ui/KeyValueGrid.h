// A two-column grid of keys and values: a report list view whose value cells
// can be edited in place (the edit only changes what the cell shows).
#pragma once
#include <windows.h>

#include <string>

#include "ui/Controls.h"

namespace ui {

class KeyValueGrid {
public:
    KeyValueGrid() = default;
    KeyValueGrid(const KeyValueGrid&) = delete;  // owns the in-place editor's subclass state
    KeyValueGrid& operator=(const KeyValueGrid&) = delete;

    bool Create(HWND parent, int id, Bounds bounds, HFONT font, const char* keyTitle, int keyWidth,
                const char* valueTitle, int valueWidth);
    [[nodiscard]] HWND Hwnd() const noexcept { return list_; }

    void AddRow(const std::string& key, const std::string& value);
    // Widens the key column to its longest key when the font needs more than it was given.
    void FitKeyColumn();
    // Removes the rows from that row to the end.
    void RemoveRowsFrom(int row);
    void SetValue(int row, const std::string& value);
    [[nodiscard]] std::string Key(int row) const;
    [[nodiscard]] std::string Value(int row) const;
    [[nodiscard]] int RowCount() const;

    // Opens the editor on a row's value cell; Enter or leaving keeps the text, Esc drops it.
    void BeginEdit(int row);
    [[nodiscard]] HWND Editor() const noexcept { return editor_; }
    // The list view's notifications reach the grid through its parent.
    void OnNotify(const NMHDR& header);

private:
    static LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void EndEdit(bool keep);

    HWND list_ = nullptr;
    HWND editor_ = nullptr;
    WNDPROC editorDefault_ = nullptr;
    int editRow_ = -1;
};

}  // namespace ui
