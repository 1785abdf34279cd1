#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Where the window demo puts things, so that a test looking at the screen knows where to look.
namespace windemo {

inline constexpr char CAPTION[] = "Window Demo";
// The top-level window, frame included, in screen coordinates (a sizeable frame, a caption and
// no menu bar; the client area is painted COLOR_BTNFACE).
inline constexpr RECT WINDOW_RECT{40, 40, 440, 340};
// The child window in client coordinates, and its colour.
inline constexpr RECT CHILD_RECT{200, 100, 320, 180};
inline constexpr COLORREF CHILD_COLOR = RGB(32, 160, 64);
// Where the popup menu opens, in client coordinates.
inline constexpr POINT MENU_POINT{20, 20};

} // namespace windemo
