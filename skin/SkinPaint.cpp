#include "skin/SkinPaint.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinDraw.h"
#include "skin/SkinElements.h"
#include "skin/SkinProps.h"

#include <algorithm>
#include <array>

void DrawSkinElement(HDC dc, const RECT& rect, int frameCount, int frame, TDataSkinObject& element)
{
    if (rect.right < rect.left || rect.bottom < rect.top || element.Image.Empty())
        return;
    const TSkinMargins margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    DrawElement(dc, rect, element.Image, false, element.Tile == 1, element.Trans == 1, frameCount, frame, margins);
}

void BlitStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& image)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || image.Empty())
        return;
    const RECT source = SkinFrameRect(image, false, frameCount, frame);
    TBitmap stretched;
    stretched.SetPixelFormat(pf24bit);
    stretched.SetSize(width, height);
    (void)StretchBlt(stretched.Canvas()->Handle(), 0, 0, width, height, image.Canvas()->Handle(), source.left,
                     source.top, source.right - source.left, source.bottom - source.top, SRCCOPY);
    DrawTransparent(dc, rect, stretched, SkinKeyColour);
}

std::string ReplaceFirst(std::string text, std::string_view pattern, std::string_view replacement)
{
    if (const auto at = text.find(pattern); !pattern.empty() && at != std::string::npos)
        text.replace(at, pattern.size(), replacement);
    return text;
}

void FillRectColor(HDC dc, const RECT& rect, TColor colour)
{
    const HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
    (void)FillRect(dc, &rect, brush);
    (void)DeleteObject(brush);
}

void FrameSkinBorder(HDC dc, RECT rect, TColor shadow, TColor face)
{
    for (const TColor colour : {shadow, face}) {
        const GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(colour)));
        (void)FrameRect(dc, &rect, brush.Get());
        (void)InflateRect(&rect, -1, -1);
    }
}

TColor ParentColor(const TControl* control, TColor fallback)
{
    const std::int64_t colour = control ? GetOrdPropByName(control->Parent(), "Color") : -1;
    return colour == -1 ? fallback : static_cast<TColor>(colour);
}

void CopyBitmap(TBitmap& source, TBitmap& dest)
{
    dest.SetPixelFormat(source.PixelFormat());
    dest.SetSize(source.Width(), source.Height());
    dest.Canvas()->Draw(0, 0, &source);
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(0, GetWindowTextA(window, text.data(), length + 1))));
    return text;
}

bool IsPopupWindow(HWND window)
{
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_POPUP) != 0 ||
           GetParent(window) == GetDesktopWindow();
}

namespace {

// Clear background, plain style, and the text colour for the state; answers the canvas's DC.
HDC PrepareText(TCanvas& canvas, bool enabled)
{
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetStyle({});
    const HDC dc = canvas.Handle();
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(enabled ? canvas.Font()->Color() : clBtnShadow));
    return dc;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Where `text` drawn with `flags` ends up measured from the rectangle's top-left.
RECT Measure(HDC dc, const std::string& text, const RECT& rect, UINT flags)
{
    RECT measured = rect;
    (void)DrawTextA(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT | DT_NOCLIP);
    return measured;
}

} // namespace

void DrawTextAligned(TCanvas& canvas, const RECT& rect, UINT align, bool enabled, const std::string& text)
{
    const HDC dc = PrepareText(canvas, enabled);
    const RECT measured = Measure(dc, text, rect, align | DT_EXPANDTABS);
    RECT place = rect;
    place.top = rect.top + (Height(rect) - Height(measured)) / 2 - 1;
    place.bottom = place.top + Height(measured);
    if (align & DT_CENTER) {
        place.left = rect.left + (Width(rect) - Width(measured)) / 2;
        place.right = place.left + Width(measured);
    }
    (void)DrawTextA(dc, text.c_str(), -1, &place, align | DT_EXPANDTABS);
}

void DrawCenteredText(TCanvas& canvas, const RECT& rect, const std::string& text, TAlignment alignment, bool enabled)
{
    const UINT flags = (alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT) |
                       DT_EXPANDTABS | DT_SINGLELINE;
    const HDC dc = PrepareText(canvas, enabled);
    const RECT measured = Measure(dc, text, rect, flags);
    RECT place{rect.left + (Width(rect) - Width(measured)) / 2, rect.top + (Height(rect) - Height(measured)) / 2, 0, 0};
    place.right = place.left + Width(measured);
    place.bottom = place.top + Height(measured);
    (void)DrawTextA(dc, text.c_str(), -1, &place, flags);
}

void DrawImageText(TCanvas& canvas, const RECT& rect, int align, const std::string& text, int imageIndex,
                   HIMAGELIST images, bool enabled, UINT bidiFlags)
{
    int iconWidth = 0;
    int iconHeight = 0;
    if (imageIndex != -1 && images && ImageList_GetIconSize(images, &iconWidth, &iconHeight) &&
        iconWidth >= Width(rect))
        iconWidth = 0;
    const bool icon = imageIndex != -1 && images && iconWidth > 0;
    const UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS;
    const HDC dc = PrepareText(canvas, enabled);
    const RECT measured = text.empty() ? RECT{} : Measure(dc, text, rect, flags);
    const int textWidth = Width(measured);
    int start = align == 1   ? (Width(rect) - iconWidth - textWidth) / 2
                : align == 2 ? Width(rect) - iconWidth - textWidth - 2
                             : 3;
    if (start < 2)
        start = 1;
    if (icon)
        (void)ImageList_Draw(images, imageIndex, dc, rect.left + start, rect.top + (Height(rect) - iconHeight) / 2,
                             ILD_TRANSPARENT);
    if (text.empty())
        return;
    RECT place{rect.left + start + iconWidth, rect.top + (Height(rect) - Height(measured)) / 2, rect.right, 0};
    place.bottom = place.top + Height(measured);
    (void)DrawTextA(dc, text.c_str(), -1, &place, flags | bidiFlags);
}

void DrawTextFocus(HDC dc, const std::string& text, UINT flags, const RECT& rect)
{
    RECT focus = Measure(dc, text, rect, flags);
    const int width = Width(focus);
    const int height = Height(focus);
    if (flags & DT_CENTER)
        OffsetRect(&focus, (Width(rect) - width) / 2, (Height(rect) - height) / 2 - 1);
    else if (flags & DT_RIGHT)
        OffsetRect(&focus, Width(rect) - width, 0);
    InflateRect(&focus, 2, 1);
    RECT clipped{};
    if (IntersectRect(&clipped, &focus, &rect))
        (void)DrawFocusRect(dc, &clipped);
}

void DrawArrowGlyph(TCanvas& canvas, int x, int y, int kind)
{
    struct Segment {
        int x0, y0, x1, y1;
    };
    const auto lines = [&](const std::array<Segment, 7>& segments) {
        for (const Segment& s : segments) {
            canvas.MoveTo(x + s.x0, y + s.y0);
            canvas.LineTo(x + s.x1, y + s.y1);
        }
    };
    switch (kind) {
    case 0:
        lines({{{0, 0, 0, -1}, {1, 1, 4, 4}, {0, 1, 3, 4}, {0, 2, 2, 4}, {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}}});
        break;
    case 1:
        lines({{{0, 3, 0, 4}, {1, 2, 4, -1}, {0, 2, 3, -1}, {0, 1, 2, 0}, {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}}});
        break;
    case 2:
    case 3: {
        const int d = kind == 2 ? 1 : -1;
        const std::array<TPoint, 5> points{{{x, y}, {x + d, y + 2}, {x + d, y - 2}, {x - d, y}, {x + d, y + 2}}};
        canvas.Polyline(points);
        break;
    }
    default:
        break;
    }
}
