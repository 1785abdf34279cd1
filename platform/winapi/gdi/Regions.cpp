#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/Raster.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace detail = winapi_gdi::detail;

namespace {

HRGN NewRegion(Region region)
{
    return static_cast<HRGN>(winapi_gdi::NewGdiHandle(std::make_shared<RegionObject>(std::move(region))));
}

std::shared_ptr<RegionObject> LookupRegion(HRGN region)
{
    return winapi_gdi::LookupGdi<RegionObject>(region);
}

RECT Normalised(int left, int top, int right, int bottom)
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Scan-line spans of the ellipse inscribed in [left, right) x [top, bottom), optionally with
// straight middle parts of `width` x `height` corners (a rounded rectangle).
std::vector<Region::Span> RoundedSpans(RECT box, int cornerWidth, int cornerHeight)
{
    std::vector<Region::Span> spans;
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return spans;
    cornerWidth = std::clamp(cornerWidth, 0, w);
    cornerHeight = std::clamp(cornerHeight, 0, h);
    const double a = cornerWidth / 2.0;
    const double b = cornerHeight / 2.0;
    for (int y = 0; y < h; ++y) {
        const double yc = y + 0.5;
        double inset = 0;
        if (b > 0 && a > 0) {
            double dy = 0;
            if (yc < b)
                dy = b - yc;
            else if (yc > h - b)
                dy = yc - (h - b);
            const double t = std::max(0.0, 1.0 - (dy * dy) / (b * b));
            inset = a - a * std::sqrt(t);
        }
        const int left = box.left + int(std::lround(inset));
        const int right = box.right - int(std::lround(inset));
        if (left < right)
            spans.push_back({box.top + y, left, right});
    }
    return spans;
}

} // namespace

Region RoundedRegion(const RECT& box, int cornerWidth, int cornerHeight)
{
    auto spans = RoundedSpans(box, cornerWidth, cornerHeight);
    return Region::FromSpans(spans);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(Region(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    return NewRegion(RoundedRegion(Normalised(left, top, right, bottom), width, height));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    const RECT box = Normalised(left, top, right, bottom);
    return NewRegion(RoundedRegion(box, box.right - box.left, box.bottom - box.top));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect)
{
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const int* counts, int polygons, int fillMode)
{
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    long total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return nullptr;
        total += counts[i];
    }
    return NewRegion(Region::FromPolygons(std::span(points, std::size_t(total)),
                                          std::span(counts, std::size_t(polygons)), fillMode));
}

HRGN ExtCreateRegion(const XFORM* transform, DWORD count, const RGNDATA* data)
{
    if (transform || !data || count < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES ||
        data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
        std::size_t(data->rdh.nCount) > (count - data->rdh.dwSize) / sizeof(RECT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The rectangles may sit at any alignment after a header of any length.
    std::vector<RECT> rects(data->rdh.nCount);
    std::memcpy(rects.data(), reinterpret_cast<const std::uint8_t*>(data) + data->rdh.dwSize,
                rects.size() * sizeof(RECT));
    return NewRegion(Region::FromRects(rects));
}

DWORD GetRegionData(HRGN handle, DWORD count, RGNDATA* data)
{
    auto region = LookupRegion(handle);
    if (!region)
        return 0;
    const auto& rects = region->region.Rects();
    const DWORD size = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data)
        return size;
    if (count < size)
        return 0;
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()), DWORD(rects.size() * sizeof(RECT)),
                 region->region.Bounds()};
    std::memcpy(reinterpret_cast<std::uint8_t*>(data) + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
    return size;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    auto target = LookupRegion(dest);
    auto a = LookupRegion(src1);
    auto b = mode == RGN_COPY ? a : LookupRegion(src2);
    if (!target || !a || !b || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    target->region = Region::Combine(a->region, b->region, mode);
    return target->region.Kind();
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom)
{
    auto region = LookupRegion(handle);
    if (!region)
        return FALSE;
    region->region = Region(Normalised(left, top, right, bottom));
    return TRUE;
}

int OffsetRgn(HRGN handle, int dx, int dy)
{
    auto region = LookupRegion(handle);
    if (!region)
        return ERROR;
    region->region.Offset(dx, dy);
    return region->region.Kind();
}

BOOL PtInRegion(HRGN handle, int x, int y)
{
    auto region = LookupRegion(handle);
    return region && region->region.Contains(x, y);
}

BOOL RectInRegion(HRGN handle, const RECT* rect)
{
    auto region = LookupRegion(handle);
    if (!region || !rect)
        return FALSE;
    return region->region.Intersects(Normalised(rect->left, rect->top, rect->right, rect->bottom));
}

int GetRgnBox(HRGN handle, LPRECT rect)
{
    auto region = LookupRegion(handle);
    if (!region || !rect)
        return ERROR;
    *rect = region->region.Bounds();
    return region->region.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    auto first = LookupRegion(a);
    auto second = LookupRegion(b);
    if (!first || !second)
        return ERROR;
    return first->region == second->region;
}

// --- Painting regions (logical coordinates) ------------------------------------------------------

namespace {

// A region given in logical coordinates, mapped to device coordinates (origins only: regions
// keep their pixels under scaling too coarse to matter for the callers).
Region ToDevice(const DeviceContext& dc, Region region)
{
    const POINT origin = dc.ToDevice({0, 0});
    region.Offset(origin.x, origin.y);
    return region;
}

BOOL FillDeviceRegion(DeviceContext& dc, const Region& region, const std::optional<BrushPattern>& pattern,
                      std::uint8_t table)
{
    if (pattern) {
        const auto rects = ClipRects(dc, region);
        FillRects(dc, rects, *pattern, table);
    }
    return TRUE;
}

} // namespace

BOOL FillRgn(HDC dc, HRGN handle, HBRUSH brushHandle)
{
    auto context = LookupDC(dc);
    auto region = LookupRegion(handle);
    auto brush = winapi_gdi::LookupGdi<BrushObject>(brushHandle);
    if (!context || !region || !brush)
        return FALSE;
    return FillDeviceRegion(*context, ToDevice(*context, region->region), BrushPattern::Realise(*context, *brush), 0xF0);
}

BOOL PaintRgn(HDC dc, HRGN handle)
{
    auto context = LookupDC(dc);
    auto region = LookupRegion(handle);
    if (!context || !region)
        return FALSE;
    return FillDeviceRegion(*context, ToDevice(*context, region->region), SelectedBrush(*context),
                            RopTableFromRop2(context->state.rop2));
}

BOOL InvertRgn(HDC dc, HRGN handle)
{
    auto context = LookupDC(dc);
    auto region = LookupRegion(handle);
    if (!context || !region)
        return FALSE;
    return FillDeviceRegion(*context, ToDevice(*context, region->region), BrushPattern::Solid(0), 0x55);
}

BOOL FrameRgn(HDC dc, HRGN handle, HBRUSH brushHandle, int width, int height)
{
    auto context = LookupDC(dc);
    auto region = LookupRegion(handle);
    auto brush = winapi_gdi::LookupGdi<BrushObject>(brushHandle);
    if (!context || !region || !brush || width <= 0 || height <= 0)
        return FALSE;
    // The frame is the region less itself shrunk: pixels within width/height of the outside.
    const Region& r = region->region;
    Region shrunk = r;
    for (int dx = -width; dx <= width; dx += width)
        for (int dy = -height; dy <= height; dy += height) {
            Region moved = r;
            moved.Offset(dx, dy);
            shrunk = Region::Combine(shrunk, moved, RGN_AND);
        }
    return FillDeviceRegion(*context, ToDevice(*context, Region::Combine(r, shrunk, RGN_DIFF)),
                            BrushPattern::Realise(*context, *brush), 0xF0);
}

// --- Clipping ----------------------------------------------------------------------------------

namespace {

int ClipResult(const DeviceContext& dc)
{
    return dc.EffectiveClip().Kind();
}

Region CurrentClip(const DeviceContext& dc)
{
    return dc.state.clip ? *dc.state.clip : dc.VisibleRegion();
}

} // namespace

int SelectClipRgn(HDC dc, HRGN region)
{
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN handle, int mode)
{
    auto context = LookupDC(dc);
    if (!context || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (!handle) {
        // Only RGN_COPY may take no region: it removes the clip region.
        if (mode != RGN_COPY)
            return ERROR;
        context->state.clip.reset();
        return ClipResult(*context);
    }
    auto region = LookupRegion(handle);
    if (!region)
        return ERROR;
    context->state.clip = mode == RGN_COPY ? region->region
                                           : Region::Combine(CurrentClip(*context), region->region, mode);
    return ClipResult(*context);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    auto context = LookupDC(dc);
    if (!context)
        return ERROR;
    const Region rect(context->ToDeviceRect({left, top, right, bottom}));
    context->state.clip = Region::Combine(CurrentClip(*context), rect, RGN_AND);
    return ClipResult(*context);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    auto context = LookupDC(dc);
    if (!context)
        return ERROR;
    const Region rect(context->ToDeviceRect({left, top, right, bottom}));
    context->state.clip = Region::Combine(CurrentClip(*context), rect, RGN_DIFF);
    return ClipResult(*context);
}

int OffsetClipRgn(HDC dc, int dx, int dy)
{
    auto context = LookupDC(dc);
    if (!context)
        return ERROR;
    if (context->state.clip)
        context->state.clip->Offset(context->ScaleX(dx), context->ScaleY(dy));
    return ClipResult(*context);
}

int GetClipBox(HDC dc, LPRECT rect)
{
    auto context = LookupDC(dc);
    if (!context || !rect)
        return ERROR;
    const Region clip = context->EffectiveClip();
    const RECT box = clip.Bounds();
    const POINT a = context->ToLogical({box.left, box.top});
    const POINT b = context->ToLogical({box.right, box.bottom});
    *rect = Normalised(a.x, a.y, b.x, b.y);
    return clip.Kind();
}

int GetClipRgn(HDC dc, HRGN handle)
{
    auto context = LookupDC(dc);
    auto region = LookupRegion(handle);
    if (!context || !region)
        return -1;
    if (!context->state.clip)
        return 0;
    region->region = *context->state.clip;
    return 1;
}

BOOL RectVisible(HDC dc, const RECT* rect)
{
    auto context = LookupDC(dc);
    if (!context || !rect)
        return FALSE;
    return context->EffectiveClip().Intersects(context->ToDeviceRect(*rect));
}

BOOL PtVisible(HDC dc, int x, int y)
{
    auto context = LookupDC(dc);
    if (!context)
        return -1;
    const POINT p = context->ToDevice({x, y});
    return context->EffectiveClip().Contains(p.x, p.y);
}
