#include "MessageLog.h"

#include <cstdio>
#include <map>

MessageLog& MessageLog::Instance()
{
    static MessageLog log;
    return log;
}

void MessageLog::Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    m_entries.push_back(LoggedMessage{hwnd, message, wParam, lParam});
}

namespace {

bool IsChatter(UINT message)
{
    return message == WM_NCHITTEST || message == WM_SETCURSOR || message == WM_GETTEXT ||
           message == WM_GETTEXTLENGTH || message == WM_GETICON || message == WM_STYLECHANGING ||
           message == WM_STYLECHANGED;
}

} // namespace

std::vector<std::string> MessageLog::Names(HWND hwnd) const
{
    std::vector<std::string> names;
    for (const auto& entry : m_entries)
        if ((!hwnd || entry.hwnd == hwnd) && !IsChatter(entry.message))
            names.push_back(MessageName(entry.message));
    return names;
}

std::vector<std::string> MessageLog::Labelled(const std::vector<std::pair<HWND, std::string>>& labels) const
{
    std::vector<std::string> names;
    for (const auto& entry : m_entries) {
        if (IsChatter(entry.message))
            continue;
        std::string label = "?";
        for (const auto& [hwnd, name] : labels)
            if (hwnd == entry.hwnd)
                label = name;
        names.push_back(MessageName(entry.message) + "@" + label);
    }
    return names;
}

std::string MessageName(UINT message)
{
    static const std::map<UINT, std::string> names = {
        {WM_NULL, "WM_NULL"},
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_PRINT, "WM_PRINT"},
        {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
        {WM_MOVING, "WM_MOVING"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
    };
    const auto found = names.find(message);
    if (found != names.end())
        return found->second;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
    return buffer;
}

std::string Describe(const std::vector<std::string>& sequence)
{
    std::string text;
    for (const auto& name : sequence)
        text += (text.empty() ? "" : ", ") + name;
    return "[" + text + "]";
}

LRESULT LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog::Instance().Add(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterLoggedClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = LoggingProc;
        wc.lpszClassName = LOGGED_CLASS;
        (void)RegisterClassA(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = LOGGED_DBLCLK_CLASS;
        (void)RegisterClassA(&wc);
        return true;
    }();
    (void)registered;
}
