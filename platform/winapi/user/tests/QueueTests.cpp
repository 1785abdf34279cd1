#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageLoopHook.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        RegisterLoggedClass();
        MessageLog::Instance().Clear();
        m_window = CreateWindowExA(0, LOGGED_CLASS, "queue", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        Drain();
    }

    void TearDown() override
    {
        (void)DestroyWindow(m_window);
        Drain();
    }

    static void Drain()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_QUIT)
                break;
    }

    std::vector<UINT> PeekAll(HWND filter = nullptr, UINT first = 0, UINT last = 0)
    {
        std::vector<UINT> messages;
        MSG msg;
        while (PeekMessageA(&msg, filter, first, last, PM_REMOVE))
            messages.push_back(msg.message);
        return messages;
    }

    HWND m_window = nullptr;
};

TEST_F(QueueTest, PostedMessagesComeInPostingOrderAndWmQuitOnlyWhenNothingElseIsPosted)
{
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageA(m_window, WM_USER + 1, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 2, 0, 0));
    ASSERT_TRUE(PostMessageA(m_window, WM_USER + 3, 0, 0));
    MSG msg;
    std::vector<UINT> order;
    while (GetMessageA(&msg, nullptr, 0, 0))
        order.push_back(msg.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(QueueTest, PeekFiltersByWindowAndRangeAndNoRemoveLeavesTheMessage)
{
    const HWND other = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    const HWND child = CreateWindowExA(0, LOGGED_CLASS, "", WS_CHILD, 0, 0, 5, 5, m_window, nullptr, nullptr, nullptr);
    (void)PostMessageA(other, WM_USER + 1, 0, 0);
    (void)PostMessageA(m_window, WM_USER + 2, 0, 0);
    (void)PostMessageA(child, WM_USER + 3, 0, 0);
    (void)PostThreadMessageA(GetCurrentThreadId(), WM_USER + 4, 0, 0);
    (void)PostMessageA(m_window, WM_KEYDOWN, 0, 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, m_window, WM_USER, WM_USER + 10, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    // A window filter takes the window's children's messages too, never thread messages.
    EXPECT_EQ(PeekAll(m_window, WM_USER, WM_USER + 10), (std::vector<UINT>{WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(PeekAll(reinterpret_cast<HWND>(-1)), (std::vector<UINT>{WM_USER + 4}));
    EXPECT_EQ(PeekAll(nullptr, WM_KEYFIRST, WM_KEYLAST), (std::vector<UINT>{WM_KEYDOWN}));
    EXPECT_EQ(PeekAll(), (std::vector<UINT>{WM_USER + 1}));
    (void)DestroyWindow(other);
}

TEST_F(QueueTest, PeekingWmQuitWithoutRemovingKeepsIt)
{
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PostsToGoneWindowsAndThreadsFailWithTheWin32Error)
{
    const HWND gone = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(DestroyWindow(gone));
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x12345678), WM_USER, 0, 0));

    DWORD endedThread = 0;
    std::thread([&] {
        endedThread = GetCurrentThreadId();
        MSG msg;
        (void)PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }).join();
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageA(endedThread, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
    EXPECT_FALSE(IsWindow(gone));
    RECT rect{};
    EXPECT_FALSE(GetWindowRect(gone, &rect));
    EXPECT_FALSE(SetWindowPos(gone, nullptr, 0, 0, 1, 1, 0));
}

TEST_F(QueueTest, CrossThreadSendBlocksAndTheSenderAnswersSendsBackToIt)
{
    // The worker sends to our window; our window's handler sends back to the worker's window
    // while the worker waits. Both must be answered.
    static HWND workerWindow = nullptr;
    static HWND mainWindow = nullptr;
    mainWindow = m_window;
    std::atomic<bool> workerReady{false};
    LRESULT workerResult = 0;
    const auto mainProc = +[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER + 10)
            return SendMessageA(workerWindow, WM_USER + 11, wParam, 0) + 1;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    (void)SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainProc));

    std::thread worker([&] {
        const auto workerProc = +[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_USER + 11)
                return static_cast<LRESULT>(wParam * 10);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        };
        workerWindow = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        (void)SetWindowLongPtrA(workerWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(workerProc));
        workerReady = true;
        workerResult = SendMessageA(mainWindow, WM_USER + 10, 4, 0);
        (void)DestroyWindow(workerWindow);
    });
    MSG msg;
    while (!workerReady)
        std::this_thread::yield();
    // Pump until the worker has its answer; its send arrives while we wait.
    while (worker.joinable()) {
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        (void)PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (workerResult)
            worker.join();
    }
    EXPECT_EQ(workerResult, 41);
}

TEST_F(QueueTest, SendToAThreadThatEndsReturnsZeroInsteadOfHanging)
{
    std::atomic<HWND> target{nullptr};
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        target = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        // Never pumps; ends when released.
        (void)WaitForSingleObject(release, INFINITE);
    });
    while (!target)
        std::this_thread::yield();
    std::thread releaser([&] {
        Sleep(20);
        (void)SetEvent(release);
    });
    EXPECT_EQ(SendMessageA(target, WM_USER, 0, 0), 0);
    owner.join();
    releaser.join();
    (void)CloseHandle(release);
}

TEST_F(QueueTest, NestedPumpingInsideAHandlerDeliversTheRest)
{
    static std::vector<WPARAM> seen;
    seen.clear();
    const auto proc = +[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER) {
            seen.push_back(wParam);
            if (wParam == 1) {
                MSG inner;
                while (PeekMessageA(&inner, nullptr, 0, 0, PM_REMOVE))
                    (void)DispatchMessageA(&inner);
                seen.push_back(100);
            }
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    (void)SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    for (WPARAM index = 1; index <= 3; ++index)
        (void)PostMessageA(m_window, WM_USER, index, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        (void)DispatchMessageA(&msg);
    EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2, 3, 100}));
}

TEST_F(QueueTest, MsgWaitEndsForAHandleOrForNewInputOnly)
{
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);

    std::thread poster([id = GetCurrentThreadId()] { (void)PostThreadMessageA(id, WM_USER, 0, 0); });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    poster.join();
    // Already seen by the last look at the queue: waiting again does not end at once.
    MSG msg;
    (void)PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_NE(GetQueueStatus(QS_POSTMESSAGE) & (QS_POSTMESSAGE << 16), 0u);
    (void)CloseHandle(event);
}

TEST_F(QueueTest, TheLoopHookRunsWhenAWorkerWakesTheLoop)
{
    std::atomic<int> runs{0};
    std::atomic<bool> handedOver{false};
    SetMessageLoopHook([&] {
        if (handedOver.exchange(false))
            ++runs;
    });
    std::thread worker([&, id = GetCurrentThreadId()] {
        handedOver = true;
        (void)PostThreadMessageA(id, WM_NULL, 0, 0);
    });
    MSG msg;
    (void)GetMessageA(&msg, nullptr, 0, 0);
    worker.join();
    SetMessageLoopHook(nullptr);
    EXPECT_EQ(runs, 1);
}

TEST_F(QueueTest, TranslateMessageTurnsAKeyDownIntoWmChar)
{
    MSG key{m_window, WM_KEYDOWN, 'A', 0x001E0001, GetTickCount(), {}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, m_window, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(msg.lParam, 0x001E0001);
}

} // namespace
