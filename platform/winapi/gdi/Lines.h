#pragma once

#include "platform/winapi/gdi/DeviceContext.h"

#include <span>
#include <vector>

// The pixels of thin lines, in device coordinates, end points excluded as GDI draws them.
class LineRasterizer {
public:
    void AddSegment(POINT from, POINT to);
    [[nodiscard]] const std::vector<POINT>& Pixels() const { return m_pixels; }

private:
    std::vector<POINT> m_pixels;
};

// Draws the selected pen along device points (closed: back to the first), with its style, width
// and the DC's ROP2 and background mode.
void DrawPenPath(DeviceContext& dc, std::span<const POINT> devicePoints, bool closed);
