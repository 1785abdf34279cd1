#pragma once

#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/user/Window.h"

// The window system's side of the display backend: top-level windows are announced to it as they
// are created, moved, shown and destroyed, and its events become input messages. The thread that
// last announced a top-level window is the display's thread (the GUI thread, in practice): it
// alone drains the events.
namespace winapi_user::detail {

[[nodiscard]] WindowId WindowIdOf(HWND hwnd);
[[nodiscard]] HWND WindowOfId(WindowId id);

// DisplayPump.cpp: makes the calling thread the display's thread.
void UseDisplayOnThisThread();

// DisplayWindows.cpp
void AnnounceTopLevel(Window& window);
void MirrorPlacement(Window& window);
void MirrorVisibility(Window& window);
void MirrorTitle(Window& window);
void MirrorActivation(HWND hwnd);
void WithdrawTopLevel(Window& window);
// WindowRegion.cpp: the window region as the display shape.
void MirrorShape(Window& window);

// Input.cpp
void TranslateDisplayEvent(const DisplayEvent& event);

} // namespace winapi_user::detail
