#include "modem/core/Delay.h"

#include "platform/classlib/core/Timers.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

namespace {

// Moves the clock `steps` times by `ms`, each time once the waiting thread has blocked again.
std::thread MoveClock(FakeClock& clock, int steps, std::uint64_t ms)
{
    return std::thread([&clock, steps, ms] {
        for (int i = 0; i < steps; ++i) {
            clock.AwaitTimedWaiters(1);
            clock.Advance(ms);
        }
    });
}

TEST(Delay, TimersKeepRunningWhileItWaitsAndItEndsWhenTheTimeHasPassed)
{
    (void)SelectHeadlessDisplay();
    FakeClock clock;
    TTimer timer(nullptr);
    timer.SetInterval(500);
    int ticks = 0;
    timer.SetOnTimer(TNotifyEvent::FromFunction([&](TObject*) { ++ticks; }));
    const std::uint64_t start = GetTickCount64();

    std::thread mover = MoveClock(clock, 3, 500);
    Delay(1500);
    mover.join();

    EXPECT_EQ(GetTickCount64() - start, 1500u);
    EXPECT_GE(ticks, 1);
}

TEST(Delay, AWaitAcrossTheWrapOfTheTickCountEnds)
{
    (void)SelectHeadlessDisplay();
    FakeClock clock(0x1FFFFFF00);
    const std::uint64_t start = GetTickCount64();
    std::thread mover = MoveClock(clock, 5, 100);
    Delay(500);
    mover.join();
    EXPECT_EQ(GetTickCount64() - start, 500u);
    EXPECT_LT(GetTickCount(), 0x1000u) << "the counter wrapped during the wait";
}

} // namespace
