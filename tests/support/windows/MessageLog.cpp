#include "MessageLog.h"

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
