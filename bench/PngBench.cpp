// Decoding and encoding speed of the PNG codec against libpng and libspng, on the same images in
// the same run: a 1920 x 1080 RGB and RGBA picture and the valid PngSuite images, beside zlib's
// inflate of the picture's image data alone. Encoders use the codec's defaults (Sub filter,
// deflate level 7) on every side. Also the alpha-blended drawing of the RGBA picture onto a canvas.
//
// The PngSuite images are the copy in the source tree this program was built from, so it runs
// from any folder.
#include "png/PngCodec.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// A smooth picture with a little noise, compressing like a photograph more than a test pattern.
TBytes MakePixels(std::uint32_t width, std::uint32_t height, int channels)
{
    TBytes pixels(std::size_t{width} * height * channels);
    std::uint32_t seed = 12345;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            seed = seed * 1103515245 + 12345;
            const int noise = static_cast<int>((seed >> 16) & 7);
            std::uint8_t* pixel = &pixels[(std::size_t{y} * width + x) * channels];
            pixel[0] = static_cast<std::uint8_t>((x * 255 / width + noise) & 255);
            pixel[1] = static_cast<std::uint8_t>((y * 255 / height + noise) & 255);
            pixel[2] = static_cast<std::uint8_t>(128 + 100 * std::sin((x + y) / 60.0));
            if (channels == 4)
                pixel[3] = static_cast<std::uint8_t>((x + y) & 255);
        }
    return pixels;
}

struct TWriteBuffer {
    TBytes Bytes;
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t count)
{
    auto* buffer = static_cast<TWriteBuffer*>(png_get_io_ptr(png));
    buffer->Bytes.insert(buffer->Bytes.end(), data, data + count);
}

TBytes EncodeWithLibpng(const TBytes& pixels, std::uint32_t width, std::uint32_t height, int channels)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    TWriteBuffer buffer;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng write failed");
    }
    png_set_write_fn(png, &buffer, WriteToMemory, nullptr);
    png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 7);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + std::size_t{y} * width * channels);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::move(buffer.Bytes);
}

struct TReadBuffer {
    const TBytes* File;
    std::size_t Position;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t count)
{
    auto* buffer = static_cast<TReadBuffer*>(png_get_io_ptr(png));
    if (buffer->Position + count > buffer->File->size())
        png_error(png, "end of data");
    std::memcpy(target, buffer->File->data() + buffer->Position, count);
    buffer->Position += count;
}

// Decoded to 8-bit samples as the codec holds them (no expansion to RGBA).
std::size_t DecodeWithLibpng(const TBytes& file, TBytes& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    TReadBuffer buffer{&file, 0};
    png_set_read_fn(png, &buffer, ReadFromMemory);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const std::uint32_t height = png_get_image_height(png, info);
    out.resize(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y)
        rows[y] = out.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return out.size();
}

std::size_t DecodeWithSpng(const TBytes& file, TBytes& out)
{
    spng_ctx* context = spng_ctx_new(0);
    spng_set_png_buffer(context, file.data(), file.size());
    spng_ihdr header{};
    std::size_t size = 0;
    int format = SPNG_FMT_PNG;
    if (spng_get_ihdr(context, &header) == 0 && header.bit_depth == 16)
        format = SPNG_FMT_RGBA8;
    if (spng_decoded_image_size(context, format, &size) == 0) {
        out.resize(size);
        if (spng_decode_image(context, out.data(), size, format, 0) != 0)
            size = 0;
    }
    spng_ctx_free(context);
    return size;
}

TBytes EncodeWithSpng(const TBytes& pixels, std::uint32_t width, std::uint32_t height, int channels)
{
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(context, SPNG_IMG_COMPRESSION_LEVEL, 7);
    spng_set_option(context, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_SUB);
    spng_ihdr header{};
    header.width = width;
    header.height = height;
    header.bit_depth = 8;
    header.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(context, &header);
    spng_encode_image(context, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t size = 0;
    int error = 0;
    auto* bytes = static_cast<std::uint8_t*>(spng_get_png_buffer(context, &size, &error));
    TBytes result(bytes, bytes + size);
    std::free(bytes);
    spng_ctx_free(context);
    return result;
}

void LoadImage(TPNGObject& image, const TBytes& file)
{
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), file.size());
    stream.SetPosition(0);
    image.LoadFromStream(stream);
}

struct TSamplePicture {
    std::uint32_t Width = 1920, Height = 1080;
    int Channels;
    TBytes Pixels;
    TBytes File;
    explicit TSamplePicture(int channels)
        : Channels(channels), Pixels(MakePixels(Width, Height, channels)),
          File(EncodeWithLibpng(Pixels, Width, Height, channels))
    {
    }
};

const TSamplePicture& Picture(int channels)
{
    static const TSamplePicture rgb(3), rgba(4);
    return channels == 4 ? rgba : rgb;
}

std::vector<TBytes> LoadSuite()
{
    std::vector<TBytes> files;
    const std::filesystem::path folder = std::filesystem::path(MODEM_SOURCE_DIR) / "png" / "tests" / "data" / "pngsuite";
    if (!std::filesystem::is_directory(folder))
        throw std::runtime_error("no PngSuite at " + folder.string());
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name[0] == 'x')
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return files;
}

const std::vector<TBytes>& Suite()
{
    static const std::vector<TBytes> files = LoadSuite();
    return files;
}

void SetBytes(benchmark::State& state, std::size_t bytesPerIteration)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerIteration));
}

// The file sits in a memory stream before timing starts, as the other decoders read it from memory.
void DecodeOurs(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    TMemoryStream stream;
    stream.WriteBuffer(picture.File.data(), picture.File.size());
    for (auto _ : state) {
        stream.SetPosition(0);
        TPNGObject image;
        image.LoadFromStream(stream);
        benchmark::DoNotOptimize(image.RowPointer(0));
    }
    SetBytes(state, picture.Pixels.size());
}

// The image data of a PNG file: its IDAT chunks' data joined.
TBytes CompressedImageData(const TBytes& file)
{
    TBytes data;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::size_t length = (std::size_t{file[at]} << 24) | (std::size_t{file[at + 1]} << 16) |
                                   (std::size_t{file[at + 2]} << 8) | file[at + 3];
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0)
            data.insert(data.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                        file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        at += length + 12;
    }
    return data;
}

// zlib alone inflating the same image data in one call: the floor under every decoder above.
void InflateAlone(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    const TBytes compressed = CompressedImageData(picture.File);
    TBytes out(picture.Pixels.size() + picture.Height);
    for (auto _ : state) {
        uLongf size = out.size();
        if (uncompress(out.data(), &size, compressed.data(), compressed.size()) != Z_OK || size != out.size())
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    SetBytes(state, picture.Pixels.size());
}

void DecodeLibpng(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    TBytes out;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWithLibpng(picture.File, out));
    SetBytes(state, picture.Pixels.size());
}

void DecodeSpng(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    TBytes out;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWithSpng(picture.File, out));
    SetBytes(state, picture.Pixels.size());
}

void EncodeOurs(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    TPNGObject image;
    LoadImage(image, picture.File);
    for (auto _ : state) {
        TMemoryStream stream;
        image.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Size());
    }
    SetBytes(state, picture.Pixels.size());
}

void EncodeLibpng(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeWithLibpng(picture.Pixels, picture.Width, picture.Height, picture.Channels));
    SetBytes(state, picture.Pixels.size());
}

void EncodeSpng(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeWithSpng(picture.Pixels, picture.Width, picture.Height, picture.Channels));
    SetBytes(state, picture.Pixels.size());
}

void SuiteDecodeOurs(benchmark::State& state)
{
    for (auto _ : state)
        for (const TBytes& file : Suite()) {
            TPNGObject image;
            LoadImage(image, file);
            benchmark::DoNotOptimize(image.RowPointer(0));
        }
}

void SuiteDecodeLibpng(benchmark::State& state)
{
    TBytes out;
    for (auto _ : state)
        for (const TBytes& file : Suite())
            benchmark::DoNotOptimize(DecodeWithLibpng(file, out));
}

void SuiteDecodeSpng(benchmark::State& state)
{
    TBytes out;
    for (auto _ : state)
        for (const TBytes& file : Suite())
            benchmark::DoNotOptimize(DecodeWithSpng(file, out));
}

void SuiteEncodeOurs(benchmark::State& state)
{
    std::vector<std::unique_ptr<TPNGObject>> images;
    for (const TBytes& file : Suite()) {
        images.push_back(std::make_unique<TPNGObject>());
        LoadImage(*images.back(), file);
    }
    for (auto _ : state)
        for (auto& image : images) {
            TMemoryStream stream;
            image->SaveToStream(stream);
            benchmark::DoNotOptimize(stream.Size());
        }
}

// The RGBA picture blended over a full-HD canvas, as a picture control paints it.
void DrawBlendedOurs(benchmark::State& state)
{
    const TSamplePicture& picture = Picture(4);
    TPNGObject image;
    LoadImage(image, picture.File);
    TBitmap canvas;
    canvas.SetSize(static_cast<int>(picture.Width), static_cast<int>(picture.Height));
    const TRect rect = Rect(0, 0, static_cast<LONG>(picture.Width), static_cast<LONG>(picture.Height));
    for (auto _ : state)
        canvas.Canvas()->StretchDraw(rect, &image);
    state.SetItemsProcessed(state.iterations() * picture.Width * picture.Height);
}

} // namespace

// Argument: 3 for the RGB picture, 4 for RGBA.
BENCHMARK(DecodeOurs)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeLibpng)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeSpng)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(InflateAlone)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeOurs)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeLibpng)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeSpng)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(SuiteDecodeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(SuiteDecodeLibpng)->Unit(benchmark::kMillisecond);
BENCHMARK(SuiteDecodeSpng)->Unit(benchmark::kMillisecond);
BENCHMARK(SuiteEncodeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawBlendedOurs)->Unit(benchmark::kMillisecond);
