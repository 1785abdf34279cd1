#include "tools/skinpack/lib/LzhEncoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The same hand-derived streams the decoder is checked against: "A" is 111001101 and the
// shortest match symbol 10001100 in the starting tree; a position below 64 is 000 and six bits;
// the last byte is padded with zero bits.
TEST(LzhEncode, WritesHandDerivedStreams)
{
    struct Case {
        std::string input;
        Bytes expected;
    };
    const Case cases[] = {
        {"", {}},
        {"A", {0xE6, 0x80}},
        {"AAAA", {0xE6, 0xC6, 0x00, 0x00}},
        // The nearest three spaces lie four bytes back in the ring's space-filled start.
        {"A   ", {0xE6, 0xC6, 0x00, 0xC0}},
    };
    for (const Case& test : cases) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(test.input.data());
        EXPECT_EQ(LzhEncode(data, test.input.size()), test.expected) << '"' << test.input << '"';
    }
}

} // namespace
