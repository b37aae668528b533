// Menus built from short tables: items carry a command id, a Tag and the
// shortcut text shown beside the caption.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/Handles.h"

namespace ui {

struct MenuItem {
    int id = 0;
    const char* caption = "";
    const char* shortcut = nullptr;  // shown right-aligned, e.g. "Ctrl+D"
    int tag = 0;
    bool enabled = true;
    bool radio = false;              // drawn with a bullet when checked
    bool checked = false;
};

void AppendMenuItem(HMENU menu, const MenuItem& item);
void AppendMenuSeparator(HMENU menu);
// Appends an item that opens a new submenu and returns that submenu.
HMENU AppendSubmenu(HMENU menu, const MenuItem& item);

// Item lookups by command id, searching submenus too.
[[nodiscard]] int MenuItemTag(HMENU menu, int id);
void SetMenuItemTag(HMENU menu, int id, int tag);
void EnableMenuCommand(HMENU menu, int id, bool enabled);
[[nodiscard]] bool IsMenuCommandEnabled(HMENU menu, int id);
void CheckMenuCommand(HMENU menu, int id, bool checked);
[[nodiscard]] bool IsMenuCommandChecked(HMENU menu, int id);
[[nodiscard]] std::string MenuItemCaption(HMENU menu, int id);
// The submenu opened by the item with that command id, or null.
[[nodiscard]] HMENU SubmenuOf(HMENU menu, int id);

[[nodiscard]] cvt::UniqueAccel CreateAccelerators(const std::vector<ACCEL>& keys);

}  // namespace ui
