#pragma once

// Copies of reconstructed 8-bit colour rows into the image storage's layout: red, green, blue
// become blue, green, red, and alpha goes to its own plane. The fast versions move a whole pixel
// per step; the scalar ones, a byte at a time, are the reference the fast ones must match.

#include <cstdint>

void CopyRgbToBgr(const std::uint8_t* rgb, std::uint8_t* bgr, std::uint32_t count);
void CopyRgbToBgrScalar(const std::uint8_t* rgb, std::uint8_t* bgr, std::uint32_t count);

void CopyRgbaToBgrAndAlpha(const std::uint8_t* rgba, std::uint8_t* bgr, std::uint8_t* alpha, std::uint32_t count);
void CopyRgbaToBgrAndAlphaScalar(const std::uint8_t* rgba, std::uint8_t* bgr, std::uint8_t* alpha,
                                 std::uint32_t count);
