#include "tools/fakemodem/lib/Transcript.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Transcript, KeepsTheNewestLinesUpToItsCapacity)
{
    Transcript transcript(3);
    std::string heard;
    transcript.SetListener([&](const std::string& line) { heard += line.substr(line.size() - 1); });
    for (const char* note : {"1", "2", "3", "4", "5"})
        transcript.Add(Transcript::Direction::Note, note);
    const auto lines = transcript.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with("-- 3")) << lines[0];
    EXPECT_TRUE(lines[2].ends_with("-- 5")) << lines[2];
    EXPECT_EQ(heard, "12345") << "the listener still sees every line";
}

} // namespace
