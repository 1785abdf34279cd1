#include <gtest/gtest.h>

#include "platform/rtl/Utf8.h"

namespace {

// "aé€😀": characters of one to four bytes starting at 0, 1, 3 and 6; 10 bytes in all.
constexpr std::string_view Mixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";

TEST(Utf8, SequenceLengthFollowsTheLeadByte)
{
    const struct {
        unsigned char lead;
        std::size_t length;
    } cases[] = {{0x00, 1}, {'a', 1}, {0x7F, 1}, {0x80, 0}, {0xBF, 0}, {0xC3, 2},
                 {0xE2, 3}, {0xF0, 4}, {0xF7, 4}, {0xF8, 0}, {0xFF, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Utf8SequenceLength(c.lead), c.length) << int(c.lead);
}

TEST(Utf8, CountsAndLocatesCharacters)
{
    EXPECT_EQ(Utf8CharacterCount(""), 0u);
    EXPECT_EQ(Utf8CharacterCount(Mixed), 4u);
    EXPECT_EQ(Utf8CharacterCount("\xE9t\xE9"), 3u) << "Latin-1 bytes count one each";
    const std::size_t offsets[] = {0, 1, 3, 6, 10, 10};
    for (std::size_t count = 0; count < std::size(offsets); ++count)
        EXPECT_EQ(Utf8CharacterOffset(Mixed, count), offsets[count]) << count;
}

TEST(Utf8, StepsBetweenCharacterStarts)
{
    const struct {
        std::size_t pos, previous, next, start;
    } cases[] = {{0, 0, 1, 0},  {1, 0, 3, 1},  {2, 1, 3, 1},   {3, 1, 6, 3},     {4, 3, 6, 3},
                 {6, 3, 10, 6}, {9, 6, 10, 6}, {10, 6, 10, 10}, {99, 6, 10, 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8PreviousStart(Mixed, c.pos), c.previous) << c.pos;
        EXPECT_EQ(Utf8NextStart(Mixed, c.pos), c.next) << c.pos;
        EXPECT_EQ(Utf8CharacterStart(Mixed, c.pos), c.start) << c.pos;
    }
}

} // namespace
