#include "platform/winapi/gdi/FrameGlyphs.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <array>

Glyph::Glyph(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_bits(std::size_t(m_width) * std::size_t(m_height))
{
}

bool Glyph::At(int x, int y) const
{
    return x >= 0 && y >= 0 && x < m_width && y < m_height && m_bits[std::size_t(y * m_width + x)];
}

void Glyph::Set(int x, int y, bool on)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_bits[std::size_t(y * m_width + x)] = on;
}

void Glyph::Fill(int left, int top, int right, int bottom, bool on)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Set(x, y, on);
}

void Glyph::Add(const Glyph& other, int x, int y)
{
    for (int oy = 0; oy < other.m_height; ++oy)
        for (int ox = 0; ox < other.m_width; ++ox)
            if (other.At(ox, oy))
                Set(x + ox, y + oy);
}

void Glyph::Remove(const Glyph& other)
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (other.At(x, y))
                Set(x, y, false);
}

void Glyph::KeepHalf(bool upperLeft)
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if ((x + y < m_width - 1) != upperLeft)
                Set(x, y, false);
}

Glyph Glyph::Transposed() const
{
    Glyph result(m_height, m_width);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            result.Set(y, x, At(x, y));
    return result;
}

Glyph Glyph::FlippedLeftRight() const
{
    Glyph result(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            result.Set(m_width - 1 - x, y, At(x, y));
    return result;
}

Glyph Glyph::FlippedUpDown() const
{
    return Transposed().FlippedLeftRight().Transposed();
}

void Glyph::Paint(HDC dc, int x, int y, COLORREF colour) const
{
    const GdiObject brush(CreateSolidBrush(colour));
    for (int row = 0; row < m_height; ++row) {
        for (int start = 0; start < m_width;) {
            if (!At(start, row)) {
                ++start;
                continue;
            }
            int end = start;
            while (end < m_width && At(end, row))
                ++end;
            const RECT run{x + start, y + row, x + end, y + row + 1};
            FillRect(dc, &run, brush.Get());
            start = end;
        }
    }
}

Glyph CheckMarkGlyph(int inside)
{
    // Each column is a vertical stroke `thickness` long; the strokes step down to the turning
    // column `turn`, then up to the top right. The mark is as tall as it is wide.
    const int turn = std::max(1, (inside - 1) / 4);
    const int width = 3 * turn + 1;
    const int thickness = turn + 1;
    Glyph mark(width, width);
    for (int x = 0; x < width; ++x) {
        const int top = x <= turn ? turn + x : 3 * turn - x;
        mark.Fill(x, top, x + 1, top + thickness);
    }
    return mark;
}

Glyph ArrowGlyph(int rows, ArrowDirection direction)
{
    rows = std::max(rows, 1);
    Glyph up(2 * rows - 1, rows);
    for (int row = 0; row < rows; ++row)
        up.Fill(rows - 1 - row, row, rows + row, row + 1);
    switch (direction) {
    case ArrowDirection::Up: return up;
    case ArrowDirection::Down: return up.FlippedUpDown();
    case ArrowDirection::Left: return up.Transposed();
    case ArrowDirection::Right: return up.Transposed().FlippedLeftRight();
    }
    return up;
}

Glyph DiscGlyph(int diameter)
{
    Glyph disc(diameter, diameter);
    // Pixel centres at (2x + 1) / 2, in half pixels to stay in integers.
    const int r2 = diameter * diameter;
    for (int y = 0; y < diameter; ++y)
        for (int x = 0; x < diameter; ++x) {
            const int dx = 2 * x + 1 - diameter;
            const int dy = 2 * y + 1 - diameter;
            disc.Set(x, y, dx * dx + dy * dy <= r2);
        }
    return disc;
}

Glyph CloseGlyph(int height)
{
    // Two strokes two pixels wide, crossing in the middle.
    Glyph cross(height + 1, height);
    for (int row = 0; row < height; ++row) {
        cross.Fill(row, row, row + 2, row + 1);
        cross.Fill(height - 1 - row, row, height + 1 - row, row + 1);
    }
    return cross;
}

Glyph MinimiseGlyph(int height)
{
    Glyph bar(height - 1, height);
    bar.Fill(0, height - 2, height - 1, height);
    return bar;
}

namespace {

// A window outline with the thick top edge of a caption bar.
void AddWindowOutline(Glyph& glyph, int left, int top, int width, int height)
{
    glyph.Fill(left, top, left + width, top + height, false);
    glyph.Fill(left, top, left + width, top + 2);
    glyph.Fill(left, top + height - 1, left + width, top + height);
    glyph.Fill(left, top, left + 1, top + height);
    glyph.Fill(left + width - 1, top, left + width, top + height);
}

} // namespace

Glyph MaximiseGlyph(int height)
{
    Glyph window(height + 2, height + 1);
    AddWindowOutline(window, 0, 0, height + 2, height + 1);
    return window;
}

Glyph RestoreGlyph(int height)
{
    // Two overlapping windows; the front one hides the back one's lower left.
    const int box = std::max(height - 1, 4);
    const int offset = std::max(box / 3, 1);
    Glyph windows(box + offset, box + offset);
    AddWindowOutline(windows, offset, 0, box, box);
    AddWindowOutline(windows, 0, offset, box, box);
    return windows;
}

Glyph HelpGlyph(int height)
{
    // A question mark on a 6 x 7 grid, scaled to `height`.
    static constexpr std::array<const char*, 7> Shape = {
        ".XXXX.", "XX..XX", "....XX", "...XX.", "..XX..", "......", "..XX..",
    };
    const int width = std::max(1, height * 6 / 7);
    Glyph mark(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mark.Set(x, y, Shape[std::size_t(y * 7 / height)][x * 6 / width] == 'X');
    return mark;
}

HBRUSH CreateCheckerBrush(COLORREF even, COLORREF odd)
{
    std::array<std::uint32_t, 64> pixels{};
    const std::uint32_t evenPixel = PixelFromColor(even);
    const std::uint32_t oddPixel = PixelFromColor(odd);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels[std::size_t(y * 8 + x)] = (x + y) % 2 == 0 ? evenPixel : oddPixel;
    const GdiObject tile(CreateBitmap(8, 8, 1, 32, pixels.data()));
    return CreatePatternBrush(tile.Get());
}
