#include "png/PngBlend.h"
#include "png/PngCodec.h"
#include "png/tests/PngTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PngBlend, ChannelsMixByAlpha)
{
    for (int value = 0; value < 256; ++value) {
        const auto v = static_cast<std::uint8_t>(value);
        ASSERT_EQ(BlendChannel(255, v, 77), v);
        ASSERT_EQ(BlendChannel(0, 77, v), v);
    }
    EXPECT_EQ(BlendChannel(128, 255, 0), 128);
}

TEST(PngBlend, RgbaPixelsBlendOverTheSurface)
{
    // One row: opaque red, transparent, half-transparent white.
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder()
                             .Signature()
                             .Header(3, 1, 8, COLOR_RGBALPHA)
                             .ImageData({0, 255, 0, 0, 255, 9, 9, 9, 0, 255, 255, 255, 128})
                             .End()
                             .Bytes());
    std::vector<std::uint8_t> surface(3 * 4, 0);
    surface[4] = 50;
    BlendImageOver(image, surface.data(), 12);
    EXPECT_EQ(std::vector<std::uint8_t>(surface.begin(), surface.begin() + 3), (std::vector<std::uint8_t>{0, 0, 255}));
    EXPECT_EQ(surface[4], 50);
    EXPECT_EQ(surface[8], 128);
}

TEST(PngBlend, PalettePixelsTakeTheirEntrysAlphaAndStopAtTheImageWidth)
{
    // 10 pixels of 1-bit palette: index 1 (white, alpha 0) at even x, index 0 (blue, opaque) at odd x.
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder()
                             .Signature()
                             .Header(10, 1, 1, COLOR_PALETTE)
                             .Chunk("PLTE", {0, 0, 255, 255, 255, 255})
                             .Chunk("tRNS", {255, 0})
                             .ImageData({0, 0xAA, 0x80})
                             .End()
                             .Bytes());
    EXPECT_EQ(image.TransparencyKind(), TTransparencyKind::tkSingleColor);
    std::vector<std::uint8_t> surface(11 * 4, 7);
    BlendImageOver(image, surface.data(), 11 * 4);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(surface[x * 4], x % 2 ? 255 : 7) << x;
    EXPECT_EQ(surface[10 * 4], 7) << "past the image's width";
}

} // namespace
