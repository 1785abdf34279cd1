// Feeds arbitrary bytes to the image list's form data reader: every input must either load or
// raise a class-library exception, never crash, over-read or allocate beyond the size limits.
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    if (size)
        stream.WriteBuffer(data, size);
    stream.SetPosition(0);
    TImageList list(nullptr);
    try {
        list.ReadData(stream);
    } catch (const Exception&) {
        return 0;
    }
    TMemoryStream copy;
    list.WriteData(copy);
    return 0;
}
