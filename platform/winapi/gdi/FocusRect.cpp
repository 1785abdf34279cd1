#include "platform/winapi/gdi/DrawHelpers.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/FrameGlyphs.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    if (!rect || !LookupDC(dc))
        return FALSE;
    const RECT r = *rect;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return TRUE;
    // The four sides as strips that never overlap, so each pixel is inverted once: a one-pixel
    // high or wide rectangle is a single strip.
    const GdiObject dots(CreateCheckerBrush(RGB(255, 255, 255), RGB(0, 0, 0)));
    const SelectionGuard selectDots(dc, dots.Get());
    PatBlt(dc, r.left, r.top, width, 1, PATINVERT);
    if (height > 1)
        PatBlt(dc, r.left, r.bottom - 1, width, 1, PATINVERT);
    if (height > 2) {
        PatBlt(dc, r.left, r.top + 1, 1, height - 2, PATINVERT);
        if (width > 1)
            PatBlt(dc, r.right - 1, r.top + 1, 1, height - 2, PATINVERT);
    }
    return TRUE;
}
