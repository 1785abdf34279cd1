// Feeds arbitrary bytes to the BMP reader: every input must either load within the limits in
// GraphicsBitmap.h or raise EInvalidGraphic, never crash, over-read or allocate beyond the limits.
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    if (size)
        stream.WriteBuffer(data, size);
    stream.SetPosition(0);
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    // What loaded must draw and write back.
    (void)bitmap.Canvas()->Pixels(0, bitmap.Height() - 1);
    TMemoryStream copy;
    bitmap.SaveToStream(copy);
    return 0;
}
