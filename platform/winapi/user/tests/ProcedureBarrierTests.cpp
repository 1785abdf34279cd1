#include "tests/support/windows/ForeignSend.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/user/WindowProcExceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* ThrowingClass = "ThrowsOnUserAndTimer";

LRESULT ThrowingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER || message == WM_TIMER)
        throw std::runtime_error("thrown by the procedure");
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void ThrowingTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    throw std::runtime_error("thrown by the timer callback");
}

// An exception as the window system's handler received it.
struct Report {
    HWND window;
    std::string text;
    bool operator==(const Report&) const = default;
};

std::vector<Report>& Reports()
{
    static std::vector<Report> reports;
    return reports;
}

class ProcedureBarrierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &ThrowingProc;
        windowClass.lpszClassName = ThrowingClass;
        (void)RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, ThrowingClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        Reports().clear();
        SetWindowProcExceptionHandler([](HWND window) {
            try {
                throw;
            } catch (const std::exception& error) {
                Reports().push_back({window, error.what()});
            }
        });
    }

    void TearDown() override
    {
        SetWindowProcExceptionHandler(nullptr);
        (void)DestroyWindow(m_window);
    }

    // What has arrived, dispatched without waiting.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            (void)DispatchMessageA(&msg);
    }

    HWND m_window = nullptr;
};

TEST_F(ProcedureBarrierTest, ASendFromAnotherThreadIsAnsweredWithZeroAndTheLoopGoesOn)
{
    const ForeignSend send(m_window, WM_USER);
    ASSERT_TRUE(send.AwaitAnswer());
    EXPECT_EQ(send.Result(), 0);
    EXPECT_EQ(Reports(), (std::vector<Report>{{m_window, "thrown by the procedure"}}));

    const ForeignSend again(m_window, WM_USER);
    ASSERT_TRUE(again.AwaitAnswer());
    EXPECT_EQ(Reports().size(), 2u);
}

TEST_F(ProcedureBarrierTest, WithinTheThreadASendAndAPostedMessageAreAnsweredWithZero)
{
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 0);
    ASSERT_TRUE(PostMessageA(m_window, WM_USER, 0, 0));
    ASSERT_TRUE(PostMessageA(m_window, WM_USER, 0, 0));
    Pump();
    EXPECT_EQ(Reports(), (std::vector<Report>(3, Report{m_window, "thrown by the procedure"})));
}

TEST_F(ProcedureBarrierTest, TimersThatThrowKeepTicking)
{
    FakeClock clock;
    ASSERT_NE(SetTimer(m_window, 1, 10, nullptr), 0u);
    const UINT_PTR callbackTimer = SetTimer(nullptr, 0, 10, &ThrowingTimerProc);
    ASSERT_NE(callbackTimer, 0u);
    for (int tick = 0; tick < 2; ++tick) {
        clock.Advance(10);
        Pump();
    }
    (void)KillTimer(m_window, 1);
    (void)KillTimer(nullptr, callbackTimer);
    const Report byWindow{m_window, "thrown by the procedure"};
    const Report byCallback{nullptr, "thrown by the timer callback"};
    EXPECT_EQ(std::count(Reports().begin(), Reports().end(), byWindow), 2);
    EXPECT_EQ(std::count(Reports().begin(), Reports().end(), byCallback), 2);
}

TEST_F(ProcedureBarrierTest, AnExceptionFromTheHandlerItselfStaysInside)
{
    SetWindowProcExceptionHandler([](HWND) { throw std::logic_error("thrown by the handler"); });
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 0);
}

} // namespace
