#pragma once

#include "platform/winapi/user/WinUser.h"

namespace winapi_user::detail {

// Hands the exception being handled to the installed handler (WindowProcExceptions.h). Called
// from inside a catch block; never throws.
void ReportEscapedException(HWND window) noexcept;

// Runs a window procedure or a timer callback so that no exception leaves it: what it throws
// is reported and the answer is 0.
template <class Call>
LRESULT CallShielded(HWND window, Call&& call) noexcept
{
    try {
        return call();
    } catch (...) {
        ReportEscapedException(window);
        return 0;
    }
}

} // namespace winapi_user::detail
