#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"

#include <memory>
#include <string>
#include <vector>

// The bit button's stock glyphs, our own pixel art: each a 32 x 16, 256-colour bitmap of two
// 16 x 16 cells, the picture and its disabled look (an engraved grey silhouette). The bottom-left
// pixel holds the transparent colour, as the button takes it from there.
struct TStockGlyphArt {
    std::string resourceName;  // "KVCOMMON_OK" ..
    std::unique_ptr<TBitmap> bitmap;
};

// In the order of the button kinds, bkOK to bkAll.
[[nodiscard]] std::vector<TStockGlyphArt> DrawStockGlyphs();

// Every glyph side by side on a button-face background, scaled up for looking at.
[[nodiscard]] std::unique_ptr<TBitmap> StockGlyphPreview(const std::vector<TStockGlyphArt>& glyphs, int scale);

// The transparent colour the glyphs are drawn on.
[[nodiscard]] TColor StockGlyphTransparentColour();
