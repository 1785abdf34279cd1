#include "png/PngCodec.h"
#include "png/PngFilters.h"
#include "png/PngInternal.h"

#include "platform/classlib/core/Streams.h"

#include <zlib.h>

#include <cstring>

using namespace png::detail;

namespace {

constexpr std::size_t InputBlockSize = 65535;

// Inflates the run of IDAT chunks that starts with the chunk whose data the stream stands at,
// checking each chunk's CRC as it is finished and never reading past a chunk's data.
class TImageDataReader {
public:
    TImageDataReader(TStream& stream, std::size_t firstChunkSize)
        : m_stream(stream), m_input(InputBlockSize), m_chunkLeft(firstChunkSize), m_crc(CrcStart("IDAT"))
    {
        if (inflateInit(&m_zlib) != Z_OK)
            throw EPNGOutMemory();
    }
    ~TImageDataReader() { inflateEnd(&m_zlib); }
    TImageDataReader(const TImageDataReader&) = delete;
    TImageDataReader& operator=(const TImageDataReader&) = delete;

    // Up to `count` inflated bytes; fewer once the compressed stream or the image data has ended.
    std::size_t Read(std::uint8_t* buffer, std::size_t count)
    {
        m_zlib.next_out = buffer;
        m_zlib.avail_out = static_cast<uInt>(count);
        while (m_zlib.avail_out != 0 && !m_streamEnded) {
            if (m_zlib.avail_in == 0 && !Refill())
                break;
            const int result = inflate(&m_zlib, Z_NO_FLUSH);
            if (result == Z_STREAM_END)
                m_streamEnded = true;
            else if (result != Z_OK)
                throw EPNGZLIBError(zError(result));
        }
        return count - m_zlib.avail_out;
    }

    // Compressed data may go on past the last row (the stream's end and checksum, or padding):
    // it belongs to the chunk's CRC, so it is read before the CRC is checked.
    void FinishChunk()
    {
        while (m_chunkLeft != 0)
            if (ReadBlock() == 0)
                throw EPngUnexpectedEnd();
        CheckCrc(m_stream, m_crc);
    }

private:
    bool Refill()
    {
        while (m_chunkLeft == 0)
            NextChunk();
        const std::size_t got = ReadBlock();
        m_zlib.next_in = m_input.data();
        m_zlib.avail_in = static_cast<uInt>(got);
        return got != 0;
    }

    std::size_t ReadBlock()
    {
        const std::size_t got = m_stream.Read(m_input.data(), std::min(m_chunkLeft, InputBlockSize));
        m_crc = CrcUpdate(m_crc, m_input.data(), got);
        m_chunkLeft -= got;
        return got;
    }

    void NextChunk()
    {
        CheckCrc(m_stream, m_crc);
        char name[4];
        if (!ReadChunkLength(m_stream, m_chunkLeft) || !ReadExactly(m_stream, name, sizeof name))
            throw EPngUnexpectedEnd();
        if (std::memcmp(name, "IDAT", 4) != 0)
            throw EPNGMissingMultipleIDAT();
        m_crc = CrcStart("IDAT");
    }

    TStream& m_stream;
    z_stream m_zlib{};
    std::vector<std::uint8_t> m_input;
    std::size_t m_chunkLeft;
    std::uint32_t m_crc;
    bool m_streamEnded = false;
};

// Reconstructs rows and copies their pixels into the header's storage.
class TImageDecoder {
public:
    TImageDecoder(const TPNGObject& image, TChunkIHDR& header, TImageDataReader& reader)
        : m_storage(header.Storage()), m_reader(reader), m_gamma(image.GammaTable()),
          m_colorType(header.ColorType()), m_depth(header.BitDepth()),
          m_distance(image.PixelLayout().FilterDistance)
    {
        const std::size_t rowBytes = image.PixelLayout().RowBytes;
        m_current.assign(rowBytes + 1, 0);
        m_previous.assign(rowBytes + 1, 0);
    }

    void DecodeRows()
    {
        const std::size_t rowBytes = m_current.size() - 1;
        for (std::uint32_t y = 0; y < m_storage.Height() && ReadRow(rowBytes); ++y)
            CopyRow(y, 0, 1, m_storage.Width());
    }

    void DecodeAdam7()
    {
        for (const TAdam7Pass& pass : Adam7Passes) {
            const std::uint32_t passWidth = PassWidth(pass, m_storage.Width());
            const std::size_t rowBytes = BytesForPixels(passWidth, m_colorType, m_depth);
            std::fill(m_previous.begin(), m_previous.end(), 0);
            if (rowBytes == 0)
                continue;
            for (std::uint32_t y = pass.RowStart; y < m_storage.Height(); y += pass.RowStep) {
                if (!ReadRow(rowBytes))
                    break;
                CopyRow(y, pass.ColumnStart, pass.ColumnStep, passWidth);
            }
        }
    }

private:
    bool ReadRow(std::size_t rowBytes)
    {
        if (m_reader.Read(m_current.data(), rowBytes + 1) != rowBytes + 1)
            return false;
        UnfilterRow(m_current[0], m_current.data() + 1, m_previous.data() + 1, rowBytes, m_distance);
        m_current.swap(m_previous);
        return true;
    }

    // The row just reconstructed (now the previous row) to columns start, start + step, ...
    void CopyRow(std::uint32_t y, std::uint32_t start, std::uint32_t step, std::uint32_t count)
    {
        const std::uint8_t* source = m_previous.data() + 1;
        std::uint8_t* target = m_storage.Row(y);
        std::uint8_t* alpha = m_storage.HasAlpha() ? m_storage.AlphaRow(y) : nullptr;
        if (step == 1 && CopyWholeRow(source, target, alpha, count))
            return;
        for (std::uint32_t i = 0, x = start; i < count; ++i, x += step)
            CopyPixel(source, i, target, alpha, x);
    }

    // The common layouts of whole rows, done without per-pixel dispatch.
    bool CopyWholeRow(const std::uint8_t* source, std::uint8_t* target, std::uint8_t* alpha, std::uint32_t count)
    {
        const bool indexed = m_colorType == COLOR_GRAYSCALE || m_colorType == COLOR_PALETTE;
        if (indexed && (m_depth == 1 || m_depth == 4 || m_depth == 8)) {
            std::memcpy(target, source, BytesForPixels(count, m_colorType, m_depth));
            return true;
        }
        if (m_depth != 8 || (m_colorType != COLOR_RGB && m_colorType != COLOR_RGBALPHA))
            return false;
        if (m_colorType == COLOR_RGB) {
            for (std::uint32_t x = 0; x < count; ++x, source += 3, target += 3)
                CopyColor(source, target);
            return true;
        }
        for (std::uint32_t x = 0; x < count; ++x, source += 4, target += 3) {
            CopyColor(source, target);
            alpha[x] = source[3];
        }
        return true;
    }

    void CopyColor(const std::uint8_t* rgb, std::uint8_t* bgr) const
    {
        bgr[0] = m_gamma[rgb[2]];
        bgr[1] = m_gamma[rgb[1]];
        bgr[2] = m_gamma[rgb[0]];
    }

    void CopyPixel(const std::uint8_t* source, std::uint32_t i, std::uint8_t* target, std::uint8_t* alpha,
                   std::uint32_t x)
    {
        const unsigned sampleBytes = m_depth == 16 ? 2 : 1;
        switch (m_colorType) {
        case COLOR_GRAYSCALE:
        case COLOR_PALETTE: {
            if (m_depth == 16) {
                target[x] = source[std::size_t{i} * 2];
                return;
            }
            unsigned value = PackedValue(source, i, m_depth);
            // A 2-bit grey is held as a 4-bit level of the same brightness.
            if (m_depth == 2 && m_colorType == COLOR_GRAYSCALE)
                value *= 5;
            SetPackedValue(target, x, m_storage.BitsPerPixel(), value);
            return;
        }
        case COLOR_GRAYSCALEALPHA: {
            const std::uint8_t* pixel = source + std::size_t{i} * 2 * sampleBytes;
            target[x] = pixel[0];
            alpha[x] = pixel[sampleBytes];
            return;
        }
        case COLOR_RGB:
        case COLOR_RGBALPHA: {
            const unsigned channels = m_colorType == COLOR_RGB ? 3 : 4;
            const std::uint8_t* pixel = source + std::size_t{i} * channels * sampleBytes;
            std::uint8_t* out = target + std::size_t{x} * 3;
            out[0] = m_gamma[pixel[2 * sampleBytes]];
            out[1] = m_gamma[pixel[sampleBytes]];
            out[2] = m_gamma[pixel[0]];
            if (alpha)
                alpha[x] = pixel[3 * sampleBytes];
            return;
        }
        default: return;
        }
    }

    TImageStorage& m_storage;
    TImageDataReader& m_reader;
    const TGammaTable& m_gamma;
    std::uint8_t m_colorType;
    std::uint8_t m_depth;
    std::size_t m_distance;
    std::vector<std::uint8_t> m_current;
    std::vector<std::uint8_t> m_previous;
};

// A greyscale image's pixels index a ramp of greys, gamma-corrected here once.
void PrepareGreyPalette(const TPNGObject& image, TImageStorage& storage)
{
    const unsigned count = 1u << storage.BitsPerPixel();
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t grey = image.GammaTable()[(i * 255 * 2 + (count - 1)) / (2 * (count - 1))];
        storage.ColorTable()[i] = {grey, grey, grey, 0};
    }
}

} // namespace

TChunkIDAT::TChunkIDAT(TPNGObject& owner) : TChunk(owner)
{
    SetName("IDAT");
}

std::unique_ptr<TChunk> TChunkIDAT::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkIDAT>(owner);
}

bool TChunkIDAT::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    SetName(name);
    TChunkIHDR& header = Header();
    TImageStorage& storage = header.Storage();
    if (!storage.Prepared())
        throw EPngInvalidIHDR();
    if (storage.UsesColorTable() && IsGreyscale(header.ColorType()))
        PrepareGreyPalette(Owner(), storage);
    TImageDataReader reader(stream, size);
    TImageDecoder decoder(Owner(), header, reader);
    if (Owner().Interlacing() == TInterlaceMethod::imAdam7)
        decoder.DecodeAdam7();
    else
        decoder.DecodeRows();
    reader.FinishChunk();
    return true;
}
