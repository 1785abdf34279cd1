#include "controls/KvProgressBar.h"

#include "platform/rtl/SysMath.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <string>

namespace {

// A percent above 100 would push the bar past its rectangle: it is drawn full, while its figure
// reads the percent as given.
[[nodiscard]] int Drawn(int percent) { return std::clamp(percent, 0, 100); }

[[nodiscard]] std::string Figure(int percent, bool showPercent)
{
    return showPercent ? std::to_string(percent) + "%" : std::string();
}

// The part of the rectangle the bar fills; vertical bars grow upward.
[[nodiscard]] TRect FilledPart(const TRect& rect, TOrientation orientation, int percent)
{
    TRect filled = rect;
    if (Drawn(percent) >= 100)
        return filled;
    if (orientation == orHorizontal)
        filled.right = rect.left + static_cast<int>(Round(percent * (rect.right - rect.left) / 100.0));
    else
        filled.top = rect.bottom - static_cast<int>(Round(percent * (rect.bottom - rect.top) / 100.0));
    return filled;
}

[[nodiscard]] TRect RestPart(const TRect& rect, const TRect& filled, TOrientation orientation)
{
    TRect rest = rect;
    if (orientation == orHorizontal)
        rest.left = filled.right;
    else
        rest.bottom = filled.top;
    return rest;
}

// The figure clipped to `clip`: every call centres it on the same point of the whole bar, so
// that two clipped halves join into one text.
void DrawFigure(TCanvas& canvas, const TRect& rect, const TRect& clip, const std::string& text)
{
    (void)SetTextAlign(canvas.Handle(), TA_CENTER | TA_TOP);
    const int y = rect.top + (rect.bottom - rect.top - canvas.TextHeight("X")) / 2;
    canvas.TextRect(clip, rect.right / 2, y, text);
}

void DrawClearFigure(TCanvas& canvas, const TRect& rect, const TRect& clip, const std::string& text)
{
    if (text.empty())
        return;
    canvas.Brush()->SetStyle(bsClear);
    DrawFigure(canvas, rect, clip, text);
    canvas.Brush()->SetStyle(bsSolid);
}

void FillGradient(TCanvas& canvas, const TRect& rect, TGradientDirection direction, TColor start, TColor stop)
{
    if (!IsRectEmpty(&rect))
        DrawGradientRect(canvas, rect, direction, start, stop, 1);
}

} // namespace

void PaintTraditionalBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                         TColor backColor, int percent, bool showPercent)
{
    const std::string text = Figure(percent, showPercent);
    const TRect filled = FilledPart(rect, orientation, percent);
    // The clipped, opaque text output paints each part in its brush colour as it goes.
    canvas.Font()->SetColor(backColor);
    canvas.Brush()->SetColor(barColor);
    DrawFigure(canvas, rect, filled, text);
    canvas.Font()->SetColor(barColor);
    canvas.Brush()->SetColor(backColor);
    DrawFigure(canvas, rect, RestPart(rect, filled, orientation), text);
}

void PaintGradientBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                      TColor barColorStop, TColor backColor, TColor backColorStop, TGradientDirection direction,
                      int percent, bool showPercent)
{
    const std::string text = Figure(percent, showPercent);
    const TRect filled = FilledPart(rect, orientation, percent);
    canvas.Font()->SetColor(backColor);
    canvas.Brush()->SetColor(barColor);
    FillGradient(canvas, filled, direction, barColor, barColorStop);
    DrawClearFigure(canvas, rect, filled, text);

    const TRect rest = RestPart(rect, filled, orientation);
    canvas.Font()->SetColor(barColor);
    canvas.Brush()->SetColor(backColor);
    FillGradient(canvas, rest, direction, backColor, backColorStop);
    DrawClearFigure(canvas, rect, rest, text);
}

namespace controls::detail {

TSegmentLayout LayOutSegments(int length, int segments)
{
    int count = segments;
    int size = length / count;
    if (length <= 80 && count > 10) {
        count = 10;
        size = length / 10;
    }
    if (size > 0) {
        const int extra = (length - size * count) / size;
        if (extra > 0)
            count += extra;
    }
    return TSegmentLayout{count, size, (length - size * count) / 2};
}

} // namespace controls::detail

void PaintSegmentedBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                       TColor backColor, int segments, int percent)
{
    const bool horizontal = orientation == orHorizontal;
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    if (length <= 0 || segments <= 0)
        return;
    const auto [count, size, margin] = controls::detail::LayOutSegments(length, segments);

    // With a clear pen the rectangles fill one pixel short of their right and bottom edges.
    canvas.Pen()->SetStyle(psClear);
    canvas.Brush()->SetColor(backColor);
    if (horizontal) {
        canvas.Rectangle(rect.left, rect.top, rect.left + margin + 1, rect.bottom + 1);
        canvas.Rectangle(rect.right - margin - 1, rect.top, rect.right + 1, rect.bottom + 1);
    } else {
        canvas.Rectangle(rect.left, rect.top, rect.right + 1, rect.top + margin + 1);
        canvas.Rectangle(rect.left, rect.bottom - margin - 1, rect.right + 1, rect.bottom + 1);
    }

    // Each segment's outline in the back colour is the gap to its neighbour.
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetColor(backColor);
    const int lit = static_cast<int>(Trunc(Drawn(percent) * count / 100.0));
    for (int i = 1; i <= count; ++i) {
        canvas.Brush()->SetColor(i <= lit ? barColor : backColor);
        if (horizontal) {
            const int x = size * (i - 1) + margin + rect.left;
            canvas.Rectangle(x, rect.top, x + size, rect.bottom);
        } else {
            const int y = size * (count - i) + margin + rect.top;
            canvas.Rectangle(rect.left, y, rect.right, y + size);
        }
    }
}
