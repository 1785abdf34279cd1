#include "tools/stockglyphs/lib/StockGlyphArt.h"

#include "platform/classlib/forms/GraphicsCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

// Each glyph is a shape (a test of whether a pixel's centre lies inside) painted in one hue with
// a bevel: the pixels on the shape's upper-left edge in a light shade, those on its lower-right
// edge in a dark one, the rest in the body colour. Every colour is an entry of the default
// 256-colour table, so the bitmaps keep them exactly.

namespace {

constexpr int Cell = 16;

[[nodiscard]] constexpr TColor Rgb(int red, int green, int blue)
{
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}

constexpr TColor Transparent = Rgb(153, 153, 0);
constexpr TColor EngravedShadow = Rgb(130, 130, 130);
constexpr TColor EngravedHighlight = Rgb(255, 255, 255);

struct THue {
    TColor light;
    TColor body;
    TColor dark;
};

constexpr THue Green{Rgb(102, 204, 102), Rgb(0, 153, 0), Rgb(0, 102, 0)};
constexpr THue Red{Rgb(255, 102, 102), Rgb(204, 0, 0), Rgb(153, 0, 0)};
constexpr THue Blue{Rgb(102, 153, 255), Rgb(0, 51, 204), Rgb(0, 0, 153)};
constexpr THue Brown{Rgb(204, 153, 51), Rgb(153, 102, 0), Rgb(102, 51, 0)};
constexpr THue Grey{Rgb(153, 153, 153), Rgb(102, 102, 102), Rgb(51, 51, 51)};

using TShape = std::function<bool(double x, double y)>;

[[nodiscard]] double DistanceToSegment(double x, double y, double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double t = std::clamp(((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

[[nodiscard]] TShape Stroke(std::vector<std::array<double, 2>> points, double width)
{
    return [points = std::move(points), width](double x, double y) {
        for (std::size_t i = 1; i < points.size(); ++i)
            if (DistanceToSegment(x, y, points[i - 1][0], points[i - 1][1], points[i][0], points[i][1]) <= width / 2)
                return true;
        return false;
    };
}

[[nodiscard]] TShape Disc(double cx, double cy, double radius)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

[[nodiscard]] TShape Ring(double cx, double cy, double inner, double outer)
{
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    };
}

[[nodiscard]] TShape Box(double left, double top, double right, double bottom)
{
    return [=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

// Inside a convex polygon whose corners run clockwise on screen.
[[nodiscard]] TShape Convex(std::vector<std::array<double, 2>> corners)
{
    return [corners = std::move(corners)](double x, double y) {
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const auto& a = corners[i];
            const auto& b = corners[(i + 1) % corners.size()];
            if ((b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]) < 0)
                return false;
        }
        return true;
    };
}

[[nodiscard]] TShape Union(std::vector<TShape> shapes)
{
    return [shapes = std::move(shapes)](double x, double y) {
        return std::any_of(shapes.begin(), shapes.end(), [&](const TShape& s) { return s(x, y); });
    };
}

[[nodiscard]] TShape Minus(TShape shape, TShape hole)
{
    return [shape = std::move(shape), hole = std::move(hole)](double x, double y) { return shape(x, y) && !hole(x, y); };
}

// The angle of (x, y) about the centre, in degrees clockwise from "east" (screen y runs down).
[[nodiscard]] double AngleAbout(double cx, double cy, double x, double y)
{
    const double degrees = std::atan2(y - cy, x - cx) * 180 / std::numbers::pi;
    return degrees < 0 ? degrees + 360 : degrees;
}

// The pixels of a shape in a 16 x 16 cell: which are inside.
using TMask = std::array<std::array<bool, Cell>, Cell>;

[[nodiscard]] TMask Rasterise(const TShape& shape)
{
    TMask mask{};
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            mask[y][x] = shape(x + 0.5, y + 0.5);
    return mask;
}

[[nodiscard]] bool Inside(const TMask& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < Cell && y < Cell && mask[y][x];
}

void PaintBevelled(TCanvas& canvas, const TMask& mask, const THue& hue)
{
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            if (!mask[y][x])
                continue;
            TColor colour = hue.body;
            if (!Inside(mask, x + 1, y) || !Inside(mask, x, y + 1) || !Inside(mask, x + 1, y + 1))
                colour = hue.dark;
            else if (!Inside(mask, x - 1, y) || !Inside(mask, x, y - 1))
                colour = hue.light;
            canvas.SetPixels(x, y, colour);
        }
}

// The disabled look: the silhouette in the shadow grey over a white copy one pixel down-right.
void PaintEngraved(TCanvas& canvas, const TMask& mask)
{
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            if (mask[y][x] && x + 1 < Cell && y + 1 < Cell)
                canvas.SetPixels(Cell + x + 1, y + 1, EngravedHighlight);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            if (mask[y][x])
                canvas.SetPixels(Cell + x, y, EngravedShadow);
}

[[nodiscard]] TShape CheckMark() { return Stroke({{2.5, 8.5}, {6.5, 12.5}, {13.5, 4.0}}, 2.9); }

[[nodiscard]] TShape Cross() { return Union({Stroke({{3.5, 3.5}, {12.5, 12.5}}, 3.0), Stroke({{12.5, 3.5}, {3.5, 12.5}}, 3.0)}); }

[[nodiscard]] TShape NoEntry()
{
    return Union({Ring(8, 8, 4.4, 7.0), Stroke({{4.6, 4.6}, {11.4, 11.4}}, 2.6)});
}

[[nodiscard]] TShape QuestionMark()
{
    // The hook: the upper part of a ring, open at the lower left, running down into the stem.
    const TShape hook = [](double x, double y) {
        const double d = std::hypot(x - 8, y - 5.5);
        const double angle = AngleAbout(8, 5.5, x, y);
        return d >= 1.8 && d <= 4.4 && (angle >= 165 || angle <= 80);
    };
    return Union({hook, Stroke({{8.6, 8.6}, {8.0, 9.4}}, 2.6), Disc(8.0, 13.4, 1.5)});
}

[[nodiscard]] TShape Door()
{
    // A door ajar in its frame: the frame's sides and lintel, and the leaf with its handle
    // showing as a hole.
    const TShape frame = Union({Box(2, 1, 14, 2.6), Box(2, 1, 3.6, 15), Box(12.4, 1, 14, 15)});
    const TShape leaf = Minus(Convex({{5.2, 4.2}, {10.8, 3.2}, {10.8, 15}, {5.2, 13.8}}), Disc(9.5, 9.5, 0.8));
    return Union({frame, leaf});
}

[[nodiscard]] TShape StopSign()
{
    std::vector<std::array<double, 2>> corners;
    for (int i = 0; i < 8; ++i) {
        const double angle = (22.5 + 45 * i) * std::numbers::pi / 180;
        corners.push_back({8 + 7.2 * std::cos(angle), 8 + 7.2 * std::sin(angle)});
    }
    return Minus(Convex(corners), Box(4, 6.8, 12, 9.2));
}

[[nodiscard]] TShape CircularArrow()
{
    // Three quarters of a ring, open at the top right, with the head at its upper end.
    const TShape arc = [](double x, double y) {
        const double d = std::hypot(x - 8, y - 8.5);
        const double angle = AngleAbout(8, 8.5, x, y);
        return d >= 3.3 && d <= 5.7 && !(angle > 275 && angle < 345);
    };
    return Union({arc, Convex({{9.0, 0.8}, {14.6, 4.6}, {9.0, 7.6}})});
}

[[nodiscard]] TShape SkipArrows()
{
    return Union({Convex({{2, 3}, {8, 8}, {2, 13}}), Convex({{8, 3}, {14, 8}, {8, 13}})});
}

[[nodiscard]] TShape DoubleCheck()
{
    return Union({Stroke({{1.5, 6.5}, {4.5, 9.5}, {9.5, 3.0}}, 2.5), Stroke({{5.5, 10.5}, {8.5, 13.5}, {14.5, 6.0}}, 2.5)});
}

// What a stock glyph shows: its outline and its colour.
struct TGlyphDesign {
    const char* resourceName;
    TShape shape;
    THue hue;
};

[[nodiscard]] std::unique_ptr<TBitmap> DrawGlyph(const TGlyphDesign& design)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(2 * Cell, Cell);
    TCanvas& canvas = *bitmap->Canvas();
    canvas.Brush()->SetColor(Transparent);
    canvas.FillRect(Rect(0, 0, 2 * Cell, Cell));
    const TMask mask = Rasterise(design.shape);
    PaintBevelled(canvas, mask, design.hue);
    PaintEngraved(canvas, mask);
    bitmap->SetPixelFormat(pf8bit);
    return bitmap;
}

} // namespace

TColor StockGlyphTransparentColour() { return Transparent; }

std::vector<TStockGlyphArt> DrawStockGlyphs()
{
    const TGlyphDesign designs[] = {
        {"KVCOMMON_OK", CheckMark(), Green},
        {"KVCOMMON_CANCEL", Cross(), Red},
        {"KVCOMMON_HELP", QuestionMark(), Blue},
        {"KVCOMMON_YES", CheckMark(), Green},
        {"KVCOMMON_NO", NoEntry(), Red},
        {"KVCOMMON_CLOSE", Door(), Brown},
        {"KVCOMMON_ABORT", StopSign(), Red},
        {"KVCOMMON_RETRY", CircularArrow(), Blue},
        {"KVCOMMON_IGNORE", SkipArrows(), Grey},
        {"KVCOMMON_ALL", DoubleCheck(), Green},
    };
    std::vector<TStockGlyphArt> glyphs;
    for (const TGlyphDesign& design : designs)
        glyphs.push_back({design.resourceName, DrawGlyph(design)});
    return glyphs;
}

std::unique_ptr<TBitmap> StockGlyphPreview(const std::vector<TStockGlyphArt>& glyphs, int scale)
{
    const int pitch = 2 * Cell + 4;
    auto preview = std::make_unique<TBitmap>();
    preview->SetPixelFormat(pf24bit);
    preview->SetSize(pitch * scale, static_cast<int>(glyphs.size()) * (Cell + 4) * scale);
    TCanvas& canvas = *preview->Canvas();
    canvas.Brush()->SetColor(Rgb(212, 208, 200));
    canvas.FillRect(Rect(0, 0, preview->Width(), preview->Height()));
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        TBitmap& glyph = *glyphs[i].bitmap;
        const int top = static_cast<int>(i) * (Cell + 4) + 2;
        for (int y = 0; y < glyph.Height(); ++y)
            for (int x = 0; x < glyph.Width(); ++x) {
                const TColor colour = glyph.Canvas()->Pixels(x, y);
                if (colour == Transparent)
                    continue;
                const int left = (2 + x) * scale;
                canvas.Brush()->SetColor(colour);
                canvas.FillRect(Rect(left, (top + y) * scale, left + scale, (top + y + 1) * scale));
            }
    }
    return preview;
}
