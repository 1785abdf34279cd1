#pragma once

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"

#include <functional>
#include <vector>

// One click into a pop-up menu: the item at `index` of `menu`, both looked up when the click is
// due, since a menu may be built or rebuilt as it opens.
struct PopupMenuClick {
    std::function<HMENU()> menu;
    std::function<int()> index;
    // Called with the menu on the screen, just before the click: to look at what shows meanwhile.
    std::function<void()> whileShown = {};
};

// Clicks into pop-up menus with the mouse as each one shows, in order: call it before the input
// that opens the first menu. A thread timer, which the menu loop dispatches, waits for each item
// to be on the screen; the clicks go to the top-level window `topLevel`, which the menu loop
// captures.
void ClickPopupMenuItems(HeadlessDisplay& display, HWND topLevel, std::vector<PopupMenuClick> clicks);
// True while clicks remain to be made.
[[nodiscard]] bool PopupMenuClicksPending();
