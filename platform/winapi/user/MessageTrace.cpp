#include "platform/winapi/user/MessageTrace.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/user/MessageNames.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The nesting of traced messages on this thread. Counted only for traced messages, so that a
// channel switched on in the middle of a message still balances.
thread_local int t_depth = 0;

const char* RouteName(winapi_user::detail::MessageRoute route)
{
    switch (route) {
    case winapi_user::detail::MessageRoute::Send: return "send";
    case winapi_user::detail::MessageRoute::Receive: return "receive";
    case winapi_user::detail::MessageRoute::Dispatch: return "dispatch";
    }
    return "?";
}

std::string Hex(unsigned long long value)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", value);
    return buffer;
}

std::string DescribeMessage(winapi_user::detail::MessageRoute route, const winapi_user::detail::Window& window, UINT message, WPARAM wParam,
                            LPARAM lParam)
{
    std::string line(static_cast<std::size_t>(t_depth) * 2, ' ');
    line += RouteName(route);
    line += ' ';
    line += MessageName(message);
    line += " to " + Hex(reinterpret_cast<std::uintptr_t>(window.handle));
    line += " \"" + (window.windowClass ? window.windowClass->name : std::string()) + "\"";
    line += " wParam=" + Hex(static_cast<unsigned long long>(wParam));
    line += " lParam=" + Hex(static_cast<unsigned long long>(lParam));
    return line;
}

} // namespace

namespace winapi_user::detail {

MessageTraceScope::MessageTraceScope(MessageRoute route, const Window& window, UINT message, WPARAM wParam,
                                     LPARAM lParam)
{
    if (!TraceEnabled(TraceChannel::Messages))
        return;
    TraceLine(TraceChannel::Messages, DescribeMessage(route, window, message, wParam, lParam));
    m_traced = true;
    ++t_depth;
}

MessageTraceScope::~MessageTraceScope()
{
    if (m_traced)
        --t_depth;
}

} // namespace winapi_user::detail
