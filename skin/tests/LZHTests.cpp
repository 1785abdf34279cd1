#include "skin/LZH.h"

#include "tools/skinpack/lib/LzhEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct DecodeResult {
    Bytes output;
    std::size_t bytesRead = 0;
    std::size_t readerCalls = 0;
};

// Decodes `size` bytes from `input`; the reader hands out one byte per call as the system's does.
DecodeResult Decode(const Bytes& input, std::int32_t size)
{
    DecodeResult result;
    const TLZHWriteProc writer = [&](const void* buffer, std::uint16_t count) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        result.output.insert(result.output.end(), bytes, bytes + count);
        return count;
    };
    const TLZHReadProc reader = [&](void* buffer, std::uint16_t count) -> std::uint16_t {
        ++result.readerCalls;
        const std::size_t now = std::min<std::size_t>(count, input.size() - std::min(input.size(), result.bytesRead));
        std::memcpy(buffer, input.data() + result.bytesRead, now);
        result.bytesRead += now;
        return static_cast<std::uint16_t>(now);
    };
    TLZH().Unpack(size, writer, reader);
    return result;
}

Bytes Encode(const Bytes& data)
{
    return LzhEncode(data.data(), data.size());
}

Bytes RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Words from a small vocabulary with numbers between them: text with matches at every distance
// and length, and a skewed literal distribution that drives many tree exchanges and rebuilds.
Bytes Text(std::size_t size)
{
    static const char* const words[] = {"[Title]",  "Height=", "FrameTop.bmp", "Buttons", "\r\n",
                                        "colour",   "skin",    "0x00FF00FF",   "Trans=1", " ",
                                        "Progress", "Tile=",   "; comment",    "=",       "Left"};
    std::mt19937 random(7);
    Bytes text;
    while (text.size() < size) {
        const std::string word = words[random() % std::size(words)];
        text.insert(text.end(), word.begin(), word.end());
        if (random() % 5 == 0) {
            const std::string number = std::to_string(random() % 100000);
            text.insert(text.end(), number.begin(), number.end());
        }
    }
    text.resize(size);
    return text;
}

Bytes Repeated(const Bytes& block, int times)
{
    Bytes bytes;
    for (int i = 0; i < times; ++i)
        bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

Bytes AllByteValues(int rounds)
{
    Bytes bytes;
    for (int round = 0; round < rounds; ++round) {
        for (int value = 0; value < 256; ++value)
            bytes.push_back(static_cast<std::uint8_t>(value * (round + 1)));
    }
    return bytes;
}

Bytes Of(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Streams worked out by hand from the starting tree (so that the packer and the decoder cannot
// share a mistake): "A" is 111001101 and the shortest match symbol 10001100 from the start; a
// position below 64 is the prefix 000 and six plain bits.
TEST(TLZH, DecodesHandDerivedStreams)
{
    struct Case {
        const char* what;
        Bytes input;
        std::string expected;
    };
    const Case cases[] = {
        {"one literal", {0xE6, 0x80}, "A"},
        {"a match at position 0 repeats the byte just written", {0xE6, 0xC6, 0x00, 0x00}, "AAAA"},
        {"a match reaching back into the spaces the ring starts with", {0xE6, 0xC6, 0x00, 0xC0}, "A   "},
    };
    for (const Case& test : cases) {
        const Bytes output = Decode(test.input, static_cast<std::int32_t>(test.expected.size())).output;
        EXPECT_EQ(std::string(output.begin(), output.end()), test.expected) << test.what;
    }
}

TEST(TLZH, RestoresWhatThePackerPacked)
{
    const Bytes randomBlock = RandomBytes(4096, 3);
    struct Case {
        const char* what;
        Bytes data;
    };
    const Case cases[] = {
        {"one byte", Of("x")},
        {"all equal (overlapping copies)", Bytes(1 << 20, 0x55)},
        {"every byte value", AllByteValues(64)},
        {"random", RandomBytes(1 << 20, 1)},
        {"text", Text(2 << 20)},
        {"a block repeated at the ring's full distance", Repeated(randomBlock, 3)},
        {"spaces, matched against the ring's start", Of(std::string(5000, ' ') + "end")},
    };
    for (const Case& test : cases) {
        const Bytes packed = Encode(test.data);
        const DecodeResult result = Decode(packed, static_cast<std::int32_t>(test.data.size()));
        EXPECT_TRUE(result.output == test.data) << test.what;
    }
}

TEST(TLZH, SizeZeroReadsAndWritesNothing)
{
    EXPECT_TRUE(Encode({}).empty());
    for (std::int32_t size : {0, -1}) {
        const DecodeResult result = Decode({0xE6, 0x80}, size);
        EXPECT_TRUE(result.output.empty());
        EXPECT_EQ(result.bytesRead, 0u);
    }
}

TEST(TLZH, OnceTheInputRunsOutTheRestIsZerosWithoutDecoding)
{
    const Bytes original = Text(200000);
    const Bytes packed = Encode(original);
    const Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packed.size() / 2));
    const DecodeResult result = Decode(cut, static_cast<std::int32_t>(original.size()));

    EXPECT_GE(result.output.size(), original.size());
    EXPECT_LT(result.output.size(), original.size() + 60);
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 10000, result.output.begin()));
    // Half the input holds about half the text; the last quarter is zeros, and the reader was
    // asked once past its end.
    EXPECT_TRUE(std::all_of(result.output.begin() + static_cast<std::ptrdiff_t>(original.size() * 3 / 4),
                            result.output.end(), [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_EQ(result.readerCalls, cut.size() + 1);

    // A package of seven bytes whose size word claims 64 MiB: three bytes cannot decode to more
    // than three symbols, and everything after them is filled at once.
    constexpr std::int32_t claimed = 64 << 20;
    const DecodeResult tiny = Decode({0xE6, 0xC6, 0x00}, claimed);
    EXPECT_GE(tiny.output.size(), std::size_t{claimed});
    EXPECT_TRUE(std::all_of(tiny.output.begin() + 3 * 60, tiny.output.end(), [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_EQ(tiny.readerCalls, 4u);
}

TEST(TLZH, AMatchBegunBelowTheSizeIsCopiedWhole)
{
    // "A" then one 3-byte match: asking for 2 bytes still gives all 4.
    EXPECT_EQ(Decode({0xE6, 0xC6, 0x00, 0x00}, 2).output.size(), 4u);
    // Sixty equal bytes are one literal and one 59-byte match.
    const Bytes packed = Encode(Bytes(60, 'z'));
    EXPECT_EQ(Decode(packed, 2).output, Bytes(60, 'z'));
}

} // namespace
