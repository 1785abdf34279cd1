#include "controls/KvLabel.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <cmath>
#include <numbers>

namespace {

int Nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

} // namespace

// Painted off-screen and shown in one step; a transparent label starts from what its parent
// shows behind it.
void TKvLabel::Paint()
{
    TBitmap buffer;
    buffer.SetPixelFormat(pf32bit);
    SizeToControl(buffer, *this);
    TCanvas& canvas = *buffer.Canvas();
    if (Transparent())
        DrawParentBackground(this, canvas.Handle());
    TRect rect = ClientRect();
    TFramedBorders borders;
    borders.BorderOuter = BorderOuter();
    borders.BorderInner = BorderInner();
    borders.BorderWidth = m_borderWidth;
    borders.BorderSides = BorderSides();
    borders.BevelWidth = m_bevelWidth;
    borders.BorderColor = m_borderColor;
    borders.BorderHighlight = BorderHighlight();
    borders.BorderShadow = BorderShadow();
    borders.FlatColor = FlatColor();
    borders.FlatColorAdjustment = FlatColorAdjustment();
    borders.Color = Color();
    borders.ParentColor = Parent() ? Parent()->Color() : Color();
    borders.Transparent = Transparent();
    DrawFramedBorders(canvas, rect, borders);
    if (!Transparent()) {
        canvas.Brush()->SetColor(Color());
        canvas.Brush()->SetStyle(bsSolid);
        canvas.FillRect(rect);
    }
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->Assign(Font());
    if (m_rotation == roCurve)
        DrawArcText(canvas);
    else
        DrawFlatText(canvas);
    Canvas()->Draw(0, 0, &buffer);
}

void TKvLabel::DrawStyleCopies(const TCopyDrawer& draw, int shadowOffset) const
{
    if (m_textStyle == tsShadow) {
        draw(m_shadowColor, shadowOffset, shadowOffset);
        return;
    }
    if (m_textStyle != tsRaised && m_textStyle != tsRecessed)
        return;
    const bool raised = m_textStyle == tsRaised;
    // The light styles keep only the highlight.
    if (!(raised && m_lightTextStyle))
        draw(raised ? m_shadowColor : m_highlightColor, 1, 1);
    if (!(!raised && m_lightTextStyle))
        draw(raised ? m_highlightColor : m_shadowColor, -1, -1);
}

TPoint TKvLabel::CentrePoint() const
{
    const int w = Width();
    const int h = Height();
    const int b = m_borderWidth;
    if (m_rotation == roFlat)
        return TPoint{w / 2, h / 2};
    switch (m_centerPoint) {
    case cpUpperLeft: return TPoint{b, b};
    case cpUpperCenter: return TPoint{w / 2, b};
    case cpUpperRight: return TPoint{w, b};
    case cpLeftCenter: return TPoint{b, h / 2};
    case cpCenter: return TPoint{w / 2, h / 2};
    case cpRightCenter: return TPoint{w - b, h / 2};
    case cpLowerLeft: return TPoint{b, h - b};
    case cpLowerCenter: return TPoint{w / 2, h - b};
    case cpLowerRight: return TPoint{w - b, h - b};
    }
    return TPoint{w / 2, h / 2};
}

TPoint TKvLabel::ArcRadius() const
{
    const int w = Width();
    const int h = Height();
    const int t = 2 * m_borderWidth;
    switch (m_centerPoint) {
    case cpUpperCenter:
    case cpLowerCenter:
        return TPoint{w / 2 - t, h - t};
    case cpLeftCenter:
    case cpRightCenter:
        return TPoint{w - t, h / 2 - t};
    case cpCenter:
        return TPoint{w / 2 - t, h / 2 - t};
    default:
        return TPoint{w - t, h - t};
    }
}

void TKvLabel::DrawFlatText(TCanvas& canvas)
{
    TRect rect = ClientRect();
    DeflateForBorders(rect, true);
    InflateRect(&rect, -m_textMargin, -m_textMargin);
    if (m_rotation == roFlat) {
        DrawTurnedText(canvas, rect, m_shadowDepth / 2);
        return;
    }
    const std::string text = GetLabelText();
    const int length = static_cast<int>(text.size());
    const UINT flags = TextFlags();
    if (Layout() != tlTop) {
        TRect measured = rect;
        (void)DrawTextA(canvas.Handle(), text.c_str(), length, &measured, flags | DT_CALCRECT);
        const int spare = (rect.bottom - rect.top) - (measured.bottom - measured.top);
        OffsetRect(&rect, 0, Layout() == tlBottom ? spare : spare / 2);
    }
    // The shadow stays inside: text that keeps to the right or bottom edge moves away from it.
    if (m_textStyle == tsShadow)
        OffsetRect(&rect, Alignment() == taRightJustify ? -m_shadowDepth : 0, Layout() == tlBottom ? -m_shadowDepth : 0);
    const TCopyDrawer draw = [&](TColor color, int dx, int dy) {
        TRect copy = rect;
        OffsetRect(&copy, dx, dy);
        canvas.Font()->SetColor(color);
        (void)DrawTextA(canvas.Handle(), text.c_str(), length, &copy, flags);
    };
    if (!Enabled()) {
        draw(clGrayText, 0, 0);
        return;
    }
    DrawStyleCopies(draw, m_shadowDepth);
    draw(m_currentColor, 0, 0);
}

// Text turned by Angle about the label's centre, placed so that the quarter turns keep to the
// alignment as level text does.
void TKvLabel::DrawTurnedText(TCanvas& canvas, const TRect& rect, int halfDepth)
{
    const std::string text = GetLabelText();
    const bool shadow = m_textStyle == tsShadow;
    const int lineHeight = canvas.TextHeight("Pp");
    const double q = lineHeight / 4.0;
    const int w = canvas.TextWidth(text);
    const int h = lineHeight + (shadow ? halfDepth : 0);
    const int e = shadow ? halfDepth : 0;
    const int f = w + e;
    const double a = Radians(m_angle) + std::numbers::pi / 2;
    const UINT horizontal = TextFlags() & (DT_CENTER | DT_RIGHT);
    TPoint anchor = CentrePoint();
    UINT align = TA_LEFT | TA_TOP;
    switch (m_angle) {
    case 0:
        if (horizontal == DT_CENTER)
            align = TA_CENTER;
        else
            anchor.x = horizontal == DT_RIGHT ? rect.right - w - 2 * e : rect.left + e;
        anchor.y -= h / 2;
        break;
    case 90:
        anchor.x -= Nearest(std::cos(a) * q);
        anchor.y = horizontal == DT_CENTER  ? rect.bottom - (rect.bottom - f) / 2
                   : horizontal == DT_RIGHT ? rect.top + e + f
                                            : rect.bottom - e;
        align = TA_BASELINE;
        break;
    case 180:
        anchor.x = horizontal == DT_CENTER  ? rect.right - (rect.right - f) / 2
                   : horizontal == DT_RIGHT ? rect.left + f
                                            : rect.right - e;
        anchor.y -= h / 4;
        align = TA_BASELINE;
        break;
    case 270:
        anchor.x -= Nearest(std::cos(a) * q);
        anchor.y = horizontal == DT_CENTER  ? (rect.bottom - f) / 2
                   : horizontal == DT_RIGHT ? rect.bottom - f - e
                                            : rect.top + e;
        align = TA_BASELINE;
        break;
    default:
        anchor.x -= Nearest(std::cos(a) * q);
        anchor.y += Nearest(std::sin(a) * q);
        align = TA_BASELINE | TA_CENTER;
        break;
    }
    const GdiObject<HFONT> turned(CreateRotatedFont(*Font(), m_angle));
    canvas.Font()->SetHandle(turned.Get());
    (void)SetTextAlign(canvas.Handle(), align);
    const TCopyDrawer draw = [&](TColor color, int dx, int dy) {
        // The raised and recessed copies move their clipping with them.
        TRect clip = rect;
        if (std::abs(dx) == 1 && !shadow)
            OffsetRect(&clip, dx, dy);
        canvas.Font()->SetColor(color);
        canvas.TextRect(clip, anchor.x + dx, anchor.y + dy, text);
    };
    if (!Enabled())
        draw(clGrayText, 0, 0);
    else {
        DrawStyleCopies(draw, halfDepth);
        draw(m_currentColor, shadow ? -halfDepth : 0, shadow ? -halfDepth : 0);
    }
    (void)SetTextAlign(canvas.Handle(), TA_LEFT | TA_TOP);
}

// Each character on the arc round the centre point, turned to follow it; every character
// advances by the same step along the arc.
void TKvLabel::DrawArcText(TCanvas& canvas)
{
    const TPoint radius = ArcRadius();
    // A label too small for its border width has no arc to write on.
    if (radius.x <= 0 || radius.y <= 0)
        return;
    const std::string text = GetLabelText();
    const TPoint centre = CentrePoint();
    (void)SetTextAlign(canvas.Handle(), TA_BASELINE | TA_CENTER);
    double a = Radians(m_angle);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t next = Utf8NextStart(text, pos);
        const std::string character = text.substr(pos, next - pos);
        pos = next;
        canvas.Font()->Assign(Font());
        const int h = canvas.TextHeight("Yy");
        const int step = canvas.TextWidth("w") + 2;
        const int x = centre.x - Nearest(std::sin(a) * (radius.x - h));
        const int y = centre.y - Nearest(std::cos(a) * (radius.y - h));
        // Escapement in tenths of a degree.
        LOGFONTA description = Font()->LogFont();
        description.lfEscapement = Nearest(a * 1800 / std::numbers::pi);
        const GdiObject<HFONT> charFont(CreateFontIndirectA(&description));
        canvas.Font()->SetHandle(charFont.Get());
        const TCopyDrawer draw = [&](TColor color, int dx, int dy) {
            canvas.Font()->SetColor(color);
            canvas.TextOut(x + dx, y + dy, character);
        };
        if (!Enabled()) {
            draw(clBtnHighlight, 1, 1);
            draw(clBtnShadow, 0, 0);
        } else {
            DrawStyleCopies(draw, m_shadowDepth);
            draw(m_currentColor, 0, 0);
        }
        a -= static_cast<double>(step) / radius.x;
    }
    (void)SetTextAlign(canvas.Handle(), TA_LEFT | TA_TOP);
}
