#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>

// Every window procedure (and every timer callback) is an exception barrier: an exception that
// a procedure lets out ends there, the message's answer is 0, and the loop goes on. A sender on
// another thread is answered, and GetMessage/PeekMessage never throw. What was caught goes to
// the handler installed here, called on the procedure's thread from inside the catch block (so
// std::current_exception() is the exception), with the window whose procedure threw (null for a
// thread timer's callback). The class library installs its application's HandleException here;
// without a handler the exception's text is written to standard error. An exception that the
// handler itself lets out is written there too. Empty restores the default.
using WindowProcExceptionHandler = std::function<void(HWND window)>;
void SetWindowProcExceptionHandler(WindowProcExceptionHandler handler);
