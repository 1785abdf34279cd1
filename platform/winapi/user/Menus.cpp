#include "platform/winapi/user/Menus.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace detail = winapi_user::detail;

// Menus as data: the handle table and the item calls. Showing a menu is MenuWindow.cpp's job.

namespace winapi_user::detail {

namespace {

struct MenuTable {
    std::map<HMENU, std::unique_ptr<Menu>> menus;
    ULONG_PTR next = 0x4000;
};

MenuTable& Table()
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static MenuTable& table = *new MenuTable;
    return table;
}

HMENU NewMenu(bool popup)
{
    auto& table = Table();
    const auto handle = reinterpret_cast<HMENU>(table.next += 4);
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    table.menus.emplace(handle, std::move(menu));
    return handle;
}

std::optional<ItemRef> FindByCommand(HMENU hmenu, UINT id, int depth)
{
    const Menu* menu = FindMenu(hmenu);
    if (!menu || depth > 16) // a menu that contains itself must not hang the search
        return std::nullopt;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        if (item.subMenu) {
            if (auto found = FindByCommand(item.subMenu, id, depth + 1))
                return found;
        } else if (item.id == id) {
            return ItemRef{hmenu, i};
        }
    }
    return std::nullopt;
}

// The item that the older calls (AppendMenu, InsertMenu, ModifyMenu) describe with MF_* flags.
MenuItem ItemFromFlags(UINT flags, UINT_PTR idOrMenu, LPCSTR newItem)
{
    MenuItem item;
    item.type = flags & (MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_SEPARATOR |
                         MFT_RADIOCHECK | MFT_RIGHTJUSTIFY | MFT_RIGHTORDER);
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & MF_POPUP)
        item.subMenu = reinterpret_cast<HMENU>(idOrMenu);
    else
        item.id = static_cast<UINT>(idOrMenu);
    if (flags & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(newItem);
    else if (flags & MF_BITMAP)
        item.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(newItem));
    else if (!(flags & MF_SEPARATOR) && newItem)
        item.text = newItem;
    return item;
}

bool ValidItemFlags(UINT flags, UINT_PTR idOrMenu)
{
    if ((flags & MF_POPUP) && !FindMenu(reinterpret_cast<HMENU>(idOrMenu)))
        return false;
    return true;
}

// Inserts before the item named by (position, byPosition); a position past the end appends.
BOOL InsertItem(HMENU hmenu, UINT position, bool byPosition, MenuItem item)
{
    Menu* menu = FindMenu(hmenu);
    if (!menu)
        return FALSE;
    if (byPosition) {
        const std::size_t at = std::min<std::size_t>(position, menu->items.size());
        menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
        return TRUE;
    }
    const auto ref = FindByCommand(hmenu, position, 0);
    if (!ref) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    auto& items = FindMenu(ref->owner)->items;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(ref->index), std::move(item));
    return TRUE;
}

void ApplyInfo(MenuItem& item, const MENUITEMINFOA& info)
{
    if (info.fMask & MIIM_TYPE) {
        item.type = info.fType;
        item.text.clear();
        item.bitmap = nullptr;
        if (info.fType & MFT_BITMAP)
            item.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
        else if (!(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) && info.dwTypeData)
            item.text = info.dwTypeData;
    }
    if (info.fMask & MIIM_FTYPE)
        item.type = (item.type & MFT_BITMAP) | (info.fType & ~MFT_BITMAP);
    if ((info.fMask & MIIM_STRING) && !(info.fMask & MIIM_TYPE))
        item.text = info.dwTypeData ? info.dwTypeData : "";
    if (info.fMask & MIIM_BITMAP)
        item.bitmap = info.hbmpItem;
    if (info.fMask & MIIM_STATE)
        item.state = info.fState;
    if (info.fMask & MIIM_ID)
        item.id = info.wID;
    if (info.fMask & MIIM_SUBMENU)
        item.subMenu = info.hSubMenu;
    if (info.fMask & MIIM_DATA)
        item.data = info.dwItemData;
}

void CopyText(const std::string& text, MENUITEMINFOA& info)
{
    if (!info.dwTypeData || info.cch == 0) {
        info.cch = static_cast<UINT>(text.size());
        return;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), info.cch - 1);
    std::memcpy(info.dwTypeData, text.data(), count);
    info.dwTypeData[count] = '\0';
    info.cch = static_cast<UINT>(count);
}

void FillInfo(const MenuItem& item, MENUITEMINFOA& info)
{
    if (info.fMask & (MIIM_TYPE | MIIM_FTYPE))
        info.fType = item.type;
    if (info.fMask & MIIM_TYPE) {
        if (item.type & MFT_BITMAP)
            info.dwTypeData = reinterpret_cast<LPSTR>(item.bitmap);
        else if (!(item.type & (MFT_SEPARATOR | MFT_OWNERDRAW)))
            CopyText(item.text, info);
        else
            info.cch = 0;
    } else if (info.fMask & MIIM_STRING) {
        CopyText(item.text, info);
    }
    if (info.fMask & MIIM_BITMAP)
        info.hbmpItem = item.bitmap;
    if (info.fMask & MIIM_STATE)
        info.fState = item.state;
    if (info.fMask & MIIM_ID)
        info.wID = item.id;
    if (info.fMask & MIIM_SUBMENU)
        info.hSubMenu = item.subMenu;
    if (info.fMask & MIIM_DATA)
        info.dwItemData = item.data;
    if (info.fMask & MIIM_CHECKMARKS) {
        info.hbmpChecked = nullptr;
        info.hbmpUnchecked = nullptr;
    }
}

BOOL TakeOut(HMENU hmenu, UINT position, UINT flags, bool destroySubMenu)
{
    const auto ref = LocateItem(hmenu, position, (flags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    auto& items = FindMenu(ref->owner)->items;
    const HMENU subMenu = items[ref->index].subMenu;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(ref->index));
    if (destroySubMenu && subMenu)
        (void)DestroyMenu(subMenu);
    return TRUE;
}

} // namespace

Menu* FindMenu(HMENU hmenu)
{
    auto& menus = Table().menus;
    const auto it = menus.find(hmenu);
    if (it == menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

MenuItem& ItemRef::Item() const
{
    return FindMenu(owner)->items[index];
}

std::optional<ItemRef> LocateItem(HMENU hmenu, UINT item, bool byPosition)
{
    const Menu* menu = FindMenu(hmenu);
    if (!menu)
        return std::nullopt;
    if (!byPosition)
        return FindByCommand(hmenu, item, 0);
    if (item >= menu->items.size()) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return std::nullopt;
    }
    return ItemRef{hmenu, item};
}

} // namespace winapi_user::detail

using detail::FindMenu;
using detail::LocateItem;

HMENU CreateMenu()
{
    return detail::NewMenu(false);
}

HMENU CreatePopupMenu()
{
    return detail::NewMenu(true);
}

BOOL DestroyMenu(HMENU hMenu)
{
    auto& menus = detail::Table().menus;
    const auto it = menus.find(hMenu);
    if (it == menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    const std::unique_ptr<detail::Menu> menu = std::move(it->second);
    menus.erase(it);
    for (const auto& item : menu->items)
        if (item.subMenu)
            (void)DestroyMenu(item.subMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return detail::Table().menus.count(hMenu) ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    if (!detail::ValidItemFlags(uFlags, uIDNewItem))
        return FALSE;
    return detail::InsertItem(hMenu, 0xFFFFFFFF, true, detail::ItemFromFlags(uFlags, uIDNewItem, lpNewItem));
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    if (!detail::ValidItemFlags(uFlags, uIDNewItem))
        return FALSE;
    return detail::InsertItem(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0,
                              detail::ItemFromFlags(uFlags, uIDNewItem, lpNewItem));
}

BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    if (!detail::ValidItemFlags(uFlags, uIDNewItem))
        return FALSE;
    const auto ref = LocateItem(hMnu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    ref->Item() = detail::ItemFromFlags(uFlags, uIDNewItem, lpNewItem);
    return TRUE;
}

BOOL InsertMenuItemA(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmi)
{
    if (!lpmi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    detail::MenuItem newItem;
    detail::ApplyInfo(newItem, *lpmi);
    return detail::InsertItem(hmenu, item, fByPosition != FALSE, std::move(newItem));
}

// Runs `call` on the item that Set/GetMenuItemInfo name; a missing record fails with
// ERROR_INVALID_PARAMETER, a missing item as the look-up reports it.
namespace {

template <class Info, class Call>
BOOL WithMenuItem(HMENU hmenu, UINT item, BOOL byPosition, Info* info, Call call)
{
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto ref = LocateItem(hmenu, item, byPosition != FALSE);
    if (!ref)
        return FALSE;
    call(ref->Item(), *info);
    return TRUE;
}

} // namespace

BOOL SetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOA lpmii)
{
    return WithMenuItem(hmenu, item, fByPositon, lpmii, detail::ApplyInfo);
}

BOOL GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii)
{
    return WithMenuItem(hmenu, item, fByPosition, lpmii, detail::FillInfo);
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return detail::TakeOut(hMenu, uPosition, uFlags, true);
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return detail::TakeOut(hMenu, uPosition, uFlags, false);
}

int GetMenuItemCount(HMENU hMenu)
{
    const detail::Menu* menu = FindMenu(hMenu);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    if (nPos < 0)
        return 0xFFFFFFFF;
    const auto ref = LocateItem(hMenu, static_cast<UINT>(nPos), true);
    if (!ref || ref->Item().subMenu)
        return 0xFFFFFFFF;
    return ref->Item().id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    if (nPos < 0)
        return nullptr;
    const auto ref = LocateItem(hMenu, static_cast<UINT>(nPos), true);
    return ref ? ref->Item().subMenu : nullptr;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    const auto ref = LocateItem(hMenu, uId, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return 0xFFFFFFFF;
    const detail::MenuItem& item = ref->Item();
    UINT state = item.type | item.state;
    if (item.subMenu) {
        const int count = std::max(GetMenuItemCount(item.subMenu), 0);
        state = (static_cast<UINT>(std::min(count, 0xFF)) << 8) | (state & 0xFF) | MF_POPUP;
    }
    return state;
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags)
{
    const auto ref = LocateItem(hMenu, uIDItem, (flags & MF_BYPOSITION) != 0);
    if (!ref)
        return 0;
    const std::string& text = ref->Item().text;
    if (!lpString || cchMax <= 0)
        return static_cast<int>(text.size());
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(cchMax - 1));
    std::memcpy(lpString, text.data(), count);
    lpString[count] = '\0';
    return static_cast<int>(count);
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    const auto ref = LocateItem(hMenu, uIDCheckItem, (uCheck & MF_BYPOSITION) != 0);
    if (!ref)
        return 0xFFFFFFFF;
    UINT& state = ref->Item().state;
    const DWORD previous = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (uCheck & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    const auto ref = LocateItem(hMenu, uIDEnableItem, (uEnable & MF_BYPOSITION) != 0);
    if (!ref)
        return -1;
    UINT& state = ref->Item().state;
    const BOOL previous = static_cast<BOOL>(state & (MF_GRAYED | MF_DISABLED));
    state = (state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags)
{
    const bool byPosition = (flags & MF_BYPOSITION) != 0;
    const auto checked = LocateItem(hmenu, check, byPosition);
    if (!checked)
        return FALSE;
    // Positions (or the commands between first and last) of the group, all in the checked
    // item's menu.
    auto& items = FindMenu(checked->owner)->items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        detail::MenuItem& item = items[i];
        const UINT key = byPosition ? static_cast<UINT>(i) : item.id;
        if (key < first || key > last || item.subMenu)
            continue;
        if (i == checked->index) {
            item.state |= MFS_CHECKED;
            item.type |= MFT_RADIOCHECK;
        } else {
            item.state &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}
