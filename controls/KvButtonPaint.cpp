#include "controls/KvButton.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/WinUser.h"

// The push button's looks. Without visual styles there are two: the hot-track look (a soft
// outer frame, a gradient face and a highlight ring for the hot or active button) and the
// classic one (a window-frame ring on the button Enter clicks and a 3-D button border).

namespace {

[[nodiscard]] TRect Inflated(TRect rect, int dx, int dy)
{
    (void)InflateRect(&rect, dx, dy);
    return rect;
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void Fill(TCanvas& canvas, const TRect& rect, TColor colour)
{
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(colour);
    canvas.FillRect(rect);
}

// The button's border as a soft shade of what it stands on: darker at the top and left,
// lighter at the bottom and right, the corners cut.
void PaintSoftOuterFrame(TCanvas& canvas, TRect& rect, TColor parentColour)
{
    const TColor dark = DarkenLuminance(parentColour, 20);
    const TColor light = LightenLuminance(parentColour, 20);
    const auto [l, t, r, b] = rect;
    canvas.Pen()->SetColor(dark);
    Line(canvas, l, t + 2, l, b - 2);
    Line(canvas, l + 2, t, r - 2, t);
    canvas.Pen()->SetColor(light);
    Line(canvas, r - 1, t + 2, r - 1, b - 2);
    Line(canvas, l + 2, b - 1, r - 2, b - 1);
    canvas.SetPixels(l + 1, t + 1, dark);
    canvas.SetPixels(r - 2, t + 1, dark);
    canvas.SetPixels(l + 1, b - 2, dark);
    canvas.SetPixels(r - 2, b - 2, light);
    (void)InflateRect(&rect, -1, -1);
}

void PaintFrameWithoutCorners(TCanvas& canvas, TRect& rect, TColor colour)
{
    const auto [l, t, r, b] = rect;
    canvas.Pen()->SetColor(colour);
    Line(canvas, l, t + 1, l, b - 1);
    Line(canvas, l + 1, t, r - 1, t);
    Line(canvas, r - 1, t + 1, r - 1, b - 1);
    Line(canvas, l + 1, b - 1, r - 1, b - 1);
    (void)InflateRect(&rect, -1, -1);
}

// The highlight ring runs from its first colour at the top to the second at the bottom, as the
// face does.
void PaintHighlightRing(TCanvas& canvas, const TRect& rect, TColor first, TColor second)
{
    DrawHotFrame(canvas, rect, gdHorizontalEnd, first, second);
}

} // namespace

void TKvButton::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect focus = Inflated(ClientRect(), HotTrack() ? -3 : -4, HotTrack() ? -3 : -4);
    if ((m_groupIndex != 0 && m_down) || PressedDisplay())
        (void)OffsetRect(&focus, 1, 1);
    TRect rect = ClientRect();
    if (!HotTrack())
        PaintClassic(canvas, rect);
    else if (Enabled())
        PaintHotTrackFace(canvas, rect);
    else
        PaintHotTrackDisabled(canvas, rect);
    if (m_groupIndex != 0 && m_down && m_showDownPattern)
        PaintDownPattern(canvas, rect);
    canvas.SetFont(Font());
    canvas.Brush()->SetColor(Color());
    PaintCaption();
    if (Focused() && m_showFocusRect)
        DrawDottedOutline(canvas, focus);
}

bool TKvButton::ShowsActiveHighlight() const
{
    return m_groupIndex == 0 && (m_active || Focused()) && !PressedDisplay();
}

void TKvButton::PaintHotTrackFace(TCanvas& canvas, TRect& rect)
{
    PaintSoftOuterFrame(canvas, rect, Parent() ? Parent()->Color() : clBtnFace);
    PaintFrameWithoutCorners(canvas, rect, m_frameColor);
    if (ShownDown()) {
        Fill(canvas, rect, DarkenLuminance(Color(), 10));
        return;
    }
    PaintFaceFill(canvas, rect);
    if (MouseOver()) {
        PaintHighlightRing(canvas, rect, HotDarkColor(), HotLightColor());
    } else if (ShowsActiveHighlight()) {
        const TColor highlight =
            ColoursAlike(HighlightColor(), clBtnFace) ? DarkenLuminance(HighlightColor(), 30) : HighlightColor();
        const TColor light = LightenLuminance(Color(), 30);
        PaintHighlightRing(canvas, rect, MixColors(highlight, light, 160), MixColors(highlight, light, 60));
    }
}

void TKvButton::PaintFaceFill(TCanvas& canvas, const TRect& rect)
{
    const auto [l, t, r, b] = rect;
    canvas.Pen()->SetColor(DarkenLuminance(Color(), 20));
    Line(canvas, l, b - 2, r, b - 2);
    canvas.Pen()->SetColor(DarkenLuminance(Color(), 30));
    Line(canvas, l, b - 1, r, b - 1);
    const TRect face = Rect(l, t, r, b - 2);
    if (FullColourScreen)
        DrawGradientRect(canvas, face, gdHorizontalEnd, LightenLuminance(Color(), 30), DarkenLuminance(Color(), 10), 1);
    else
        Fill(canvas, face, Color());
}

void TKvButton::PaintHotTrackDisabled(TCanvas& canvas, TRect& rect)
{
    (void)InflateRect(&rect, -1, -1);
    DrawBoxOutline(canvas, rect,
                   Color() == clBtnFace ? LightenLuminance(clBtnShadow, 30) : DarkenLuminance(Color(), 80));
    Fill(canvas, rect, Color());
}

void TKvButton::PaintClassic(TCanvas& canvas, TRect& rect)
{
    const bool grouped = m_groupIndex != 0;
    if (!grouped && (((m_active || Focused()) && !PressedDisplay()) || m_clicking))
        DrawBoxOutline(canvas, rect, clWindowFrame);
    if (Color() == clBtnFace) {
        if (grouped)
            DrawFrameStyle(canvas, rect, ShownDown() ? fsLowered : fsButtonUp);
        else
            DrawButtonEdge(canvas, rect, PressedDisplay());
    } else if (!grouped) {
        DrawTintedButtonEdge(canvas, rect, Color(), PressedDisplay());
    } else if (ShownDown()) {
        DrawTintedFrameStyle(canvas, rect, Color(), fsLowered);
    } else {
        DrawTintedButtonEdge(canvas, rect, Color(), false);
    }
    Fill(canvas, rect, Color());
}

void TKvButton::BuildDownPattern(TBitmap& bitmap)
{
    bitmap.SetSize(8, 8);
    TCanvas& canvas = *bitmap.Canvas();
    Fill(canvas, Rect(0, 0, 8, 8), Color());
    const TColor dots = Color() == clSilver ? clGray : clSilver;
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            canvas.SetPixels(x, y, dots);
}

void TKvButton::PaintDownPattern(TCanvas& canvas, const TRect& rect)
{
    TBitmap pattern;
    BuildDownPattern(pattern);
    canvas.Brush()->SetBitmap(&pattern);
    canvas.FillRect(rect);
    canvas.Brush()->SetBitmap(nullptr);
}

void TKvButton::GetCaptionRect(TRect& rect)
{
    rect = Inflated(ClientRect(), -5, -5);
    if (!HotTrack() && ((m_groupIndex != 0 && m_down) || PressedDisplay()))
        (void)OffsetRect(&rect, 1, 1);
}

void TKvButton::PaintCaption()
{
    UINT flags = DT_EXPANDTABS | DT_WORDBREAK;
    switch (m_alignment) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    }
    TRect rect{};
    GetCaptionRect(rect);
    DrawCaption(*Canvas(), rect, flags);
}

// The parent shows through the cut corners of the hot-track look: everything else is painted
// by the button itself.
void TKvButton::EraseTransparent(HDC dc)
{
    const int inset = Enabled() ? 1 : 2;
    TRect rect = Inflated(ClientRect(), -inset, -inset);
    (void)ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    (void)InflateRect(&rect, 1, -1);
    (void)ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    (void)InflateRect(&rect, -2, 2);
    (void)ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    PaintParentBackground(*this, dc, true);
    (void)SelectClipRgn(dc, nullptr);
}
