#include "png/PngBlend.h"

#include "png/PngCodec.h"
#include "png/PngInternal.h"

using namespace png::detail;

namespace {

void BlendPixel(std::uint8_t* target, std::uint8_t alpha, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    target[0] = BlendChannel(alpha, blue, target[0]);
    target[1] = BlendChannel(alpha, green, target[1]);
    target[2] = BlendChannel(alpha, red, target[2]);
}

} // namespace

void BlendImageOver(const TPNGObject& image, std::uint8_t* surface, std::size_t stride)
{
    if (!image.HasHeader())
        return;
    const TImageStorage& storage = image.HeaderChunk().Storage();
    if (!storage.Prepared())
        return;
    const TChunktRNS* transparency = image.Chunks().ItemFromClass<TChunktRNS>();
    const unsigned bits = storage.BitsPerPixel();
    for (std::uint32_t y = 0; y < storage.Height(); ++y, surface += stride) {
        const std::uint8_t* row = storage.Row(y);
        const std::uint8_t* alpha = storage.HasAlpha() ? storage.AlphaRow(y) : nullptr;
        for (std::uint32_t x = 0; x < storage.Width(); ++x) {
            std::uint8_t* target = surface + std::size_t{x} * 4;
            if (bits == 24) {
                const std::uint8_t* pixel = row + std::size_t{x} * 3;
                BlendPixel(target, alpha ? alpha[x] : 255, pixel[0], pixel[1], pixel[2]);
                continue;
            }
            // Greys and palette colours both come from the colour table; an index past the
            // palette's end shows the table's (black) entry.
            const unsigned index = PackedValue(row, x, bits);
            const TPngColorEntry& entry = storage.ColorTable()[index];
            std::uint8_t a = 255;
            if (alpha)
                a = alpha[x];
            else if (transparency)
                a = transparency->AlphaTable()[index];
            BlendPixel(target, a, entry.rgbBlue, entry.rgbGreen, entry.rgbRed);
        }
    }
}
