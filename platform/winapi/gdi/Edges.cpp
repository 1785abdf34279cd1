#include "platform/winapi/gdi/DrawHelpers.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"

namespace {

// The system colours of one one-pixel ring: top and left, bottom and right.
struct RingColours {
    int topLeft;
    int bottomRight;
};

// `raised` and `sunken` are the ring's two BDR_ bits. A soft edge swaps the light colours of the
// raised rings and the dark colours of the sunken ones (the push-button look).
RingColours RingFor(bool outer, UINT bits, UINT flags)
{
    if (flags & BF_MONO)
        return outer ? RingColours{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME} : RingColours{COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT)
        return outer ? RingColours{COLOR_3DSHADOW, COLOR_3DSHADOW} : RingColours{COLOR_3DFACE, COLOR_3DFACE};
    const bool soft = (flags & BF_SOFT) != 0;
    const bool raised = (bits & (BDR_RAISEDOUTER | BDR_RAISEDINNER)) != 0;
    if (outer) {
        return raised ? RingColours{soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                      : RingColours{soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
    }
    return raised ? RingColours{soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW}
                  : RingColours{soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

void FillSide(HDC dc, RECT side, int colour)
{
    if (side.left < side.right && side.top < side.bottom)
        FillRect(dc, &side, GetSysColorBrush(colour));
}

// Draws one ring on the chosen sides of `r` and takes its width off those sides. The top and left
// lines go first, so the bottom and right lines own the corners they share.
void DrawRing(HDC dc, RECT& r, RingColours colours, UINT sides)
{
    if (sides & BF_LEFT)
        FillSide(dc, {r.left, r.top, r.left + 1, r.bottom}, colours.topLeft);
    if (sides & BF_TOP)
        FillSide(dc, {r.left, r.top, r.right, r.top + 1}, colours.topLeft);
    if (sides & BF_RIGHT)
        FillSide(dc, {r.right - 1, r.top, r.right, r.bottom}, colours.bottomRight);
    if (sides & BF_BOTTOM)
        FillSide(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colours.bottomRight);
    r.left += (sides & BF_LEFT) ? 1 : 0;
    r.top += (sides & BF_TOP) ? 1 : 0;
    r.right -= (sides & BF_RIGHT) ? 1 : 0;
    r.bottom -= (sides & BF_BOTTOM) ? 1 : 0;
}

} // namespace

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags)
{
    if (!rect || (flags & BF_DIAGONAL) || !LookupDC(dc))
        return FALSE;
    RECT inside = *rect;
    const UINT sides = flags & BF_RECT;
    if (const UINT outer = edge & BDR_OUTER)
        DrawRing(dc, inside, RingFor(true, outer, flags), sides);
    if (const UINT inner = edge & BDR_INNER)
        DrawRing(dc, inside, RingFor(false, inner, flags), sides);
    if ((flags & BF_MIDDLE) && inside.left < inside.right && inside.top < inside.bottom)
        FillRect(dc, &inside, GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
    if (flags & BF_ADJUST)
        *rect = inside;
    return TRUE;
}
