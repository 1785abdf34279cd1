#include "platform/winapi/display/headless/PngWriter.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

void AppendBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendChunk(std::string& out, const char (&type)[5], const std::string& data)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const auto* crcStart = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0, crcStart, static_cast<uInt>(4 + data.size()))));
}

// Each row: filter byte 0 (none), then R, G, B.
std::vector<Bytef> RawScanlines(int width, int height, const std::uint32_t* pixels,
                                std::ptrdiff_t strideBytes)
{
    std::vector<Bytef> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    const auto* base = reinterpret_cast<const std::uint8_t*>(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(base + y * strideBytes);
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            raw.push_back(static_cast<Bytef>(row[x] >> 16));
            raw.push_back(static_cast<Bytef>(row[x] >> 8));
            raw.push_back(static_cast<Bytef>(row[x]));
        }
    }
    return raw;
}

std::string Deflate(const std::vector<Bytef>& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, raw.data(),
                  static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK)
        throw std::runtime_error("PNG compression failed");
    packed.resize(size);
    return packed;
}

} // namespace

std::string EncodePng(int width, int height, const std::uint32_t* pixels, std::ptrdiff_t strideBytes)
{
    if (width <= 0 || height <= 0 || !pixels)
        throw std::invalid_argument("EncodePng: empty image");
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", Deflate(RawScanlines(width, height, pixels, strideBytes)));
    AppendChunk(png, "IEND", std::string());
    return png;
}

bool WritePngFile(const std::filesystem::path& path, int width, int height,
                  const std::uint32_t* pixels, std::ptrdiff_t strideBytes)
{
    const std::string png = EncodePng(width, height, pixels, strideBytes);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file.flush());
}
