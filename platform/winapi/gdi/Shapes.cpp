#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Lines.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/Raster.h"
#include "platform/winapi/gdi/SysColors.h"

#include <algorithm>

namespace detail = winapi_gdi::detail;

namespace {

RECT Deflate(RECT r, int by)
{
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// The pen's width as a shape border, 0 for the null pen.
int BorderWidth(const DeviceContext& dc)
{
    const auto* pen = dc.state.pen.As<PenObject>();
    if (!pen || pen->Style() == PS_NULL)
        return 0;
    return std::max(pen->Width(), 1);
}

// A closed shape: `outer` is what the border covers, `inner` what the brush fills, both under ROP2.
void PaintShape(DeviceContext& dc, const Region& outer, const Region& inner)
{
    const std::uint8_t table = RopTableFromRop2(dc.state.rop2);
    if (auto brush = SelectedBrush(dc)) {
        const auto rects = ClipRects(dc, inner);
        FillRects(dc, rects, *brush, table);
    }
    if (auto pen = PenPattern(dc)) {
        const auto rects = ClipRects(dc, Region::Combine(outer, inner, RGN_DIFF));
        FillRects(dc, rects, *pen, table);
    }
}

// The device box of a shape. With no pen, GDI fills one pixel less on the right and bottom; a
// plain wide pen straddles the outline, an inside-frame pen stays within it.
RECT ShapeBox(const DeviceContext& dc, int left, int top, int right, int bottom)
{
    RECT box = dc.ToDeviceRect({left, top, right, bottom});
    const auto* pen = dc.state.pen.As<PenObject>();
    const int width = BorderWidth(dc);
    if (width == 0) {
        box.right -= 1;
        box.bottom -= 1;
    } else if (width > 1 && pen->Style() != PS_INSIDEFRAME) {
        box = {box.left - width / 2, box.top - width / 2, box.right + (width - 1) / 2, box.bottom + (width - 1) / 2};
    }
    return box;
}

BOOL PaintRounded(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight, bool ellipse)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const RECT box = ShapeBox(*context, left, top, right, bottom);
    const int width = BorderWidth(*context);
    const int cw = ellipse ? box.right - box.left : std::abs(context->ScaleX(cornerWidth));
    const int ch = ellipse ? box.bottom - box.top : std::abs(context->ScaleY(cornerHeight));
    const Region outer = RoundedRegion(box, cw, ch);
    const Region inner = RoundedRegion(Deflate(box, width), cw - 2 * width, ch - 2 * width);
    PaintShape(*context, outer, inner);
    return TRUE;
}

} // namespace

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const RECT box = ShapeBox(*context, left, top, right, bottom);
    PaintShape(*context, Region(box), Region(Deflate(box, BorderWidth(*context))));
    return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height)
{
    return PaintRounded(dc, left, top, right, bottom, width, height, false);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    return PaintRounded(dc, left, top, right, bottom, 0, 0, true);
}

BOOL PolyPolygon(HDC dc, const POINT* points, const int* counts, int polygons)
{
    auto context = LookupDC(dc);
    if (!context || !points || !counts || polygons <= 0)
        return FALSE;
    std::size_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2)
            return FALSE;
        total += std::size_t(counts[i]);
    }
    std::vector<POINT> device(total);
    for (std::size_t i = 0; i < total; ++i)
        device[i] = context->ToDevice(points[i]);
    const std::uint8_t table = RopTableFromRop2(context->state.rop2);
    if (auto brush = SelectedBrush(*context)) {
        const Region shape = Region::FromPolygons(device, std::span(counts, std::size_t(polygons)),
                                                  context->state.polyFillMode);
        const auto rects = ClipRects(*context, shape);
        FillRects(*context, rects, *brush, table);
    }
    std::size_t start = 0;
    for (int i = 0; i < polygons; ++i) {
        DrawPenPath(*context, std::span(device).subspan(start, std::size_t(counts[i])), true);
        start += std::size_t(counts[i]);
    }
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count)
{
    return PolyPolygon(dc, points, &count, 1);
}

namespace {

int FillWith(HDC dc, const RECT* rect, HBRUSH brushHandle, bool frame)
{
    auto context = LookupDC(dc);
    auto brush = winapi_gdi::LookupGdi<BrushObject>(BrushFromSysColorValue(brushHandle));
    if (!context || !rect || !brush)
        return FALSE;
    const auto pattern = BrushPattern::Realise(*context, *brush);
    if (!pattern)
        return TRUE;
    const RECT box = context->ToDeviceRect(*rect);
    if (box.left >= box.right || box.top >= box.bottom)
        return TRUE;
    Region shape(box);
    if (frame)
        shape = Region::Combine(shape, Region(Deflate(box, 1)), RGN_DIFF);
    const auto rects = ClipRects(*context, shape);
    FillRects(*context, rects, *pattern, 0xF0);
    return TRUE;
}

} // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    return FillWith(dc, rect, brush, false);
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    return FillWith(dc, rect, brush, true);
}

BOOL InvertRect(HDC dc, const RECT* rect)
{
    if (!rect)
        return FALSE;
    return PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}
