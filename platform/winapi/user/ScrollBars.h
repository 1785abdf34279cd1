#pragma once

#include "platform/winapi/user/Window.h"

#include <optional>

// The scroll bars of WS_HSCROLL/WS_VSCROLL windows: their geometry (shared by drawing, hit-testing,
// GetScrollBarInfo and tracking), drawing and mouse tracking.
namespace winapi_user::detail {

// Parts of a bar, in SCROLLBARINFO's rgstate order.
enum class ScrollPart { None = 0, LineUp = 1, PageUp = 2, Thumb = 3, PageDown = 4, LineDown = 5 };

struct ScrollBarGeometry {
    RECT bar{};          // window coordinates
    bool vertical = true;
    int arrow = 0;       // length of each arrow button
    int thumbTop = 0;    // thumb start and end, from the bar's top (left) edge; equal: no thumb
    int thumbBottom = 0;
};

[[nodiscard]] ScrollBarState& BarState(Window& window, int bar);
[[nodiscard]] const ScrollBarState& BarState(const Window& window, int bar);
// Range, page and position from `info` (by its mask), clamped; and the other way round.
void SetBarInfo(ScrollBarState& state, const SCROLLINFO& info);
void GetBarInfo(HWND hwnd, int bar, const ScrollBarState& state, SCROLLINFO& info);
// SCROLLBARINFO of a bar at `rect` (window coordinates); the caller has checked cbSize.
void FillScrollBarInfo(const Window& window, int bar, const RECT& rect, SCROLLBARINFO& info);
// The bar's rectangle in window coordinates, when the window shows it (a scroll bar control's
// state marked `control`: its client area).
[[nodiscard]] std::optional<RECT> ScrollBarRect(const Window& window, int bar);
[[nodiscard]] ScrollBarGeometry GeometryOf(const Window& window, int bar, const RECT& barRect);
// Whether the bar is usable (enabled window, scrollable range, arrows not both disabled).
[[nodiscard]] bool BarEnabled(const Window& window, int bar);
[[nodiscard]] ScrollPart PartAt(const ScrollBarGeometry& geometry, POINT windowPoint);
// The position a thumb whose top edge is `thumbOffset` pixels into the bar stands for.
[[nodiscard]] int PositionForThumb(const Window& window, int bar, const ScrollBarGeometry& geometry, int thumbOffset);

// Draws the bar into a window DC; `pressed` is drawn pushed.
void DrawScrollBar(HDC windowDC, const Window& window, int bar, ScrollPart pressed);
// The pressed part of the bar being tracked, for drawing and GetScrollBarInfo.
[[nodiscard]] ScrollPart PressedPart(HWND hwnd, int bar);

// WM_NCLBUTTONDOWN on HTHSCROLL/HTVSCROLL (or a scroll bar control's WM_LBUTTONDOWN): the modal
// tracking loop, until the button goes up.
void TrackScrollBar(HWND hwnd, int bar, POINT screenPoint);

} // namespace winapi_user::detail
