#include "platform/winapi/user/ProcedureBarrier.h"
#include "platform/winapi/user/WindowProcExceptions.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <string>

namespace {

std::mutex g_handlerMutex;
WindowProcExceptionHandler g_handler;

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
    std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

namespace winapi_user::detail {

void ReportEscapedException(HWND window) noexcept
{
    WindowProcExceptionHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
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
