#include "png/PngRowCopy.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The whole-pixel copies agree bit for bit with the byte-at-a-time ones, and write nothing past
// the row.
TEST(PngRowCopy, FastCopiesMatchTheScalarOnes)
{
    std::mt19937 random(5);
    for (const std::uint32_t count : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 9u, 17u, 1920u}) {
        std::vector<std::uint8_t> rgba(std::size_t{count} * 4 + 1);
        for (auto& byte : rgba)
            byte = static_cast<std::uint8_t>(random());
        // A guard byte after each target row shows a write past its end.
        std::vector<std::uint8_t> fast(std::size_t{count} * 3 + 1, 0xA5), scalar = fast;
        CopyRgbToBgr(rgba.data(), fast.data(), count);
        CopyRgbToBgrScalar(rgba.data(), scalar.data(), count);
        EXPECT_EQ(fast, scalar) << count << " RGB pixels";

        std::vector<std::uint8_t> fastAlpha(count + 1, 0xA5), scalarAlpha = fastAlpha;
        fast.assign(fast.size(), 0xA5);
        scalar = fast;
        CopyRgbaToBgrAndAlpha(rgba.data(), fast.data(), fastAlpha.data(), count);
        CopyRgbaToBgrAndAlphaScalar(rgba.data(), scalar.data(), scalarAlpha.data(), count);
        EXPECT_EQ(fast, scalar) << count << " RGBA pixels";
        EXPECT_EQ(fastAlpha, scalarAlpha) << count << " RGBA pixels";
        if (count != 0) {
            EXPECT_EQ(scalar.back(), 0xA5);
        }
    }
}

TEST(PngRowCopy, ColoursAreReversedAndAlphaSplitOff)
{
    const std::uint8_t rgba[] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint8_t bgr[6] = {}, alpha[2] = {};
    CopyRgbaToBgrAndAlphaScalar(rgba, bgr, alpha, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(bgr, bgr + 6), (std::vector<std::uint8_t>{3, 2, 1, 7, 6, 5}));
    EXPECT_EQ(std::vector<std::uint8_t>(alpha, alpha + 2), (std::vector<std::uint8_t>{4, 8}));
    CopyRgbToBgrScalar(rgba, bgr, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(bgr, bgr + 6), (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
}

} // namespace
