#pragma once

#include "platform/winapi/gdi/DeviceContext.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class BrushObject;

// The per-pixel level of the GDI: 32-bit pixels, a realised brush, and raster operations.
// Entry points map and clip first; these work on device rectangles already clipped.

// A brush realised for one DC: a solid pixel or a tile anchored at the brush origin, with the
// pixels a transparent hatch leaves alone.
class BrushPattern {
public:
    [[nodiscard]] static BrushPattern Solid(std::uint32_t pixel);
    // The DC's view of `brush` (text and background colours for hatches and monochrome patterns);
    // nothing for a null brush.
    [[nodiscard]] static std::optional<BrushPattern> Realise(const DeviceContext& dc, const BrushObject& brush);

    [[nodiscard]] bool IsSolid() const { return m_tile.Width() == 0; }
    [[nodiscard]] std::uint32_t SolidPixel() const { return m_solid; }
    // The pattern pixel at device (x, y); `draws` false where a transparent hatch lets through.
    [[nodiscard]] std::uint32_t At(int x, int y, bool& draws) const;

private:
    std::uint32_t m_solid = 0;
    Surface m_tile;
    std::vector<std::uint8_t> m_draws; // per tile pixel; empty = all
    POINT m_origin{0, 0};
};

// The 8-bit boolean table of a ROP3 code: bit (P << 2 | S << 1 | D) is the result.
[[nodiscard]] constexpr std::uint8_t RopTable(DWORD rop)
{
    return static_cast<std::uint8_t>(rop >> 16);
}
// The ROP3 table equivalent to a ROP2 code (pen and destination only).
[[nodiscard]] std::uint8_t RopTableFromRop2(int rop2);
[[nodiscard]] constexpr bool RopUsesSource(std::uint8_t t)
{
    return ((t >> 2) ^ t) & 0x33;
}
[[nodiscard]] constexpr bool RopUsesPattern(std::uint8_t t)
{
    return ((t >> 4) ^ t) & 0x0F;
}
// Applies the table bitwise to pattern, source and destination pixels.
[[nodiscard]] std::uint32_t ApplyRop(std::uint8_t table, std::uint32_t p, std::uint32_t s, std::uint32_t d);
// ApplyRop over `count` destination pixels with a solid pattern pixel and `source` (nullptr when
// the table does not read it): whole-row loops for the common tables, the same bits as ApplyRop.
void ApplyRopRow(std::uint8_t table, std::uint32_t* dest, const std::uint32_t* source, std::uint32_t p, int count);

// Fills device rectangles (already clipped) with the pattern under `table` (no source).
void FillRects(DeviceContext& dc, std::span<const RECT> rects, const BrushPattern& pattern, std::uint8_t table);
// The clipped device rectangles of `bounds` in `dc`.
[[nodiscard]] std::vector<RECT> ClipRects(const DeviceContext& dc, const RECT& bounds);
[[nodiscard]] std::vector<RECT> ClipRects(const DeviceContext& dc, const Region& region);

// The pen as a brush, for the ROP2 and colour rules of lines.
[[nodiscard]] std::optional<BrushPattern> PenPattern(const DeviceContext& dc);
[[nodiscard]] std::optional<BrushPattern> SelectedBrush(const DeviceContext& dc);

// The rounded rectangle (or, with full-size corners, the ellipse) in `box`, as regions and
// shapes fill it.
[[nodiscard]] Region RoundedRegion(const RECT& box, int cornerWidth, int cornerHeight);
