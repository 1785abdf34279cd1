#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Window.h"

#include <map>

namespace detail = winapi_user::detail;

// The menus a window has: its menu (remembered only: no menu bar is drawn, as no window of the
// programs has one) and its system menu, which opens from the caption icon or Alt+Space.

namespace winapi_user::detail {

namespace {

struct WindowMenus {
    std::map<HWND, HMENU> menus;
    std::map<HWND, HMENU> systemMenus;
};

WindowMenus& Menus()
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static WindowMenus& menus = *new WindowMenus;
    return menus;
}

// Entries of windows that are gone; their system menus are destroyed.
void Prune()
{
    auto& all = Menus();
    std::erase_if(all.menus, [](const auto& entry) { return !IsWindow(entry.first); });
    std::erase_if(all.systemMenus, [](const auto& entry) {
        if (IsWindow(entry.first))
            return false;
        (void)DestroyMenu(entry.second);
        return true;
    });
}

HMENU BuildSystemMenu()
{
    const HMENU menu = CreatePopupMenu();
    (void)AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
    (void)AppendMenuA(menu, MF_STRING, SC_MOVE, "&Move");
    (void)AppendMenuA(menu, MF_STRING, SC_SIZE, "&Size");
    (void)AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    (void)AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    (void)AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    (void)AppendMenuA(menu, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
    return menu;
}

// What the window's state allows now; Close keeps whatever the program set.
void UpdateSystemMenu(HMENU menu, const Window& window)
{
    const bool minimized = (window.style & WS_MINIMIZE) != 0;
    const bool maximized = (window.style & WS_MAXIMIZE) != 0;
    const auto enable = [menu](WPARAM command, bool on) {
        (void)EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, minimized || maximized);
    enable(SC_MOVE, !maximized);
    enable(SC_SIZE, (window.style & WS_THICKFRAME) && !minimized && !maximized);
    enable(SC_MINIMIZE, (window.style & WS_MINIMIZEBOX) && !minimized);
    enable(SC_MAXIMIZE, (window.style & WS_MAXIMIZEBOX) && !maximized);
}

// Under the caption icon, where Win32 opens it from the keyboard.
POINT SystemMenuOrigin(const Window& window)
{
    const RECT outer = ScreenWindowRect(window);
    const NonClientLayout layout = LayoutNonClient(window.style, window.exStyle, outer);
    if (IsRectEmpty(&layout.caption))
        return POINT{outer.left, outer.top};
    return POINT{layout.caption.left, layout.caption.bottom};
}

} // namespace

void TrackSystemMenu(HWND hwnd)
{
    const auto window = FindOwnWindow(hwnd);
    if (!window || !(window->style & WS_SYSMENU))
        return;
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    UpdateSystemMenu(menu, *window);
    const auto command = RunMenuLoop(menu, TPM_LEFTBUTTON, SystemMenuOrigin(*window), hwnd, true);
    if (!command || !*command)
        return;
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    (void)PostMessageA(hwnd, WM_SYSCOMMAND, *command,
                       MAKELPARAM(static_cast<WORD>(cursor.x), static_cast<WORD>(cursor.y)));
}

} // namespace winapi_user::detail

HMENU GetMenu(HWND hWnd)
{
    if (!IsWindow(hWnd))
        return nullptr;
    const auto& menus = detail::Menus().menus;
    const auto it = menus.find(hWnd);
    return it == menus.end() ? nullptr : it->second;
}

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || (window->style & WS_CHILD))
        return FALSE;
    if (hMenu && !IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    detail::Prune();
    if (hMenu)
        detail::Menus().menus[hWnd] = hMenu;
    else
        detail::Menus().menus.erase(hWnd);
    return TRUE;
}

BOOL DrawMenuBar(HWND hWnd)
{
    return IsWindow(hWnd);
}

BOOL GetMenuBarInfo(HWND hwnd, LONG idObject, LONG, PMENUBARINFO pmbi)
{
    if (!pmbi || pmbi->cbSize != sizeof(MENUBARINFO) || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = pmbi->cbSize;
    *pmbi = MENUBARINFO{};
    pmbi->cbSize = size;
    switch (idObject) {
    case OBJID_MENU:
        pmbi->hMenu = GetMenu(hwnd);
        return pmbi->hMenu ? TRUE : FALSE;
    case OBJID_SYSMENU:
        pmbi->hMenu = (GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU) ? GetSystemMenu(hwnd, FALSE) : nullptr;
        return pmbi->hMenu ? TRUE : FALSE;
    case OBJID_CLIENT: {
        // A pop-up menu window: the whole window is the "bar".
        pmbi->hMenu = reinterpret_cast<HMENU>(SendMessageA(hwnd, MN_GETHMENU, 0, 0));
        if (!pmbi->hMenu)
            return FALSE;
        (void)GetWindowRect(hwnd, &pmbi->rcBar);
        pmbi->hwndMenu = hwnd;
        return TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

HMENU GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    if (!IsWindow(hWnd))
        return nullptr;
    detail::Prune();
    auto& systemMenus = detail::Menus().systemMenus;
    const auto it = systemMenus.find(hWnd);
    if (bRevert) {
        if (it != systemMenus.end()) {
            (void)DestroyMenu(it->second);
            systemMenus.erase(it);
        }
        return nullptr;
    }
    if (it != systemMenus.end() && IsMenu(it->second))
        return it->second;
    const HMENU menu = detail::BuildSystemMenu();
    if (const auto window = detail::FindWindowObject(hWnd)) {
        detail::UpdateSystemMenu(menu, *window);
        if (window->windowClass->style & CS_NOCLOSE)
            (void)EnableMenuItem(menu, static_cast<UINT>(SC_CLOSE), MF_BYCOMMAND | MF_GRAYED);
    }
    systemMenus[hWnd] = menu;
    return menu;
}
