#include "platform/winapi/gdi/DrawHelpers.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/FrameGlyphs.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"

#include <algorithm>
#include <optional>

namespace {

constexpr UINT PartMask = 0x00FF;

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

int Side(const RECT& r)
{
    return std::max(0, std::min(Width(r), Height(r)));
}

// The largest square centred in `r`: check boxes and radio buttons keep their shape.
RECT CentredSquare(const RECT& r)
{
    const int side = Side(r);
    const int left = r.left + (Width(r) - side) / 2;
    const int top = r.top + (Height(r) - side) / 2;
    return {left, top, left + side, top + side};
}

void Fill(HDC dc, const RECT& r, int sysColour)
{
    FillRect(dc, &r, GetSysColorBrush(sysColour));
}

void FillDithered(HDC dc, const RECT& r)
{
    const GdiObject brush(CreateCheckerBrush(GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DFACE)));
    FillRect(dc, &r, brush.Get());
}

// Paints `glyph` centred in `box`, moved `shift` pixels right and down (a pushed button); an
// inactive glyph is embossed: highlight one pixel down and right, shadow on top.
void PaintCentred(HDC dc, const Glyph& glyph, const RECT& box, int shift, bool inactive, int sysColour)
{
    const int x = box.left + (Width(box) - glyph.Width()) / 2 + shift;
    const int y = box.top + (Height(box) - glyph.Height()) / 2 + shift;
    if (inactive) {
        glyph.Paint(dc, x + 1, y + 1, GetSysColor(COLOR_3DHILIGHT));
        glyph.Paint(dc, x, y, GetSysColor(COLOR_3DSHADOW));
        return;
    }
    glyph.Paint(dc, x, y, GetSysColor(sysColour));
}

UINT EdgeStyle(UINT state)
{
    return ((state & DFCS_FLAT) ? BF_FLAT : 0) | ((state & DFCS_MONO) ? BF_MONO : 0);
}

bool Has(UINT state, UINT flag)
{
    return (state & flag) != 0;
}

void AdjustIfAsked(RECT& rect, const RECT& inside, UINT state)
{
    if (Has(state, DFCS_ADJUSTRECT))
        rect = inside;
}

void DrawPushButton(HDC dc, RECT& rect, UINT state)
{
    const bool pushed = Has(state, DFCS_PUSHED);
    const bool checked = Has(state, DFCS_CHECKED);
    // A checked button that is not held down shows the half-tone face of a latched button.
    const bool latched = checked && !pushed;
    RECT inside = rect;
    DrawEdge(dc, &inside, pushed || checked ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_SOFT | BF_ADJUST | (latched ? 0 : BF_MIDDLE) | EdgeStyle(state));
    if (latched)
        FillDithered(dc, inside);
    AdjustIfAsked(rect, inside, state);
}

void DrawCheckBox(HDC dc, const RECT& rect, UINT state)
{
    const RECT box = CentredSquare(rect);
    RECT inside = box;
    const bool plain = Has(state, DFCS_FLAT | DFCS_MONO);
    DrawEdge(dc, &inside, plain ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT | BF_ADJUST | EdgeStyle(state));
    const bool checked = Has(state, DFCS_CHECKED);
    const bool indeterminate = checked && Has(state, DFCS_BUTTON3STATE);
    if (indeterminate && !Has(state, DFCS_PUSHED))
        FillDithered(dc, inside);
    else
        Fill(dc, inside, Has(state, DFCS_PUSHED | DFCS_INACTIVE) ? COLOR_3DFACE : COLOR_WINDOW);
    if (!checked)
        return;
    // The mark keeps the size of the two-pixel edge's inside whatever the edge drawn.
    const RECT markBox{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
    const int colour = indeterminate || Has(state, DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT;
    PaintCentred(dc, CheckMarkGlyph(Side(markBox)), markBox, 0, false, colour);
}

Glyph Ring(int side, int inset)
{
    Glyph ring(side, side);
    ring.Add(DiscGlyph(side - 2 * inset), inset, inset);
    ring.Remove([&] {
        Glyph hole(side, side);
        hole.Add(DiscGlyph(side - 2 * inset - 2), inset + 1, inset + 1);
        return hole;
    }());
    return ring;
}

// A ring in two colours: upper left and lower right of the anti-diagonal.
void PaintShadedRing(HDC dc, Glyph ring, POINT at, int upperLeft, int lowerRight)
{
    Glyph lower = ring;
    ring.KeepHalf(true);
    lower.KeepHalf(false);
    ring.Paint(dc, at.x, at.y, GetSysColor(upperLeft));
    lower.Paint(dc, at.x, at.y, GetSysColor(lowerRight));
}

void DrawRadioButton(HDC dc, const RECT& rect, UINT state)
{
    const RECT box = CentredSquare(rect);
    const int side = Side(box);
    const POINT at{box.left, box.top};
    const int face = Has(state, DFCS_PUSHED | DFCS_INACTIVE) ? COLOR_3DFACE : COLOR_WINDOW;
    Glyph inside(side, side);
    if (Has(state, DFCS_FLAT | DFCS_MONO)) {
        inside.Add(DiscGlyph(side - 2), 1, 1);
        Ring(side, 0).Paint(dc, at.x, at.y, GetSysColor(Has(state, DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_3DSHADOW));
    } else {
        inside.Add(DiscGlyph(side - 4), 2, 2);
        PaintShadedRing(dc, Ring(side, 0), at, COLOR_3DSHADOW, COLOR_3DHILIGHT);
        PaintShadedRing(dc, Ring(side, 1), at, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    inside.Paint(dc, at.x, at.y, GetSysColor(face));
    if (Has(state, DFCS_CHECKED))
        PaintCentred(dc, DiscGlyph(std::max(2, side / 3)), box, 0, false,
                     Has(state, DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT);
}

BOOL DrawButton(HDC dc, RECT& rect, UINT state)
{
    if (Has(state, DFCS_BUTTONPUSH))
        DrawPushButton(dc, rect, state);
    else if (Has(state, DFCS_BUTTONRADIO))
        DrawRadioButton(dc, rect, state);
    else if ((state & PartMask & ~DFCS_BUTTON3STATE) == DFCS_BUTTONCHECK)
        DrawCheckBox(dc, rect, state);
    else
        return FALSE;
    return TRUE;
}

// Diagonal grooves in the lower-right corner: highlight, two shadow lines, a face-coloured gap.
void DrawSizeGrip(HDC dc, const RECT& rect)
{
    Fill(dc, rect, COLOR_3DFACE);
    const int side = Side(rect);
    const int lines = std::max(1, (side - 4) / 4) * 4;
    Glyph light(side, side), dark(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int line = (side - 1 - x) + (side - 1 - y);
            if (line >= lines)
                continue;
            light.Set(x, y, line % 4 == 1);
            dark.Set(x, y, line % 4 >= 2);
        }
    light.Paint(dc, rect.right - side, rect.bottom - side, GetSysColor(COLOR_3DHILIGHT));
    dark.Paint(dc, rect.right - side, rect.bottom - side, GetSysColor(COLOR_3DSHADOW));
}

std::optional<ArrowDirection> ScrollArrow(UINT part)
{
    switch (part) {
    case DFCS_SCROLLUP: return ArrowDirection::Up;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX: return ArrowDirection::Down;
    case DFCS_SCROLLLEFT: return ArrowDirection::Left;
    case DFCS_SCROLLRIGHT: return ArrowDirection::Right;
    default: return std::nullopt;
    }
}

BOOL DrawScroll(HDC dc, RECT& rect, UINT state)
{
    if ((state & PartMask) == DFCS_SCROLLSIZEGRIP) {
        DrawSizeGrip(dc, rect);
        return TRUE;
    }
    const auto direction = ScrollArrow(state & PartMask);
    if (!direction)
        return FALSE;
    const bool pushed = Has(state, DFCS_PUSHED);
    // A pushed arrow button goes flat, its arrow one pixel down and right.
    RECT inside = rect;
    DrawEdge(dc, &inside, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST | EdgeStyle(state) | (pushed ? BF_FLAT : 0));
    // 4 rows (7x4) on a 16-pixel scroll button, 3 rows (5x3) on the half of an up-down control.
    const int rows = std::max(1, (Side(rect) + 2) / 4);
    PaintCentred(dc, ArrowGlyph(rows, *direction), rect, pushed ? 1 : 0, Has(state, DFCS_INACTIVE), COLOR_BTNTEXT);
    AdjustIfAsked(rect, inside, state);
    return TRUE;
}

std::optional<Glyph> CaptionGlyph(UINT part, int height)
{
    switch (part) {
    case DFCS_CAPTIONCLOSE: return CloseGlyph(height);
    case DFCS_CAPTIONMIN: return MinimiseGlyph(height);
    case DFCS_CAPTIONMAX: return MaximiseGlyph(height);
    case DFCS_CAPTIONRESTORE: return RestoreGlyph(height);
    case DFCS_CAPTIONHELP: return HelpGlyph(height);
    default: return std::nullopt;
    }
}

BOOL DrawCaption(HDC dc, RECT& rect, UINT state)
{
    const auto glyph = CaptionGlyph(state & PartMask, std::max(3, Side(rect) / 2));
    if (!glyph)
        return FALSE;
    const bool pushed = Has(state, DFCS_PUSHED);
    RECT inside = rect;
    DrawEdge(dc, &inside, pushed ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST | EdgeStyle(state));
    PaintCentred(dc, *glyph, rect, pushed ? 1 : 0, Has(state, DFCS_INACTIVE), COLOR_BTNTEXT);
    AdjustIfAsked(rect, inside, state);
    return TRUE;
}

std::optional<Glyph> MenuGlyph(UINT part, int side)
{
    switch (part) {
    case DFCS_MENUCHECK: return CheckMarkGlyph(side - 4);
    case DFCS_MENUBULLET: return DiscGlyph(std::max(2, side * 5 / 13));
    case DFCS_MENUARROW: return ArrowGlyph(std::max(1, (side + 3) / 4), ArrowDirection::Right);
    case DFCS_MENUARROWRIGHT: return ArrowGlyph(std::max(1, (side + 3) / 4), ArrowDirection::Left);
    default: return std::nullopt;
    }
}

// Menu glyphs are masks: black on white.
BOOL DrawMenuGlyph(HDC dc, const RECT& rect, UINT state)
{
    const auto glyph = MenuGlyph(state & PartMask, Side(rect));
    if (!glyph)
        return FALSE;
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    glyph->Paint(dc, rect.left + (Width(rect) - glyph->Width()) / 2, rect.top + (Height(rect) - glyph->Height()) / 2,
                 RGB(0, 0, 0));
    return TRUE;
}

} // namespace

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT kind, UINT state)
{
    if (!rect || !LookupDC(dc))
        return FALSE;
    switch (kind) {
    case DFC_BUTTON: return DrawButton(dc, *rect, state);
    case DFC_SCROLL: return DrawScroll(dc, *rect, state);
    case DFC_CAPTION: return DrawCaption(dc, *rect, state);
    case DFC_MENU: return DrawMenuGlyph(dc, *rect, state);
    default: return FALSE;
    }
}
