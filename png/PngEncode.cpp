#include "png/PngCodec.h"
#include "png/PngFilters.h"
#include "png/PngInternal.h"

#include "platform/classlib/core/Streams.h"

#include <zlib.h>

#include <cstring>

using namespace png::detail;

namespace {

// Deflates image data and writes it as IDAT chunks of exactly the chunk size, the last shorter.
class TImageDataWriter {
public:
    TImageDataWriter(TStream& stream, std::size_t chunkSize, int level) : m_stream(stream), m_output(chunkSize)
    {
        if (deflateInit(&m_zlib, level) != Z_OK)
            throw EPNGOutMemory();
        ResetOutput();
    }
    ~TImageDataWriter() { deflateEnd(&m_zlib); }
    TImageDataWriter(const TImageDataWriter&) = delete;
    TImageDataWriter& operator=(const TImageDataWriter&) = delete;

    void Write(const std::uint8_t* bytes, std::size_t count)
    {
        m_zlib.next_in = const_cast<Bytef*>(bytes);
        m_zlib.avail_in = static_cast<uInt>(count);
        while (m_zlib.avail_in != 0) {
            Deflate(Z_NO_FLUSH);
            if (m_zlib.avail_out == 0)
                WriteOutput();
        }
    }

    void Finish()
    {
        while (Deflate(Z_FINISH) != Z_STREAM_END)
            WriteOutput();
        if (m_zlib.avail_out != m_output.size())
            WriteOutput();
    }

private:
    int Deflate(int flush)
    {
        const int result = deflate(&m_zlib, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            throw EPNGZLIBError(zError(result));
        return result;
    }

    void ResetOutput()
    {
        m_zlib.next_out = m_output.data();
        m_zlib.avail_out = static_cast<uInt>(m_output.size());
    }

    void WriteOutput()
    {
        const std::size_t count = m_output.size() - m_zlib.avail_out;
        std::uint8_t header[8];
        WriteBigEndian32(header, static_cast<std::uint32_t>(count));
        std::memcpy(header + 4, "IDAT", 4);
        m_stream.WriteBuffer(header, sizeof header);
        m_stream.WriteBuffer(m_output.data(), count);
        std::uint8_t crc[4];
        WriteBigEndian32(crc, CrcUpdate(CrcStart("IDAT"), m_output.data(), count));
        m_stream.WriteBuffer(crc, sizeof crc);
        ResetOutput();
    }

    TStream& m_stream;
    z_stream m_zlib{};
    std::vector<std::uint8_t> m_output;
};

// Turns storage rows back into PNG samples, filters them and hands them to the writer.
class TImageEncoder {
public:
    TImageEncoder(const TPNGObject& image, const TChunkIHDR& header, TImageDataWriter& writer)
        : m_storage(header.Storage()), m_writer(writer), m_inverse(image.InverseGamma()),
          m_colorType(header.ColorType()),
          // 2-bit images are held, and so written, with 4 bits per pixel.
          m_depth(header.BitDepth() == 2 ? 4 : header.BitDepth()),
          m_raw(BytesForPixels(m_storage.Width(), m_colorType, m_depth), 0),
          m_chooser(image.RowFilters(), m_raw.size(), image.PixelLayout().FilterDistance)
    {
    }

    void EncodeRows()
    {
        m_chooser.StartPass(m_raw.size());
        for (std::uint32_t y = 0; y < m_storage.Height(); ++y) {
            ConvertRow(y, 0, 1, m_storage.Width());
            WriteRow(m_raw.size());
        }
    }

    void EncodeAdam7()
    {
        for (const TAdam7Pass& pass : Adam7Passes) {
            const std::uint32_t passWidth = PassWidth(pass, m_storage.Width());
            const std::size_t rowBytes = BytesForPixels(passWidth, m_colorType, m_depth);
            m_chooser.StartPass(rowBytes);
            if (rowBytes == 0)
                continue;
            for (std::uint32_t y = pass.RowStart; y < m_storage.Height(); y += pass.RowStep) {
                ConvertRow(y, pass.ColumnStart, pass.ColumnStep, passWidth);
                WriteRow(rowBytes);
            }
        }
    }

private:
    void WriteRow(std::size_t rowBytes)
    {
        const TFilter filter = m_chooser.Choose(m_raw.data());
        const auto filterType = static_cast<std::uint8_t>(filter);
        m_writer.Write(&filterType, 1);
        m_writer.Write(m_chooser.Filtered(filter), rowBytes);
    }

    void ConvertRow(std::uint32_t y, std::uint32_t start, std::uint32_t step, std::uint32_t count)
    {
        const std::uint8_t* row = m_storage.Row(y);
        const std::uint8_t* alpha = m_storage.HasAlpha() ? m_storage.AlphaRow(y) : nullptr;
        const bool indexed = m_colorType == COLOR_GRAYSCALE || m_colorType == COLOR_PALETTE;
        if (step == 1 && indexed && m_depth <= 8) {
            std::memcpy(m_raw.data(), row, m_raw.size());
            return;
        }
        for (std::uint32_t i = 0, x = start; i < count; ++i, x += step)
            ConvertPixel(row, alpha, x, i);
    }

    void ConvertPixel(const std::uint8_t* row, const std::uint8_t* alpha, std::uint32_t x, std::uint32_t i)
    {
        std::uint8_t samples[4];
        unsigned channels = 0;
        switch (m_colorType) {
        case COLOR_GRAYSCALE:
        case COLOR_PALETTE:
            if (m_depth <= 8) {
                SetPackedValue(m_raw.data(), i, m_depth, PackedValue(row, x, m_storage.BitsPerPixel()));
                return;
            }
            samples[channels++] = row[x];
            break;
        case COLOR_GRAYSCALEALPHA:
            samples[channels++] = row[x];
            samples[channels++] = alpha[x];
            break;
        case COLOR_RGB:
        case COLOR_RGBALPHA: {
            const std::uint8_t* pixel = row + std::size_t{x} * 3;
            samples[channels++] = m_inverse[pixel[2]];
            samples[channels++] = m_inverse[pixel[1]];
            samples[channels++] = m_inverse[pixel[0]];
            if (alpha)
                samples[channels++] = alpha[x];
            break;
        }
        default: return;
        }
        const unsigned sampleBytes = m_depth == 16 ? 2 : 1;
        std::uint8_t* out = m_raw.data() + std::size_t{i} * channels * sampleBytes;
        for (unsigned c = 0; c < channels; ++c, out += sampleBytes) {
            // The storage kept the high byte of a 16-bit sample: it is widened as v x 257, so
            // full levels stay full (255 becomes 65535, not 65280).
            out[0] = samples[c];
            if (sampleBytes == 2)
                out[1] = samples[c];
        }
    }

    const TImageStorage& m_storage;
    TImageDataWriter& m_writer;
    const TGammaTable& m_inverse;
    std::uint8_t m_colorType;
    std::uint8_t m_depth;
    std::vector<std::uint8_t> m_raw;
    TRowFilterChooser m_chooser;
};

} // namespace

bool TChunkIDAT::SaveToStream(TStream& stream)
{
    const TChunkIHDR& header = Header();
    if (!header.Storage().Prepared())
        return false;
    TImageDataWriter writer(stream, Owner().ImageChunkSize(), Owner().DeflateLevel());
    TImageEncoder encoder(Owner(), header, writer);
    if (Owner().Interlacing() == TInterlaceMethod::imAdam7)
        encoder.EncodeAdam7();
    else
        encoder.EncodeRows();
    writer.Finish();
    return true;
}
