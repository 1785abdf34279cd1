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

// Every pixel but the last is read and written as a 4-byte word: the byte past it belongs to
// the next pixel, read harmlessly and rewritten on the next step.
void CopyRgbToBgr(const std::uint8_t* rgb, std::uint8_t* bgr, std::uint32_t count)
{
    if (!LittleEndian || count == 0) {
        CopyRgbToBgrScalar(rgb, bgr, count);
        return;
    }
    for (std::uint32_t x = 0; x + 1 < count; ++x, rgb += 3, bgr += 3) {
        std::uint32_t word;
        std::memcpy(&word, rgb, 4);
        word = ReversedColor(word);
        std::memcpy(bgr, &word, 4);
    }
    CopyRgbToBgrScalar(rgb, bgr, 1);
}

void CopyRgbaToBgrAndAlpha(const std::uint8_t* rgba, std::uint8_t* bgr, std::uint8_t* alpha, std::uint32_t count)
{
    if (!LittleEndian || count == 0) {
        CopyRgbaToBgrAndAlphaScalar(rgba, bgr, alpha, count);
        return;
    }
    std::uint32_t x = 0;
    for (; x + 1 < count; ++x, rgba += 4, bgr += 3) {
        std::uint32_t word;
        std::memcpy(&word, rgba, 4);
        alpha[x] = static_cast<std::uint8_t>(word >> 24);
        word = ReversedColor(word);
        std::memcpy(bgr, &word, 4);
    }
    CopyRgbaToBgrAndAlphaScalar(rgba, bgr, alpha + x, 1);
}
