#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr DWORD LongWait = 60'000;

struct Probe {
    std::atomic<bool> ran{false};
    std::atomic<DWORD> threadId{0};
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Probe()
    {
        CloseHandle(go);
        CloseHandle(finished);
    }
};

DWORD RecordAndReturn42(LPVOID parameter)
{
    auto& probe = *static_cast<Probe*>(parameter);
    probe.threadId = GetCurrentThreadId();
    probe.ran = true;
    return 42;
}

DWORD WaitForGoThenRun(LPVOID parameter)
{
    auto& probe = *static_cast<Probe*>(parameter);
    (void)WaitForSingleObject(probe.go, INFINITE);
    probe.ran = true;
    // Last touch of the probe: the test may destroy it as soon as this is signalled.
    SetEvent(probe.finished);
    return 7;
}

TEST(Threads, ASuspendedThreadStartsAtResumeAndReportsItsExitCode)
{
    Probe probe;
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, RecordAndReturn42, &probe, CREATE_SUSPENDED, &threadId);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(threadId, 0u);
    EXPECT_NE(threadId, GetCurrentThreadId());

    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_FALSE(probe.ran);

    EXPECT_EQ(SuspendThread(thread), 1u);
    EXPECT_EQ(ResumeThread(thread), 2u);
    EXPECT_FALSE(probe.ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, LongWait), WAIT_OBJECT_0);
    EXPECT_TRUE(probe.ran);
    EXPECT_EQ(probe.threadId, threadId);
    EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, 42u);
    EXPECT_EQ(ResumeThread(thread), 0u);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Threads, AThreadCreatedRunningOutlivesItsClosedHandle)
{
    Probe probe;
    const HANDLE thread = CreateThread(nullptr, 0, WaitForGoThenRun, &probe, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    SetEvent(probe.go);
    // With its handle gone the thread can only be seen through what it does.
    EXPECT_EQ(WaitForSingleObject(probe.finished, LongWait), WAIT_OBJECT_0);
    EXPECT_TRUE(probe.ran);
}

TEST(Threads, ASuspendedThreadDoesNotComeBackFromItsWaitUntilResumed)
{
    Probe probe;
    const HANDLE thread = CreateThread(nullptr, 0, WaitForGoThenRun, &probe, 0, nullptr);
    EXPECT_EQ(SuspendThread(thread), 0u);
    SetEvent(probe.go);
    EXPECT_EQ(WaitForSingleObject(thread, 200), WAIT_TIMEOUT);
    EXPECT_FALSE(probe.ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, LongWait), WAIT_OBJECT_0);
    EXPECT_TRUE(probe.ran);
    CloseHandle(thread);
}

TEST(Threads, PrioritiesAreKeptAndBadHandlesRefused)
{
    Probe probe;
    const HANDLE thread = CreateThread(nullptr, 0, WaitForGoThenRun, &probe, CREATE_SUSPENDED, nullptr);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_HIGHEST);
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(SetThreadPriority(event, THREAD_PRIORITY_LOWEST));
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    DWORD exitCode = 0;
    EXPECT_FALSE(GetExitCodeThread(event, &exitCode));
    CloseHandle(event);
    SetEvent(probe.go);
    ResumeThread(thread);
    EXPECT_EQ(WaitForSingleObject(thread, LongWait), WAIT_OBJECT_0);
    CloseHandle(thread);
}

} // namespace
