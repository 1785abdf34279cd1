#include "tools/modemart/lib/ArtPicture.h"

#include "png/PngCodec.h"

#include "platform/classlib/core/Streams.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp<long>(std::lround(value), 0, 255));
}

TArtPixel Recover(TColor onBlack, TColor onWhite)
{
    if (onBlack == KeyColour)
        return {};
    const int black[3] = {int(onBlack & 0xFF), int((onBlack >> 8) & 0xFF), int((onBlack >> 16) & 0xFF)};
    const int white[3] = {int(onWhite & 0xFF), int((onWhite >> 8) & 0xFF), int((onWhite >> 16) & 0xFF)};
    // A pixel blended over the matte shows the matte through by (1 - alpha) on every channel.
    double seen = 0;
    for (int c = 0; c < 3; ++c)
        seen += white[c] - black[c];
    const double alpha = std::clamp(1.0 - seen / (3 * 255.0), 0.0, 1.0);
    if (alpha <= 0)
        return {};
    return {Channel(black[0] / alpha), Channel(black[1] / alpha), Channel(black[2] / alpha), Channel(alpha * 255)};
}

void Put16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

bool Opaque(const TArtPicture& image)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y).alpha != 255)
                return false;
    return true;
}

} // namespace

void TArtPicture::Over(const TArtPicture& above, int left, int top, double opacity)
{
    for (int y = 0; y < above.Height(); ++y)
        for (int x = 0; x < above.Width(); ++x) {
            const int tx = left + x, ty = top + y;
            if (tx < 0 || ty < 0 || tx >= m_width || ty >= m_height)
                continue;
            const TArtPixel& source = above.At(x, y);
            TArtPixel& target = At(tx, ty);
            const double a = source.alpha / 255.0 * opacity;
            const double b = target.alpha / 255.0;
            const double out = a + b * (1 - a);
            if (out <= 0)
                continue;
            const auto mix = [&](std::uint8_t s, std::uint8_t t) { return Channel((s * a + t * b * (1 - a)) / out); };
            target = {mix(source.red, target.red), mix(source.green, target.green), mix(source.blue, target.blue),
                      Channel(out * 255)};
        }
}

TArtPicture TArtPicture::Cut(int left, int top, int width, int height) const
{
    TArtPicture part(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            part.At(x, y) = At(left + x, top + y);
    return part;
}

TArtPicture PaintRgba(int width, int height, const TArtDrawing& draw)
{
    const auto paint = [&](TColor matte) {
        std::unique_ptr<TBitmap> bitmap = NewStrip(width, height, 1);
        TArtCanvas art(*bitmap, matte);
        draw(art);
        return bitmap;
    };
    const std::unique_ptr<TBitmap> onBlack = paint(Rgb(0, 0, 0));
    const std::unique_ptr<TBitmap> onWhite = paint(Rgb(255, 255, 255));
    TArtPicture image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.At(x, y) = Recover(ReadPixel(*onBlack, x, y), ReadPixel(*onWhite, x, y));
    return image;
}

std::string EncodePng(const TArtPicture& image)
{
    const bool alpha = !Opaque(image);
    TPNGObject png;
    png.ClearChunkList();
    auto& header = static_cast<TChunkIHDR&>(png.Chunks().Add(ChunkClassForName(png, "IHDR")));
    png.Chunks().Add(ChunkClassForName(png, "IDAT"));
    png.Chunks().Add(ChunkClassForName(png, "IEND"));
    header.SetWidth(static_cast<std::uint32_t>(image.Width()));
    header.SetHeight(static_cast<std::uint32_t>(image.Height()));
    header.SetBitDepth(8);
    header.SetColorType(alpha ? COLOR_RGBALPHA : COLOR_RGB);
    header.PrepareImageStorage();
    TImageStorage& storage = header.Storage();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = storage.Row(static_cast<std::uint32_t>(y));
        for (int x = 0; x < image.Width(); ++x) {
            const TArtPixel& pixel = image.At(x, y);
            row[3 * x] = pixel.blue;
            row[3 * x + 1] = pixel.green;
            row[3 * x + 2] = pixel.red;
            if (alpha)
                storage.AlphaRow(static_cast<std::uint32_t>(y))[x] = pixel.alpha;
        }
    }
    TMemoryStream stream;
    png.SaveToStream(stream);
    return {reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

std::string EncodeIcon(const std::vector<TArtPicture>& images)
{
    constexpr std::uint32_t DirectorySize = 6, EntrySize = 16, InfoHeaderSize = 40;
    std::string directory, bodies;
    Put16(directory, 0);
    Put16(directory, 1);
    Put16(directory, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = DirectorySize + EntrySize * static_cast<std::uint32_t>(images.size());
    for (const TArtPicture& image : images) {
        const int width = image.Width(), height = image.Height();
        const std::uint32_t maskStride = (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
        std::string body;
        Put32(body, InfoHeaderSize);
        Put32(body, static_cast<std::uint32_t>(width));
        Put32(body, static_cast<std::uint32_t>(height * 2)); // colour image and mask
        Put16(body, 1);
        Put16(body, 32);
        for (int i = 0; i < 6; ++i)
            Put32(body, 0); // compression, sizes, resolutions, colours
        for (int y = height - 1; y >= 0; --y) // rows bottom-up
            for (int x = 0; x < width; ++x) {
                const TArtPixel& p = image.At(x, y);
                Put32(body, p.blue | (p.green << 8) | (p.red << 16) | (std::uint32_t(p.alpha) << 24));
            }
        for (int y = height - 1; y >= 0; --y) {
            std::string row(maskStride, '\0');
            for (int x = 0; x < width; ++x)
                if (image.At(x, y).alpha == 0)
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            body += row;
        }
        directory.push_back(static_cast<char>(width));
        directory.push_back(static_cast<char>(height));
        Put16(directory, 0); // no palette, reserved
        Put16(directory, 1);
        Put16(directory, 32);
        Put32(directory, static_cast<std::uint32_t>(body.size()));
        Put32(directory, offset);
        offset += static_cast<std::uint32_t>(body.size());
        bodies += body;
    }
    return directory + bodies;
}
