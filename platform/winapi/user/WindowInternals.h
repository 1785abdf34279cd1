#pragma once

#include "platform/winapi/user/Window.h"

// What the window modules share among themselves.
namespace winapi_user::detail {

// CreateWindow.cpp: WM_PARENTNOTIFY up the chain of a child without WS_EX_NOPARENTNOTIFY.
void NotifyParentsOfChild(const Window& window, UINT event);

// DestroyWindow.cpp: WM_NCDESTROY children first, then the window, and the handle goes.
void FinishDestruction(HWND hwnd);

// WindowPos.cpp
[[nodiscard]] MINMAXINFO DefaultMinMaxInfo(DWORD style, DWORD exStyle);
// Asks the window for its client area (WM_NCCALCSIZE) for its current window rectangle.
void RecalculateClient(Window& window);
void SendSizeAndMove(Window& window);

// Focus.cpp: a window (and its descendants) is going away: focus, activation, capture and mouse
// tracking leave it.
void ForgetWindow(HWND hwnd);
// After a window was hidden or destroyed: another top-level window takes the activation.
void ActivateOtherWindow(HWND leaving);

// Input.cpp: TrackMouseEvent and double-click state forget a window that goes.
void ForgetMouseTracking(HWND hwnd);

// Focus.cpp: a click activates a top-level window (WA_CLICKACTIVE).
HWND ActivateByMouse(HWND topLevel);

} // namespace winapi_user::detail
