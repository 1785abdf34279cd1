// Feeds arbitrary bytes to the .ico reader: every input must either load or raise
// EInvalidGraphic, never crash, over-read or allocate beyond the icon size limit.
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    if (size)
        stream.WriteBuffer(data, size);
    stream.SetPosition(0);
    TIcon icon;
    try {
        icon.LoadFromStream(stream);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    TMemoryStream copy;
    icon.SaveToStream(copy);
    return 0;
}
