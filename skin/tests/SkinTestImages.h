#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Bitmaps for the skin tests, drawn pixel by pixel.
using TPixelSource = std::function<TColor(int x, int y)>;

[[nodiscard]] std::unique_ptr<TBitmap> MakeBitmap(int width, int height, const TPixelSource& pixel,
                                                  TPixelFormat format = pf24bit);
[[nodiscard]] std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor colour);
// Frames side by side, frame k (0-based) filled with colours[k].
[[nodiscard]] std::unique_ptr<TBitmap> StripBitmap(int frameWidth, int height, const std::vector<TColor>& colours);
// The bitmap as a BMP file.
[[nodiscard]] std::vector<std::uint8_t> BmpBytes(TBitmap& bitmap);
[[nodiscard]] TColor PixelAt(TBitmap& bitmap, int x, int y);
