#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the menu modules share: the menus behind HMENU handles and the modal menu loop.
namespace winapi_user::detail {

struct MenuItem {
    UINT type = MFT_STRING;  // MFT_* bits
    UINT state = MFS_ENABLED; // MFS_* bits
    UINT id = 0;
    HMENU subMenu = nullptr;
    std::string text;
    ULONG_PTR data = 0;
    HBITMAP bitmap = nullptr;

    [[nodiscard]] bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
    [[nodiscard]] bool IsGrayed() const { return (state & MFS_GRAYED) != 0; }
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// The menu a handle names, or nullptr (ERROR_INVALID_MENU_HANDLE). Menus belong to the GUI
// thread; pointers stay valid until the menu is destroyed.
[[nodiscard]] Menu* FindMenu(HMENU hmenu);

// An item by position in `hmenu`, or by command searched depth-first through its submenus.
struct ItemRef {
    HMENU owner = nullptr; // the menu that holds the item
    std::size_t index = 0;
    [[nodiscard]] MenuItem& Item() const;
};
[[nodiscard]] std::optional<ItemRef> LocateItem(HMENU hmenu, UINT item, bool byPosition);

// Where a pop-up's items lie (client coordinates) and how big its client area is.
struct MenuLayout {
    std::vector<RECT> items;
    SIZE size{};
    std::vector<int> barBreaks; // x of the vertical lines before MFT_MENUBARBREAK columns
};
constexpr int MENU_BORDER = 3; // the pop-up's raised frame

// MenuPaint.cpp. Owner-drawn items are measured (WM_MEASUREITEM) and drawn (WM_DRAWITEM) by
// `owner`.
[[nodiscard]] MenuLayout LayoutMenu(HMENU hmenu, HWND owner);
void PaintMenuItems(HDC dc, HMENU hmenu, const MenuLayout& layout, int hot, HWND owner);
void PaintMenuFrame(HDC dc, const RECT& windowRect);
// The item under a client point, or -1.
[[nodiscard]] int MenuItemAt(const MenuLayout& layout, POINT client);

// The menu bar's items side by side from the bar's left end, each as wide as its label; and the
// bar painted with item `hot` (-1 for none) highlighted. Both in the bar's coordinates.
[[nodiscard]] std::vector<RECT> LayoutMenuBar(HMENU hmenu, const RECT& bar);
void PaintMenuBar(HDC dc, HMENU hmenu, const RECT& bar, int hot);

// A drop-down opened from the menu bar: Left and Right beyond the drop-down, and the mouse on
// another bar item with a drop-down, end the loop and name the bar item to open next.
struct MenuBarLink {
    int current = 0;                  // the bar item whose drop-down runs
    int left = 0, right = 0;          // the neighbours with drop-downs, wrapping round the bar
    std::function<int(POINT)> itemAt; // the bar item with a drop-down under a screen point, or -1
    int next = -1;                    // set by the loop
};

// MenuWindow.cpp: shows the pop-up and runs the loop; the chosen command (0 for none), or nothing
// when the loop could not start.
[[nodiscard]] std::optional<UINT> RunMenuLoop(HMENU hmenu, UINT flags, POINT at, HWND owner, bool systemMenu,
                                              MenuBarLink* bar = nullptr);
// MenuBar.cpp, for DefWindowProc's SC_MOUSEMENU and SC_KEYMENU: the window's system menu under
// its caption icon; the choice is posted as WM_SYSCOMMAND.
void TrackSystemMenu(HWND hwnd);
// For WM_NCLBUTTONDOWN on HTMENU and SC_KEYMENU: opens bar item `index` and follows the user along
// the bar until a command is chosen (posted as WM_COMMAND) or the menu is left.
void TrackMenuBar(HWND hwnd, int index);
// The bar item under a screen point, or -1; the item whose mnemonic is `letter`, or -1.
[[nodiscard]] int MenuBarItemAt(HWND hwnd, POINT screen);
[[nodiscard]] int MenuBarMnemonic(HWND hwnd, char letter);
// The bar item highlighted now in `hwnd`'s bar, or -1.
[[nodiscard]] int MenuBarHot(HWND hwnd);
// A bar item's screen rectangle (GetMenuItemRect on the window's menu).
[[nodiscard]] bool MenuBarItemRect(HWND hwnd, UINT item, RECT* rect);
// MenuWindow.cpp: whether `text` has `letter` as its "&" mnemonic (any case).
[[nodiscard]] bool HasMnemonic(const std::string& text, char letter);

} // namespace winapi_user::detail
