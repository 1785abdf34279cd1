#include "platform/winapi/gdi/Raster.h"

#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/Objects.h"

#include <algorithm>
#include <cstring>

namespace {

bool HatchBit(int hatch, int x, int y)
{
    switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
    }
}

int Wrap(int value, int size)
{
    const int m = value % size;
    return m < 0 ? m + size : m;
}

} // namespace

BrushPattern BrushPattern::Solid(std::uint32_t pixel)
{
    BrushPattern pattern;
    pattern.m_solid = pixel;
    return pattern;
}

std::optional<BrushPattern> BrushPattern::Realise(const DeviceContext& dc, const BrushObject& brush)
{
    const DcState& s = dc.state;
    switch (brush.Style()) {
    case BS_NULL: return std::nullopt;
    case BS_SOLID: return Solid(dc.PixelFor(brush.IsDcBrush() ? s.dcBrushColor : brush.Color()));
    default: break;
    }
    BrushPattern pattern;
    pattern.m_origin = s.brushOrg;
    if (brush.Style() == BS_HATCHED) {
        pattern.m_tile = Surface(8, 8);
        const std::uint32_t fore = dc.PixelFor(brush.Color());
        const std::uint32_t back = dc.PixelFor(s.bkColor);
        const bool transparent = s.bkMode == TRANSPARENT;
        if (transparent)
            pattern.m_draws.resize(64);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool bit = HatchBit(brush.Hatch(), x, y);
                pattern.m_tile.Row(y)[x] = bit ? fore : back;
                if (transparent)
                    pattern.m_draws[std::size_t(y * 8 + x)] = bit;
            }
        return pattern;
    }
    const Surface& source = brush.Pattern();
    pattern.m_tile = Surface(source.Width(), source.Height());
    // A monochrome pattern takes the DC's colours: 0 bits the text colour, 1 bits the background.
    const std::uint32_t zero = dc.PixelFor(s.textColor);
    const std::uint32_t one = dc.PixelFor(s.bkColor);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t p = source.Row(y)[x];
            pattern.m_tile.Row(y)[x] = brush.MonochromePattern() ? ((p & 0xFFFFFF) ? one : zero)
                                       : dc.IsMonochrome()      ? QuantiseToMonochrome(p)
                                                                : p;
        }
    return pattern;
}

std::uint32_t BrushPattern::At(int x, int y, bool& draws) const
{
    if (IsSolid()) {
        draws = true;
        return m_solid;
    }
    const int tx = Wrap(x - m_origin.x, m_tile.Width());
    const int ty = Wrap(y - m_origin.y, m_tile.Height());
    draws = m_draws.empty() || m_draws[std::size_t(ty * m_tile.Width() + tx)];
    return m_tile.Row(ty)[tx];
}

std::uint8_t RopTableFromRop2(int rop2)
{
    const int table2 = rop2 - 1; // bit (P << 1 | D)
    std::uint8_t table = 0;
    for (int i = 0; i < 8; ++i) {
        const int p = (i >> 2) & 1;
        const int d = i & 1;
        if ((table2 >> (p << 1 | d)) & 1)
            table |= std::uint8_t(1 << i);
    }
    return table;
}

std::uint32_t ApplyRop(std::uint8_t table, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    switch (table) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xAA: return d;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFF;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x5A: return p ^ d;
    case 0x55: return ~d;
    default: break;
    }
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((table >> i) & 1))
            continue;
        result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return result;
}

namespace {

template <class Op>
void EachPixel(std::uint32_t* dest, const std::uint32_t* source, int count, Op op)
{
    for (int i = 0; i < count; ++i)
        dest[i] = op(source[i], dest[i]);
}

template <class Op>
void EachDestPixel(std::uint32_t* dest, int count, Op op)
{
    for (int i = 0; i < count; ++i)
        dest[i] = op(dest[i]);
}

} // namespace

void ApplyRopRow(std::uint8_t table, std::uint32_t* dest, const std::uint32_t* source, std::uint32_t p, int count)
{
    if (count <= 0)
        return;
    using U = std::uint32_t;
    switch (table) {
    case 0xAA: return;
    case 0xCC: std::memcpy(dest, source, std::size_t(count) * 4); return;
    case 0xF0: std::fill_n(dest, count, p); return;
    case 0x00: std::fill_n(dest, count, 0u); return;
    case 0xFF: std::fill_n(dest, count, 0xFFFFFFFFu); return;
    case 0x66: EachPixel(dest, source, count, [](U s, U d) { return s ^ d; }); return;
    case 0x88: EachPixel(dest, source, count, [](U s, U d) { return s & d; }); return;
    case 0xEE: EachPixel(dest, source, count, [](U s, U d) { return s | d; }); return;
    case 0x33: EachPixel(dest, source, count, [](U s, U) { return ~s; }); return;
    case 0x44: EachPixel(dest, source, count, [](U s, U d) { return s & ~d; }); return;
    case 0x11: EachPixel(dest, source, count, [](U s, U d) { return ~(s | d); }); return;
    case 0xBB: EachPixel(dest, source, count, [](U s, U d) { return ~s | d; }); return;
    case 0xC0: EachPixel(dest, source, count, [p](U s, U) { return p & s; }); return;
    case 0x5A: EachDestPixel(dest, count, [p](U d) { return p ^ d; }); return;
    case 0x55: EachDestPixel(dest, count, [](U d) { return ~d; }); return;
    default: break;
    }
    for (int i = 0; i < count; ++i)
        dest[i] = ApplyRop(table, p, source ? source[i] : 0, dest[i]);
}

std::vector<RECT> ClipRects(const DeviceContext& dc, const RECT& bounds)
{
    return dc.EffectiveClip().Clip(bounds);
}

std::vector<RECT> ClipRects(const DeviceContext& dc, const Region& region)
{
    return Region::Combine(dc.EffectiveClip(), region, RGN_AND).Rects();
}

void FillRects(DeviceContext& dc, std::span<const RECT> rects, const BrushPattern& pattern, std::uint8_t table)
{
    DrawTarget target(dc);
    if (!target.Get())
        return;
    const POINT origin = dc.Origin();
    for (const RECT& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = target->Row(y + origin.y) + origin.x;
            if (pattern.IsSolid()) {
                ApplyRopRow(table, row + r.left, nullptr, pattern.SolidPixel(), r.right - r.left);
                continue;
            }
            for (int x = r.left; x < r.right; ++x) {
                bool draws = true;
                const std::uint32_t p = pattern.At(x, y, draws);
                if (draws)
                    row[x] = ApplyRop(table, p, 0, row[x]);
            }
        }
    }
}

std::optional<BrushPattern> PenPattern(const DeviceContext& dc)
{
    const auto* pen = dc.state.pen.As<PenObject>();
    if (!pen || pen->Style() == PS_NULL)
        return std::nullopt;
    return BrushPattern::Solid(dc.PixelFor(pen->IsDcPen() ? dc.state.dcPenColor : pen->Color()));
}

std::optional<BrushPattern> SelectedBrush(const DeviceContext& dc)
{
    const auto* brush = dc.state.brush.As<BrushObject>();
    return brush ? BrushPattern::Realise(dc, *brush) : std::nullopt;
}

void BlendCoverage(DeviceContext& dc, int x, int y, const std::uint8_t* mask, int width, int height, int pitch,
                   COLORREF color)
{
    if (!mask || width <= 0 || height <= 0)
        return;
    const std::uint32_t pixel = dc.PixelFor(color);
    const bool mono = dc.IsMonochrome();
    const auto rects = ClipRects(dc, RECT{x, y, x + width, y + height});
    DrawTarget target(dc);
    if (!target.Get())
        return;
    const POINT origin = dc.Origin();
    for (const RECT& r : rects)
        for (int py = r.top; py < r.bottom; ++py) {
            std::uint32_t* row = target->Row(py + origin.y) + origin.x;
            const std::uint8_t* coverage = mask + std::ptrdiff_t(py - y) * pitch - x;
            for (int px = r.left; px < r.right; ++px) {
                const unsigned a = coverage[px];
                if (a == 0)
                    continue;
                if (a == 255 || mono) {
                    if (a >= 128)
                        row[px] = pixel;
                    continue;
                }
                const std::uint32_t d = row[px];
                std::uint32_t out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const unsigned s = (pixel >> shift) & 0xFF;
                    const unsigned dd = (d >> shift) & 0xFF;
                    out |= ((s * a + dd * (255 - a) + 127) / 255) << shift;
                }
                row[px] = out | (d & 0xFF000000u);
            }
        }
}
