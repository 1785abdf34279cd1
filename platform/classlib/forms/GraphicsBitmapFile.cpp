#include "platform/classlib/forms/GraphicsBitmapFile.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsBitmapRle.h"
#include "platform/classlib/core/Streams.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace {

constexpr WORD BitmapSignature = 0x4D42; // "BM"
constexpr DWORD CoreHeaderSize = 12;
constexpr DWORD LongestHeaderSize = 124; // BITMAPV5HEADER

[[noreturn]] void RaiseInvalid(const std::string& reason)
{
    throw EInvalidGraphic("Bitmap image is not valid: " + reason);
}

// Reads exactly `count` bytes or raises: a short BMP is not a BMP.
void ReadExactly(TStream& stream, void* buffer, std::size_t count, const char* part)
{
    if (stream.Read(buffer, count) != count)
        RaiseInvalid(std::string("the data ends inside its ") + part);
}

template <class T>
T ReadLittle(const std::uint8_t* bytes)
{
    T value{};
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Red, green and blue as bit masks of a 16- or 32-bit pixel.
struct TChannelMasks {
    DWORD Red = 0;
    DWORD Green = 0;
    DWORD Blue = 0;
    bool operator==(const TChannelMasks&) const = default;
};

// What a 16-bit pixel holds without BI_BITFIELDS (5-5-5), and what a 32-bit one holds (and the
// only layout our 32-bit DIBs have).
constexpr TChannelMasks Masks555{0x7C00, 0x03E0, 0x001F};
constexpr TChannelMasks Masks888{0x00FF0000, 0x0000FF00, 0x000000FF};

struct TDibHeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: top-down
    int Planes = 0;
    int BitsPixel = 0;
    DWORD Compression = BI_RGB;
    DWORD SizeImage = 0;
    DWORD ColorsUsed = 0;
    DWORD Size = 0;
    bool Core = false;
    TChannelMasks Masks;

    [[nodiscard]] bool TopDown() const { return Height < 0; }
    [[nodiscard]] bool RunLength() const { return Compression == BI_RLE8 || Compression == BI_RLE4; }
};

TDibHeader ReadHeader(TStream& stream)
{
    std::uint8_t bytes[LongestHeaderSize] = {};
    ReadExactly(stream, bytes, 4, "header");
    TDibHeader header;
    header.Size = ReadLittle<DWORD>(bytes);
    if (header.Size != CoreHeaderSize && (header.Size < sizeof(BITMAPINFOHEADER) || header.Size > LongestHeaderSize))
        RaiseInvalid("its header size " + std::to_string(header.Size) + " is none of the BMP header sizes");
    ReadExactly(stream, bytes + 4, header.Size - 4, "header");
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
    header.SizeImage = ReadLittle<DWORD>(bytes + 20);
    header.ColorsUsed = ReadLittle<DWORD>(bytes + 32);
    if (header.Compression == BI_BITFIELDS) {
        // The masks follow a plain info header and are part of the longer ones.
        if (header.Size == sizeof(BITMAPINFOHEADER))
            ReadExactly(stream, bytes + 40, 12, "bit fields");
        header.Masks = {ReadLittle<DWORD>(bytes + 40), ReadLittle<DWORD>(bytes + 44), ReadLittle<DWORD>(bytes + 48)};
    } else if (header.BitsPixel == 16) {
        header.Masks = Masks555;
    } else if (header.BitsPixel == 32) {
        header.Masks = Masks888;
    }
    return header;
}

// A mask Windows takes: one run of set bits within the pixel.
bool IsUsableMask(DWORD mask, int bitsPixel)
{
    const std::uint64_t limit = std::uint64_t{1} << bitsPixel;
    return mask != 0 && mask < limit && std::has_single_bit((mask >> std::countr_zero(mask)) + std::uint64_t{1});
}

std::string CompressionName(DWORD compression)
{
    switch (compression) {
    case BI_RLE8: return "RLE8";
    case BI_RLE4: return "RLE4";
    case BI_BITFIELDS: return "bit fields";
    case 4: return "JPEG"; // BI_JPEG and BI_PNG: a whole picture of another kind inside, for printers
    case 5: return "PNG";
    default: return "number " + std::to_string(compression);
    }
}

void ValidateSize(const TDibHeader& header)
{
    const std::int64_t height = header.Height < 0 ? -header.Height : header.Height;
    if (header.Width < 1 || header.Width > MaxBitmapDimension || height < 1 || height > MaxBitmapDimension)
        RaiseInvalid("its size " + std::to_string(header.Width) + " x " + std::to_string(header.Height) +
                     " is not 1 to " + std::to_string(MaxBitmapDimension) + " pixels a side");
    if (header.Width * height > MaxBitmapPixels)
        RaiseInvalid("it has more than " + std::to_string(MaxBitmapPixels) + " pixels");
}

void ValidateCompression(const TDibHeader& header)
{
    const int bits = header.BitsPixel;
    const auto refuse = [&](const std::string& why) {
        RaiseInvalid(CompressionName(header.Compression) + " compression " + why);
    };
    switch (header.Compression) {
    case BI_RGB:
        return;
    case BI_RLE8:
    case BI_RLE4:
        if (bits != (header.Compression == BI_RLE8 ? 8 : 4))
            refuse("does not go with " + std::to_string(bits) + " bits per pixel");
        if (header.TopDown())
            refuse("cannot be stored top-down");
        return;
    case BI_BITFIELDS: {
        if (bits != 16 && bits != 32)
            refuse("does not go with " + std::to_string(bits) + " bits per pixel");
        const TChannelMasks& m = header.Masks;
        if (!IsUsableMask(m.Red, bits) || !IsUsableMask(m.Green, bits) || !IsUsableMask(m.Blue, bits) ||
            (m.Red & m.Green) || (m.Red & m.Blue) || (m.Green & m.Blue))
            refuse("needs three separate runs of bits within the pixel");
        return;
    }
    default:
        refuse("is not supported");
    }
}

void Validate(const TDibHeader& header)
{
    ValidateSize(header);
    if (header.Planes != 1)
        RaiseInvalid("it has " + std::to_string(header.Planes) + " colour planes instead of 1");
    const int bits = header.BitsPixel;
    const bool coreDepth = bits == 1 || bits == 4 || bits == 8 || bits == 24;
    if (!coreDepth && !(!header.Core && (bits == 16 || bits == 32)))
        RaiseInvalid(std::to_string(bits) + " bits per pixel is not a BMP depth");
    ValidateCompression(header);
    if (bits <= 8 && header.ColorsUsed > (1u << bits))
        RaiseInvalid("it lists " + std::to_string(header.ColorsUsed) + " colours for " + std::to_string(bits) +
                     " bits per pixel");
}

std::vector<RGBQUAD> ReadColors(TStream& stream, const TDibHeader& header)
{
    if (header.BitsPixel > 8)
        return {};
    const std::size_t full = std::size_t{1} << header.BitsPixel;
    const std::size_t count = header.ColorsUsed ? header.ColorsUsed : full;
    const std::size_t entrySize = header.Core ? 3 : 4;
    std::vector<std::uint8_t> bytes(count * entrySize);
    ReadExactly(stream, bytes.data(), bytes.size(), "colour table");
    // Indexes past a short table read black.
    std::vector<RGBQUAD> colors(full, RGBQUAD{0, 0, 0, 0});
    for (std::size_t i = 0; i < count; ++i)
        colors[i] = {bytes[i * entrySize], bytes[i * entrySize + 1], bytes[i * entrySize + 2], 0};
    return colors;
}

// Moves the stream to the pixel data: where the file header says, or, in a packed DIB, past the
// colour table (above 8 bits an optional palette hint of ColorsUsed entries).
void SeekPixels(TStream& stream, const TDibHeader& header, std::int64_t start, DWORD offBits)
{
    std::int64_t bitsAt = stream.Position();
    if (offBits != 0) {
        bitsAt = start + offBits;
        if (bitsAt < stream.Position())
            RaiseInvalid("its pixel data would start inside its header");
    } else if (header.BitsPixel > 8) {
        bitsAt += std::int64_t{header.ColorsUsed} * 4;
    }
    if (bitsAt > stream.Size())
        RaiseInvalid("its pixel data would start past its end");
    stream.SetPosition(bitsAt);
}

// Scales a channel of `bits` bits to 8 by repeating its bits, so that full scale stays full.
std::uint8_t ScaleChannel(DWORD pixel, DWORD mask)
{
    const int bits = std::popcount(mask);
    const DWORD value = (pixel & mask) >> std::countr_zero(mask);
    if (bits >= 8)
        return static_cast<std::uint8_t>(value >> (bits - 8));
    DWORD scaled = 0;
    for (int shift = 8 - bits; shift > -bits; shift -= bits)
        scaled |= shift >= 0 ? value << shift : value >> -shift;
    return static_cast<std::uint8_t>(scaled);
}

// 16-bit pixels, and 32-bit ones with other masks than ours, become 24- and 32-bit DIB rows.
void UnpackFields(const TDibHeader& header, const std::vector<std::uint8_t>& source, TDibImage& image)
{
    const int sourceBytes = header.BitsPixel / 8;
    const int targetBytes = image.BitsPixel / 8;
    const std::size_t sourceRow = static_cast<std::size_t>(DibRowBytes(image.Width, header.BitsPixel));
    const std::size_t targetRow = static_cast<std::size_t>(DibRowBytes(image.Width, image.BitsPixel));
    image.Bits.assign(targetRow * static_cast<std::size_t>(image.Height), 0);
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.Height); ++y) {
        const std::uint8_t* from = source.data() + y * sourceRow;
        std::uint8_t* to = image.Bits.data() + y * targetRow;
        for (int x = 0; x < image.Width; ++x, from += sourceBytes, to += targetBytes) {
            const DWORD pixel = sourceBytes == 2 ? ReadLittle<WORD>(from) : ReadLittle<DWORD>(from);
            to[0] = ScaleChannel(pixel, header.Masks.Blue);
            to[1] = ScaleChannel(pixel, header.Masks.Green);
            to[2] = ScaleChannel(pixel, header.Masks.Red);
        }
    }
}

void FlipRows(std::vector<std::uint8_t>& bits, std::size_t rowBytes, std::size_t height)
{
    for (std::size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bits.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                         bits.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                         bits.begin() + static_cast<std::ptrdiff_t>(bottom * rowBytes));
}

void ReadRunLengthPixels(TStream& stream, const TDibHeader& header, TDibImage& image)
{
    const std::int64_t rest = stream.Size() - stream.Position();
    const std::int64_t stated = header.SizeImage ? std::int64_t{header.SizeImage} : rest;
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(std::min(stated, rest)));
    ReadExactly(stream, packed.data(), packed.size(), "pixel data");
    image.Bits.assign(static_cast<std::size_t>(DibRowBytes(image.Width, image.BitsPixel)) *
                          static_cast<std::size_t>(image.Height),
                      0);
    ExpandDibRle(packed, image.BitsPixel, image.Width, image.Height, image.Bits);
}

void ReadPlainPixels(TStream& stream, const TDibHeader& header, TDibImage& image)
{
    const std::size_t rowBytes = static_cast<std::size_t>(DibRowBytes(image.Width, header.BitsPixel));
    const std::size_t size = rowBytes * static_cast<std::size_t>(image.Height);
    if (stream.Size() - stream.Position() < static_cast<std::int64_t>(size))
        RaiseInvalid("the data ends inside its pixel rows");
    std::vector<std::uint8_t> rows(size);
    ReadExactly(stream, rows.data(), size, "pixel data");
    if (header.TopDown())
        FlipRows(rows, rowBytes, static_cast<std::size_t>(image.Height));
    if (header.BitsPixel == 16 || (header.BitsPixel == 32 && !(header.Masks == Masks888)))
        UnpackFields(header, rows, image);
    else
        image.Bits = std::move(rows);
}

} // namespace

TDibImage ReadDibImage(TStream& stream, TDibSource source)
{
    const std::int64_t start = stream.Position();
    DWORD offBits = 0;
    if (source == TDibSource::File) {
        std::uint8_t bytes[sizeof(BITMAPFILEHEADER)];
        ReadExactly(stream, bytes, sizeof bytes, "file header");
        if (ReadLittle<WORD>(bytes) != BitmapSignature)
            RaiseInvalid("it does not start with \"BM\"");
        offBits = ReadLittle<DWORD>(bytes + 10);
    }
    const TDibHeader header = ReadHeader(stream);
    Validate(header);

    TDibImage image;
    image.Width = static_cast<int>(header.Width);
    image.Height = static_cast<int>(header.Height < 0 ? -header.Height : header.Height);
    image.BitsPixel = header.BitsPixel == 16 ? 24 : header.BitsPixel;
    image.Colors = ReadColors(stream, header);
    SeekPixels(stream, header, start, offBits);
    if (header.RunLength())
        ReadRunLengthPixels(stream, header, image);
    else
        ReadPlainPixels(stream, header, image);
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
