#include "controls/KvCommon.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"

namespace {

struct EdgeColours {
    TColor upperLeft;
    TColor lowerRight;
};
struct EdgePair {
    EdgeColours outer;
    EdgeColours inner;
};

constexpr EdgePair RaisedEdge{{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
constexpr EdgePair SunkenEdge{{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
constexpr EdgePair ButtonUpEdge{{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
constexpr EdgePair ButtonDownEdge{{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};

// The system colours of each frame style. fsFlatRounded has none of its own and is drawn
// etched like fsBump, as the tinted frames do.
[[nodiscard]] EdgeColours FrameStyleColours(TFrameStyleEx style)
{
    switch (style) {
    case fsNone: return {clWindow, clWindow};
    case fsFlat: return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove:
    case fsLowered:
    case fsStatus: return {clBtnShadow, clBtnHighlight};
    case fsRaised: return {cl3DDkShadow, clBtnFace};
    case fsButtonDown:
    case fsButtonUp: return {clNone, clNone};
    case fsFlatBold: return {clBtnShadow, clBtnShadow};
    case fsBump:
    case fsPopup:
    case fsFlatRounded: break;
    }
    return {clBtnHighlight, clBtnShadow};
}

void DrawPair(TCanvas& canvas, TRect& rect, const EdgePair& pair, TSides sides)
{
    DrawEdgeRings(canvas, rect, pair.outer.upperLeft, pair.outer.lowerRight, 1, sides);
    DrawEdgeRings(canvas, rect, pair.inner.upperLeft, pair.inner.lowerRight, 1, sides);
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// The etched frame of fsGroove and fsBump: two lines per side, the corners closed by single
// pixels where an unchosen side meets a chosen one.
void DrawEtchedFrame(TCanvas& canvas, TRect& rect, EdgeColours colours, TSides sides)
{
    const auto [l, t, r, b] = rect;
    const TColor ul = colours.upperLeft;
    const TColor lr = colours.lowerRight;
    const bool left = sides.Contains(sdLeft);
    const bool top = sides.Contains(sdTop);
    const bool right = sides.Contains(sdRight);
    const bool bottom = sides.Contains(sdBottom);
    if (right)
        canvas.SetPixels(r - 1, t, lr);
    else if (top)
        canvas.SetPixels(r - 1, t, ul);
    if (bottom)
        canvas.SetPixels(l, b - 1, lr);
    else if (left)
        canvas.SetPixels(l, b - 1, ul);
    if (top && !left)
        canvas.SetPixels(l, t + 1, lr);
    if (left && !top)
        canvas.SetPixels(l + 1, t, lr);
    if (bottom && !right)
        canvas.SetPixels(r - 1, b - 2, ul);
    if (right && !bottom)
        canvas.SetPixels(r - 2, b - 1, ul);
    TRect inner = Rect(l + 1, t + 1, r, b);
    DrawEdgeLines(canvas, inner, lr, lr, sides);
    TRect outer = Rect(l, t, r - 1, b - 1);
    DrawEdgeLines(canvas, outer, ul, ul, sides);
    ShrinkSides(rect, sides, 2);
}

void Ring(TCanvas& canvas, TRect& rect, TColor colour, int width, TSides sides)
{
    DrawEdgeRings(canvas, rect, colour, colour, width, sides);
}

// The four sides of the soft inner flat border, each stopping one pixel short of both corners.
void DrawSoftFlatBorder(TCanvas& canvas, TRect& rect, TColor colour)
{
    const auto [l, t, r, b] = rect;
    canvas.Pen()->SetColor(colour);
    Line(canvas, l, t + 1, l, b - 1);
    Line(canvas, l + 1, t, r - 1, t);
    Line(canvas, r - 1, t + 1, r - 1, b - 1);
    Line(canvas, l + 1, b - 1, r - 1, b - 1);
    ShrinkSides(rect, AllSides, 1);
}

void DrawOuterBorder(TCanvas& canvas, TRect& rect, const TFramedBorders& f, TColor flat)
{
    const TSides sides = f.BorderSides;
    switch (f.BorderOuter) {
    case fsFlat: Ring(canvas, rect, flat, 1, sides); return;
    case fsFlatBold: Ring(canvas, rect, flat, 2, sides); return;
    case fsFlatRounded: {
        TRect outline = rect;
        const bool bordered = f.BorderWidth > 0 || f.BorderInner != fsNone;
        if (!f.Transparent) {
            Ring(canvas, rect, f.ParentColor, 1, sides);
            Ring(canvas, rect, bordered ? f.BorderColor : f.Color, 1, sides);
        } else {
            // Nothing but the outline is drawn; the inside still starts inside its corners.
            ShrinkSides(rect, sides, 1);
            if (bordered)
                Ring(canvas, rect, f.BorderColor, 1, sides);
            else
                ShrinkSides(rect, sides, 1);
        }
        DrawRoundedOutline(canvas, outline, flat, sides);
        return;
    }
    case fsPopup: DrawEdgeRings(canvas, rect, f.BorderHighlight, f.BorderShadow, f.BevelWidth, sides); return;
    case fsStatus: DrawEdgeRings(canvas, rect, f.BorderShadow, f.BorderHighlight, f.BevelWidth, sides); return;
    default: DrawFrameStyleSides(canvas, rect, f.BorderOuter, sides); return;
    }
}

void DrawInnerBorder(TCanvas& canvas, TRect& rect, const TFramedBorders& f, TColor flat)
{
    const TSides sides = f.BorderSides;
    switch (f.BorderInner) {
    case fsFlat:
        if (f.SoftInnerFlatBorder)
            DrawSoftFlatBorder(canvas, rect, flat);
        else
            Ring(canvas, rect, flat, 1, sides);
        return;
    case fsFlatBold: Ring(canvas, rect, flat, 2, sides); return;
    case fsFlatRounded: {
        TRect outline = rect;
        Ring(canvas, rect, f.BorderColor, 1, sides);
        if (!f.Transparent)
            Ring(canvas, rect, f.Color, 1, sides);
        DrawRoundedOutline(canvas, outline, flat, sides);
        return;
    }
    case fsStatus: DrawEdgeRings(canvas, rect, f.BorderShadow, f.BorderHighlight, f.BevelWidth, sides); return;
    case fsPopup: DrawEdgeRings(canvas, rect, f.BorderHighlight, f.BorderShadow, f.BevelWidth, sides); return;
    default: DrawFrameStyleSides(canvas, rect, f.BorderInner, sides); return;
    }
}

} // namespace

void DrawEdgeLines(TCanvas& canvas, TRect& rect, TColor ulColor, TColor lrColor, TSides sides)
{
    const auto [l, t, r, b] = rect;
    if (ulColor != clNone) {
        canvas.Pen()->SetColor(ulColor);
        if (sides.Contains(sdLeft))
            Line(canvas, l, t, l, b);
        if (sides.Contains(sdTop))
            Line(canvas, l, t, r, t);
    }
    if (lrColor != clNone) {
        canvas.Pen()->SetColor(lrColor);
        if (sides.Contains(sdRight))
            Line(canvas, r - 1, t, r - 1, b);
        if (sides.Contains(sdBottom))
            Line(canvas, l, b - 1, r, b - 1);
    }
    ShrinkSides(rect, sides, 1);
}

void DrawEdgeRings(TCanvas& canvas, TRect& rect, TColor ulColor, TColor lrColor, int width, TSides sides)
{
    canvas.Pen()->SetWidth(1);
    for (int i = 0; i < width; ++i)
        DrawEdgeLines(canvas, rect, ulColor, lrColor, sides);
}

void DrawSunkenRaisedEdges(TCanvas& canvas, TRect& rect, bool sunken, TSides sides)
{
    DrawPair(canvas, rect, sunken ? SunkenEdge : RaisedEdge, sides);
}

void DrawButtonEdge(TCanvas& canvas, TRect& rect, bool down) { DrawButtonEdgeSides(canvas, rect, down, AllSides); }

void DrawButtonEdgeSides(TCanvas& canvas, TRect& rect, bool down, TSides sides)
{
    DrawPair(canvas, rect, down ? ButtonDownEdge : ButtonUpEdge, sides);
}

void DrawTintedButtonEdge(TCanvas& canvas, TRect& rect, TColor color, bool down)
{
    DrawTintedButtonEdgeSides(canvas, rect, color, down, AllSides);
}

void DrawTintedButtonEdgeSides(TCanvas& canvas, TRect& rect, TColor color, bool down, TSides sides)
{
    const TColor dark100 = DarkenLuminance(color, 100);
    const TColor dark50 = DarkenLuminance(color, 50);
    const EdgePair pair = down ? EdgePair{{dark100, dark100}, {dark50, dark50}}
                               : EdgePair{{LightenLuminance(color, 100), dark100}, {LightenLuminance(color, 40), dark50}};
    DrawPair(canvas, rect, pair, sides);
}

void DrawFrameStyle(TCanvas& canvas, TRect& rect, TFrameStyleEx style)
{
    DrawFrameStyleSides(canvas, rect, style, AllSides);
}

void DrawFrameStyleSides(TCanvas& canvas, TRect& rect, TFrameStyleEx style, TSides sides)
{
    const EdgeColours colours = FrameStyleColours(style);
    switch (style) {
    case fsNone: return;
    case fsFlat:
    case fsStatus:
    case fsPopup: DrawEdgeLines(canvas, rect, colours.upperLeft, colours.lowerRight, sides); return;
    case fsLowered:
    case fsRaised: DrawSunkenRaisedEdges(canvas, rect, style == fsLowered, sides); return;
    case fsButtonDown:
    case fsButtonUp: DrawButtonEdgeSides(canvas, rect, style == fsButtonDown, sides); return;
    case fsFlatBold: DrawEdgeRings(canvas, rect, colours.upperLeft, colours.lowerRight, 2, sides); return;
    default: DrawEtchedFrame(canvas, rect, colours, sides); return;
    }
}

void DrawTintedFrameStyle(TCanvas& canvas, TRect& rect, TColor color, TFrameStyleEx style)
{
    DrawTintedFrameStyleSides(canvas, rect, color, style, AllSides);
}

void DrawTintedFrameStyleSides(TCanvas& canvas, TRect& rect, TColor color, TFrameStyleEx style, TSides sides)
{
    if (style == fsNone)
        return;
    if (style == fsButtonDown || style == fsButtonUp) {
        DrawTintedButtonEdgeSides(canvas, rect, color, style == fsButtonDown, sides);
        return;
    }
    const TColor dark50 = DarkenLuminance(color, 50);
    const TColor dark100 = DarkenLuminance(color, 100);
    const TColor light50 = LightenLuminance(color, 50);
    const TColor light100 = LightenLuminance(color, 100);
    switch (style) {
    case fsFlat: DrawEdgeLines(canvas, rect, dark50, dark50, sides); return;
    case fsGroove: DrawEtchedFrame(canvas, rect, {dark50, light100}, sides); return;
    case fsLowered:
        DrawEdgeLines(canvas, rect, dark50, light100, sides);
        DrawEdgeLines(canvas, rect, dark100, light50, sides);
        return;
    case fsRaised:
        DrawEdgeLines(canvas, rect, light50, dark100, sides);
        DrawEdgeLines(canvas, rect, light100, dark50, sides);
        return;
    case fsStatus: DrawEdgeLines(canvas, rect, dark50, light100, sides); return;
    case fsPopup: DrawEdgeLines(canvas, rect, light100, dark50, sides); return;
    case fsFlatBold: Ring(canvas, rect, dark50, 2, sides); return;
    default: DrawEtchedFrame(canvas, rect, {light100, dark50}, sides); return;
    }
}

void DrawBoxOutline(TCanvas& canvas, TRect& rect, TColor color) { DrawEdgeLines(canvas, rect, color, color, AllSides); }

void DrawDottedOutline(TCanvas& canvas, TRect& rect)
{
    const auto [l, t, r, b] = rect;
    for (int x = l + 1; x < r; x += 2) {
        canvas.SetPixels(x, t, clBlack);
        canvas.SetPixels(x, b - 1, clBlack);
    }
    for (int y = t + 1; y < b; y += 2) {
        canvas.SetPixels(l, y, clBlack);
        canvas.SetPixels(r - 1, y, clBlack);
    }
    ShrinkSides(rect, AllSides, 1);
}

void DrawRoundedOutline(TCanvas& canvas, TRect& rect, TColor color, TSides sides)
{
    const auto [l, t, r, b] = rect;
    const bool left = sides.Contains(sdLeft);
    const bool top = sides.Contains(sdTop);
    const bool right = sides.Contains(sdRight);
    const bool bottom = sides.Contains(sdBottom);
    const int firstY = top ? t + 1 : t;
    const int lastY = bottom ? b - 2 : b;
    const int firstX = left ? l + 2 : l;
    const int lastX = right ? r - 2 : r;
    canvas.Pen()->SetColor(color);
    if (left)
        Line(canvas, l, firstY, l, lastY);
    if (top)
        Line(canvas, firstX, t, lastX, t);
    if (right)
        Line(canvas, r - 1, firstY, r - 1, lastY);
    if (bottom)
        Line(canvas, firstX, b - 1, lastX, b - 1);
    if (left && top)
        canvas.SetPixels(l + 1, t + 1, color);
    if (top && right)
        canvas.SetPixels(r - 2, t + 1, color);
    if (right && bottom)
        canvas.SetPixels(r - 2, b - 2, color);
    if (left && bottom)
        canvas.SetPixels(l + 1, b - 2, color);
    rect = Rect(left ? l + 2 : l, top ? t + 1 : t, right ? r - 2 : r, bottom ? b - 2 : b);
}

void DrawFramedBorders(TCanvas& canvas, TRect& rect, const TFramedBorders& borders)
{
    const TColor flat = ShiftLuminance(borders.FlatColor, borders.FlatColorAdjustment);
    DrawOuterBorder(canvas, rect, borders, flat);
    if (borders.BorderWidth > 0)
        Ring(canvas, rect, borders.BorderColor, borders.BorderWidth, borders.BorderSides);
    DrawInnerBorder(canvas, rect, borders, flat);
}

void DrawStyleFrame(TCanvas& canvas, int width, int height, TFrameStyleEx style, TColor color, TColor frameColor,
                    TSides sides, bool noBackground)
{
    if (!noBackground) {
        TRect background = Rect(0, 0, width, height);
        Ring(canvas, background, color, 2, AllSides);
    }
    TRect frame = Rect(0, 0, width, height);
    if (style == fsFlat)
        DrawEdgeLines(canvas, frame, frameColor, frameColor, sides);
    else if (style == fsFlatBold)
        Ring(canvas, frame, frameColor, 2, sides);
    else if (color == clWindow)
        DrawFrameStyleSides(canvas, frame, style, sides);
    else
        DrawTintedFrameStyleSides(canvas, frame, color, style, sides);
}

void RedrawWindowFrame(HWND window, const TRect& rect)
{
    const HDC dc = GetDC(window);
    RECT box{};
    const int visible = GetClipBox(dc, &box);
    (void)ReleaseDC(window, dc);
    if (visible != ERROR && visible != NULLREGION)
        (void)RedrawWindow(window, &rect, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void DrawHotFrame(TCanvas& canvas, const TRect& rect, TGradientDirection direction, TColor startColor,
                  TColor stopColor)
{
    if (!FullColourScreen)
        return;
    // Saving the DC puts back the caller's own clipping afterwards; removing all clipping
    // would let the caller's later drawing spill outside the area it was given.
    const SavedDC saved(canvas.Handle());
    (void)ExcludeClipRect(canvas.Handle(), rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    DrawGradientRect(canvas, rect, direction, startColor, stopColor, 1);
}

void ShrinkSides(TRect& rect, TSides sides, int by)
{
    if (sides.Contains(sdLeft))
        rect.left += by;
    if (sides.Contains(sdTop))
        rect.top += by;
    if (sides.Contains(sdRight))
        rect.right -= by;
    if (sides.Contains(sdBottom))
        rect.bottom -= by;
}

int FrameStyleWidth(TFrameStyleEx style, int bevelWidth)
{
    switch (style) {
    case fsNone:
        return 0;
    case fsFlat:
        return 1;
    case fsStatus:
    case fsPopup:
        return bevelWidth;
    default:
        return 2;
    }
}
