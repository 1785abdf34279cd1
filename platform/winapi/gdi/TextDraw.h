#pragma once

#include "platform/winapi/gdi/TextRaster.h"
#include "platform/winapi/gdi/TextRun.h"

#include <optional>
#include <utility>
#include <vector>

class DeviceContext;

// GDI's coordinate space is 27 bits wide; text positions are held within it so that no sum of
// positions, widths and margins can overflow.
constexpr long long CoordinateLimit = 1 << 27;
[[nodiscard]] LONG ClampCoordinate(long long value);
[[nodiscard]] POINT ClampPoint(POINT point);
[[nodiscard]] RECT ClampRect(const RECT& rect);

// How one run lands on a DC. Everything is in device coordinates.
struct RunPlacement {
    POINT reference{0, 0};
    UINT align = 0;                  // TA_LEFT/RIGHT/CENTER | TA_TOP/BASELINE/BOTTOM
    std::optional<RECT> clip;        // ETO_CLIPPED, DrawText's rectangle
    std::optional<RECT> opaque;      // ETO_OPAQUE: filled with the background colour first
    bool opaqueCell = false;         // OPAQUE background mode: the text cell gets the background
    std::vector<std::pair<int, int>> underlines; // further spans to underline (prefix characters)
    bool drawGlyphs = true;          // false: only the lines (DrawText's DT_PREFIXONLY)
};

// Draws a run in the DC's text colour (background in its background colour) through the DC's
// clip, turned by the font's escapement. Returns where the reference point moves for
// TA_UPDATECP.
PointF DrawRun(DeviceContext& dc, FontInstance& font, const TextRun& run, const RunPlacement& placement);
