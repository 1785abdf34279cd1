#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <functional>

// Raised when the decoder's tables cannot be had.
RTL_DECLARE_EXCEPTION(ElzhException, Exception);

// Moves up to `count` bytes into or out of `buffer` and returns how many it moved.
using TLZHReadProc = std::function<std::uint16_t(void* buffer, std::uint16_t count)>;
using TLZHWriteProc = std::function<std::uint16_t(const void* buffer, std::uint16_t count)>;

// Expands data packed with the adaptive-Huffman LZ scheme of the skin packages (a 4096-byte ring,
// matches of 3 to 60 bytes). Nothing in the system packs; the packer is a separate tool.
class TLZH {
public:
    // Decodes until at least `outputSize` bytes have gone to `writer`, pulling input from `reader`
    // one byte at a time. A short stream still ends at the requested size: once the reader has
    // nothing more (it is not asked again) and its last bits are decoded, the rest is written as
    // zero bytes without decoding. The last symbol may take zero bits past the input's end. The
    // size is tested before each symbol only: a match begun below it is copied whole, so up to 59
    // bytes more than asked for may be written. A size of 0 or below writes and reads nothing.
    // Memory use is fixed (a few KiB of tables).
    void Unpack(std::int32_t outputSize, const TLZHWriteProc& writer, const TLZHReadProc& reader);
};
