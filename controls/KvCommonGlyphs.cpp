#include "controls/KvCommon.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The tick of a check box, as pixels from the top-left corner inside its frame.
[[nodiscard]] std::vector<POINT> CheckMarkPixels()
{
    std::vector<POINT> pixels{{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {3, 7}, {4, 6}};
    for (int i = 0; i < 4; ++i)
        pixels.insert(pixels.end(), {{4 + i, 7 - i}, {4 + i, 8 - i}, {5 + i, 5 - i}});
    pixels.insert(pixels.end(), {{8, 3}, {8, 4}});
    return pixels;
}

[[nodiscard]] TColor CheckFillColour(const TCheckGlyph& g)
{
    switch (g.DrawState) {
    case cdsPressed: return DarkenLuminance(g.FocusColor, 20);
    case cdsDisabled: return g.DisabledColor;
    default: break;
    }
    if (!g.Focused)
        return g.ReadOnly ? g.ReadOnlyColor : g.FillColor;
    return g.ReadOnly && g.ReadOnlyColorOnFocus ? g.ReadOnlyColor : g.FocusColor;
}

// The arrow colour of a themed combo box's drop button. The drop button of the frame controls
// stands in for the visual-styles one.
[[nodiscard]] TColor ThemedGlyphColour()
{
    TBitmap probe;
    probe.SetSize(17, 21);
    RECT button{0, 0, 16, 20};
    (void)DrawFrameControl(probe.Canvas()->Handle(), &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    const TColor colour = probe.Canvas()->Pixels(8, 10);
    return ColoursAlike(colour, clWindow) ? cl3DDkShadow : colour;
}

[[nodiscard]] TColor GlyphColour(TCanvas& canvas, bool themed, bool enabled, bool arrow)
{
    if (!enabled)
        return clBtnShadow;
    if (themed)
        return ThemedGlyphColour();
    return arrow && ColoursAlike(canvas.Brush()->Color(), clBlack) ? cl3DDkShadow : clBlack;
}

// Fills the glyph in its colour with a clear pen, then puts the pen and the brush colour back.
class GlyphPainter {
public:
    GlyphPainter(TCanvas& canvas, TColor colour) : m_canvas(canvas), m_brushColour(canvas.Brush()->Color())
    {
        m_canvas.Brush()->SetColor(colour);
        m_canvas.Pen()->SetStyle(psClear);
    }
    ~GlyphPainter()
    {
        m_canvas.Pen()->SetStyle(psSolid);
        m_canvas.Brush()->SetColor(m_brushColour);
    }
    GlyphPainter(const GlyphPainter&) = delete;
    GlyphPainter& operator=(const GlyphPainter&) = delete;

    void Polygon(const std::vector<POINT>& points) { m_canvas.Polygon(points); }
    void Fill(const TRect& rect) { m_canvas.FillRect(rect); }

private:
    TCanvas& m_canvas;
    TColor m_brushColour;
};

// A point of a glyph drawn pointing down, turned to point in `direction` about the centre.
[[nodiscard]] POINT Turned(POINT centre, int x, int y, TArrowDirection direction)
{
    switch (direction) {
    case adUp: return {centre.x + x, centre.y - y};
    case adLeft: return {centre.x - y, centre.y + x};
    case adRight: return {centre.x + y, centre.y + x};
    case adDown: break;
    }
    return {centre.x + x, centre.y + y};
}

[[nodiscard]] POINT Centre(const TRect& rect, bool pressed)
{
    const int shift = pressed ? 1 : 0;
    return {rect.left + (rect.right - rect.left) / 2 + shift, rect.top + (rect.bottom - rect.top) / 2 + shift};
}

// Down-pointing shapes about the centre: a chevron, tip two pixels below the centre line, and a
// solid triangle of four rows 7, 5, 3 and 1 pixels wide.
void PaintArrow(GlyphPainter& painter, POINT centre, bool themed, TArrowDirection direction)
{
    if (themed) {
        const int tip = 2;
        const POINT chevron[] = {{0, tip}, {-4, tip - 5}, {-3, tip - 7}, {0, tip - 3}, {3, tip - 7}, {5, tip - 5}};
        std::vector<POINT> points;
        for (const POINT p : chevron)
            points.push_back(Turned(centre, p.x, p.y, direction));
        painter.Polygon(points);
        return;
    }
    for (int row = 0; row < 4; ++row) {
        const int half = 3 - row;
        const POINT a = Turned(centre, -half, row - 1, direction);
        const POINT b = Turned(centre, half, row - 1, direction);
        painter.Fill(Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1));
    }
}

} // namespace

void DrawCheckGlyph(TCanvas& canvas, const TRect& rect, const TCheckGlyph& glyph)
{
    const bool hot = glyph.DrawState == cdsHot;
    TRect inner = rect;
    DrawBoxOutline(canvas, inner, hot && glyph.HotTrackStyle == htsFrame ? glyph.HotDark : glyph.FrameColor);
    const TColor check = glyph.DrawState == cdsDisabled ? clBtnShadow : glyph.CheckColor;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(CheckFillColour(glyph));
    canvas.FillRect(inner);
    if (glyph.State == cbChecked) {
        for (const POINT p : CheckMarkPixels())
            canvas.SetPixels(inner.left + p.x, inner.top + p.y, check);
    } else if (glyph.State == cbGrayed) {
        canvas.Brush()->SetColor(check);
        canvas.FillRect(Rect(inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2));
    }
    if (!hot)
        return;
    if (glyph.HotTrackStyle == htsInterior)
        DrawHotFrame(canvas, inner, gdDiagonalDown, glyph.HotLight, glyph.HotDark);
    else
        DrawBoxOutline(canvas, inner, glyph.HotDark);
}

void DrawDropArrow(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed)
{
    GlyphPainter painter(canvas, GlyphColour(canvas, themed, enabled, true));
    PaintArrow(painter, Centre(rect, pressed), themed, adDown);
}

void DrawScrollArrow(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed,
                     TArrowDirection direction)
{
    GlyphPainter painter(canvas, GlyphColour(canvas, themed, enabled, true));
    PaintArrow(painter, Centre(rect, pressed && enabled), themed, direction);
}

void DrawCloseCross(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed)
{
    GlyphPainter painter(canvas, GlyphColour(canvas, themed, enabled, false));
    POINT c = Centre(rect, pressed);
    if ((rect.bottom - rect.top) % 2 == 0)
        --c.y;
    painter.Polygon({{c.x, c.y - 1}, {c.x + 2, c.y - 3}, {c.x + 5, c.y - 3}, {c.x + 2, c.y}, {c.x + 5, c.y + 4},
                     {c.x + 2, c.y + 3}, {c.x, c.y + 1}, {c.x - 2, c.y + 4}, {c.x - 4, c.y + 3}, {c.x - 1, c.y},
                     {c.x - 4, c.y - 3}, {c.x - 1, c.y - 3}});
}

HFONT CreateRotatedFont(TFont& font, int angle)
{
    LOGFONTA logFont{};
    logFont.lfHeight = font.Height();
    logFont.lfWidth = 0;
    logFont.lfEscapement = angle * 10;
    logFont.lfOrientation = 0;
    const TFontStyles style = font.Style();
    logFont.lfWeight = style.Contains(fsBold) ? 700 : 400;
    logFont.lfItalic = style.Contains(fsItalic) ? 1 : 0;
    logFont.lfUnderline = style.Contains(fsUnderline) ? 1 : 0;
    logFont.lfStrikeOut = style.Contains(fsStrikeOut) ? 1 : 0;
    logFont.lfCharSet = font.Charset();
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    switch (font.Pitch()) {
    case fpVariable: logFont.lfPitchAndFamily = VARIABLE_PITCH; break;
    case fpFixed: logFont.lfPitchAndFamily = FIXED_PITCH; break;
    case fpDefault: logFont.lfPitchAndFamily = DEFAULT_PITCH; break;
    }
    const std::string& name = font.Name();
    std::memcpy(logFont.lfFaceName, name.data(), std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    return CreateFontIndirectA(&logFont);
}

bool FontIsTrueType(TFont& font)
{
    const HDC screen = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
        const SelectionGuard selected(screen, font.Handle());
        (void)GetTextMetricsA(screen, &metrics);
    }
    (void)ReleaseDC(nullptr, screen);
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}
