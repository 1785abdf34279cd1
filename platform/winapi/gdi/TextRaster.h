#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <span>
#include <vector>

// A coverage mask over a rectangle of device pixels: text is composed here (glyphs, underlines,
// rotated backgrounds) and then blended in one go through the DC's clip.
struct PointF {
    double x;
    double y;
};

class CoverageMask {
public:
    explicit CoverageMask(const RECT& bounds);

    [[nodiscard]] const RECT& Bounds() const { return m_bounds; }
    [[nodiscard]] int Width() const { return m_bounds.right - m_bounds.left; }
    [[nodiscard]] int Height() const { return m_bounds.bottom - m_bounds.top; }
    [[nodiscard]] const std::uint8_t* Data() const { return m_coverage.data(); }
    [[nodiscard]] std::uint8_t At(int x, int y) const; // device coordinates; 0 outside

    // Adds an image whose top-left pixel lands at device (x, y); coverage combines as two
    // successive blends would.
    void Add(int x, int y, const std::uint8_t* image, int width, int height, int pitch);
    void FillRect(const RECT& rect);
    // Fills a polygon (non-zero winding) with anti-aliased edges; points in device pixels.
    void FillPolygon(std::span<const PointF> points);
    // Clears everything outside `rect`.
    void ClipTo(const RECT& rect);

private:
    void AddCoverage(int x, int y, int amount);

    RECT m_bounds;
    std::vector<std::uint8_t> m_coverage;
};

// The smallest rectangle holding every point (pixels partly covered included).
[[nodiscard]] RECT BoundsOf(std::span<const PointF> points);
