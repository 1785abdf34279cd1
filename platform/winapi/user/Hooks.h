#pragma once

#include "platform/winapi/user/WinUser.h"

namespace winapi_user::detail {

// Runs the calling thread's hooks of a kind (its own, then the program-wide ones), newest first;
// each passes on through CallNextHookEx. Returns the first hook's answer (0 without hooks).
LRESULT CallHooks(int idHook, int code, WPARAM wParam, LPARAM lParam);

} // namespace winapi_user::detail
