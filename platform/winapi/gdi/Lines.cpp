#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Lines.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/Raster.h"

#include <algorithm>
#include <cmath>

namespace {

// Floor of a / b for b > 0.
long long FloorDiv(long long a, long long b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Dash lengths (on, off, ...) of the cosmetic styled pens.
std::vector<int> DashPattern(int style)
{
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    default: return {};
    }
}

} // namespace

void LineRasterizer::AddSegment(POINT from, POINT to)
{
    const long long dx = to.x - from.x;
    const long long dy = to.y - from.y;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    // The end point is not drawn. Where the line passes exactly between two pixels the smaller
    // coordinate wins, whichever way the line runs, so a line drawn back over itself covers the
    // same pixels.
    for (long long i = 0; i < steps; ++i) {
        POINT p;
        if (std::llabs(dx) >= std::llabs(dy)) {
            p.x = LONG(from.x + (dx > 0 ? i : -i));
            p.y = LONG(from.y - FloorDiv(-(2 * i * dy - steps), 2 * steps));
        } else {
            p.y = LONG(from.y + (dy > 0 ? i : -i));
            p.x = LONG(from.x - FloorDiv(-(2 * i * dx - steps), 2 * steps));
        }
        m_pixels.push_back(p);
    }
}

void DrawPenPath(DeviceContext& dc, std::span<const POINT> devicePoints, bool closed)
{
    const auto* pen = dc.state.pen.As<PenObject>();
    const auto penPattern = PenPattern(dc);
    if (!pen || !penPattern || devicePoints.size() < 2)
        return;
    const std::uint8_t table = RopTableFromRop2(dc.state.rop2);
    const int width = pen->Width();
    const std::size_t segments = closed ? devicePoints.size() : devicePoints.size() - 1;
    if (width > 1) {
        // A wide pen is the union of each segment's band and round joins, so that overlaps are
        // drawn once (an XOR pen stays visible where segments meet).
        Region shape;
        const double half = width / 2.0;
        for (std::size_t i = 0; i < segments; ++i) {
            const POINT a = devicePoints[i];
            const POINT b = devicePoints[(i + 1) % devicePoints.size()];
            const double length = std::hypot(double(b.x - a.x), double(b.y - a.y));
            if (length > 0) {
                const double nx = -(b.y - a.y) / length * half;
                const double ny = (b.x - a.x) / length * half;
                const POINT quad[4] = {{LONG(std::lround(a.x + nx)), LONG(std::lround(a.y + ny))},
                                       {LONG(std::lround(b.x + nx)), LONG(std::lround(b.y + ny))},
                                       {LONG(std::lround(b.x - nx)), LONG(std::lround(b.y - ny))},
                                       {LONG(std::lround(a.x - nx)), LONG(std::lround(a.y - ny))}};
                const int count = 4;
                shape = Region::Combine(shape, Region::FromPolygons(quad, std::span(&count, 1), WINDING), RGN_OR);
            }
            for (const POINT& end : {a, b}) {
                const RECT box{LONG(std::lround(end.x - half)), LONG(std::lround(end.y - half)),
                               LONG(std::lround(end.x - half)) + width, LONG(std::lround(end.y - half)) + width};
                shape = Region::Combine(shape, RoundedRegion(box, width, width), RGN_OR);
            }
        }
        const auto rects = ClipRects(dc, shape);
        FillRects(dc, rects, *penPattern, table);
        return;
    }
    LineRasterizer rasterizer;
    for (std::size_t i = 0; i < segments; ++i)
        rasterizer.AddSegment(devicePoints[i], devicePoints[(i + 1) % devicePoints.size()]);
    const auto dashes = DashPattern(pen->Style());
    const Region clip = dc.EffectiveClip();
    const std::optional<BrushPattern> gapPattern =
        dc.state.bkMode == OPAQUE ? std::optional(BrushPattern::Solid(dc.PixelFor(dc.state.bkColor))) : std::nullopt;
    std::vector<RECT> on, off;
    std::size_t dash = 0;
    int left = dashes.empty() ? 0 : dashes[0];
    for (const POINT& p : rasterizer.Pixels()) {
        const bool drawn = dashes.empty() || dash % 2 == 0;
        if (!dashes.empty() && --left == 0) {
            dash = (dash + 1) % dashes.size();
            left = dashes[dash];
        }
        if (clip.Contains(p.x, p.y))
            (drawn ? on : off).push_back({p.x, p.y, p.x + 1, p.y + 1});
    }
    FillRects(dc, on, *penPattern, table);
    if (gapPattern)
        FillRects(dc, off, *gapPattern, table);
}

namespace {

std::vector<POINT> ToDevice(const DeviceContext& dc, const POINT* points, std::size_t count)
{
    std::vector<POINT> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = dc.ToDevice(points[i]);
    return out;
}

} // namespace

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    if (previous)
        *previous = context->state.currentPos;
    context->state.currentPos = {x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, LPPOINT point)
{
    auto context = LookupDC(dc);
    if (!context || !point)
        return FALSE;
    *point = context->state.currentPos;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const POINT points[2] = {context->state.currentPos, {x, y}};
    const auto device = ToDevice(*context, points, 2);
    DrawPenPath(*context, device, false);
    context->state.currentPos = {x, y};
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count)
{
    auto context = LookupDC(dc);
    if (!context || !points || count < 2)
        return FALSE;
    DrawPenPath(*context, ToDevice(*context, points, std::size_t(count)), false);
    return TRUE;
}

BOOL PolylineTo(HDC dc, const POINT* points, DWORD count)
{
    auto context = LookupDC(dc);
    if (!context || !points || count == 0)
        return FALSE;
    std::vector<POINT> all{context->state.currentPos};
    all.insert(all.end(), points, points + count);
    DrawPenPath(*context, ToDevice(*context, all.data(), all.size()), false);
    context->state.currentPos = points[count - 1];
    return TRUE;
}

BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines)
{
    auto context = LookupDC(dc);
    if (!context || !points || !counts)
        return FALSE;
    for (DWORD i = 0; i < polylines; ++i)
        if (counts[i] < 2)
            return FALSE;
    std::size_t start = 0;
    for (DWORD i = 0; i < polylines; ++i) {
        DrawPenPath(*context, ToDevice(*context, points + start, counts[i]), false);
        start += counts[i];
    }
    return TRUE;
}
