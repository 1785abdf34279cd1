#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/DibFormat.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/Raster.h"

#include <algorithm>
#include <cstring>

namespace {

struct BlitSource {
    Surface* pixels = nullptr;
    POINT origin{0, 0};
    bool monochrome = false;
    std::uint32_t bkPixel = 0; // the source DC's background colour, for colour -> mono
};

// Device rectangles: the destination normalised, the source as a top-left and positive size, and
// whether the source runs backwards (negative extents mirror).
struct BlitGeometry {
    RECT dest{};
    int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    bool flipX = false, flipY = false;
};

enum class BlitKind { Rop, Transparent, Alpha, Mask };

struct BlitOp {
    BlitKind kind = BlitKind::Rop;
    std::uint8_t table = 0xCC;
    std::uint8_t backTable = 0xAA; // MaskBlt: where the mask is 0
    std::optional<BrushPattern> pattern;
    std::uint32_t key = 0;
    BLENDFUNCTION blend{};
    Surface* mask = nullptr;
    POINT maskOrigin{0, 0};
};

// A negative extent runs from the start pixel backwards, the start pixel included: (x, -w)
// covers x - w + 1 .. x. Returns the ordered rectangle and whether it was reversed.
std::pair<RECT, std::pair<bool, bool>> OrderExtents(RECT r)
{
    bool flipX = false, flipY = false;
    if (r.right < r.left) {
        r = {r.right + 1, r.top, r.left + 1, r.bottom};
        flipX = true;
    }
    if (r.bottom < r.top) {
        r = {r.left, r.bottom + 1, r.right, r.top + 1};
        flipY = true;
    }
    return {r, {flipX, flipY}};
}

BlitGeometry MapGeometry(const DeviceContext& dest, RECT logicalDest, const DeviceContext* src, RECT logicalSrc,
                         bool mirrorAllowed)
{
    const auto [destRect, destFlip] = OrderExtents(logicalDest);
    const auto [srcRect, srcFlip] = OrderExtents(logicalSrc);
    const POINT d0 = dest.ToDevice({destRect.left, destRect.top});
    const POINT d1 = dest.ToDevice({destRect.right, destRect.bottom});
    const POINT s0 = src ? src->ToDevice({srcRect.left, srcRect.top}) : POINT{srcRect.left, srcRect.top};
    const POINT s1 = src ? src->ToDevice({srcRect.right, srcRect.bottom}) : POINT{srcRect.right, srcRect.bottom};
    BlitGeometry g;
    g.dest = {std::min(d0.x, d1.x), std::min(d0.y, d1.y), std::max(d0.x, d1.x), std::max(d0.y, d1.y)};
    g.srcX = std::min(s0.x, s1.x);
    g.srcY = std::min(s0.y, s1.y);
    g.srcWidth = std::abs(s1.x - s0.x);
    g.srcHeight = std::abs(s1.y - s0.y);
    if (mirrorAllowed) {
        // Mirrored when an odd number of the extents and mappings run backwards.
        g.flipX = ((destFlip.first != srcFlip.first) != (d1.x < d0.x)) != (s1.x < s0.x);
        g.flipY = ((destFlip.second != srcFlip.second) != (d1.y < d0.y)) != (s1.y < s0.y);
    }
    return g;
}

// The source column for destination column `i` of `destWidth`: nearest sample of the pixel centre.
int SampleIndex(int i, int destWidth, int srcWidth, bool flip)
{
    const int j = int((2LL * i + 1) * srcWidth / (2LL * destWidth));
    return flip ? srcWidth - 1 - j : j;
}

std::uint32_t Channel(std::uint32_t p, int shift)
{
    return (p >> shift) & 0xFF;
}

std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d, const BLENDFUNCTION& blend)
{
    const std::uint32_t constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    // Per-pixel alpha: the source is premultiplied; scale it by the constant alpha first.
    const std::uint32_t sourceAlpha = perPixel ? (Channel(s, 24) * constant + 127) / 255 : constant;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t sc = Channel(s, shift);
        const std::uint32_t dc = Channel(d, shift);
        const std::uint32_t value = perPixel ? (sc * constant + 127) / 255 + (dc * (255 - sourceAlpha) + 127) / 255
                                             : (sc * constant + dc * (255 - constant) + 127) / 255;
        out |= std::min<std::uint32_t>(value, 255) << shift;
    }
    return out;
}

// Converts a source pixel for the destination: monochrome to colour takes the destination's text
// colour for 0 and background colour for 1; colour to monochrome makes the source's background
// colour white and everything else black.
struct Converter {
    bool monoToColor = false;
    bool colorToMono = false;
    std::uint32_t zero = 0, one = 0, srcBk = 0;

    std::uint32_t operator()(std::uint32_t p) const
    {
        if (monoToColor)
            return (p & 0xFFFFFF) ? one : zero;
        if (colorToMono)
            return (p & 0xFFFFFF) == srcBk ? 0xFFFFFFu : 0u;
        return p;
    }
};

bool RunBlit(DeviceContext& dest, const BlitGeometry& g, const BlitSource* source, const BlitOp& op)
{
    const int destWidth = g.dest.right - g.dest.left;
    const int destHeight = g.dest.bottom - g.dest.top;
    if (destWidth == 0 || destHeight == 0)
        return true;
    if (source && (g.srcWidth == 0 || g.srcHeight == 0))
        return false;
    Converter convert;
    if (source) {
        convert.monoToColor = source->monochrome && !dest.IsMonochrome();
        convert.colorToMono = !source->monochrome && dest.IsMonochrome();
        convert.zero = dest.PixelFor(dest.state.textColor);
        convert.one = dest.PixelFor(dest.state.bkColor);
        convert.srcBk = source->bkPixel;
    }
    // Copy the source first when it is the destination's own pixels, so overlapping blits read
    // the pixels as they were.
    Surface snapshot;
    Surface* srcPixels = source ? source->pixels : nullptr;
    POINT srcOrigin = source ? source->origin : POINT{0, 0};
    DrawTarget target(dest);
    if (!target.Get())
        return false;
    if (srcPixels && srcPixels->Pixels() == target->Pixels()) {
        snapshot = Surface(srcPixels->Width(), srcPixels->Height());
        for (int y = 0; y < srcPixels->Height(); ++y)
            std::memcpy(snapshot.Row(y), srcPixels->Row(y), std::size_t(srcPixels->Width()) * 4);
        srcPixels = &snapshot;
    }
    const POINT origin = dest.Origin();
    const bool identity = source && g.srcWidth == destWidth && g.srcHeight == destHeight && !g.flipX && !g.flipY &&
                          !convert.monoToColor && !convert.colorToMono;
    std::vector<int> columns(static_cast<std::size_t>(destWidth));
    for (int i = 0; i < destWidth; ++i)
        columns[std::size_t(i)] = source ? g.srcX + SampleIndex(i, destWidth, g.srcWidth, g.flipX) + srcOrigin.x : 0;
    // The source columns run one way, so the destination columns that sample inside the source
    // are one span.
    const auto sampled = [&](int column) { return !source || (column >= 0 && column < srcPixels->Width()); };
    const auto firstIn = std::find_if(columns.begin(), columns.end(), sampled);
    const int inLeft = g.dest.left + int(firstIn - columns.begin());
    const int inRight = inLeft + int(std::find_if_not(firstIn, columns.end(), sampled) - firstIn);
    // Raster operations with no pattern or a solid one run whole rows; source rows that are
    // stretched, mirrored or converted are gathered into `samples` first.
    const bool rowKernel = op.kind == BlitKind::Rop && (!op.pattern || op.pattern->IsSolid());
    const std::uint32_t solid = op.pattern ? op.pattern->SolidPixel() : 0;
    std::vector<std::uint32_t> samples(rowKernel && source && !identity ? std::size_t(destWidth) : 0);
    for (const RECT& r : ClipRects(dest, g.dest)) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = target->Row(y + origin.y) + origin.x;
            const std::uint32_t* srcRow = nullptr;
            if (source) {
                const int sy = g.srcY + SampleIndex(y - g.dest.top, destHeight, g.srcHeight, g.flipY) + srcOrigin.y;
                if (sy < 0 || sy >= srcPixels->Height())
                    continue;
                srcRow = srcPixels->Row(sy);
            }
            if (rowKernel) {
                const int left = std::max<int>(r.left, inLeft);
                const int right = std::min<int>(r.right, inRight);
                if (left >= right)
                    continue;
                const std::uint32_t* s = nullptr;
                if (source && identity) {
                    s = srcRow + columns[std::size_t(left - g.dest.left)];
                } else if (source) {
                    for (int x = left; x < right; ++x)
                        samples[std::size_t(x - left)] = convert(srcRow[columns[std::size_t(x - g.dest.left)]]);
                    s = samples.data();
                }
                ApplyRopRow(op.table, row + left, s, solid, right - left);
                continue;
            }
            const std::uint32_t* maskRow = nullptr;
            if (op.mask) {
                const int my = op.maskOrigin.y + (y - g.dest.top);
                maskRow = my >= 0 && my < op.mask->Height() ? op.mask->Row(my) : nullptr;
            }
            for (int x = r.left; x < r.right; ++x) {
                std::uint32_t s = 0;
                if (source) {
                    const int sx = columns[std::size_t(x - g.dest.left)];
                    if (sx < 0 || sx >= srcPixels->Width())
                        continue;
                    s = convert(srcRow[sx]);
                }
                switch (op.kind) {
                case BlitKind::Rop: {
                    bool draws = true;
                    const std::uint32_t p = op.pattern ? op.pattern->At(x, y, draws) : 0;
                    row[x] = ApplyRop(op.table, p, s, row[x]);
                    break;
                }
                case BlitKind::Mask: {
                    bool draws = true;
                    const std::uint32_t p = op.pattern ? op.pattern->At(x, y, draws) : 0;
                    const int mx = op.maskOrigin.x + (x - g.dest.left);
                    const bool fore = maskRow && mx >= 0 && mx < op.mask->Width() && (maskRow[mx] & 0xFFFFFF);
                    row[x] = ApplyRop(fore ? op.table : op.backTable, p, s, row[x]);
                    break;
                }
                case BlitKind::Transparent:
                    if ((s & 0xFFFFFF) != op.key)
                        row[x] = s;
                    break;
                case BlitKind::Alpha: row[x] = BlendPixel(s, row[x], op.blend); break;
                }
            }
        }
    }
    return true;
}

bool MakeSource(const std::shared_ptr<DeviceContext>& src, BlitSource& out)
{
    if (!src)
        return false;
    out.pixels = src->AcquireTarget();
    out.origin = src->Origin();
    out.monochrome = src->IsMonochrome();
    out.bkPixel = PixelFromColor(src->state.bkColor & 0xFFFFFF);
    return out.pixels != nullptr;
}

BOOL RopBlit(HDC destDc, RECT destRect, HDC srcDc, RECT srcRect, DWORD rop)
{
    auto dest = LookupDC(destDc);
    if (!dest)
        return FALSE;
    BlitOp op;
    op.table = RopTable(rop);
    if (RopUsesPattern(op.table)) {
        op.pattern = SelectedBrush(*dest);
        if (!op.pattern)
            op.pattern = BrushPattern::Solid(0);
    }
    const bool mirror = !(rop & NOMIRRORBITMAP);
    if (!RopUsesSource(op.table)) {
        const BlitGeometry g = MapGeometry(*dest, destRect, nullptr, destRect, false);
        return RunBlit(*dest, g, nullptr, op);
    }
    auto src = LookupDC(srcDc);
    BlitSource source;
    if (!MakeSource(src, source))
        return FALSE;
    const BlitGeometry g = MapGeometry(*dest, destRect, src.get(), srcRect, mirror);
    return RunBlit(*dest, g, &source, op);
}

} // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    if (RopUsesSource(RopTable(rop)))
        return FALSE;
    return RopBlit(dc, {x, y, x + width, y + height}, nullptr, {}, rop);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    return RopBlit(dest, {x, y, x + width, y + height}, src, {srcX, srcY, srcX + width, srcY + height}, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop)
{
    return RopBlit(dest, {x, y, x + width, y + height}, src, {srcX, srcY, srcX + srcWidth, srcY + srcHeight}, rop);
}

BOOL MaskBlt(HDC destDc, int x, int y, int width, int height, HDC srcDc, int srcX, int srcY, HBITMAP maskBitmap,
             int maskX, int maskY, DWORD rop4)
{
    if (!maskBitmap)
        return BitBlt(destDc, x, y, width, height, srcDc, srcX, srcY, rop4 & 0x00FFFFFF);
    auto dest = LookupDC(destDc);
    auto mask = LookupBitmap(maskBitmap);
    if (!dest || !mask || !mask->IsMonochrome())
        return FALSE;
    BlitOp op;
    op.kind = BlitKind::Mask;
    op.table = RopTable(rop4);
    op.backTable = std::uint8_t(rop4 >> 24);
    op.mask = &mask->Pixels();
    op.maskOrigin = {maskX, maskY};
    if (RopUsesPattern(op.table) || RopUsesPattern(op.backTable))
        op.pattern = SelectedBrush(*dest);
    auto src = LookupDC(srcDc);
    BlitSource source;
    const bool usesSource = RopUsesSource(op.table) || RopUsesSource(op.backTable);
    if (usesSource && !MakeSource(src, source))
        return FALSE;
    const RECT destRect{x, y, x + width, y + height};
    const BlitGeometry g = MapGeometry(*dest, destRect, usesSource ? src.get() : nullptr,
                                       {srcX, srcY, srcX + width, srcY + height}, false);
    return RunBlit(*dest, g, usesSource ? &source : nullptr, op);
}

BOOL TransparentBlt(HDC destDc, int x, int y, int width, int height, HDC srcDc, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent)
{
    auto dest = LookupDC(destDc);
    auto src = LookupDC(srcDc);
    BlitSource source;
    if (!dest || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || !MakeSource(src, source))
        return FALSE;
    BlitOp op;
    op.kind = BlitKind::Transparent;
    op.key = PixelFromColor(transparent & 0xFFFFFF);
    const BlitGeometry g = MapGeometry(*dest, {x, y, x + width, y + height}, src.get(),
                                       {srcX, srcY, srcX + srcWidth, srcY + srcHeight}, false);
    return RunBlit(*dest, g, &source, op);
}

BOOL AlphaBlend(HDC destDc, int x, int y, int width, int height, HDC srcDc, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend)
{
    auto dest = LookupDC(destDc);
    auto src = LookupDC(srcDc);
    BlitSource source;
    if (!dest || blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 ||
        !MakeSource(src, source))
        return FALSE;
    // The source rectangle must lie inside the source, as Win32 checks.
    const BlitGeometry g = MapGeometry(*dest, {x, y, x + width, y + height}, src.get(),
                                       {srcX, srcY, srcX + srcWidth, srcY + srcHeight}, false);
    const SIZE size = src->TargetSize();
    if (g.srcX + source.origin.x < 0 || g.srcY + source.origin.y < 0 ||
        g.srcX + source.origin.x + g.srcWidth > size.cx || g.srcY + source.origin.y + g.srcHeight > size.cy)
        return FALSE;
    BlitOp op;
    op.kind = BlitKind::Alpha;
    op.blend = blend;
    return RunBlit(*dest, g, &source, op);
}

int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop)
{
    auto dest = LookupDC(dc);
    DibFormat format;
    if (!dest || !bits || !DibFormat::Parse(info, usage, format))
        return 0;
    Surface image(format.width, format.height);
    const auto* packed = static_cast<const std::uint8_t*>(bits);
    for (int row = 0; row < format.height; ++row)
        UnpackRow(packed + format.RowOffset(row), format.bitsPixel, format.colors, image.Row(row), format.width);
    // A bottom-up DIB's source y counts from its bottom row.
    const int top = format.topDown ? srcY : format.height - srcY - srcHeight;
    BlitOp op;
    op.table = RopTable(rop);
    if (RopUsesPattern(op.table))
        op.pattern = SelectedBrush(*dest);
    BlitSource source;
    source.pixels = &image;
    const BlitGeometry g = MapGeometry(*dest, {x, y, x + width, y + height}, nullptr,
                                       {srcX, top, srcX + srcWidth, top + srcHeight}, true);
    return RunBlit(*dest, g, &source, op) ? std::abs(srcHeight) : 0;
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    auto context = LookupDC(dc);
    if (!context)
        return CLR_INVALID;
    const POINT p = context->ToDevice({x, y});
    if (!context->EffectiveClip().Contains(p.x, p.y))
        return CLR_INVALID;
    Surface* pixels = context->AcquireTarget();
    if (!pixels)
        return CLR_INVALID;
    const POINT origin = context->Origin();
    return ColorFromPixel(pixels->Row(p.y + origin.y)[p.x + origin.x] & 0xFFFFFF);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    auto context = LookupDC(dc);
    if (!context)
        return CLR_INVALID;
    const POINT p = context->ToDevice({x, y});
    if (!context->EffectiveClip().Contains(p.x, p.y))
        return CLR_INVALID;
    const std::uint32_t pixel = context->PixelFor(color);
    const RECT one{p.x, p.y, p.x + 1, p.y + 1};
    FillRects(*context, std::span(&one, 1), BrushPattern::Solid(pixel), 0xF0);
    return ColorFromPixel(pixel);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color)
{
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}
