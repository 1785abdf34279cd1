#pragma once

#include "platform/winapi/kernel/WinError.h"

#include <atomic>
#include <memory>
#include <span>
#include <vector>

// The inside of the kernel stand-in, for the other stand-in layers (comm/, user/) that add kinds
// of handles or waitable objects. Programs use the Win32-shaped calls instead.
namespace winapi_kernel {

// Anything a HANDLE can name. Handles are an index plus a generation into one table of shared
// objects, so a stale, closed or made-up handle is recognised and the call fails with
// ERROR_INVALID_HANDLE; an object outlives its handles while a thread still uses it.
class KernelObject : public std::enable_shared_from_this<KernelObject> {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject() = default;

    // Called (without any kernel lock held) when the last handle naming the object is closed.
    virtual void OnLastHandleClosed() {}

private:
    friend class KernelHandles;
    std::atomic<int> m_handleCount{0};
};

// Enters `object` into the handle table and returns its new handle (never 0 or
// INVALID_HANDLE_VALUE). Several handles may name one object.
[[nodiscard]] HANDLE NewHandle(std::shared_ptr<KernelObject> object);

// The object a handle names, or nullptr with ERROR_INVALID_HANDLE as the last error.
[[nodiscard]] std::shared_ptr<KernelObject> LookupObject(HANDLE handle);

// The object a handle names when it is of kind T, or nullptr with ERROR_INVALID_HANDLE.
template <class T>
[[nodiscard]] std::shared_ptr<T> Lookup(HANDLE handle)
{
    auto object = std::dynamic_pointer_cast<T>(LookupObject(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

struct Waiter;

// An object that waits can name: events, threads, processes, serial ports, and (through the seam
// below) a thread's message queue.
//
// The seam for MsgWaitForMultipleObjects: a message queue derives from Waitable, calls Signal()
// when input arrives that the waiting thread has not seen yet and Unsignal() when the thread has
// looked at its queue; MsgWaitForMultipleObjects looks up the handles with Lookup<Waitable>,
// appends the calling thread's queue object and calls WaitForObjects below, which answers
// WAIT_OBJECT_0 + nCount when the queue is the object that ended the wait. All signalled state
// is guarded by one kernel lock inside WaitForObjects, so a wait can never miss a Signal().
class Waitable : public KernelObject {
public:
    void Signal();
    void Unsignal();
    [[nodiscard]] bool IsSignalled() const;

protected:
    // Called under the kernel lock when this object ended a wait: an auto-reset event takes its
    // signal back here, so that exactly one waiter consumes it.
    virtual void OnWaitSatisfied() {}
    // For OnWaitSatisfied, which already runs under the kernel lock.
    void ClearSignalWhileLocked() { m_signalled = false; }

private:
    friend class WaitEngine;
    bool m_signalled = false;
    std::vector<Waiter*> m_waiters;
};

// Blocks the calling thread until one (waitAll false: the lowest signalled index wins) or all of
// `objects` are signalled, or `timeoutMs` has passed on the kernel clock. Returns WAIT_OBJECT_0 +
// index, WAIT_TIMEOUT, or WAIT_FAILED with the last error set. An empty list simply sleeps.
// A suspended thread pauses here first (its cooperative suspension point).
[[nodiscard]] DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                                   DWORD timeoutMs);

// Wakes every thread blocked in a wait with a time-out, so that it reads the clock again (a clock
// that tests move by hand calls this after each step).
void WakeTimedWaiters();

// Blocks until at least `count` threads are blocked in waits (or sleeps) with a time-out; lets a
// test that moves the clock by hand know that the threads it drives have reached their waits.
void AwaitTimedWaiters(std::size_t count);

// The calling thread's cooperative suspension point: a kernel thread whose suspend count is above
// zero pauses here until resumed, unless it holds a critical section.
void SuspensionPoint();

// Kept by the critical sections so that a thread is never paused while it holds one.
void NoteCriticalSectionEntered();
void NoteCriticalSectionLeft();

} // namespace winapi_kernel
