#pragma once

// Helpers shared by the codec's own files.

#include "png/PngCodec.h"

#include <cstddef>
#include <cstdint>

namespace png::detail {

inline constexpr std::uint8_t PngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// The PNG limit on a chunk's data length.
inline constexpr std::uint32_t PngMaxChunkLength = 0x7FFFFFFF;

[[nodiscard]] constexpr TColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}
[[nodiscard]] constexpr std::uint8_t RedOf(TColor color) { return static_cast<std::uint8_t>(color); }
[[nodiscard]] constexpr std::uint8_t GreenOf(TColor color) { return static_cast<std::uint8_t>(color >> 8); }
[[nodiscard]] constexpr std::uint8_t BlueOf(TColor color) { return static_cast<std::uint8_t>(color >> 16); }

[[nodiscard]] inline std::uint32_t ReadBigEndian32(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           bytes[3];
}
inline void WriteBigEndian32(std::uint8_t* bytes, std::uint32_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value >> 24);
    bytes[1] = static_cast<std::uint8_t>(value >> 16);
    bytes[2] = static_cast<std::uint8_t>(value >> 8);
    bytes[3] = static_cast<std::uint8_t>(value);
}

// True when all `count` bytes were read.
[[nodiscard]] bool ReadExactly(TStream& stream, void* buffer, std::size_t count);
// Reads a chunk's 4-byte length and raises EPngUnexpectedEnd when the stream cannot hold that
// much data (or it exceeds the PNG limit); false when the stream has ended.
[[nodiscard]] bool ReadChunkLength(TStream& stream, std::size_t& length);
// Reads a 4-byte CRC and raises EPngInvalidCRC unless it equals `expected`.
void CheckCrc(TStream& stream, std::uint32_t expected);

[[nodiscard]] std::uint32_t CrcStart(const std::string& name);
[[nodiscard]] std::uint32_t CrcUpdate(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count);

// Bits per pixel of the storage for a colour type and bit depth.
[[nodiscard]] unsigned StorageBitsPerPixel(std::uint8_t colorType, std::uint8_t bitDepth);
[[nodiscard]] bool IsGreyscale(std::uint8_t colorType);

// Adam7 passes.
struct TAdam7Pass {
    std::uint32_t RowStart, ColumnStart, RowStep, ColumnStep;
};
inline constexpr TAdam7Pass Adam7Passes[7] = {
    {0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1},
};
[[nodiscard]] inline std::uint32_t PassWidth(const TAdam7Pass& pass, std::uint32_t width)
{
    return (width + pass.ColumnStep - pass.ColumnStart - 1) / pass.ColumnStep;
}

} // namespace png::detail

namespace png::detail {

// The value of pixel x in a row packed with `bits` bits per pixel from the high bits of each byte.
[[nodiscard]] inline unsigned PackedValue(const std::uint8_t* row, std::uint32_t x, unsigned bits)
{
    if (bits == 8)
        return row[x];
    const unsigned perByte = 8 / bits;
    const unsigned shift = 8 - bits - bits * (x % perByte);
    return (row[x / perByte] >> shift) & ((1u << bits) - 1);
}

inline void SetPackedValue(std::uint8_t* row, std::uint32_t x, unsigned bits, unsigned value)
{
    if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(value);
        return;
    }
    const unsigned perByte = 8 / bits;
    const unsigned shift = 8 - bits - bits * (x % perByte);
    const unsigned mask = ((1u << bits) - 1) << shift;
    std::uint8_t& byte = row[x / perByte];
    byte = static_cast<std::uint8_t>((byte & ~mask) | ((value << shift) & mask));
}

} // namespace png::detail
