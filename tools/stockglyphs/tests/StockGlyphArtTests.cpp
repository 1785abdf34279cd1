// The committed stock glyphs are exactly what the code draws, and they are bitmaps of the shape
// the bit button cuts into cells.

#include "tools/stockglyphs/lib/StockGlyphArt.h"

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/GraphicsCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::filesystem::path Assets = std::filesystem::path(MODEM_SOURCE_DIR) / "assets" / "controls";

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Saved(TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

TEST(StockGlyphArt, CommittedGlyphsAreWhatTheCodeDraws)
{
    const auto glyphs = DrawStockGlyphs();
    ASSERT_EQ(glyphs.size(), 10u);
    for (const TStockGlyphArt& glyph : glyphs) {
        SCOPED_TRACE(glyph.resourceName);
        EXPECT_EQ(ReadFile(Assets / (glyph.resourceName + ".bmp")), Saved(*glyph.bitmap))
            << "regenerate with the target regenerate_stock_glyphs";
    }
}

TEST(StockGlyphArt, EachGlyphIsTwoCellsOn256ColoursWithTheTransparentColourBottomLeft)
{
    for (const TStockGlyphArt& glyph : DrawStockGlyphs()) {
        SCOPED_TRACE(glyph.resourceName);
        TBitmap& bitmap = *glyph.bitmap;
        EXPECT_EQ(bitmap.Width(), 32);
        EXPECT_EQ(bitmap.Height(), 16);
        EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
        EXPECT_EQ(bitmap.TransparentColor(), StockGlyphTransparentColour());
        // Both cells hold a picture, and the disabled one shows no colour of the first.
        int drawn[2] = {0, 0};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                const TColor colour = bitmap.Canvas()->Pixels(x, y);
                if (colour == StockGlyphTransparentColour())
                    continue;
                ++drawn[x / 16];
                if (x >= 16) {
                    const COLORREF rgb = ColorToRGB(colour);
                    EXPECT_TRUE(GetRValue(rgb) == GetGValue(rgb) && GetGValue(rgb) == GetBValue(rgb)) << x << "," << y;
                }
            }
        EXPECT_GT(drawn[0], 20);
        EXPECT_GT(drawn[1], drawn[0]);
    }
}

} // namespace
