#pragma once

#include "platform/winapi/user/Window.h"

// The default non-client layout (classic frame, caption, scroll bars): what DefWindowProc answers
// to WM_NCCALCSIZE and WM_NCHITTEST and what AdjustWindowRectEx adds. The painting and the mouse
// handling of the frame, caption and scroll bars build on the same layout, so hit-testing and
// drawing never disagree.
namespace winapi_user::detail {

// All in the coordinates of the rectangle it was made for; absent parts are empty.
struct NonClientLayout {
    RECT outer{};
    int border = 0;     // the frame (sizing, dialog or thin border), without the client edge
    RECT caption{};     // the caption bar, its bottom separator line included
    RECT icon{};
    RECT closeButton{};
    RECT maxButton{};
    RECT minButton{};
    RECT menuBar{};     // under the caption, when the window has a menu
    RECT edged{};       // inside the frame and caption: where the client edge is drawn
    RECT vscroll{};
    RECT hscroll{};
    RECT sizeBox{};     // the corner between two scroll bars
    RECT client{};
};

[[nodiscard]] NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, const RECT& outer, int menuBarHeight = 0);
// The layout of `window` itself, its menu bar included.
[[nodiscard]] NonClientLayout LayoutNonClient(const Window& window, const RECT& outer);
// SM_CYMENU for a top-level window that has a menu, else 0.
[[nodiscard]] int MenuBarHeight(const Window& window);
// The frame's thickness on each side (border, dialog or sizing frame, and edges).
[[nodiscard]] int FrameThickness(DWORD style, DWORD exStyle);
[[nodiscard]] int CaptionHeight(DWORD style, DWORD exStyle);
// The client area of a window whose outer rectangle is `windowRect` (same coordinates).
[[nodiscard]] RECT DefaultClientRect(const Window& window, const RECT& windowRect);
// WM_NCHITTEST for a screen point.
[[nodiscard]] LRESULT DefaultHitTest(const Window& window, POINT screenPoint);

} // namespace winapi_user::detail
