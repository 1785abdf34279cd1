#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/KernelObject.h"
#include "platform/winapi/kernel/Synch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace {

constexpr DWORD LongWait = 60'000;

// Closes the events a test made, whatever happens.
struct Events {
    std::vector<HANDLE> handles;
    Events(int count, BOOL manualReset)
    {
        for (int index = 0; index < count; ++index)
            handles.push_back(CreateEventA(nullptr, manualReset, FALSE, nullptr));
    }
    ~Events()
    {
        for (HANDLE handle : handles)
            CloseHandle(handle);
    }
    HANDLE operator[](std::size_t index) const { return handles[index]; }
};

// Proves "still blocked" only as far as a short real pause can; a fault shows up at once.
template <class T>
bool StillRunning(std::future<T>& future)
{
    return future.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout;
}

TEST(Waits, WaitAnyAnswersTheLowestSignalledIndex)
{
    struct Case {
        std::vector<int> signalled;
        DWORD expected;
    };
    for (const auto& [signalled, expected] : std::vector<Case>{{{2}, 2}, {{1, 2}, 1}, {{0, 3}, 0}, {{3, 1}, 1}}) {
        Events events(4, TRUE);
        for (int index : signalled)
            SetEvent(events[index]);
        EXPECT_EQ(WaitForMultipleObjects(4, events.handles.data(), FALSE, 0), WAIT_OBJECT_0 + expected);
    }
}

TEST(Waits, WaitAnyConsumesOnlyTheAutoResetEventThatEndedIt)
{
    Events events(2, FALSE);
    SetEvent(events[0]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events.handles.data(), FALSE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, events.handles.data(), FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, events.handles.data(), FALSE, 0), WAIT_TIMEOUT);
}

TEST(Waits, AnAutoResetEventReleasesExactlyOneOfTwoWaiters)
{
    Events events(1, FALSE);
    std::atomic<int> released{0};
    auto waitOnce = [&] {
        const DWORD result = WaitForSingleObject(events[0], LongWait);
        ++released;
        return result;
    };
    auto first = std::async(std::launch::async, waitOnce);
    auto second = std::async(std::launch::async, waitOnce);
    winapi_kernel::AwaitTimedWaiters(2);

    SetEvent(events[0]);
    while (released == 0)
        std::this_thread::yield();
    // The one release took the signal: nothing is left that could release the second waiter.
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_TIMEOUT);
    EXPECT_EQ(released, 1);

    SetEvent(events[0]);
    EXPECT_EQ(first.get(), WAIT_OBJECT_0);
    EXPECT_EQ(second.get(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_TIMEOUT);
}

TEST(Waits, AManualResetEventReleasesEveryWaiterAndStaysSignalled)
{
    Events events(1, TRUE);
    std::vector<std::future<DWORD>> waiters;
    for (int index = 0; index < 3; ++index)
        waiters.push_back(std::async(std::launch::async, [&] { return WaitForSingleObject(events[0], LongWait); }));
    winapi_kernel::AwaitTimedWaiters(3);
    SetEvent(events[0]);
    for (auto& waiter : waiters)
        EXPECT_EQ(waiter.get(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0);
    ResetEvent(events[0]);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_TIMEOUT);
}

TEST(Waits, WaitAllTakesNothingUntilEveryObjectIsSignalled)
{
    Events autoReset(1, FALSE);
    Events manual(1, TRUE);
    const HANDLE both[] = {autoReset[0], manual[0]};
    SetEvent(autoReset[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);

    auto waiter = std::async(std::launch::async, [&] { return WaitForMultipleObjects(2, both, TRUE, LongWait); });
    winapi_kernel::AwaitTimedWaiters(1);
    SetEvent(manual[0]);
    EXPECT_EQ(waiter.get(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoReset[0], 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(manual[0], 0), WAIT_OBJECT_0);
}

TEST(Waits, BadArgumentsFail)
{
    Events events(1, TRUE);
    const HANDLE twice[] = {events[0], events[0]};
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(0, twice, FALSE, 0), WAIT_FAILED);
    std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS + 1, events[0]);
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(tooMany.size()), tooMany.data(), FALSE, 0), WAIT_FAILED);
}

TEST(Handles, StaleMadeUpAndWrongHandlesFailCleanly)
{
    const HANDLE closed = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));
    // The slot is reused at once; the old handle must not reach the new object.
    const HANDLE reused = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    for (HANDLE bad : {closed, static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x1234),
                       reinterpret_cast<HANDLE>(0xDEAD0000'0008u)}) {
        SetLastError(0);
        EXPECT_FALSE(SetEvent(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(WaitForSingleObject(reused, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(reused));
}

TEST(LastError, IsKeptPerThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    std::thread([] {
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
        SetLastError(ERROR_INVALID_HANDLE);
    }).join();
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(CriticalSections, AreRecursiveForTheOwnerAndExcludeOthers)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_FALSE(std::async(std::launch::async, [&] { return TryEnterCriticalSection(&section); }).get());
    LeaveCriticalSection(&section);
    EXPECT_TRUE(std::async(std::launch::async, [&] {
        const BOOL entered = TryEnterCriticalSection(&section);
        if (entered)
            LeaveCriticalSection(&section);
        return entered;
    }).get());
    DeleteCriticalSection(&section);
}

TEST(FakeClockTest, TimeOutsAndSleepsEndOnlyWhenTheClockReachesThem)
{
    FakeClock clock;
    const DWORD start = GetTickCount();
    Events events(1, TRUE);
    auto waiter = std::async(std::launch::async, [&] { return WaitForSingleObject(events[0], 5000); });
    auto sleeper = std::async(std::launch::async, [] { Sleep(3000); });
    clock.AwaitTimedWaiters(2);

    clock.Advance(2999);
    EXPECT_TRUE(StillRunning(sleeper));
    clock.Advance(1);
    sleeper.get();
    EXPECT_TRUE(StillRunning(waiter));
    clock.Advance(2000);
    EXPECT_EQ(waiter.get(), WAIT_TIMEOUT);
    EXPECT_EQ(GetTickCount() - start, 5000u);
}

} // namespace
