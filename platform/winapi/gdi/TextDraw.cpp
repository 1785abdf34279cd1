#include "platform/winapi/gdi/TextDraw.h"

#include "platform/winapi/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top)
        return {0, 0, 0, 0};
    return r;
}

RECT Union(const RECT& a, const RECT& b)
{
    if (a.right <= a.left || a.bottom <= a.top)
        return b;
    if (b.right <= b.left || b.bottom <= b.top)
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The run's frame on the device: its baseline start, the direction it runs in and the direction
// "down" from the baseline, both unit vectors.
struct Frame {
    PointF origin;
    PointF along;
    PointF down;

    [[nodiscard]] PointF At(double u, double v) const
    {
        return {origin.x + along.x * u + down.x * v, origin.y + along.y * u + down.y * v};
    }
    // The quadrilateral u in [u0, u1], v in [v0, v1].
    [[nodiscard]] std::vector<PointF> Box(double u0, double u1, double v0, double v1) const
    {
        return {At(u0, v0), At(u1, v0), At(u1, v1), At(u0, v1)};
    }
};

Frame FrameFor(const FontMetrics& metrics, int width, const RunPlacement& placement)
{
    const double radians = metrics.escapement * std::numbers::pi / 1800;
    Frame frame{{0, 0}, {std::cos(radians), -std::sin(radians)}, {std::sin(radians), std::cos(radians)}};
    if (metrics.escapement == 0)
        frame.along = {1, 0}, frame.down = {0, 1};
    double u = 0;
    if ((placement.align & TA_CENTER) == TA_CENTER)
        u = -(width / 2);
    else if (placement.align & TA_RIGHT)
        u = -width;
    double v = metrics.text.tmAscent;
    if ((placement.align & TA_BASELINE) == TA_BASELINE)
        v = 0;
    else if (placement.align & TA_BOTTOM)
        v = -metrics.text.tmDescent;
    frame.origin = {placement.reference.x + frame.along.x * u + frame.down.x * v,
                    placement.reference.y + frame.along.y * u + frame.down.y * v};
    return frame;
}

// The part of the device that drawing may touch: the DC's clip, and the run's own clip.
RECT DrawableBounds(const DeviceContext& dc, const RunPlacement& placement)
{
    RECT bounds = dc.EffectiveClip().Bounds();
    if (placement.clip)
        bounds = Intersect(bounds, *placement.clip);
    return bounds;
}

void Blend(DeviceContext& dc, const CoverageMask& mask, COLORREF color)
{
    if (mask.Width() > 0 && mask.Height() > 0)
        BlendCoverage(dc, mask.Bounds().left, mask.Bounds().top, mask.Data(), mask.Width(), mask.Height(),
                      mask.Width(), color);
}

void FillPolygon(DeviceContext& dc, const std::vector<PointF>& polygon, const RECT& drawable, COLORREF color)
{
    CoverageMask mask(Intersect(BoundsOf(polygon), drawable));
    mask.FillPolygon(polygon);
    Blend(dc, mask, color);
}

PointF Round(PointF p) { return {std::round(p.x), std::round(p.y)}; }

struct PlacedGlyph {
    const GlyphImage* image;
    int x;
    int y;
};

// Where each glyph's image lands on the device.
std::vector<PlacedGlyph> PlaceGlyphs(FontInstance& font, const TextRun& run, const Frame& frame)
{
    std::vector<PlacedGlyph> placed;
    placed.reserve(run.Glyphs().size());
    for (const RunGlyph& glyph : run.Glyphs()) {
        const GlyphImage& image = font.Glyph(glyph.character);
        if (image.width == 0 || image.height == 0)
            continue;
        const PointF pen = Round(frame.At(glyph.x, 0));
        placed.push_back({&image, static_cast<int>(pen.x) + image.left, static_cast<int>(pen.y) - image.top});
    }
    return placed;
}

// Underlines (the font's, and prefix characters') and the strike-out, as quadrilaterals.
std::vector<std::vector<PointF>> LinesOf(const FontMetrics& metrics, const Frame& frame, int width,
                                         const std::vector<std::pair<int, int>>& underlined)
{
    std::vector<std::vector<PointF>> lines;
    const int under = metrics.underlinePosition;
    for (const auto& [from, to] : underlined)
        lines.push_back(frame.Box(from, to, under, under + metrics.underlineSize));
    if (metrics.text.tmUnderlined)
        lines.push_back(frame.Box(0, width, under, under + metrics.underlineSize));
    if (metrics.text.tmStruckOut)
        lines.push_back(frame.Box(0, width, -metrics.strikeoutPosition, -metrics.strikeoutPosition + metrics.strikeoutSize));
    return lines;
}

void FillBackground(DeviceContext& dc, const RunPlacement& placement, const Frame& frame, const FontMetrics& metrics,
                    int width, const RECT& drawable)
{
    if (placement.opaque) {
        const RECT fill = Intersect(*placement.opaque, dc.EffectiveClip().Bounds());
        FillPolygon(dc, {{double(fill.left), double(fill.top)}, {double(fill.right), double(fill.top)},
                         {double(fill.right), double(fill.bottom)}, {double(fill.left), double(fill.bottom)}},
                    fill, dc.state.bkColor);
    }
    if (placement.opaqueCell && width > 0)
        FillPolygon(dc, frame.Box(0, width, -metrics.text.tmAscent, metrics.text.tmDescent), drawable,
                    dc.state.bkColor);
}

// Everything in the text colour is composed into one mask and blended once.
void DrawInk(DeviceContext& dc, const std::vector<PlacedGlyph>& glyphs, const std::vector<std::vector<PointF>>& lines,
             const RECT& drawable)
{
    RECT inked{0, 0, 0, 0};
    for (const PlacedGlyph& glyph : glyphs)
        inked = Union(inked, RECT{glyph.x, glyph.y, glyph.x + glyph.image->width, glyph.y + glyph.image->height});
    for (const std::vector<PointF>& line : lines)
        inked = Union(inked, BoundsOf(line));
    CoverageMask mask(Intersect(inked, drawable));
    if (mask.Width() == 0)
        return;
    for (const PlacedGlyph& glyph : glyphs)
        mask.Add(glyph.x, glyph.y, glyph.image->coverage.data(), glyph.image->width, glyph.image->height,
                 glyph.image->width);
    for (const std::vector<PointF>& line : lines)
        mask.FillPolygon(line);
    Blend(dc, mask, dc.state.textColor);
}

} // namespace

LONG ClampCoordinate(long long value)
{
    return static_cast<LONG>(std::clamp(value, -CoordinateLimit, CoordinateLimit));
}

POINT ClampPoint(POINT point) { return {ClampCoordinate(point.x), ClampCoordinate(point.y)}; }

RECT ClampRect(const RECT& rect)
{
    return {ClampCoordinate(rect.left), ClampCoordinate(rect.top), ClampCoordinate(rect.right),
            ClampCoordinate(rect.bottom)};
}

PointF DrawRun(DeviceContext& dc, FontInstance& font, const TextRun& run, const RunPlacement& unclamped)
{
    RunPlacement placement = unclamped;
    placement.reference = ClampPoint(placement.reference);
    const FontMetrics& metrics = font.Metrics();
    const int width = run.Width();
    Frame frame = FrameFor(metrics, width, placement);
    if (metrics.escapement == 0)
        frame.origin = Round(frame.origin);
    const RECT drawable = DrawableBounds(dc, placement);

    FillBackground(dc, placement, frame, metrics, width, drawable);
    const std::vector<PlacedGlyph> glyphs =
        placement.drawGlyphs ? PlaceGlyphs(font, run, frame) : std::vector<PlacedGlyph>{};
    DrawInk(dc, glyphs, LinesOf(metrics, frame, width, placement.underlines), drawable);

    const PointF reference{double(placement.reference.x), double(placement.reference.y)};
    if ((placement.align & TA_CENTER) == TA_CENTER)
        return reference;
    const double sign = (placement.align & TA_RIGHT) ? -1 : 1;
    return {reference.x + frame.along.x * width * sign, reference.y + frame.along.y * width * sign};
}
