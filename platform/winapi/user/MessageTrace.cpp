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

const char* RouteName(detail::MessageRoute route)
{
    switch (route) {
    case detail::MessageRoute::Send: return "send";
    case detail::MessageRoute::Receive: return "receive";
    case detail::MessageRoute::Dispatch: return "dispatch";
    }
    return "?";
}

std::string Hex(unsigned long long value)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", value);
    return buffer;
}

std::string DescribeMessage(detail::MessageRoute route, const detail::Window& window, UINT message, WPARAM wParam,
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

namespace detail {

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

} // namespace detail
