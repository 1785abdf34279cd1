#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/user/WinUser.h"

#include <cstring>

// System parameters, the one monitor (the display's screen), and the beep.

static_assert(sizeof(NONCLIENTMETRICSA) == 340);

namespace {

// Any non-null value names the one monitor.
HMONITOR ThePrimaryMonitor()
{
    static char token;
    return reinterpret_cast<HMONITOR>(&token);
}

bool Intersects(const RECT& a, const RECT& b)
{
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

HMONITOR MonitorFor(const RECT& rect, DWORD flags)
{
    if (flags == MONITOR_DEFAULTTONULL && !Intersects(rect, Display().ScreenRect()))
        return nullptr;
    return ThePrimaryMonitor();
}

LOGFONTA InterfaceFont(LONG weight, const char* face = "Tahoma")
{
    LOGFONTA font{};
    font.lfHeight = -11;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, face);
    return font;
}

// Captions are bold, and the condensed interface face in bold runs narrow letters together at
// caption size ("Grid" reads "Grkl"); Verdana's face keeps a clear gap between every letter.
LOGFONTA CaptionFont() { return InterfaceFont(FW_BOLD, "Verdana"); }

void FillNonClientMetrics(NONCLIENTMETRICSA& metrics)
{
    metrics.iBorderWidth = 1;
    metrics.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    metrics.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    metrics.lfCaptionFont = CaptionFont();
    metrics.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
    metrics.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
    metrics.lfSmCaptionFont = CaptionFont();
    metrics.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
    metrics.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
    metrics.lfMenuFont = InterfaceFont(FW_NORMAL);
    metrics.lfStatusFont = InterfaceFont(FW_NORMAL);
    metrics.lfMessageFont = InterfaceFont(FW_NORMAL);
}

} // namespace

BOOL SystemParametersInfoA(UINT uiAction, UINT /*uiParam*/, LPVOID pvParam, UINT /*fWinIni*/)
{
    if (!pvParam) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (uiAction) {
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(pvParam) = Display().WorkArea();
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        auto* metrics = static_cast<NONCLIENTMETRICSA*>(pvParam);
        if (metrics->cbSize != sizeof(NONCLIENTMETRICSA)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        FillNonClientMetrics(*metrics);
        return TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags)
{
    RECT rect{};
    if (!GetWindowRect(hwnd, &rect))
        return dwFlags == MONITOR_DEFAULTTONULL ? nullptr : ThePrimaryMonitor();
    return MonitorFor(rect, dwFlags);
}

HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags)
{
    return lprc ? MonitorFor(*lprc, dwFlags) : nullptr;
}

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    return MonitorFor(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}, dwFlags);
}

BOOL GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    if (hMonitor != ThePrimaryMonitor() || !lpmi || lpmi->cbSize < sizeof(MONITORINFO))
        return FALSE;
    lpmi->rcMonitor = Display().ScreenRect();
    lpmi->rcWork = Display().WorkArea();
    lpmi->dwFlags = MONITORINFOF_PRIMARY;
    return TRUE;
}

BOOL MessageBeep(UINT /*uType*/)
{
    return TRUE;
}
