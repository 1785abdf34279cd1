#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Window.h"

#include <map>

namespace detail = winapi_user::detail;

// The menus a window has: its menu, shown as the menu bar under the caption, and its system menu,
// which opens from the caption icon or Alt+Space. A drop-down of the bar opens by a click on the
// bar, by Alt or F10 alone (the first item) or by Alt and an item's mnemonic; Left and Right, and
// the mouse, move along the bar while a drop-down is open.

namespace winapi_user::detail {

namespace {

struct WindowMenus {
    std::map<HWND, HMENU> systemMenus;
};

// The one bar being tracked on this thread and its highlighted item.
struct BarHot {
    HWND window = nullptr;
    int item = -1;
};
thread_local BarHot t_barHot;

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
    std::erase_if(Menus().systemMenus, [](const auto& entry) {
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
    const NonClientLayout layout = LayoutNonClient(window, outer);
    if (IsRectEmpty(&layout.caption))
        return POINT{outer.left, outer.top};
    return POINT{layout.caption.left, layout.caption.bottom};
}

// The bar's items in screen coordinates; empty without a bar.
std::vector<RECT> ScreenBarItems(const Window& window)
{
    const NonClientLayout layout = LayoutNonClient(window, ScreenWindowRect(window));
    if (IsRectEmpty(&layout.menuBar))
        return {};
    return LayoutMenuBar(window.menu, layout.menuBar);
}

void ShowBarHot(HWND hwnd, int item)
{
    t_barHot = BarHot{item >= 0 ? hwnd : nullptr, item};
    (void)DrawMenuBar(hwnd);
}

bool HasDropDown(HMENU bar, int index)
{
    const auto ref = LocateItem(bar, static_cast<UINT>(index), true);
    return ref && ref->Item().subMenu && !ref->Item().IsGrayed();
}

// The nearest item with a drop-down from `from` in direction `step`, wrapping; `from` itself when
// there is no other.
int NeighbourWithDropDown(HMENU bar, int from, int step, int count)
{
    for (int index = (from + step + count) % count; index != from; index = (index + step + count) % count)
        if (HasDropDown(bar, index))
            return index;
    return from;
}

void PostCommand(HWND hwnd, UINT command)
{
    (void)PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
}

// Opens one bar item: a drop-down runs, a plain item posts its command. The bar item to open
// next, or -1 when tracking ends.
int OpenBarItem(HWND hwnd, int index)
{
    const auto window = FindOwnWindow(hwnd);
    if (!window)
        return -1;
    const HMENU menu = window->menu;
    const auto ref = LocateItem(menu, static_cast<UINT>(index), true);
    const std::vector<RECT> items = ScreenBarItems(*window);
    if (!ref || static_cast<std::size_t>(index) >= items.size() || ref->Item().IsGrayed())
        return -1;
    const HMENU dropDown = ref->Item().subMenu;
    const UINT command = ref->Item().id;
    if (!dropDown) {
        PostCommand(hwnd, command);
        return -1;
    }
    ShowBarHot(hwnd, index);
    const int count = static_cast<int>(items.size());
    MenuBarLink link{index, NeighbourWithDropDown(menu, index, -1, count), NeighbourWithDropDown(menu, index, 1, count),
                     [hwnd, menu](POINT at) {
                         const int item = MenuBarItemAt(hwnd, at);
                         return item >= 0 && HasDropDown(menu, item) ? item : -1;
                     }};
    const RECT& item = items[static_cast<std::size_t>(index)];
    const auto chosen = RunMenuLoop(dropDown, TPM_LEFTBUTTON, POINT{item.left, item.bottom}, hwnd, false, &link);
    if (chosen && *chosen) {
        PostCommand(hwnd, *chosen);
        return -1;
    }
    return link.next;
}

} // namespace

void TrackMenuBar(HWND hwnd, int index)
{
    if (t_barHot.window)
        return; // already tracking a bar
    (void)SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(hwnd)), 0);
    for (int next = index; next >= 0 && IsWindow(hwnd);)
        next = OpenBarItem(hwnd, next);
    if (IsWindow(hwnd))
        ShowBarHot(hwnd, -1);
    else
        t_barHot = BarHot{};
}

int MenuBarItemAt(HWND hwnd, POINT screen)
{
    const auto window = FindWindowObject(hwnd);
    if (!window)
        return -1;
    const std::vector<RECT> items = ScreenBarItems(*window);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (PtInRect(&items[i], screen))
            return static_cast<int>(i);
    return -1;
}

int MenuBarMnemonic(HWND hwnd, char letter)
{
    const Menu* menu = FindMenu(GetMenu(hwnd));
    if (!menu)
        return -1;
    for (std::size_t i = 0; i < menu->items.size(); ++i)
        if (!menu->items[i].IsGrayed() && HasMnemonic(menu->items[i].text, letter))
            return static_cast<int>(i);
    return -1;
}

bool MenuBarItemRect(HWND hwnd, UINT item, RECT* rect)
{
    const auto window = FindWindowObject(hwnd);
    if (!window)
        return false;
    const std::vector<RECT> items = ScreenBarItems(*window);
    if (item >= items.size())
        return false;
    *rect = items[item];
    return true;
}

int MenuBarHot(HWND hwnd)
{
    return t_barHot.window == hwnd ? t_barHot.item : -1;
}

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
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || (window->style & WS_CHILD))
        return nullptr;
    return window->menu;
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
    const bool barChanged = (window->menu != nullptr) != (hMenu != nullptr);
    window->menu = hMenu;
    // The client area shrinks or grows by the bar; the window keeps its outer size.
    if (barChanged)
        (void)SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
        (void)DrawMenuBar(hWnd);
    return TRUE;
}

BOOL DrawMenuBar(HWND hWnd)
{
    if (!IsWindow(hWnd))
        return FALSE;
    if (GetMenu(hWnd))
        (void)RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    return TRUE;
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
