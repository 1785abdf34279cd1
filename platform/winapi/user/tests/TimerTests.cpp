#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        RegisterLoggedClass();
        m_window = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        MessageLog::Instance().Clear();
    }
    void TearDown() override { (void)DestroyWindow(m_window); }

    std::vector<MSG> Pump()
    {
        std::vector<MSG> messages;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            messages.push_back(msg);
            (void)DispatchMessageA(&msg);
        }
        return messages;
    }

    FakeClock m_clock;
    HWND m_window = nullptr;
};

TEST_F(TimerTest, ALateTimerGivesOneTickNotABacklog)
{
    ASSERT_EQ(SetTimer(m_window, 5, 100, nullptr), 1u);
    EXPECT_TRUE(Pump().empty());
    m_clock.Advance(99);
    EXPECT_TRUE(Pump().empty());
    m_clock.Advance(1000);
    const auto ticks = Pump();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].message, WM_TIMER);
    EXPECT_EQ(ticks[0].wParam, 5u);
    // The next tick is one interval after the late one, not on the old schedule.
    m_clock.Advance(99);
    EXPECT_TRUE(Pump().empty());
    m_clock.Advance(1);
    EXPECT_EQ(Pump().size(), 1u);
    EXPECT_TRUE(KillTimer(m_window, 5));
    EXPECT_FALSE(KillTimer(m_window, 5));
    m_clock.Advance(1000);
    EXPECT_TRUE(Pump().empty());
}

TEST_F(TimerTest, WmTimerComesAfterPostedMessagesAndSettingAgainRestarts)
{
    (void)SetTimer(m_window, 1, 50, nullptr);
    m_clock.Advance(50);
    (void)PostMessageA(m_window, WM_USER, 0, 0);
    const auto messages = Pump();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_USER);
    EXPECT_EQ(messages[1].message, WM_TIMER);

    m_clock.Advance(40);
    (void)SetTimer(m_window, 1, 50, nullptr);
    m_clock.Advance(40);
    EXPECT_TRUE(Pump().empty());
    m_clock.Advance(10);
    EXPECT_EQ(Pump().size(), 1u);
}

TEST_F(TimerTest, ThreadTimersCallTheirProcedureAndGetMessageWakesForThem)
{
    static int calls = 0;
    calls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
    ASSERT_NE(id, 0u);
    std::thread mover([this] {
        m_clock.AwaitTimedWaiters(1);
        m_clock.Advance(30);
    });
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    mover.join();
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, id);
    (void)DispatchMessageA(&msg);
    EXPECT_EQ(calls, 1);
    // Once the timer is gone, a stale WM_TIMER calls nothing.
    EXPECT_TRUE(KillTimer(nullptr, id));
    (void)DispatchMessageA(&msg);
    EXPECT_EQ(calls, 1);
}

TEST_F(TimerTest, AWindowTimerProcedureRunsOnDispatchAndAForgedOneNever)
{
    static int calls = 0;
    calls = 0;
    const TIMERPROC proc = [](HWND, UINT, UINT_PTR, DWORD) { ++calls; };
    (void)SetTimer(m_window, 9, 10, proc);
    m_clock.Advance(10);
    (void)Pump();
    EXPECT_EQ(calls, 1);
    MSG forged{m_window, WM_TIMER, 9, reinterpret_cast<LPARAM>(+[](HWND, UINT, UINT_PTR, DWORD) { calls += 100; }),
               0, {}};
    (void)DispatchMessageA(&forged);
    EXPECT_EQ(calls, 1);
}

TEST_F(TimerTest, DestroyingTheWindowKillsItsTimers)
{
    const HWND other = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    (void)SetTimer(other, 1, 10, nullptr);
    (void)DestroyWindow(other);
    m_clock.Advance(100);
    EXPECT_TRUE(Pump().empty());
}

} // namespace
