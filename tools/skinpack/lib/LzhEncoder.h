#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Packs bytes with the adaptive-Huffman LZ scheme that TLZH expands: a 4096-byte ring that starts
// with 4036 spaces, matches of 3 to 60 bytes, literals and match lengths coded by one adaptive
// Huffman tree and the upper six bits of a match position by a fixed prefix code. The output is
// the bit stream only; the caller records the unpacked size. Inputs past 2 GiB raise
// std::length_error.
[[nodiscard]] std::vector<std::uint8_t> LzhEncode(const std::uint8_t* data, std::size_t size);
