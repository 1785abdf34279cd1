#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <span>
#include <vector>

// A set of pixels kept as y-x banded rectangles, as Win32 keeps a region: sorted by top then
// left; the rectangles of one band share top and bottom, do not touch, and vertically adjacent
// bands with the same spans are merged. That canonical form makes equality a plain comparison.
class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);

    [[nodiscard]] static Region Combine(const Region& a, const Region& b, int mode);
    // Pixel centres inside the polygon, as GDI fills: ALTERNATE or WINDING.
    [[nodiscard]] static Region FromPolygons(std::span<const POINT> points, std::span<const int> counts, int fillMode);
    // Rows given as x spans per scan line (used for ellipses and round rectangles).
    struct Span {
        int y, left, right;
    };
    [[nodiscard]] static Region FromSpans(std::span<const Span> spans);
    // The union of any rectangles, in any order, overlapping or not; empty ones are ignored.
    // One sweep from top to bottom: cheap for the many one-line rectangles of a skin's shape.
    [[nodiscard]] static Region FromRects(std::span<const RECT> rects);

    [[nodiscard]] const std::vector<RECT>& Rects() const { return m_rects; }
    [[nodiscard]] bool IsEmpty() const { return m_rects.empty(); }
    [[nodiscard]] RECT Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    [[nodiscard]] int Kind() const;
    [[nodiscard]] bool Contains(int x, int y) const;
    [[nodiscard]] bool Intersects(const RECT& rect) const;
    void Offset(int dx, int dy);
    // The rectangles clipped to `rect`, in band order.
    [[nodiscard]] std::vector<RECT> Clip(const RECT& rect) const;

    bool operator==(const Region& other) const;

private:
    std::vector<RECT> m_rects;
};
