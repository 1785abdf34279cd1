#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>

// The classic scheme's metrics (96 dpi), which the frame, caption and scroll bars are built from.

namespace {

std::atomic<UINT> g_doubleClickTime{500};

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

} // namespace

int GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXSCREEN:
        return Width(Display().ScreenRect());
    case SM_CYSCREEN:
        return Height(Display().ScreenRect());
    case SM_CXFULLSCREEN:
        return Width(Display().WorkArea());
    case SM_CYFULLSCREEN:
        return Height(Display().WorkArea()) - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXMAXIMIZED:
        return Width(Display().WorkArea()) + 2 * GetSystemMetrics(SM_CXFRAME);
    case SM_CYMAXIMIZED:
        return Height(Display().WorkArea()) + 2 * GetSystemMetrics(SM_CYFRAME);
    case SM_CXMAXTRACK:
        return Width(Display().ScreenRect()) + 12;
    case SM_CYMAXTRACK:
        return Height(Display().ScreenRect()) + 12;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 19;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CMONITORS:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
        return 18;
    case SM_CXSMSIZE:
        return 12;
    case SM_CYSMSIZE:
        return 14;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXMINIMIZED:
        return 160;
    case SM_CYMINIMIZED:
        return 24;
    default:
        return 0;
    }
}

UINT GetDoubleClickTime()
{
    return g_doubleClickTime;
}

BOOL SetDoubleClickTime(UINT uInterval)
{
    g_doubleClickTime = uInterval ? uInterval : 500;
    return TRUE;
}
