#pragma once

#include "png/PngCodec.h"

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

// A file of png/tests/data in the repository.
[[nodiscard]] std::string TestDataPath(const std::string& relative);
[[nodiscard]] TBytes ReadFileBytes(const std::string& path);

void LoadFromBytes(TPNGObject& image, const TBytes& bytes);
[[nodiscard]] TBytes SaveToBytes(TPNGObject& image);

// An image as 8-bit red, green, blue, alpha per pixel, the form in which both decoders are
// compared.
struct TRgbaImage {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Pixels;
    bool operator==(const TRgbaImage&) const = default;
};
// Where two images differ first, for failure messages.
[[nodiscard]] std::string FirstDifference(const TRgbaImage& expected, const TRgbaImage& actual);

// libpng's decoding, reduced the way this codec stores images: 16-bit samples keep their high byte,
// low-depth greys are scaled to 0 .. 255, the gAMA chunk's correction for a 2.2 display is applied
// to colours (not alpha), and a tRNS key colour makes the pixels equal to it (compared as reduced
// and corrected) transparent.
[[nodiscard]] TRgbaImage DecodeWithLibpng(const TBytes& file);
// libspng's decoding to 16-bit red, green, blue, alpha samples, with a tRNS key colour applied as
// other programs apply it: a pixel is transparent only when its samples equal the key exactly.
[[nodiscard]] std::vector<std::uint16_t> DecodeWithSpng16(const TBytes& file);
// Our image as seen through its public pixel access.
[[nodiscard]] TRgbaImage PixelsOf(const TPNGObject& image);

// Builds PNG files chunk by chunk, with correct CRCs unless told otherwise.
class TPngBuilder {
public:
    TPngBuilder& Signature();
    TPngBuilder& Chunk(const std::string& name, const TBytes& data);
    TPngBuilder& Header(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colorType,
                        std::uint8_t interlace = 0);
    // Deflates `filteredRows` (filter bytes included) into IDAT chunks of the given data sizes; the
    // last size repeats for whatever remains.
    TPngBuilder& ImageData(const TBytes& filteredRows, std::vector<std::size_t> chunkSizes = {1u << 20});
    TPngBuilder& End();
    TPngBuilder& Raw(const TBytes& bytes);
    [[nodiscard]] const TBytes& Bytes() const { return m_bytes; }

private:
    TBytes m_bytes;
};

[[nodiscard]] TBytes Deflate(const TBytes& data);
[[nodiscard]] TBytes BigEndian32(std::uint32_t value);
