#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// A PNG encoder just large enough for people to look at what a window shows: 8-bit RGB, no
// filters, one deflated IDAT. Pixels are 0xAARRGGBB words, top-down rows `strideBytes` apart;
// alpha is dropped because window pixels carry none that means anything.
[[nodiscard]] std::string EncodePng(int width, int height, const std::uint32_t* pixels,
                                    std::ptrdiff_t strideBytes);

// Writes EncodePng's result to `path`; false when the file cannot be written.
[[nodiscard]] bool WritePngFile(const std::filesystem::path& path, int width, int height,
                                const std::uint32_t* pixels, std::ptrdiff_t strideBytes);
