#include "grid/core/GridLibGx.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TMemoryStreamGx, CapacityGrowsInStepsOfTwiceTheHalfDelta)
{
    const struct {
        std::uint32_t halfDelta;
        std::size_t written;
        std::size_t capacity;
    } cases[] = {
        {4096, 1, 8192},
        {4096, 8192, 8192},
        {4096, 8193, 16384},
        {65536, 200000, 262144},
    };
    for (const auto& c : cases) {
        TMemoryStreamGx stream;
        stream.SetHalfMemoryDelta(c.halfDelta);
        const std::vector<std::uint8_t> bytes(c.written, 0x5A);
        stream.WriteBuffer(bytes.data(), bytes.size());
        EXPECT_EQ(stream.Capacity(), c.capacity) << c.written;
        EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(c.written));
    }
}

TEST(TMemoryStreamGx, SettingTheCurrentSizeKeepsTheCapacityUnrounded)
{
    TMemoryStreamGx stream;
    stream.SetSize(100);
    EXPECT_EQ(stream.Capacity(), 8192u);
    stream.SetCapacity(100); // the size itself is taken as it is
    EXPECT_EQ(stream.Capacity(), 100u);
    stream.SetSize(0);
    EXPECT_EQ(stream.Capacity(), 0u);
    EXPECT_EQ(stream.Memory(), nullptr);
}

TEST(TMemoryStreamGx, ReadsBackWhatWasWrittenAndRefusesAStepThatIsNoPowerOfTwo)
{
    TMemoryStreamGx stream;
    stream.WriteBuffer("grid", 4);
    stream.SetPosition(1);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 3u);
    EXPECT_STREQ(buffer, "rid");
    EXPECT_THROW(stream.SetHalfMemoryDelta(3000), EStreamError);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
}
