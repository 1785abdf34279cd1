// Loads arbitrary bytes as a PNG image, then exercises what a loaded image offers: pixel reads,
// drawing's blend and saving. Any exception of the codec is an accepted answer.
#include "png/PngBlend.h"
#include "png/PngCodec.h"

#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
