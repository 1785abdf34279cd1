#include "platform/classlib/forms/GraphicsBitmapFile.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WORD BitmapSignature = 0x4D42; // "BM"
constexpr DWORD CoreHeaderSize = 12;
constexpr DWORD LongestHeaderSize = 124; // BITMAPV5HEADER

[[noreturn]] void RaiseInvalid()
{
    throw EInvalidGraphic("Bitmap image is not valid");
}

// Reads exactly `count` bytes or raises: a short BMP is not a BMP.
void ReadExactly(TStream& stream, void* buffer, std::size_t count)
{
    if (stream.Read(buffer, count) != count)
        RaiseInvalid();
}

template <class T>
T ReadLittle(const std::uint8_t* bytes)
{
    T value{};
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

struct TDibHeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: top-down
    int Planes = 0;
    int BitsPixel = 0;
    DWORD Compression = BI_RGB;
    DWORD ColorsUsed = 0;
    DWORD Size = 0;
    bool Core = false;
    DWORD Masks[3] = {0, 0, 0};
};

TDibHeader ReadHeader(TStream& stream)
{
    std::uint8_t bytes[LongestHeaderSize] = {};
    ReadExactly(stream, bytes, 4);
    TDibHeader header;
    header.Size = ReadLittle<DWORD>(bytes);
    if (header.Size != CoreHeaderSize && (header.Size < sizeof(BITMAPINFOHEADER) || header.Size > LongestHeaderSize))
        RaiseInvalid();
    ReadExactly(stream, bytes + 4, header.Size - 4);
    if (header.Size == CoreHeaderSize) {
        header.Core = true;
        header.Width = ReadLittle<WORD>(bytes + 4);
        header.Height = ReadLittle<WORD>(bytes + 6);
        header.Planes = ReadLittle<WORD>(bytes + 8);
        header.BitsPixel = ReadLittle<WORD>(bytes + 10);
        return header;
    }
    header.Width = ReadLittle<LONG>(bytes + 4);
    header.Height = ReadLittle<LONG>(bytes + 8);
    header.Planes = ReadLittle<WORD>(bytes + 12);
    header.BitsPixel = ReadLittle<WORD>(bytes + 14);
    header.Compression = ReadLittle<DWORD>(bytes + 16);
    header.ColorsUsed = ReadLittle<DWORD>(bytes + 32);
    if (header.Compression == BI_BITFIELDS) {
        // The masks follow a plain info header and are part of the longer ones.
        if (header.Size == sizeof(BITMAPINFOHEADER))
            ReadExactly(stream, bytes + 40, 12);
        for (int i = 0; i < 3; ++i)
            header.Masks[i] = ReadLittle<DWORD>(bytes + 40 + 4 * i);
    }
    return header;
}

void Validate(const TDibHeader& header)
{
    const std::int64_t height = header.Height < 0 ? -header.Height : header.Height;
    if (header.Width < 1 || header.Width > MaxBitmapDimension || height < 1 || height > MaxBitmapDimension ||
        header.Width * height > MaxBitmapPixels || header.Planes != 1)
        RaiseInvalid();
    const int bits = header.BitsPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        RaiseInvalid();
    const bool standardFields = header.Masks[0] == 0x00FF0000 && header.Masks[1] == 0x0000FF00 &&
                                header.Masks[2] == 0x000000FF;
    if (header.Compression != BI_RGB && !(header.Compression == BI_BITFIELDS && bits == 32 && standardFields))
        RaiseInvalid();
    if (bits <= 8 && header.ColorsUsed > (1u << bits))
        RaiseInvalid();
}

std::vector<RGBQUAD> ReadColors(TStream& stream, const TDibHeader& header)
{
    if (header.BitsPixel > 8)
        return {};
    const std::size_t full = std::size_t{1} << header.BitsPixel;
    const std::size_t count = header.ColorsUsed ? header.ColorsUsed : full;
    const std::size_t entrySize = header.Core ? 3 : 4;
    std::vector<std::uint8_t> bytes(count * entrySize);
    ReadExactly(stream, bytes.data(), bytes.size());
    // Indexes past a short table read black.
    std::vector<RGBQUAD> colors(full, RGBQUAD{0, 0, 0, 0});
    for (std::size_t i = 0; i < count; ++i)
        colors[i] = {bytes[i * entrySize], bytes[i * entrySize + 1], bytes[i * entrySize + 2], 0};
    return colors;
}

} // namespace

TDibImage ReadDibImage(TStream& stream, TDibSource source)
{
    const std::int64_t start = stream.Position();
    BITMAPFILEHEADER fileHeader{};
    if (source == TDibSource::File) {
        std::uint8_t bytes[sizeof fileHeader];
        ReadExactly(stream, bytes, sizeof bytes);
        fileHeader.bfType = ReadLittle<WORD>(bytes);
        fileHeader.bfOffBits = ReadLittle<DWORD>(bytes + 10);
        if (fileHeader.bfType != BitmapSignature)
            RaiseInvalid();
    }
    const TDibHeader header = ReadHeader(stream);
    Validate(header);

    TDibImage image;
    image.Width = static_cast<int>(header.Width);
    image.Height = static_cast<int>(header.Height < 0 ? -header.Height : header.Height);
    image.BitsPixel = header.BitsPixel;
    image.Colors = ReadColors(stream, header);
    if (fileHeader.bfOffBits != 0) {
        const std::int64_t bitsAt = start + fileHeader.bfOffBits;
        if (bitsAt < stream.Position())
            RaiseInvalid();
        stream.SetPosition(bitsAt);
    }

    const std::size_t rowBytes = static_cast<std::size_t>(DibRowBytes(image.Width, image.BitsPixel));
    const std::size_t size = rowBytes * static_cast<std::size_t>(image.Height);
    if (stream.Size() - stream.Position() < static_cast<std::int64_t>(size))
        RaiseInvalid();
    image.Bits.resize(size);
    ReadExactly(stream, image.Bits.data(), size);
    if (header.Height < 0) {
        for (std::size_t top = 0, bottom = image.Height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(image.Bits.begin() + top * rowBytes, image.Bits.begin() + (top + 1) * rowBytes,
                             image.Bits.begin() + bottom * rowBytes);
    }
    return image;
}

void WriteDibImage(TStream& stream, const TDibImage& image)
{
    const DWORD colorBytes = static_cast<DWORD>(image.Colors.size() * sizeof(RGBQUAD));
    const DWORD offBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colorBytes;
    const BITMAPFILEHEADER fileHeader{BitmapSignature, offBits + static_cast<DWORD>(image.Bits.size()), 0, 0, offBits};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = image.Width;
    header.biHeight = image.Height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(image.BitsPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(image.Bits.size());
    stream.WriteBuffer(&fileHeader, sizeof fileHeader);
    stream.WriteBuffer(&header, sizeof header);
    if (colorBytes)
        stream.WriteBuffer(image.Colors.data(), colorBytes);
    stream.WriteBuffer(image.Bits.data(), image.Bits.size());
}
