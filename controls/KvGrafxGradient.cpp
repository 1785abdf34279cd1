#include "controls/KvGrafx.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::int64_t FixedOne = 65536;

// The three channels of a colour as 16.16 fixed-point numbers walking toward a target in a
// given number of steps. Increments truncate toward zero, so the walk never overshoots.
class ColourWalk {
public:
    ColourWalk(COLORREF from, COLORREF to, std::int64_t steps)
        : m_red(GetRValue(from) * FixedOne), m_green(GetGValue(from) * FixedOne), m_blue(GetBValue(from) * FixedOne)
    {
        if (steps <= 0)
            return;
        m_redStep = (GetRValue(to) - GetRValue(from)) * FixedOne / steps;
        m_greenStep = (GetGValue(to) - GetGValue(from)) * FixedOne / steps;
        m_blueStep = (GetBValue(to) - GetBValue(from)) * FixedOne / steps;
    }

    void Step()
    {
        m_red += m_redStep;
        m_green += m_greenStep;
        m_blue += m_blueStep;
    }
    [[nodiscard]] COLORREF Colour() const { return RGB(Channel(m_red), Channel(m_green), Channel(m_blue)); }

private:
    [[nodiscard]] static BYTE Channel(std::int64_t value) { return static_cast<BYTE>((value >> 16) & 0xFF); }

    std::int64_t m_red, m_green, m_blue;
    std::int64_t m_redStep = 0, m_greenStep = 0, m_blueStep = 0;
};

// How many steps beyond the first a band takes even when its colour changes: fewer colour steps
// ask for wider bands. `full` is the number of colour levels the fill spreads over.
[[nodiscard]] int MergeCount(std::uint8_t colorSteps, int full)
{
    const int spread = colorSteps > 8 ? full / colorSteps + 1 : colorSteps;
    return std::max(spread - 1, 0);
}

// Decides where one band ends: it keeps growing while its colour has not changed or while it
// has taken no more than `merge` extra steps.
class BandMerger {
public:
    explicit BandMerger(int merge) : m_merge(merge) {}
    void Begin(const ColourWalk& walk)
    {
        m_colour = walk.Colour();
        m_taken = 0;
    }
    void Took() { ++m_taken; }
    [[nodiscard]] bool Grows(const ColourWalk& walk) const { return walk.Colour() == m_colour || m_taken <= m_merge; }
    [[nodiscard]] COLORREF Colour() const { return m_colour; }

private:
    int m_merge;
    COLORREF m_colour = 0;
    int m_taken = 0;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    const GdiObject brush(CreateSolidBrush(colour));
    (void)FillRect(dc, &rect, brush.Get());
}

void FillPolygon(HDC dc, std::initializer_list<POINT> points, COLORREF colour)
{
    const GdiObject brush(CreateSolidBrush(colour));
    const SelectionGuard selected(dc, brush.Get());
    (void)Polygon(dc, points.begin(), static_cast<int>(points.size()));
}

// One pass of FillLinearBands over the lines first..last, from `from` at `last` toward `to`.
void LinearPass(HDC dc, bool horizontal, int first, int last, COLORREF from, COLORREF to, int merge)
{
    ColourWalk walk(from, to, last - first + 1);
    BandMerger band(merge);
    int p = last;
    while (p >= first) {
        const int farEdge = p;
        band.Begin(walk);
        do {
            walk.Step();
            band.Took();
            --p;
        } while (band.Grows(walk) && p >= first);
        const RECT rect = horizontal ? RECT{0, p, 8, farEdge} : RECT{p, 0, farEdge, 8};
        FillSolid(dc, rect, band.Colour());
    }
}

[[nodiscard]] std::int64_t FloorFixed(std::int64_t value) { return value >> 16; }

} // namespace

void FillLinearBands(HDC dc, int x, int y, int size, TColor startColor, TColor stopColor, std::uint8_t colorSteps)
{
    const bool horizontal = x == 0;
    const int centre = horizontal ? y : x;
    const int merge = MergeCount(colorSteps, 255);
    COLORREF from = ColorToRGB(stopColor);
    COLORREF to = ColorToRGB(startColor);
    LinearPass(dc, horizontal, 1, centre < 0 ? size : centre + 1, from, to, merge);
    std::swap(from, to);
    if (centre > 0)
        LinearPass(dc, horizontal, centre + 2, size, from, to, merge);
}

void FillBoxBands(HDC dc, int width, int height, int insetX, int insetY, TColor startColor, TColor stopColor,
                  std::uint8_t colorSteps)
{
    const COLORREF start = ColorToRGB(startColor);
    const COLORREF stop = ColorToRGB(stopColor);
    if (start == stop || width <= 4 || height <= 4) {
        FillSolid(dc, RECT{0, 0, width + 1, height + 1}, start);
        return;
    }
    const int hx = (width - 1) >> 1;
    const int hy = (height - 1) >> 1;
    const std::int64_t steps = std::max(hx - insetX, hy - insetY) + 1;
    std::int64_t edgeX = std::int64_t{hx - insetX} * FixedOne;
    std::int64_t edgeY = std::int64_t{hy - insetY} * FixedOne;
    const std::int64_t stepX = edgeX / steps;
    const std::int64_t stepY = edgeY / steps;
    // An edge that cannot move (no room beyond its inset) is finished from the start; waiting
    // for it to turn negative would never end.
    auto finished = [](std::int64_t edge, std::int64_t step) { return edge < 0 || step <= 0; };

    ColourWalk walk(stop, start, steps);
    BandMerger band(MergeCount(colorSteps, 256));
    LONG previousX = hx + 1;
    LONG previousY = hy + 1;
    while (!(finished(edgeX, stepX) && finished(edgeY, stepY))) {
        band.Begin(walk);
        do {
            walk.Step();
            band.Took();
            edgeX -= stepX;
            edgeY -= stepY;
        } while (band.Grows(walk) && edgeX >= 0 && edgeY >= 0);
        const auto x = static_cast<LONG>(FloorFixed(edgeX));
        const auto y = static_cast<LONG>(FloorFixed(edgeY));
        if (y != previousY)
            FillSolid(dc, RECT{x, y, hx + 1, previousY}, band.Colour());
        if (x != previousX)
            FillSolid(dc, RECT{x, previousY, previousX, hy + 1}, band.Colour());
        previousX = x;
        previousY = y;
    }
}

void FillDiagonalBands(HDC dc, int width, int height, TColor startColor, TColor stopColor, std::uint8_t colorSteps)
{
    if (width == 0 || height <= 0)
        return;
    const std::int64_t w = width;
    const std::int64_t size = std::abs(w);
    const std::int64_t h = height;
    const auto diagonal = static_cast<std::int64_t>(std::sqrt(static_cast<double>(w * w + h * h))) + 1;
    const std::int64_t half = diagonal / 2;
    const bool rising = w > 0;
    ColourWalk walk(ColorToRGB(rising ? startColor : stopColor), ColorToRGB(rising ? stopColor : startColor),
                    diagonal);
    BandMerger band(MergeCount(colorSteps, 255));
    const auto corner = static_cast<LONG>(rising ? 0 : size);
    const auto farSide = static_cast<LONG>(rising ? size : 0);
    const std::int64_t stepX = rising ? (w * FixedOne) / half : -(size * FixedOne) / half;
    const std::int64_t stepY = (h * FixedOne) / half;
    const auto bottom = static_cast<LONG>(h);

    // Walks the band edges of one pass; `paint` gets the new and the previous edge (x on the
    // horizontal edge the pass starts from, y on the side it ends at).
    auto pass = [&](auto paint) {
        std::int64_t x = corner * FixedOne;
        std::int64_t y = h * FixedOne;
        LONG previousX = corner;
        LONG previousY = bottom;
        for (;;) {
            band.Begin(walk);
            do {
                walk.Step();
                band.Took();
                x += stepX;
                y -= stepY;
            } while (band.Grows(walk) && y >= 0);
            const bool last = y < 0;
            const LONG newX = last ? farSide : static_cast<LONG>(FloorFixed(x));
            const LONG newY = last ? 0 : static_cast<LONG>(FloorFixed(y));
            if (newY < previousY || newX != previousX)
                paint(newX, newY, previousX, previousY, band.Colour());
            if (last)
                return;
            previousX = newX;
            previousY = newY;
        }
    };
    // The triangle at the corner (corner, bottom): edges from the near side to the bottom edge.
    pass([&](LONG x, LONG y, LONG px, LONG py, COLORREF colour) {
        FillPolygon(dc, {{corner, y}, {corner, py}, {px, bottom}, {x, bottom}}, colour);
    });
    // The opposite triangle: edges from the top edge to the far side.
    pass([&](LONG x, LONG y, LONG px, LONG py, COLORREF colour) {
        FillPolygon(dc, {{x, 0}, {px, 0}, {farSide, py}, {farSide, y}}, colour);
    });
}

void ReplicateBlock(HDC dc, int x, int y, int width, int height, int patternWidth, int patternHeight, DWORD rop)
{
    if (patternWidth <= 0 || patternHeight <= 0)
        return;
    int blockWidth = patternWidth;
    int blockHeight = patternHeight;
    bool downward = blockHeight < height;
    while (blockWidth < width || blockHeight < height) {
        if (downward) {
            const int copied = std::min(blockHeight, height - blockHeight);
            (void)BitBlt(dc, x, y + blockHeight, blockWidth, copied, dc, x, y, rop);
            blockHeight += copied;
            downward = blockWidth >= width;
        } else {
            const int copied = std::min(blockWidth, width - blockWidth);
            (void)BitBlt(dc, x + blockWidth, y, copied, blockHeight, dc, x, y, rop);
            blockWidth += copied;
            downward = blockHeight < height;
        }
    }
}

void MirrorQuadrant(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    const int halfWidth = width >> 1;
    const int halfHeight = height >> 1;
    const int odd = halfWidth & 1;
    (void)StretchBlt(dc, x, y + height - 1, halfWidth + 1, -halfHeight, dc, x, y, halfWidth, halfHeight, rop);
    (void)StretchBlt(dc, x + width - 1, y, -halfWidth - odd, height, dc, x, y, halfWidth - odd, height, rop);
}

void DrawGradientRect(TCanvas& canvas, const TRect& bounds, TGradientDirection direction, TColor startColor,
                      TColor stopColor, std::uint8_t colorSteps)
{
    const int width = std::abs(bounds.right - bounds.left);
    const int height = std::abs(bounds.bottom - bounds.top);
    if (width == 0 || height == 0)
        return;
    const TColor start = static_cast<TColor>(ColorToRGB(startColor));
    const TColor stop = static_cast<TColor>(ColorToRGB(stopColor));

    TBitmap bitmap;
    bitmap.SetSize(width, height);
    TCanvas& target = *bitmap.Canvas();
    target.Pen()->SetWidth(1);
    target.Pen()->SetStyle(psClear);
    target.Pen()->SetMode(pmCopy);
    target.Brush()->SetStyle(bsSolid);
    const HDC dc = target.Handle();
    // A clear pen leaves Rectangle's last row and column unfilled, so whole-bitmap fills use
    // FillRect: a solid gradient must cover every pixel.
    auto fillWithStart = [&] { FillSolid(dc, RECT{0, 0, width, height}, static_cast<COLORREF>(start)); };

    switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
        if (start == stop)
            fillWithStart();
        else
            FillDiagonalBands(dc, direction == gdDiagonalUp ? width : -width, height, start, stop, colorSteps);
        break;
    case gdHorizontalEnd:
    case gdHorizontalCenter:
        FillLinearBands(dc, 0, direction == gdHorizontalEnd ? -1 : height / 2, height, start, stop, colorSteps);
        ReplicateBlock(dc, 0, 0, width, height, 8, height, SRCCOPY);
        break;
    case gdVerticalEnd:
    case gdVerticalCenter:
        FillLinearBands(dc, direction == gdVerticalEnd ? -1 : width / 2, 0, width, start, stop, colorSteps);
        ReplicateBlock(dc, 0, 0, width, height, width, 8, SRCCOPY);
        break;
    case gdHorizontalBox:
        fillWithStart();
        FillBoxBands(dc, width, height, width >> 2, 0, start, stop, colorSteps);
        MirrorQuadrant(dc, 0, 0, width, height, SRCCOPY);
        break;
    case gdVerticalBox:
        FillBoxBands(dc, width, height, 0, height >> 2, start, stop, colorSteps);
        MirrorQuadrant(dc, 0, 0, width, height, SRCCOPY);
        break;
    case gdSquareBox:
        fillWithStart();
        FillBoxBands(dc, width, height, 0, 0, start, stop, colorSteps);
        MirrorQuadrant(dc, 0, 0, width, height, SRCCOPY);
        break;
    case gdBigSquareBox:
        FillBoxBands(dc, width, height, width >> 2, height >> 2, start, stop, colorSteps);
        MirrorQuadrant(dc, 0, 0, width, height, SRCCOPY);
        break;
    }
    canvas.Draw(bounds.left, bounds.top, &bitmap);
}
