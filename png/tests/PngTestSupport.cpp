#include "png/tests/PngTestSupport.h"

#include "platform/classlib/core/Streams.h"

#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>

std::string TestDataPath(const std::string& relative)
{
    return std::string(MODEM_SOURCE_DIR) + "/png/tests/data/" + relative;
}

TBytes ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    return TBytes(std::istreambuf_iterator<char>(file), {});
}

void LoadFromBytes(TPNGObject& image, const TBytes& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    image.LoadFromStream(stream);
}

TBytes SaveToBytes(TPNGObject& image)
{
    TMemoryStream stream;
    image.SaveToStream(stream);
    return TBytes(stream.Memory(), stream.Memory() + stream.Size());
}

std::string FirstDifference(const TRgbaImage& expected, const TRgbaImage& actual)
{
    std::ostringstream text;
    if (expected.Width != actual.Width || expected.Height != actual.Height) {
        text << "size " << expected.Width << "x" << expected.Height << " vs " << actual.Width << "x" << actual.Height;
        return text.str();
    }
    for (std::size_t i = 0; i < expected.Pixels.size(); i += 4)
        if (std::memcmp(&expected.Pixels[i], &actual.Pixels[i], 4) != 0) {
            const std::size_t pixel = i / 4;
            text << "pixel (" << pixel % expected.Width << ", " << pixel / expected.Width << "): expected";
            for (int c = 0; c < 4; ++c)
                text << " " << int(expected.Pixels[i + c]);
            text << ", actual";
            for (int c = 0; c < 4; ++c)
                text << " " << int(actual.Pixels[i + c]);
            return text.str();
        }
    return "none";
}

namespace {

struct TReadState {
    const TBytes* File;
    std::size_t Position;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t count)
{
    auto* state = static_cast<TReadState*>(png_get_io_ptr(png));
    if (state->Position + count > state->File->size())
        png_error(png, "read past the end");
    std::memcpy(target, state->File->data() + state->Position, count);
    state->Position += count;
}

void RaiseError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// The display correction for a 2.2 display of an image with the given gamma (times 100000).
std::array<std::uint8_t, 256> GammaCorrection(bool present, png_fixed_point gamma)
{
    std::array<std::uint8_t, 256> table;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(i);
    if (!present || gamma <= 0)
        return table;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::rint(std::pow(i / 255.0, 100000.0 / (gamma * 2.2)) * 255.0));
    return table;
}

std::uint8_t ReduceSample(unsigned sample, int depth)
{
    if (depth == 16)
        return static_cast<std::uint8_t>(sample >> 8);
    if (depth < 8)
        return static_cast<std::uint8_t>((sample & ((1u << depth) - 1)) * 255 / ((1u << depth) - 1));
    return static_cast<std::uint8_t>(sample);
}

struct TLibpngRead {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~TLibpngRead() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

} // namespace

TRgbaImage DecodeWithLibpng(const TBytes& file)
{
    std::string error;
    TLibpngRead read;
    read.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, RaiseError, IgnoreWarning);
    read.Info = png_create_info_struct(read.Png);
    TReadState state{&file, 0};
    TRgbaImage image;
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> data;
    if (setjmp(png_jmpbuf(read.Png)))
        throw std::runtime_error("libpng: " + error);
    png_set_read_fn(read.Png, &state, ReadFromMemory);
    png_read_info(read.Png, read.Info);
    const int colorType = png_get_color_type(read.Png, read.Info);
    const int depth = png_get_bit_depth(read.Png, read.Info);
    png_bytep transAlpha = nullptr;
    int transCount = 0;
    png_color_16p transColor = nullptr;
    const bool hasKey = (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_RGB) &&
                        png_get_tRNS(read.Png, read.Info, &transAlpha, &transCount, &transColor) != 0;
    png_fixed_point gammaValue = 0;
    const bool hasGamma = png_get_gAMA_fixed(read.Png, read.Info, &gammaValue) != 0;
    const auto gamma = GammaCorrection(hasGamma, gammaValue);

    png_set_strip_16(read.Png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(read.Png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_expand_gray_1_2_4_to_8(read.Png);
        png_set_gray_to_rgb(read.Png);
    }
    png_set_interlace_handling(read.Png);
    png_read_update_info(read.Png, read.Info);
    image.Width = png_get_image_width(read.Png, read.Info);
    image.Height = png_get_image_height(read.Png, read.Info);
    const std::size_t channels = png_get_channels(read.Png, read.Info);
    const std::size_t rowBytes = png_get_rowbytes(read.Png, read.Info);
    data.resize(rowBytes * image.Height);
    for (std::uint32_t y = 0; y < image.Height; ++y)
        rows.push_back(data.data() + y * rowBytes);
    png_read_image(read.Png, rows.data());

    std::uint8_t key[3] = {};
    if (hasKey) {
        const bool grey = colorType == PNG_COLOR_TYPE_GRAY;
        key[0] = gamma[ReduceSample(grey ? transColor->gray : transColor->red, depth)];
        key[1] = gamma[ReduceSample(grey ? transColor->gray : transColor->green, depth)];
        key[2] = gamma[ReduceSample(grey ? transColor->gray : transColor->blue, depth)];
    }
    image.Pixels.resize(std::size_t{image.Width} * image.Height * 4);
    for (std::uint32_t y = 0; y < image.Height; ++y)
        for (std::uint32_t x = 0; x < image.Width; ++x) {
            const std::uint8_t* source = rows[y] + x * channels;
            std::uint8_t* target = &image.Pixels[(std::size_t{y} * image.Width + x) * 4];
            for (int c = 0; c < 3; ++c)
                target[c] = gamma[source[c]];
            target[3] = channels == 4 ? source[3] : 255;
            if (hasKey && std::memcmp(target, key, 3) == 0)
                target[3] = 0;
        }
    return image;
}

std::vector<std::uint16_t> DecodeWithSpng16(const TBytes& file)
{
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(0), spng_ctx_free);
    std::size_t size = 0;
    if (spng_set_png_buffer(context.get(), file.data(), file.size()) != 0 ||
        spng_decoded_image_size(context.get(), SPNG_FMT_RGBA16, &size) != 0)
        throw std::runtime_error("libspng cannot read the header");
    std::vector<std::uint16_t> samples(size / 2);
    if (const int error = spng_decode_image(context.get(), samples.data(), size, SPNG_FMT_RGBA16, SPNG_DECODE_TRNS))
        throw std::runtime_error(std::string("libspng: ") + spng_strerror(error));
    return samples;
}

TRgbaImage PixelsOf(const TPNGObject& image)
{
    TRgbaImage result;
    result.Width = static_cast<std::uint32_t>(image.Width());
    result.Height = static_cast<std::uint32_t>(image.Height());
    result.Pixels.resize(std::size_t{result.Width} * result.Height * 4);
    const TChunkIHDR& header = image.HeaderChunk();
    const TImageStorage& storage = header.Storage();
    const TChunktRNS* transparency = image.Chunks().ItemFromClass<TChunktRNS>();
    for (std::uint32_t y = 0; y < result.Height; ++y)
        for (std::uint32_t x = 0; x < result.Width; ++x) {
            const TColor color = image.PixelColor(static_cast<int>(x), static_cast<int>(y));
            std::uint8_t* target = &result.Pixels[(std::size_t{y} * result.Width + x) * 4];
            target[0] = static_cast<std::uint8_t>(color);
            target[1] = static_cast<std::uint8_t>(color >> 8);
            target[2] = static_cast<std::uint8_t>(color >> 16);
            target[3] = 255;
            if (storage.HasAlpha())
                target[3] = storage.AlphaRow(y)[x];
            else if (transparency && header.ColorType() == COLOR_PALETTE) {
                const unsigned bits = storage.BitsPerPixel();
                const std::uint8_t* row = image.RowPointer(static_cast<int>(y));
                const unsigned index = (row[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1u << bits) - 1);
                target[3] = transparency->AlphaTable()[index];
            } else if (transparency && color == image.TransparentKeyColor())
                target[3] = 0;
        }
    return result;
}

TBytes BigEndian32(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

TBytes Deflate(const TBytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    TBytes compressed(size);
    if (compress(compressed.data(), &size, data.data(), static_cast<uLong>(data.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    compressed.resize(size);
    return compressed;
}

TPngBuilder& TPngBuilder::Signature()
{
    return Raw({137, 80, 78, 71, 13, 10, 26, 10});
}

TPngBuilder& TPngBuilder::Raw(const TBytes& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

TPngBuilder& TPngBuilder::Chunk(const std::string& name, const TBytes& data)
{
    Raw(BigEndian32(static_cast<std::uint32_t>(data.size())));
    const std::size_t nameAt = m_bytes.size();
    m_bytes.insert(m_bytes.end(), name.begin(), name.end());
    Raw(data);
    const auto crc = crc32(0, m_bytes.data() + nameAt, static_cast<uInt>(m_bytes.size() - nameAt));
    return Raw(BigEndian32(static_cast<std::uint32_t>(crc)));
}

TPngBuilder& TPngBuilder::Header(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                                 std::uint8_t colorType, std::uint8_t interlace)
{
    TBytes data = BigEndian32(width);
    const TBytes h = BigEndian32(height);
    data.insert(data.end(), h.begin(), h.end());
    data.insert(data.end(), {depth, colorType, 0, 0, interlace});
    return Chunk("IHDR", data);
}

TPngBuilder& TPngBuilder::ImageData(const TBytes& filteredRows, std::vector<std::size_t> chunkSizes)
{
    const TBytes compressed = Deflate(filteredRows);
    std::size_t at = 0;
    for (std::size_t i = 0; at < compressed.size(); ++i) {
        const std::size_t size = std::min(chunkSizes[std::min(i, chunkSizes.size() - 1)], compressed.size() - at);
        Chunk("IDAT", TBytes(compressed.begin() + static_cast<std::ptrdiff_t>(at),
                             compressed.begin() + static_cast<std::ptrdiff_t>(at + size)));
        at += size;
    }
    return *this;
}

TPngBuilder& TPngBuilder::End()
{
    return Chunk("IEND", {});
}
