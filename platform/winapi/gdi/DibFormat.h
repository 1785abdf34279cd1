#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <vector>

// A packed DIB described by a BITMAPINFO, in the layouts we read and write: BI_RGB at 1, 4, 8, 24
// or 32 bits, and BI_BITFIELDS at 32 bits with the standard masks. Rows are padded to 4 bytes;
// positive heights run bottom-up. Limits: width and height up to 65535 each.
struct DibFormat {
    int width = 0;
    int height = 0; // always positive
    int bitsPixel = 0;
    bool topDown = false;
    int stride = 0;
    std::vector<RGBQUAD> colors;

    // False when the header is not a layout we support.
    [[nodiscard]] static bool Parse(const BITMAPINFO* info, UINT usage, DibFormat& out);
    [[nodiscard]] std::size_t ImageSize() const { return static_cast<std::size_t>(stride) * static_cast<std::size_t>(height); }
    // The memory of top-down row `y` in `bits`.
    [[nodiscard]] std::size_t RowOffset(int y) const
    {
        return static_cast<std::size_t>(topDown ? y : height - 1 - y) * static_cast<std::size_t>(stride);
    }
};

// The colour table GetDIBits reports for a bitmap with no table of its own.
[[nodiscard]] std::vector<RGBQUAD> DefaultColorTable(int bitsPixel);
