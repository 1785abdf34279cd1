#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/Window.h"

#include <algorithm>

#include <cctype>

namespace detail = winapi_user::detail;

// The pop-up menu window ("#32768") and the modal loop that drives it. The loop owns the thread
// while it runs: it reads every message, lets the WH_MSGFILTER hooks see it (MSGF_MENU), takes
// the keyboard whatever window it was meant for, takes the mouse through the capture of the first
// pop-up, and dispatches everything else (timers, paint, posted messages) as usual. The pop-ups
// never take the activation, so the owner stays the active window throughout.

namespace winapi_user::detail {

namespace {

constexpr const char* MENU_CLASS = "#32768";
constexpr int MENU_SLOT = 0; // window extra bytes: the HMENU shown

// One open pop-up: the first is the tracked menu, each next one a submenu of its predecessor's
// hot item.
struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    int hot = -1;
    MenuLayout layout;
};

class MenuLoop {
public:
    MenuLoop(HWND owner, UINT flags, bool systemMenu, MenuBarLink* bar)
        : m_owner(owner), m_flags(flags), m_systemMenu(systemMenu), m_bar(bar)
    {
    }

    UINT Run(HMENU menu, POINT at);
    void Cancel() { m_done = true; }
    void Key(UINT message, WPARAM key);
    [[nodiscard]] const Level* LevelOf(HWND window) const;
    [[nodiscard]] const Level* LevelOf(HMENU menu) const;

private:
    void Open(HMENU menu, POINT at, const RECT* parentItem);
    void CloseAbove(std::size_t depth);
    void SetHot(std::size_t depth, int index, bool byMouse);
    void MoveHot(int step);
    void OpenHotSubmenu(bool selectFirst);
    void Activate(std::size_t depth, int index);
    void Mnemonic(char letter);
    void Mouse(const MSG& msg);
    [[nodiscard]] bool IsChoosingButton(UINT message) const;
    [[nodiscard]] bool OwnsCapture() const;
    [[nodiscard]] const MenuItem* HotItem(std::size_t depth) const;
    void Finish();
    void LeaveForBarItem(int index);

    HWND m_owner;
    UINT m_flags;
    bool m_systemMenu;
    MenuBarLink* m_bar;
    std::vector<Level> m_levels;
    bool m_done = false;
    bool m_mouseUsed = false; // a button-up chooses only after the mouse was used in the menu
    UINT m_result = 0;
};

thread_local MenuLoop* t_activeLoop = nullptr;

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterMenuClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_SAVEBITS | CS_DBLCLKS;
        wc.lpfnWndProc = MenuWindowProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
        wc.lpszClassName = MENU_CLASS;
        return RegisterClassA(&wc) != 0;
    }();
    return registered;
}

HMENU ShownMenu(HWND hwnd)
{
    return reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, MENU_SLOT));
}

RECT WindowBox(HWND hwnd)
{
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    return rect;
}

void PaintClient(HWND hwnd, HDC dc)
{
    const Level* level = t_activeLoop ? t_activeLoop->LevelOf(hwnd) : nullptr;
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    if (level)
        PaintMenuItems(dc, level->menu, level->layout, level->hot, owner);
    else
        PaintMenuItems(dc, ShownMenu(hwnd), LayoutMenu(ShownMenu(hwnd), owner), -1, owner);
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE: {
        RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        InflateRect(rect, -MENU_BORDER, -MENU_BORDER);
        return 0;
    }
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_NCPAINT: {
        const HDC dc = GetWindowDC(hwnd);
        PaintMenuFrame(dc, WindowBox(hwnd));
        (void)ReleaseDC(hwnd, dc);
        return 0;
    }
    case WM_PRINT:
        if (lParam & PRF_NONCLIENT)
            PaintMenuFrame(reinterpret_cast<HDC>(wParam), WindowBox(hwnd));
        return DefWindowProcA(hwnd, message, wParam, lParam & ~PRF_NONCLIENT);
    case WM_PRINTCLIENT:
        PaintClient(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            PaintClient(hwnd, dc);
        (void)EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case MN_GETHMENU:
        return reinterpret_cast<LRESULT>(ShownMenu(hwnd));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        if (t_activeLoop)
            t_activeLoop->Key(message, wParam);
        return 0;
    case WM_CANCELMODE:
        if (t_activeLoop)
            t_activeLoop->Cancel();
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool IsKeyboard(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool IsNavigationKey(WPARAM key)
{
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_ESCAPE ||
           key == VK_RETURN || key == VK_MENU || key == VK_F10;
}

bool IsMouse(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// Where a pop-up of `size` goes: aligned to `at` as the flags ask (or beside the parent item for
// a submenu), then kept on the screen.
POINT PlacePopup(SIZE size, POINT at, UINT flags, const RECT* parentItem)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    POINT origin = at;
    if (parentItem) {
        origin = POINT{parentItem->right - MENU_BORDER, parentItem->top - MENU_BORDER};
        if (origin.x + size.cx > screenWidth)
            origin.x = parentItem->left - size.cx + MENU_BORDER;
    } else {
        if (flags & TPM_RIGHTALIGN)
            origin.x -= size.cx;
        else if (flags & TPM_CENTERALIGN)
            origin.x -= size.cx / 2;
        if (flags & TPM_BOTTOMALIGN)
            origin.y -= size.cy;
        else if (flags & TPM_VCENTERALIGN)
            origin.y -= size.cy / 2;
    }
    origin.x = std::max<LONG>(0, std::min<LONG>(origin.x, screenWidth - size.cx));
    origin.y = std::max<LONG>(0, std::min<LONG>(origin.y, screenHeight - size.cy));
    return origin;
}

UINT MenuSelectFlags(const MenuItem& item, bool byMouse, bool systemMenu)
{
    UINT flags = ((item.type | item.state) & 0xFFFF & ~MF_POPUP) | MF_HILITE;
    if (item.subMenu)
        flags |= MF_POPUP;
    if (byMouse)
        flags |= MF_MOUSESELECT;
    if (systemMenu)
        flags |= MF_SYSMENU;
    return flags;
}

bool Chooseable(const MenuItem& item)
{
    return !item.IsSeparator() && !item.IsGrayed() && !item.subMenu;
}

} // namespace

bool HasMnemonic(const std::string& text, char letter)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::tolower(static_cast<unsigned char>(text[i + 1])) == std::tolower(static_cast<unsigned char>(letter));
    }
    return false;
}

const Level* MenuLoop::LevelOf(HWND window) const
{
    for (const Level& level : m_levels)
        if (level.window == window)
            return &level;
    return nullptr;
}

const Level* MenuLoop::LevelOf(HMENU menu) const
{
    for (const Level& level : m_levels)
        if (level.menu == menu)
            return &level;
    return nullptr;
}

const MenuItem* MenuLoop::HotItem(std::size_t depth) const
{
    const Level& level = m_levels[depth];
    const Menu* menu = FindMenu(level.menu);
    if (!menu || level.hot < 0 || static_cast<std::size_t>(level.hot) >= menu->items.size())
        return nullptr;
    return &menu->items[static_cast<std::size_t>(level.hot)];
}

void MenuLoop::Open(HMENU menu, POINT at, const RECT* parentItem)
{
    const WORD index = m_levels.empty() ? 0 : static_cast<WORD>(std::max(m_levels.back().hot, 0));
    (void)SendMessageA(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(index, m_systemMenu));
    if (m_done || !FindMenu(menu))
        return;
    Level level;
    level.menu = menu;
    level.layout = LayoutMenu(menu, m_owner);
    const SIZE size{level.layout.size.cx + 2 * MENU_BORDER, level.layout.size.cy + 2 * MENU_BORDER};
    const POINT origin = PlacePopup(size, at, m_flags, parentItem);
    level.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MENU_CLASS, nullptr, WS_POPUP | WS_CLIPSIBLINGS,
                                   origin.x, origin.y, size.cx, size.cy, m_owner, nullptr, nullptr, nullptr);
    if (!level.window) {
        m_done = true;
        return;
    }
    (void)SetWindowLongPtrA(level.window, MENU_SLOT, reinterpret_cast<LONG_PTR>(menu));
    m_levels.push_back(std::move(level));
    (void)SetWindowPos(m_levels.back().window, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    (void)UpdateWindow(m_levels.back().window);
}

void MenuLoop::CloseAbove(std::size_t depth)
{
    while (m_levels.size() > depth) {
        const Level level = m_levels.back();
        m_levels.pop_back();
        (void)SendMessageA(m_owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.menu),
                           MAKELPARAM(0, m_systemMenu ? MF_SYSMENU : 0));
        (void)DestroyWindow(level.window);
    }
}

void MenuLoop::SetHot(std::size_t depth, int index, bool byMouse)
{
    Level& level = m_levels[depth];
    if (level.hot == index)
        return;
    const auto invalidate = [&](int item) {
        if (item >= 0 && static_cast<std::size_t>(item) < level.layout.items.size())
            (void)InvalidateRect(level.window, &level.layout.items[static_cast<std::size_t>(item)], TRUE);
    };
    invalidate(level.hot);
    level.hot = index;
    invalidate(index);
    const MenuItem* item = HotItem(depth);
    if (!item)
        return;
    const UINT command = item->subMenu ? static_cast<UINT>(index) : item->id;
    (void)SendMessageA(m_owner, WM_MENUSELECT,
                       MAKEWPARAM(static_cast<WORD>(command), static_cast<WORD>(MenuSelectFlags(*item, byMouse, m_systemMenu))),
                       reinterpret_cast<LPARAM>(m_levels[depth].menu));
}

// Up and down move through the items that can be chosen, wrapping, skipping separators and
// grayed items.
void MenuLoop::MoveHot(int step)
{
    const std::size_t depth = m_levels.size() - 1;
    const Menu* menu = FindMenu(m_levels[depth].menu);
    if (!menu || menu->items.empty())
        return;
    const int count = static_cast<int>(menu->items.size());
    int index = m_levels[depth].hot;
    if (index < 0)
        index = step > 0 ? -1 : count;
    for (int tries = 0; tries < count; ++tries) {
        index = (index + step + count) % count;
        const MenuItem& item = menu->items[static_cast<std::size_t>(index)];
        if (!item.IsSeparator() && !item.IsGrayed()) {
            SetHot(depth, index, false);
            return;
        }
    }
}

void MenuLoop::OpenHotSubmenu(bool selectFirst)
{
    const std::size_t depth = m_levels.size() - 1;
    const MenuItem* item = HotItem(depth);
    if (!item || !item->subMenu || item->IsGrayed())
        return;
    RECT parentItem = m_levels[depth].layout.items[static_cast<std::size_t>(m_levels[depth].hot)];
    (void)MapWindowPoints(m_levels[depth].window, nullptr, reinterpret_cast<LPPOINT>(&parentItem), 2);
    Open(item->subMenu, POINT{parentItem.right, parentItem.top}, &parentItem);
    if (selectFirst && m_levels.size() > depth + 1)
        MoveHot(1);
}

void MenuLoop::Activate(std::size_t depth, int index)
{
    SetHot(depth, index, false);
    const MenuItem* item = HotItem(depth);
    if (!item)
        return;
    if (item->subMenu) {
        CloseAbove(depth + 1);
        OpenHotSubmenu(true);
    } else if (Chooseable(*item)) {
        m_result = item->id;
        m_done = true;
    }
}

// A letter chooses the one item whose mnemonic it is, or steps through several that share it.
void MenuLoop::Mnemonic(char letter)
{
    const std::size_t depth = m_levels.size() - 1;
    const Menu* menu = FindMenu(m_levels[depth].menu);
    if (!menu)
        return;
    std::vector<int> matches;
    for (std::size_t i = 0; i < menu->items.size(); ++i)
        if (!menu->items[i].IsSeparator() && HasMnemonic(menu->items[i].text, letter))
            matches.push_back(static_cast<int>(i));
    if (matches.size() == 1) {
        Activate(depth, matches.front());
    } else if (!matches.empty()) {
        const int hot = m_levels[depth].hot;
        const auto next = std::find_if(matches.begin(), matches.end(), [hot](int i) { return i > hot; });
        SetHot(depth, next != matches.end() ? *next : matches.front(), false);
    }
}

void MenuLoop::Key(UINT message, WPARAM key)
{
    if (m_levels.empty())
        return;
    if (message == WM_CHAR || message == WM_SYSCHAR) {
        if (key > ' ' && key < 0x80)
            Mnemonic(static_cast<char>(key));
        return;
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return;
    switch (key) {
    case VK_UP:
        MoveHot(-1);
        break;
    case VK_DOWN:
        MoveHot(1);
        break;
    case VK_RIGHT: {
        const MenuItem* item = HotItem(m_levels.size() - 1);
        if (item && item->subMenu && !item->IsGrayed())
            OpenHotSubmenu(true);
        else if (m_bar)
            LeaveForBarItem(m_bar->right);
        break;
    }
    case VK_LEFT:
        if (m_levels.size() > 1)
            CloseAbove(m_levels.size() - 1);
        else if (m_bar)
            LeaveForBarItem(m_bar->left);
        break;
    case VK_ESCAPE:
        if (m_levels.size() > 1)
            CloseAbove(m_levels.size() - 1);
        else
            Cancel();
        break;
    case VK_RETURN:
        if (m_levels.back().hot < 0)
            Cancel();
        else
            Activate(m_levels.size() - 1, m_levels.back().hot);
        break;
    case VK_MENU:
    case VK_F10:
        Cancel();
        break;
    default:
        break;
    }
}

void MenuLoop::LeaveForBarItem(int index)
{
    if (index == m_bar->current)
        return;
    m_bar->next = index;
    Cancel();
}

bool MenuLoop::IsChoosingButton(UINT message) const
{
    return message == WM_LBUTTONUP || ((m_flags & TPM_RIGHTBUTTON) && message == WM_RBUTTONUP);
}

void MenuLoop::Mouse(const MSG& msg)
{
    POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    (void)ClientToScreen(msg.hwnd, &screen);
    // The deepest pop-up under the pointer and the item there.
    std::optional<std::size_t> depth;
    int index = -1;
    for (std::size_t d = m_levels.size(); d-- > 0;) {
        RECT rect{};
        (void)GetWindowRect(m_levels[d].window, &rect);
        if (PtInRect(&rect, screen)) {
            POINT client = screen;
            (void)ScreenToClient(m_levels[d].window, &client);
            depth = d;
            index = MenuItemAt(m_levels[d].layout, client);
            break;
        }
    }
    const bool buttonDown = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                            msg.message == WM_MBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                            msg.message == WM_RBUTTONDBLCLK;
    if (!depth && m_bar && m_bar->itemAt) {
        const int barItem = m_bar->itemAt(screen);
        if (barItem >= 0 && barItem != m_bar->current && (msg.message == WM_MOUSEMOVE || buttonDown)) {
            LeaveForBarItem(barItem);
            return;
        }
    }
    if (!depth) {
        if (buttonDown)
            Cancel(); // a click outside every pop-up ends the menu and is not passed on
        return;
    }
    if (index < 0 || m_levels[*depth].layout.items.empty())
        return;
    const MenuItem& item = FindMenu(m_levels[*depth].menu)->items[static_cast<std::size_t>(index)];
    if (msg.message == WM_MOUSEMOVE || buttonDown) {
        m_mouseUsed = true;
        if (item.IsSeparator())
            return;
        const bool submenuShown = m_levels.size() > *depth + 1;
        if (m_levels[*depth].hot != index) {
            CloseAbove(*depth + 1);
            SetHot(*depth, index, true);
            OpenHotSubmenu(false);
        } else if (!submenuShown) {
            OpenHotSubmenu(false);
        }
    } else if (IsChoosingButton(msg.message) && m_mouseUsed && Chooseable(item)) {
        m_result = item.id;
        m_done = true;
    }
}

bool MenuLoop::OwnsCapture() const
{
    return !m_levels.empty() && GetCapture() == m_levels.front().window;
}

UINT MenuLoop::Run(HMENU menu, POINT at)
{
    (void)SendMessageA(m_owner, WM_ENTERMENULOOP, m_systemMenu ? FALSE : TRUE, 0);
    (void)SendMessageA(m_owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    Open(menu, at, nullptr);
    if (!m_levels.empty())
        (void)SetCapture(m_levels.front().window);
    MSG msg{};
    while (!m_done && IsWindow(m_owner) && OwnsCapture()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop must see WM_QUIT too
            break;
        }
        if (CallMsgFilterA(&msg, MSGF_MENU))
            continue;
        if (IsKeyboard(msg.message)) {
            Key(msg.message, msg.wParam);
            // Only keys the menu did not act on become characters (mnemonics); an Escape or
            // Enter that ended the menu must not reach the owner as WM_CHAR afterwards.
            if (!m_done && !IsNavigationKey(msg.wParam))
                (void)TranslateMessage(&msg);
        } else if (IsMouse(msg.message) && LevelOf(msg.hwnd)) {
            Mouse(msg);
        } else {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    }
    Finish();
    return m_result;
}

void MenuLoop::Finish()
{
    if (OwnsCapture())
        (void)ReleaseCapture();
    (void)SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    CloseAbove(0);
    (void)SendMessageA(m_owner, WM_EXITMENULOOP, m_systemMenu ? FALSE : TRUE, 0);
}

std::optional<UINT> RunMenuLoop(HMENU hmenu, UINT flags, POINT at, HWND owner, bool systemMenu, MenuBarLink* bar)
{
    if (!FindMenu(hmenu))
        return std::nullopt;
    if (!FindOwnWindow(owner) || t_activeLoop || !RegisterMenuClass())
        return std::nullopt;
    MenuLoop loop(owner, flags, systemMenu, bar);
    t_activeLoop = &loop;
    const UINT result = loop.Run(hmenu, at);
    t_activeLoop = nullptr;
    return result;
}

} // namespace winapi_user::detail

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS)
{
    const auto result = detail::RunMenuLoop(hMenu, uFlags, POINT{x, y}, hwnd, false);
    if (!result)
        return FALSE;
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(*result);
    if (*result)
        (void)PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(*result), 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

BOOL EndMenu()
{
    if (!detail::t_activeLoop)
        return FALSE;
    detail::t_activeLoop->Cancel();
    return TRUE;
}

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem)
{
    if (lprcItem && hMenu && hMenu == GetMenu(hWnd))
        return detail::MenuBarItemRect(hWnd, uItem, lprcItem) ? TRUE : FALSE;
    const auto* level = detail::t_activeLoop ? detail::t_activeLoop->LevelOf(hMenu) : nullptr;
    if (!level || !lprcItem || uItem >= level->layout.items.size())
        return FALSE;
    *lprcItem = level->layout.items[uItem];
    (void)MapWindowPoints(level->window, nullptr, reinterpret_cast<LPPOINT>(lprcItem), 2);
    return TRUE;
}
