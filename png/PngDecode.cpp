#include "png/PngCodec.h"
#include "png/PngFilters.h"
#include "png/PngInternal.h"
#include "png/PngRowCopy.h"

#include "platform/classlib/core/Streams.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

using namespace png::detail;

namespace {

constexpr std::size_t InputBlockSize = 65535;

// Inflates the run of IDAT chunks that starts with the chunk whose data the stream stands at,
// checking each chunk's CRC as it is finished. zlib is handed up to InputBlockSize bytes per call,
// gathered across chunk boundaries while the run goes on: encoders often write chunks of 8 KiB,
// and zlib fed that little per call runs a fifth slower. Looking for the next chunk of the run
// reads its header and steps back when it is another chunk, which the loader then reads.
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
            if (ReadBlock(m_input.data(), m_input.size()) == 0)
                throw EPngUnexpectedEnd();
        CheckPendingCrc();
    }

private:
    bool Refill()
    {
        std::size_t filled = 0;
        while (filled < m_input.size()) {
            if (m_chunkLeft == 0) {
                // With input in hand, the run may end here; without, zlib needs the next chunk.
                if (filled != 0 && !NextChunkIsImageData())
                    break;
                NextChunk();
            }
            const std::size_t got = ReadBlock(m_input.data() + filled, m_input.size() - filled);
            if (got == 0 && m_chunkLeft != 0)
                break;
            filled += got;
        }
        m_zlib.next_in = m_input.data();
        m_zlib.avail_in = static_cast<uInt>(filled);
        return filled != 0;
    }

    std::size_t ReadBlock(std::uint8_t* target, std::size_t room)
    {
        const std::size_t got = m_stream.Read(target, std::min(m_chunkLeft, room));
        m_crc = CrcUpdate(m_crc, target, got);
        m_chunkLeft -= got;
        return got;
    }

    void CheckPendingCrc()
    {
        if (m_crcPending)
            CheckCrc(m_stream, m_crc);
        m_crcPending = false;
    }

    // Checks the finished chunk's CRC and tells whether an IDAT chunk follows, leaving the stream
    // at the following chunk's start either way.
    bool NextChunkIsImageData()
    {
        CheckPendingCrc();
        std::uint8_t header[8];
        const std::size_t got = m_stream.Read(header, sizeof header);
        m_stream.Seek(-static_cast<std::int64_t>(got), TSeekOrigin::soCurrent);
        return got == sizeof header && std::memcmp(header + 4, "IDAT", 4) == 0;
    }

    void NextChunk()
    {
        CheckPendingCrc();
        char name[4];
        if (!ReadChunkLength(m_stream, m_chunkLeft) || !ReadExactly(m_stream, name, sizeof name))
            throw EPngUnexpectedEnd();
        if (std::memcmp(name, "IDAT", 4) != 0)
            throw EPNGMissingMultipleIDAT();
        m_crc = CrcStart("IDAT");
        m_crcPending = true;
    }

    TStream& m_stream;
    z_stream m_zlib{};
    std::vector<std::uint8_t> m_input;
    std::size_t m_chunkLeft;
    std::uint32_t m_crc;
    // The current chunk's CRC is still to be read.
    bool m_crcPending = true;
    bool m_streamEnded = false;
};

// Rows are inflated in batches of about this many bytes, then reconstructed in place: fewer
// calls into zlib, and zlib copies only the last 32 KiB of each call's output into its window
// instead of every row.
constexpr std::size_t BatchBytes = std::size_t{256} << 10;

bool IsIdentity(const TGammaTable& table)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] != i)
            return false;
    return true;
}

// Reconstructs rows and copies their pixels into the header's storage.
class TImageDecoder {
public:
    TImageDecoder(const TPNGObject& image, TChunkIHDR& header, TImageDataReader& reader)
        : m_storage(header.Storage()), m_reader(reader), m_gamma(image.GammaTable()),
          m_plainGamma(IsIdentity(image.GammaTable())), m_colorType(header.ColorType()), m_depth(header.BitDepth()),
          m_distance(image.PixelLayout().FilterDistance)
    {
        const std::size_t lineBytes = image.PixelLayout().RowBytes + 1;
        const std::size_t imageBytes = lineBytes * m_storage.Height();
        m_batch.resize(std::max(lineBytes, std::min(imageBytes, BatchBytes)));
        m_prior.resize(lineBytes);
    }

    void DecodeRows()
    {
        (void)DecodePass(m_storage.Height(), m_prior.size() - 1,
                         [&](std::uint32_t y, const std::uint8_t* row) { CopyRow(row, y, 0, 1, m_storage.Width()); });
    }

    void DecodeAdam7()
    {
        for (const TAdam7Pass& pass : Adam7Passes) {
            const std::uint32_t passWidth = PassWidth(pass, m_storage.Width());
            const std::size_t rowBytes = BytesForPixels(passWidth, m_colorType, m_depth);
            if (rowBytes == 0 || pass.RowStart >= m_storage.Height())
                continue;
            const std::uint32_t rows = (m_storage.Height() - pass.RowStart + pass.RowStep - 1) / pass.RowStep;
            const auto copy = [&](std::uint32_t i, const std::uint8_t* row) {
                CopyRow(row, pass.RowStart + i * pass.RowStep, pass.ColumnStart, pass.ColumnStep, passWidth);
            };
            if (!DecodePass(rows, rowBytes, copy))
                return;
        }
    }

private:
    // Reconstructs `rows` rows of `rowBytes` bytes and hands each to `deliver` with its index in
    // the pass; false when the data ends first (the rows before stay delivered).
    template <class TDeliver>
    bool DecodePass(std::uint32_t rows, std::size_t rowBytes, const TDeliver& deliver)
    {
        const std::size_t lineBytes = rowBytes + 1;
        const auto perBatch = static_cast<std::uint32_t>(m_batch.size() / lineBytes);
        std::fill(m_prior.begin(), m_prior.end(), 0);
        const std::uint8_t* prior = m_prior.data();
        for (std::uint32_t first = 0; first < rows; first += perBatch) {
            const std::uint32_t count = std::min(perBatch, rows - first);
            const std::size_t complete = m_reader.Read(m_batch.data(), count * lineBytes) / lineBytes;
            std::uint8_t* line = m_batch.data();
            for (std::size_t i = 0; i < complete; ++i, line += lineBytes) {
                UnfilterRow(line[0], line + 1, prior, rowBytes, m_distance);
                deliver(first + static_cast<std::uint32_t>(i), line + 1);
                prior = line + 1;
            }
            if (complete < count)
                return false;
            // The next batch overwrites this one: its last row moves to where the next one's
            // first row finds it.
            std::memcpy(m_prior.data(), prior, rowBytes);
            prior = m_prior.data();
        }
        return true;
    }

    // A reconstructed row to columns start, start + step, ... of storage row y.
    void CopyRow(const std::uint8_t* source, std::uint32_t y, std::uint32_t start, std::uint32_t step,
                 std::uint32_t count)
    {
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
        if (m_colorType == COLOR_RGB)
            CopyRgbToBgr(source, target, count);
        else
            CopyRgbaToBgrAndAlpha(source, target, alpha, count);
        if (!m_plainGamma)
            for (std::size_t i = 0; i < std::size_t{count} * 3; ++i)
                target[i] = m_gamma[target[i]];
        return true;
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
    bool m_plainGamma;
    std::uint8_t m_colorType;
    std::uint8_t m_depth;
    std::size_t m_distance;
    // Inflated rows, each with its filter byte.
    std::vector<std::uint8_t> m_batch;
    // The row above the first of a batch (zeros above a pass's first row).
    std::vector<std::uint8_t> m_prior;
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
