// Menu items through MENUITEMINFO so that each one can carry its Tag.
#include "ui/Menu.h"

namespace ui {
namespace {

std::string CaptionWithShortcut(const MenuItem& item) {
    std::string text = item.caption;
    if (item.shortcut != nullptr) text += std::string("\t") + item.shortcut;
    return text;
}

MENUITEMINFOA ItemInfo(const MenuItem& item, std::string& text) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_STATE | MIIM_TYPE;
    info.fType = MFT_STRING | (item.radio ? MFT_RADIOCHECK : 0);
    info.fState = (item.enabled ? MFS_ENABLED : MFS_DISABLED) | (item.checked ? MFS_CHECKED : 0);
    info.wID = static_cast<UINT>(item.id);
    info.dwItemData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(item.tag));
    info.dwTypeData = text.data();
    return info;
}

bool GetItem(HMENU menu, int id, MENUITEMINFOA& info) {
    info.cbSize = sizeof info;
    return GetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &info) != FALSE;
}

}  // namespace

void AppendMenuItem(HMENU menu, const MenuItem& item) {
    std::string text = CaptionWithShortcut(item);
    MENUITEMINFOA info = ItemInfo(item, text);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void AppendMenuSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

HMENU AppendSubmenu(HMENU menu, const MenuItem& item) {
    HMENU sub = CreatePopupMenu();
    std::string text = CaptionWithShortcut(item);
    MENUITEMINFOA info = ItemInfo(item, text);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = sub;
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    return sub;
}

int MenuItemTag(HMENU menu, int id) {
    MENUITEMINFOA info{};
    info.fMask = MIIM_DATA;
    return GetItem(menu, id, info) ? static_cast<int>(static_cast<LONG_PTR>(info.dwItemData)) : 0;
}

void SetMenuItemTag(HMENU menu, int id, int tag) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(tag));
    SetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &info);
}

void EnableMenuCommand(HMENU menu, int id, bool enabled) {
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool IsMenuCommandEnabled(HMENU menu, int id) {
    MENUITEMINFOA info{};
    info.fMask = MIIM_STATE;
    return GetItem(menu, id, info) && (info.fState & MFS_DISABLED) == 0;
}

void CheckMenuCommand(HMENU menu, int id, bool checked) {
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsMenuCommandChecked(HMENU menu, int id) {
    MENUITEMINFOA info{};
    info.fMask = MIIM_STATE;
    return GetItem(menu, id, info) && (info.fState & MFS_CHECKED) != 0;
}

std::string MenuItemCaption(HMENU menu, int id) {
    char buffer[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(id), buffer, sizeof buffer, MF_BYCOMMAND);
    return buffer;
}

HMENU SubmenuOf(HMENU menu, int id) {
    MENUITEMINFOA info{};
    info.fMask = MIIM_SUBMENU;
    return GetItem(menu, id, info) ? info.hSubMenu : nullptr;
}

cvt::UniqueAccel CreateAccelerators(const std::vector<ACCEL>& keys) {
    std::vector<ACCEL> copy = keys;
    return cvt::UniqueAccel(CreateAcceleratorTableA(copy.data(), static_cast<int>(copy.size())));
}

}  // namespace ui
