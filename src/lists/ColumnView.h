// The three list views as their pages use them: made on a page, their columns
// built from the settings, their rows sorted by a key, their popups opened.
#pragma once
#include <windows.h>

#include <string>

#include "base/IniSource.h"
#include "base/ListReconcile.h"
#include "lists/ColumnSettings.h"
#include "ui/Page.h"

namespace cvt {

// lstrcmpA of two cell texts, negated for a descending sort key.
[[nodiscard]] int CompareListItems(const std::string& first, const std::string& second, int sortKey);

// A report-style list filling the page above its row of buttons; tag: its list number.
HWND CreatePageList(ui::Page& page, HFONT font, int id, int tag);

// Replaces the list's columns with those of its settings, captions from column.ini.
void BuildListColumns(HWND list, int listNumber, const TColumnManager& manager, const IniSource& columnIni);

void SortList(HWND list, int sortKey);
// Puts rows in the order SortList gives the same rows in a list: stably, so
// that equal texts keep the order they came in, as the control's sort does.
void SortRows(std::vector<ListRow>& rows, int sortKey);
// By the list's stored sort column and direction, as after every refresh.
void SortByStoredKey(HWND list, const TColumnManager& manager);

// Opens the list's popup at the mouse, or, from the keyboard (screenPoint -1),
// at the selected row or the list's corner; its commands go to owner.
void TrackListPopup(HWND list, HMENU popup, LPARAM screenPoint, HWND owner);

}  // namespace cvt
