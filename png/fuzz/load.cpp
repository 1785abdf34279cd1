// Loads arbitrary bytes as a PNG image, then exercises what a loaded image offers: pixel reads,
// drawing's blend and saving. Any exception of the codec is an accepted answer.
#include "png/PngBlend.h"
#include "png/PngCodec.h"

#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// libFuzzer reports any single allocation past its malloc limit as a crash, while the codec
// rightly accepts sides up to 65535 whose storage takes gigabytes: such headers are skipped.
bool ClaimsHugeImage(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t widthAt = 16; // signature, IHDR length and name
    if (size < widthAt + 8)
        return false;
    auto read32 = [&](std::size_t at) {
        return (std::uint64_t{data[at]} << 24) | (std::uint64_t{data[at + 1]} << 16) | (std::uint64_t{data[at + 2]} << 8) |
               data[at + 3];
    };
    return read32(widthAt) * read32(widthAt + 4) > (std::uint64_t{1} << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (ClaimsHugeImage(data, size))
        return 0;
    TMemoryStream stream;
    stream.WriteBuffer(data, size);
    stream.SetPosition(0);
    TPNGObject image;
    try {
        image.LoadFromStream(stream);
    } catch (const Exception&) {
    }
    (void)image.PixelColor(0, 0);
    (void)image.TransparentKeyColor();
    if (image.HasHeader() && image.Width() <= 256 && image.Height() <= 256) {
        std::vector<std::uint8_t> surface(std::size_t(image.Width()) * image.Height() * 4);
        BlendImageOver(image, surface.data(), std::size_t(image.Width()) * 4);
        TMemoryStream saved;
        try {
            image.SaveToStream(saved);
        } catch (const Exception&) {
        }
    }
    return 0;
}
