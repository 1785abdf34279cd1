#pragma once

#include "platform/winapi/user/Window.h"

// The default non-client layout (classic frame, caption, scroll bars): what DefWindowProc answers
// to WM_NCCALCSIZE and WM_NCHITTEST and what AdjustWindowRectEx adds. The painting of the frame
// and caption builds on the same layout, so hit-testing and drawing never disagree.
namespace detail {

// The frame's thickness on each side (border, dialog or sizing frame, and edges).
[[nodiscard]] int FrameThickness(DWORD style, DWORD exStyle);
[[nodiscard]] int CaptionHeight(DWORD style, DWORD exStyle);
// The client area of a window whose outer rectangle is `windowRect` (same coordinates).
[[nodiscard]] RECT DefaultClientRect(const Window& window, const RECT& windowRect);
// WM_NCHITTEST for a screen point.
[[nodiscard]] LRESULT DefaultHitTest(const Window& window, POINT screenPoint);

} // namespace detail
