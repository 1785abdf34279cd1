#pragma once

#include "platform/winapi/user/WinUser.h"

#include <string>

// The name of a window message, for traces and test logs: "WM_WINDOWPOSCHANGING" rather than
// 0x0046. Messages the window manager defines (WM_*, SBM_*) have names; any other (a control's
// own, WM_USER and above, a registered one) is written in hex as "0x0400".
[[nodiscard]] std::string MessageName(UINT message);
