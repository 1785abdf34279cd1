#include "platform/winapi/user/ProcedureBarrier.h"
#include "platform/winapi/user/WindowProcExceptions.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <string>

namespace {

// Function-local, so that a handler installed while static objects are being made (the class
// library makes its application object then) is not wiped by a later initialisation.
std::mutex& HandlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

WindowProcExceptionHandler& Handler()
{
    static WindowProcExceptionHandler handler;
    return handler;
}

std::string DescribeCurrentException()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown exception";
    }
}

void WriteToStandardError(HWND window)
{
    const std::string text = DescribeCurrentException();
    std::fprintf(stderr, "Exception in the window procedure of %p: %s\n", static_cast<void*>(window), text.c_str());
}

} // namespace

void SetWindowProcExceptionHandler(WindowProcExceptionHandler handler)
{
    std::lock_guard lock(HandlerMutex());
    Handler() = std::move(handler);
}

namespace winapi_user::detail {

void ReportEscapedException(HWND window) noexcept
{
    WindowProcExceptionHandler handler;
    {
        std::lock_guard lock(HandlerMutex());
        handler = Handler();
    }
    if (!handler) {
        WriteToStandardError(window);
        return;
    }
    try {
        handler(window);
    } catch (...) {
        WriteToStandardError(window);
    }
}

} // namespace winapi_user::detail
