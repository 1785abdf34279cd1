#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/kernel/WinTypes.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

RTL_DECLARE_EXCEPTION(EThread, Exception);

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The class library's thread object, on a kernel thread of the stand-in (so Handle() is waitable
// with WaitForSingleObject and the thread takes part in cooperative suspension).
//
// Life cycle. The kernel thread is made suspended by the constructor and starts running Execute at
// Start() (or the first Resume()). A thread cannot start from inside TThread's own constructor: C++
// builds the derived object after it, and Execute would run on a half-built object. Where the
// original created a thread running, create it and call Start() at once.
//
// Suspension is cooperative: Suspend() marks the thread, and it pauses at its next check point -
// a kernel wait or Sleep, or its own call of Terminated() - never while it holds a critical
// section. A thread that suspends itself pauses at once. Suspend and Resume count, as in Win32;
// suspending a thread that has not started does nothing.
//
// Ending. Terminate() only sets Terminated; Execute is expected to look at it. WaitFor blocks until
// Execute has returned and gives ReturnValue; on the main thread it keeps running the methods
// other threads Synchronize meanwhile, so a thread that synchronises while being waited for cannot
// deadlock. An exception escaping Execute ends the thread and is kept in FatalException().
// ~TThread runs after the derived class's members are gone, so an owner must end a running thread
// before deleting it: Terminate() and WaitFor(), or hold it in a TThreadPtr whose deleter does
// both (resuming a suspended thread so that it can see Terminated). A FreeOnTerminate thread
// deletes itself after Execute and OnTerminate; nobody may touch it once it has started.
class TThread {
public:
    using TNotifyEvent = std::function<void(TThread& sender)>;

    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a thread that has never run; raises EThread otherwise.
    void Start();
    // Starts a thread that has never run, or takes back one Suspend.
    void Resume();
    void Suspend();
    [[nodiscard]] bool Suspended() const { return !m_started || m_suspended; }

    void Terminate() { m_terminated = true; }
    // Called by the thread itself, this is a suspension check point.
    [[nodiscard]] bool Terminated() const;
    [[nodiscard]] bool Finished() const { return m_finished; }

    // Raises EThread for a thread that never started or that frees itself.
    int WaitFor();
    [[nodiscard]] int ReturnValue() const { return m_returnValue; }
    [[nodiscard]] std::exception_ptr FatalException() const { return m_fatalException; }

    [[nodiscard]] bool FreeOnTerminate() const { return m_freeOnTerminate; }
    void SetFreeOnTerminate(bool freeOnTerminate) { m_freeOnTerminate = freeOnTerminate; }
    // Runs on the main thread (through Synchronize) after Execute has returned.
    [[nodiscard]] const TNotifyEvent& OnTerminate() const { return m_onTerminate; }
    void SetOnTerminate(TNotifyEvent handler) { m_onTerminate = std::move(handler); }

    // Best effort: raising above normal needs privileges the program normally lacks.
    [[nodiscard]] TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);

    [[nodiscard]] HANDLE Handle() const { return m_handle; }
    [[nodiscard]] DWORD ThreadID() const { return m_threadId; }

    // Runs `method` on the main thread and returns when it has run; its exception is raised again
    // in the caller. On the main thread it runs at once. Elsewhere it waits until the main thread
    // calls CheckSynchronize (its message loop does, and so does WaitFor on the main thread).
    static void Synchronize(const std::function<void()>& method);
    // Like Synchronize without waiting; on the main thread it runs at once.
    static void Queue(std::function<void()> method);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { m_returnValue = value; }

private:
    friend struct TThreadDeleter;

    static DWORD ThreadProc(LPVOID parameter);
    void Run();
    // Terminate, resume, WaitFor: what an owner must do before the derived part is destroyed.
    void EndAndWait();

    HANDLE m_handle = nullptr;
    DWORD m_threadId = 0;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_suspended{false};
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_freeOnTerminate{false};
    std::atomic<int> m_returnValue{0};
    std::exception_ptr m_fatalException;
    TNotifyEvent m_onTerminate;
};

// Ends a thread before deleting it: Terminate, resume it if suspended, WaitFor, delete.
struct TThreadDeleter {
    void operator()(TThread* thread) const;
};

template <class T>
using TThreadPtr = std::unique_ptr<T, TThreadDeleter>;

// The thread that started the program; Synchronize runs methods there.
[[nodiscard]] DWORD MainThreadID();

// Runs the methods other threads have handed to Synchronize or Queue. Call it on the main thread
// (elsewhere it does nothing and returns false); returns whether it ran any. An exception from a
// queued method is raised here, after the methods before it have run; the rest stay queued.
bool CheckSynchronize();

// Called whenever a method is handed over, from the handing thread, so that the main thread's
// message loop can wake and call CheckSynchronize. The loop installs it; empty by default.
void SetWakeMainThread(std::function<void()> wake);
