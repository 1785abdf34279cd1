#include "platform/classlib/core/Thread.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>

namespace {

constexpr DWORD Patience = 20000;

// A kernel event that tests wait on with a generous time-out instead of sleeping.
class Event {
public:
    Event() : m_handle(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(m_handle); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set() { SetEvent(m_handle); }
    [[nodiscard]] bool Wait() const { return WaitForSingleObject(m_handle, Patience) == WAIT_OBJECT_0; }
    [[nodiscard]] HANDLE Handle() const { return m_handle; }

private:
    HANDLE m_handle;
};

class BodyThread : public TThread {
public:
    using Body = std::function<void(BodyThread&)>;
    explicit BodyThread(Body body, std::atomic<bool>* destroyed = nullptr)
        : m_body(std::move(body)), m_destroyed(destroyed)
    {
    }
    ~BodyThread() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }
    void Return(int value) { SetReturnValue(value); }

protected:
    void Execute() override { m_body(*this); }

private:
    Body m_body;
    std::atomic<bool>* m_destroyed;
};

TEST(Thread, StartsOnlyWhenStartedAndEndsWithItsReturnValue)
{
    std::atomic<int> runs{0};
    Event release;
    TThreadPtr<BodyThread> thread(new BodyThread([&](BodyThread& self) {
        ++runs;
        (void)release.Wait();
        self.Return(42);
    }));
    EXPECT_TRUE(thread->Suspended());
    EXPECT_NE(thread->Handle(), nullptr);
    EXPECT_NE(thread->ThreadID(), 0u);
    EXPECT_EQ(WaitForSingleObject(thread->Handle(), 0), WAIT_TIMEOUT);
    EXPECT_EQ(runs, 0);

    thread->Start();
    EXPECT_FALSE(thread->Suspended());
    EXPECT_THROW(thread->Start(), EThread);
    release.Set();
    EXPECT_EQ(thread->WaitFor(), 42);
    EXPECT_TRUE(thread->Finished());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(WaitForSingleObject(thread->Handle(), 0), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(thread->Handle(), &exitCode));
    EXPECT_EQ(exitCode, 42u);
}

TEST(Thread, TerminateEndsALoopThatWatchesTerminated)
{
    std::atomic<int> passes{0};
    Event running;
    BodyThread thread([&](BodyThread& self) {
        while (!self.Terminated()) {
            ++passes;
            running.Set();
            Sleep(1);
        }
        self.Return(7);
    });
    thread.Resume();
    ASSERT_TRUE(running.Wait());
    thread.Terminate();
    EXPECT_EQ(thread.WaitFor(), 7);
    EXPECT_GT(passes, 0);
}

TEST(Thread, NeverStartedThreadIsNotRunByItsDeletion)
{
    std::atomic<bool> ran{false};
    {
        TThreadPtr<BodyThread> thread(new BodyThread([&](BodyThread&) { ran = true; }));
        EXPECT_THROW(thread->WaitFor(), EThread);
    }
    EXPECT_FALSE(ran);
}

// The worker of the data connection is suspended while it may be inside the queue lock: it must
// finish with the lock before it pauses, so that the GUI thread can still take the lock.
TEST(Thread, SuspendPausesAtTheNextCheckPointNeverInsideALock)
{
    CRITICAL_SECTION queueLock;
    InitializeCriticalSection(&queueLock);
    Event insideLock;
    Event mayLeave;
    std::atomic<int> passes{0};
    TThreadPtr<BodyThread> thread(new BodyThread([&](BodyThread& self) {
        EnterCriticalSection(&queueLock);
        insideLock.Set();
        (void)mayLeave.Wait();
        LeaveCriticalSection(&queueLock);
        while (!self.Terminated())
            ++passes;
    }));
    thread->Start();
    ASSERT_TRUE(insideLock.Wait());
    thread->Suspend();
    EXPECT_TRUE(thread->Suspended());
    mayLeave.Set();

    // Would hang if the thread had been frozen while holding the lock.
    EnterCriticalSection(&queueLock);
    LeaveCriticalSection(&queueLock);

    // Paused at its Terminated() check: no pass runs until it is resumed.
    const int pausedAt = passes;
    Sleep(200);
    EXPECT_EQ(passes, pausedAt);
    thread->Resume();
    EXPECT_FALSE(thread->Suspended());
    while (passes == pausedAt)
        Sleep(1);
    thread->Suspend();
    // Deleting it ends it even while suspended.
    thread.reset();
    DeleteCriticalSection(&queueLock);
}

TEST(Thread, FreeOnTerminateDeletesItselfAfterOnTerminateRanOnTheMainThread)
{
    std::atomic<bool> destroyed{false};
    DWORD onTerminateThread = 0;
    bool onTerminateSawFinished = true;
    auto* thread = new BodyThread([](BodyThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->SetOnTerminate([&](TThread& sender) {
        onTerminateThread = GetCurrentThreadId();
        onTerminateSawFinished = sender.Finished();
    });
    thread->Start();
    while (!destroyed) {
        CheckSynchronize();
        Sleep(1);
    }
    EXPECT_EQ(onTerminateThread, MainThreadID());
    EXPECT_FALSE(onTerminateSawFinished);
}

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaits)
{
    DWORD ranOn = 0;
    std::atomic<bool> errorCameBack{false};
    std::atomic<int> queued{0};
    BodyThread thread([&](BodyThread&) {
        TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); });
        try {
            TThread::Synchronize([] { throw std::runtime_error("from the main thread"); });
        } catch (const std::runtime_error&) {
            errorCameBack = true;
        }
        TThread::Queue([&] { ++queued; });
    });
    thread.Start();
    thread.WaitFor();
    CheckSynchronize();
    EXPECT_EQ(ranOn, MainThreadID());
    EXPECT_TRUE(errorCameBack);
    EXPECT_EQ(queued, 1);

    // On the main thread both run at once.
    TThread::Queue([&] { ++queued; });
    EXPECT_EQ(queued, 2);
}

TEST(Thread, AnExceptionEscapingExecuteEndsTheThreadAndIsKept)
{
    BodyThread thread([](BodyThread& self) {
        self.Return(3);
        throw std::runtime_error("worker failed");
    });
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 3);
    ASSERT_TRUE(thread.FatalException());
    EXPECT_THROW(std::rethrow_exception(thread.FatalException()), std::runtime_error);
}

TEST(Thread, PriorityIsKept)
{
    BodyThread thread([](BodyThread&) {});
    EXPECT_EQ(thread.Priority(), TThreadPriority::tpNormal);
    thread.SetPriority(TThreadPriority::tpLower);
    EXPECT_EQ(thread.Priority(), TThreadPriority::tpLower);
    thread.Start();
    thread.WaitFor();
}

} // namespace
