#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <vector>

class TStream;

// A decoded DIB: bottom-up rows padded to 4 bytes, with a full colour table (2^bits entries) for
// indexed depths.
struct TDibImage {
    int Width = 0;
    int Height = 0;
    int BitsPixel = 0;
    std::vector<RGBQUAD> Colors;
    std::vector<std::uint8_t> Bits;
};

[[nodiscard]] constexpr int DibRowBytes(int width, int bitsPixel)
{
    return static_cast<int>(((static_cast<std::int64_t>(width) * bitsPixel + 31) / 32) * 4);
}

enum class TDibSource { File, PackedDib };

// Reads a BMP file (or, for resources, a packed DIB with no file header) from the stream's
// position, within the limits in GraphicsBitmap.h, in the forms TBitmap::LoadFromStream lists:
// run-length data comes out expanded, 16-bit pixels as 24 bits. Raises EInvalidGraphic "Bitmap
// image is not valid: " and what is wrong.
[[nodiscard]] TDibImage ReadDibImage(TStream& stream, TDibSource source);
// Writes a BMP file.
void WriteDibImage(TStream& stream, const TDibImage& image);
