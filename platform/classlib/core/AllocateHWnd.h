#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>

// A message as a window method sees it, with room for its answer.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage& message)>;

// A hidden window of a private class in the calling thread, for non-visual components that need
// to receive posted messages in the thread that made them. Every message the window gets once it
// exists goes to `method`, which answers through Result; nothing is passed on to the default
// window procedure. Returns null when the window cannot be made.
[[nodiscard]] HWND AllocateHWnd(TWndMethod method);

// Destroys a window made by AllocateHWnd, from the thread that made it. Messages still posted to
// it are dropped with it: a caller whose messages carry owned data takes them out first.
void DeallocateHWnd(HWND wnd);
