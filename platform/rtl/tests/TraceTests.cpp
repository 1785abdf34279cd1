#include "platform/rtl/Trace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Restores MODEM_TRACE and the channels it switches, whatever a test set.
class TraceTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (const char* value = std::getenv("MODEM_TRACE"))
            m_saved = value;
    }
    void TearDown() override
    {
        if (m_saved)
            setenv("MODEM_TRACE", m_saved->c_str(), 1);
        else
            unsetenv("MODEM_TRACE");
        ReloadTraceChannels();
    }

private:
    std::optional<std::string> m_saved;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(TraceChannels, ParsesNamesSeparatorsCaseAndAll)
{
    const TraceChannels ras = TraceBit(TraceChannel::Ras);
    const TraceChannels display = TraceBit(TraceChannel::Display);
    const TraceChannels messages = TraceBit(TraceChannel::Messages);
    const TraceChannels comm = TraceBit(TraceChannel::Comm);
    const TraceChannels all = TraceBit(TraceChannel::Count) - 1;
    const struct {
        const char* channelList;
        TraceChannels channels;
        std::vector<std::string> unknown;
    } cases[] = {
        {"", 0, {}},
        {"ras", ras, {}},
        {"ras,display", ras | display, {}},
        {" RAS , Messages ", ras | messages, {}},
        {"comm\tdisplay", comm | display, {}},
        {",,ras,,", ras, {}},
        {"all", all, {}},
        {"ALL,ras", all, {}},
        {"ras,dispaly,1", ras, {"dispaly", "1"}},
        {"rasx", 0, {"rasx"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channelList);
        const auto parsed = ParseTraceChannels(c.channelList);
        EXPECT_EQ(parsed.channels, c.channels);
        EXPECT_EQ(parsed.unknown, c.unknown);
    }
}

TEST(TraceChannels, EveryChannelHasADistinctNameThatParsesBack)
{
    for (unsigned index = 0; index < static_cast<unsigned>(TraceChannel::Count); ++index) {
        const auto channel = static_cast<TraceChannel>(index);
        const auto name = TraceChannelName(channel);
        SCOPED_TRACE(std::string(name));
        EXPECT_EQ(ParseTraceChannels(name).channels, TraceBit(channel));
    }
}

TEST_F(TraceTest, EveryChannelIsOffWhenTheVariableIsUnset)
{
    unsetenv("MODEM_TRACE");
    ReloadTraceChannels();
    for (unsigned index = 0; index < static_cast<unsigned>(TraceChannel::Count); ++index)
        EXPECT_FALSE(TraceEnabled(static_cast<TraceChannel>(index))) << index;
}

TEST_F(TraceTest, TheVariableSwitchesTheChannelsItNames)
{
    setenv("MODEM_TRACE", "ras,messages", 1);
    ReloadTraceChannels();
    EXPECT_TRUE(TraceEnabled(TraceChannel::Ras));
    EXPECT_TRUE(TraceEnabled(TraceChannel::Messages));
    EXPECT_FALSE(TraceEnabled(TraceChannel::Display));
    EXPECT_FALSE(TraceEnabled(TraceChannel::Comm));
}

TEST_F(TraceTest, AnEnabledChannelWritesOneLineWithItsName)
{
    SetTraceChannels("comm");
    testing::internal::CaptureStderr();
    if (TraceEnabled(TraceChannel::Comm))
        TraceLine(TraceChannel::Comm, "tx " + TraceEscaped("AT\r"));
    if (TraceEnabled(TraceChannel::Ras))
        TraceLine(TraceChannel::Ras, "not written");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "comm: tx AT\\r\n");
}

TEST_F(TraceTest, AMisspeltChannelIsReportedWithTheChannelList)
{
    testing::internal::CaptureStderr();
    SetTraceChannels("ras,dispaly");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(TraceEnabled(TraceChannel::Ras));
    EXPECT_NE(report.find("\"dispaly\""), std::string::npos) << report;
    EXPECT_NE(report.find("messages"), std::string::npos) << report;
}

// Lines written at once from several threads come out whole, each on its own line.
TEST_F(TraceTest, LinesFromManyThreadsNeverInterleave)
{
    SetTraceChannels("all");
    constexpr int Threads = 4;
    constexpr int LinesEach = 200;
    const std::string payload(100, 'x');
    testing::internal::CaptureStderr();
    {
        std::vector<std::jthread> writers;
        for (int t = 0; t < Threads; ++t)
            writers.emplace_back([&payload] {
                for (int line = 0; line < LinesEach; ++line)
                    TraceLine(TraceChannel::Display, payload);
            });
    }
    const auto lines = Lines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(Threads * LinesEach));
    for (const auto& line : lines)
        ASSERT_EQ(line, "display: " + payload);
}

TEST(TraceEscaped, KeepsPrintableTextAndEscapesTheRest)
{
    const struct {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"AT+CSQ", "AT+CSQ"},
        {"\r\nOK\r\n", "\\r\\nOK\\r\\n"},
        {"a\tb\\c\"d", "a\\tb\\\\c\\\"d"},
        {std::string("\x1A\0\x7F\xC3\xA9", 5), "\\x1A\\x00\\x7F\\xC3\\xA9"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TraceEscaped(c.bytes), c.text);
}
