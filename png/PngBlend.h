#pragma once

// The pixel work of drawing an image with partial transparency: the image, at its own size, is
// blended over a copy of the destination held as a 32-bit top-down surface (blue, green, red,
// reserved per pixel). Drawing copies the destination into such a surface and back.

#include <cstddef>
#include <cstdint>

class TPNGObject;

// Each colour channel becomes (a * s + (255 - a) * d + 255) >> 8, with a the pixel's alpha (alpha
// plane, or the palette index's tRNS entry), s the image's colour and d the surface's. `surface`
// holds at least the image's height rows of `stride` bytes, each at least 4 x width.
void BlendImageOver(const TPNGObject& image, std::uint8_t* surface, std::size_t stride);

[[nodiscard]] inline std::uint8_t BlendChannel(std::uint8_t alpha, std::uint8_t source, std::uint8_t target)
{
    return static_cast<std::uint8_t>((alpha * source + (255 - alpha) * target + 255) >> 8);
}
