#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Threads.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Received {
    TMessage message;
    DWORD threadId = 0;
};

class AllocateHWndTest : public ::testing::Test {
protected:
    void SetUp() override { (void)SelectHeadlessDisplay(); }

    // Pumps the calling thread's queue until `count` messages have reached the method.
    void PumpUntil(std::size_t count)
    {
        MSG msg;
        while (m_received.size() < count && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    }

    TWndMethod Recorder(LRESULT answer)
    {
        return [this, answer](TMessage& message) {
            m_received.push_back({message, GetCurrentThreadId()});
            message.Result = answer;
        };
    }

    std::vector<Received> m_received;
};

TEST_F(AllocateHWndTest, MessagesPostedFromAnotherThreadReachTheMethodInTheCreatingThread)
{
    const HWND wnd = AllocateHWnd(Recorder(0));
    ASSERT_NE(wnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(wnd));

    std::thread poster([wnd] {
        PostMessageA(wnd, WM_USER + 1, 7, 11);
        PostMessageA(wnd, WM_USER + 3, 8, 12);
    });
    poster.join();
    PumpUntil(2);

    ASSERT_EQ(m_received.size(), 2u);
    EXPECT_EQ(m_received[0].message.Msg, WM_USER + 1);
    EXPECT_EQ(m_received[0].message.WParam, 7u);
    EXPECT_EQ(m_received[0].message.LParam, 11);
    EXPECT_EQ(m_received[1].message.Msg, WM_USER + 3);
    EXPECT_EQ(m_received[0].threadId, GetCurrentThreadId());
    DeallocateHWnd(wnd);
}

TEST_F(AllocateHWndTest, TheMethodAnswersAndEachWindowHasItsOwn)
{
    const HWND first = AllocateHWnd(Recorder(42));
    std::vector<UINT> other;
    const HWND second = AllocateHWnd([&other](TMessage& message) { other.push_back(message.Msg); });
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    EXPECT_EQ(SendMessageA(first, WM_USER + 5, 0, 0), 42);
    EXPECT_EQ(SendMessageA(second, WM_USER + 6, 0, 0), 0);

    ASSERT_EQ(m_received.size(), 1u);
    EXPECT_EQ(m_received[0].message.Msg, WM_USER + 5);
    EXPECT_EQ(other, std::vector<UINT>{WM_USER + 6});
    DeallocateHWnd(first);
    DeallocateHWnd(second);
}

TEST_F(AllocateHWndTest, DeallocatedWindowIsGoneAndTakesNoMoreMessages)
{
    const HWND wnd = AllocateHWnd(Recorder(0));
    ASSERT_NE(wnd, nullptr);
    DeallocateHWnd(wnd);

    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_FALSE(PostMessageA(wnd, WM_USER + 1, 0, 0));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(m_received.empty());
}

} // namespace
