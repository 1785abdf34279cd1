#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The LED display's 5 x 7 dot-matrix font for the character codes 32 to 255 of the Windows
// Western code page. One byte per column, left to right; bit 7 is the top row and bit 1 the
// bottom one, bit 0 is unused.
using TLEDGlyph = std::array<std::uint8_t, 5>;

// Control codes (below 32) show as the solid block of code 127.
[[nodiscard]] const TLEDGlyph& LEDGlyph(unsigned char code);

// The character codes of UTF-8 text, one byte each: what the code page holds keeps its code, the
// rest shows as '?'. Bytes that are no UTF-8 stand for themselves.
[[nodiscard]] std::string LEDCodes(std::string_view text);
