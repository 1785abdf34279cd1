#include "modem/store/CallTimerText.h"
#include "modem/store/DialProgress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CallTimerTextTest, ConnectedCallsAndDataConnectionsCountInHoursMinutesSeconds)
{
    EXPECT_EQ(CallTimeTitle(0), "Time: 00:00:00");
    EXPECT_EQ(CallTimeTitle(65), "Time: 00:01:05");
    EXPECT_EQ(CallTimeTitle(359999), "Time: 99:59:59");
    EXPECT_EQ(CallTimeTitle(360000), "Time: 100:00:00");
    EXPECT_EQ(ConnectionTime(999), "00:00:00");
    EXPECT_EQ(ConnectionTime(3723000), "01:02:03");
    EXPECT_EQ(ConnectionTime(360000000UL), "100:00:00");
}

TEST(CallTimerTextTest, TheDotsGrowAndStartAgainEveryThirdSecond)
{
    std::string title = "Call Outgoing.";
    std::string shown;
    for (int second = 1; second <= 6; ++second) {
        title = CallProgressTitle(title, second, "Call Outgoing.");
        shown += title + "|";
    }
    EXPECT_EQ(shown, "Call Outgoing..|Call Outgoing...|Call Outgoing.|Call Outgoing..|Call Outgoing...|Call Outgoing.|");
}

TEST(DialProgressTest, EveryCodeFromSixHundredUpEndsTheDial)
{
    struct Case {
        std::uint32_t code;
        TDialStep step;
        std::string_view log;
    };
    const Case cases[] = {
        {0, TDialStep::Log, "==Openning Port=="},
        {1, TDialStep::Log, "==Port Opened=="},
        {5, TDialStep::Log, "==Starting Authentication=="},
        {14, TDialStep::Log, "==Authenticated=="},
        {2, TDialStep::Ignored, {}},
        {599, TDialStep::Ignored, {}},
        {0x2000, TDialStep::Connected, {}},
        {0x2001, TDialStep::Disconnected, {}},
        {678, TDialStep::ErrorWithText, {}},
        {691, TDialStep::ErrorWithText, {}},
        {600, TDialStep::Error, {}},
        {750, TDialStep::Error, {}},
        {797, TDialStep::Error, {}}, // past the range the service once listed
        {20000, TDialStep::Error, {}},
    };
    for (const Case& c : cases) {
        const TDialProgress progress = DialProgressOf(c.code);
        EXPECT_EQ(progress.Step, c.step) << c.code;
        EXPECT_EQ(progress.LogText, c.log) << c.code;
    }
}

TEST(DialProgressTest, AConnectionErrorSaysWhyWhenTheServiceKnows)
{
    EXPECT_EQ(ConnectionErrorLogText(""), "==Connection Error==");
    EXPECT_EQ(ConnectionErrorLogText("The dial-up program pppd could not be started."),
              "==Connection Error: The dial-up program pppd could not be started.==");
}

} // namespace
