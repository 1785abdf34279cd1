#include "png/PngRowCopy.h"

#include <bit>
#include <cstring>

namespace {

constexpr bool LittleEndian = std::endian::native == std::endian::little;

// Red, green, blue in the low three bytes of a little-endian word, as blue, green, red.
std::uint32_t ReversedColor(std::uint32_t word)
{
    return __builtin_bswap32(word) >> 8;
}

// The colours of four pixels, each in the low three bytes of a word, as 12 bytes of blue, green, red.
void StoreFourColors(std::uint8_t* bgr, const std::uint32_t (&words)[4])
{
    const std::uint64_t c0 = ReversedColor(words[0]), c1 = ReversedColor(words[1]), c2 = ReversedColor(words[2]),
                        c3 = ReversedColor(words[3]);
    const std::uint64_t low = c0 | (c1 << 24) | (c2 << 48);
    const auto high = static_cast<std::uint32_t>((c2 >> 16) | (c3 << 8));
    std::memcpy(bgr, &low, 8);
    std::memcpy(bgr + 8, &high, 4);
}

} // namespace

void CopyRgbToBgrScalar(const std::uint8_t* rgb, std::uint8_t* bgr, std::uint32_t count)
{
    for (std::uint32_t x = 0; x < count; ++x, rgb += 3, bgr += 3) {
        bgr[0] = rgb[2];
        bgr[1] = rgb[1];
        bgr[2] = rgb[0];
    }
}

void CopyRgbaToBgrAndAlphaScalar(const std::uint8_t* rgba, std::uint8_t* bgr, std::uint8_t* alpha,
                                 std::uint32_t count)
{
    for (std::uint32_t x = 0; x < count; ++x, rgba += 4, bgr += 3) {
        bgr[0] = rgba[2];
        bgr[1] = rgba[1];
        bgr[2] = rgba[0];
        alpha[x] = rgba[3];
    }
}

// Four pixels per step: their colours leave as one 8-byte and one 4-byte word. A 3-byte pixel
// is read as a 4-byte word whose last byte belongs to the next pixel, so the steps stop while a
// pixel is still left after them; the scalar copy does the rest.
void CopyRgbToBgr(const std::uint8_t* rgb, std::uint8_t* bgr, std::uint32_t count)
{
    std::uint32_t x = 0;
    if constexpr (LittleEndian)
        for (; x + 4 < count; x += 4, rgb += 12, bgr += 12) {
            std::uint32_t words[4];
            for (int i = 0; i < 4; ++i)
                std::memcpy(&words[i], rgb + 3 * i, 4);
            StoreFourColors(bgr, words);
        }
    CopyRgbToBgrScalar(rgb, bgr, count - x);
}

void CopyRgbaToBgrAndAlpha(const std::uint8_t* rgba, std::uint8_t* bgr, std::uint8_t* alpha, std::uint32_t count)
{
    std::uint32_t x = 0;
    if constexpr (LittleEndian)
        for (; x + 4 <= count; x += 4, rgba += 16, bgr += 12) {
            std::uint32_t words[4];
            std::memcpy(words, rgba, sizeof words);
            StoreFourColors(bgr, words);
            const std::uint32_t alphas = (words[0] >> 24) | ((words[1] >> 24) << 8) | ((words[2] >> 24) << 16) |
                                         (words[3] & 0xFF000000u);
            std::memcpy(alpha + x, &alphas, 4);
        }
    CopyRgbaToBgrAndAlphaScalar(rgba, bgr, alpha + x, count - x);
}
