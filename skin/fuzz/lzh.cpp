// Decodes arbitrary bytes: the first two give the output size (up to 8 KiB, which reaches every
// path), the rest is the packed stream.

#include "skin/LZH.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::int32_t outputSize = (data[0] | data[1] << 8) & 0x1FFF;
    std::size_t position = 2;
    std::int64_t written = 0;
    const TLZHReadProc reader = [&](void* buffer, std::uint16_t count) -> std::uint16_t {
        const std::size_t now = std::min<std::size_t>(count, size - position);
        std::memcpy(buffer, data + position, now);
        position += now;
        return static_cast<std::uint16_t>(now);
    };
    const TLZHWriteProc writer = [&](const void*, std::uint16_t count) {
        written += count;
        return count;
    };
    TLZH().Unpack(outputSize, writer, reader);
    if (written < outputSize || written >= outputSize + 60)
        __builtin_trap();
    return 0;
}
