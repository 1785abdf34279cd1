#pragma once

#include "platform/winapi/user/WinUser.h"

// WM_PAINT and WM_PRINTCLIENT of a control that draws its whole client area: into the DC the message
// carries (WM_PRINTCLIENT, or WM_PAINT from a subclassing class library that has already begun
// painting), else between BeginPaint and EndPaint.
template <class PaintFunction>
LRESULT PaintControl(HWND hwnd, HDC given, PaintFunction&& paint)
{
    if (given) {
        paint(given);
        return 0;
    }
    PAINTSTRUCT ps;
    if (const HDC dc = BeginPaint(hwnd, &ps))
        paint(dc);
    (void)EndPaint(hwnd, &ps);
    return 0;
}
