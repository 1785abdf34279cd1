#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/KernelObject.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <optional>
#include <thread>

namespace winapi_kernel {

struct Waiter {
    std::condition_variable wake;
};

// Every signalled flag and every list of waiters is guarded by one lock. A waiter registers with
// each object it waits on and sleeps on its own condition variable; Signal() wakes exactly the
// threads that wait on that object.
class WaitEngine {
public:
    static WaitEngine& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static WaitEngine& engine = *new WaitEngine;
        return engine;
    }

    std::mutex& Mutex() { return m_mutex; }

    void Signal(Waitable& object)
    {
        std::lock_guard lock(m_mutex);
        object.m_signalled = true;
        for (Waiter* waiter : object.m_waiters)
            waiter->wake.notify_one();
    }

    DWORD Wait(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, DWORD timeoutMs)
    {
        KernelClock& clock = CurrentKernelClock();
        const bool timed = timeoutMs != INFINITE;
        const std::uint64_t deadline = timed ? clock.NowMs() + timeoutMs : 0;
        Waiter waiter;
        std::unique_lock lock(m_mutex);
        Register(objects, waiter, timed);
        std::optional<DWORD> result;
        while (!(result = TrySatisfy(objects, waitAll))) {
            const std::uint64_t now = CurrentKernelClock().NowMs();
            if (timed && now >= deadline) {
                result = WAIT_TIMEOUT;
                break;
            }
            if (timed && CurrentKernelClock().RunsByItself())
                waiter.wake.wait_for(lock, std::chrono::milliseconds(deadline - now));
            else
                waiter.wake.wait(lock);
        }
        Unregister(objects, waiter, timed);
        return *result;
    }

    void WakeTimedWaiters()
    {
        std::lock_guard lock(m_mutex);
        for (Waiter* waiter : m_timedWaiters)
            waiter->wake.notify_one();
    }

    void AwaitTimedWaiters(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_timedWaitersChanged.wait(lock, [&] { return m_timedWaiters.size() >= count; });
    }

private:
    void Register(std::span<const std::shared_ptr<Waitable>> objects, Waiter& waiter, bool timed)
    {
        for (const auto& object : objects)
            object->m_waiters.push_back(&waiter);
        if (timed) {
            m_timedWaiters.push_back(&waiter);
            m_timedWaitersChanged.notify_all();
        }
    }

    void Unregister(std::span<const std::shared_ptr<Waitable>> objects, Waiter& waiter, bool timed)
    {
        for (const auto& object : objects)
            std::erase(object->m_waiters, &waiter);
        if (timed)
            std::erase(m_timedWaiters, &waiter);
    }

    static std::optional<DWORD> TrySatisfy(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll)
    {
        if (waitAll) {
            if (objects.empty() || !std::all_of(objects.begin(), objects.end(),
                                                [](const auto& object) { return object->m_signalled; }))
                return std::nullopt;
            for (const auto& object : objects)
                object->OnWaitSatisfied();
            return WAIT_OBJECT_0;
        }
        for (std::size_t index = 0; index < objects.size(); ++index) {
            if (objects[index]->m_signalled) {
                objects[index]->OnWaitSatisfied();
                return static_cast<DWORD>(WAIT_OBJECT_0 + index);
            }
        }
        return std::nullopt;
    }

    std::mutex m_mutex;
    std::vector<Waiter*> m_timedWaiters;
    std::condition_variable m_timedWaitersChanged;
};

void Waitable::Signal()
{
    WaitEngine::Instance().Signal(*this);
}

void Waitable::Unsignal()
{
    std::lock_guard lock(WaitEngine::Instance().Mutex());
    m_signalled = false;
}

bool Waitable::IsSignalled() const
{
    std::lock_guard lock(WaitEngine::Instance().Mutex());
    return m_signalled;
}

DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, DWORD timeoutMs)
{
    // A suspended thread neither starts a wait nor comes back from one until it is resumed.
    SuspensionPoint();
    const DWORD result = WaitEngine::Instance().Wait(objects, waitAll, timeoutMs);
    SuspensionPoint();
    return result;
}

void WakeTimedWaiters()
{
    WaitEngine::Instance().WakeTimedWaiters();
}

void AwaitTimedWaiters(std::size_t count)
{
    WaitEngine::Instance().AwaitTimedWaiters(count);
}

} // namespace winapi_kernel

namespace {

class Event final : public winapi_kernel::Waitable {
public:
    explicit Event(bool manualReset)
        : m_manualReset(manualReset)
    {
    }

protected:
    void OnWaitSatisfied() override
    {
        if (!m_manualReset)
            ClearSignalWhileLocked();
    }

private:
    const bool m_manualReset;
};

} // namespace

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR)
{
    auto event = std::make_shared<Event>(bManualReset != FALSE);
    if (bInitialState)
        event->Signal();
    return winapi_kernel::NewHandle(std::move(event));
}

BOOL SetEvent(HANDLE hEvent)
{
    const auto event = winapi_kernel::Lookup<Event>(hEvent);
    if (!event)
        return FALSE;
    event->Signal();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent)
{
    const auto event = winapi_kernel::Lookup<Event>(hEvent);
    if (!event)
        return FALSE;
    event->Unsignal();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<winapi_kernel::Waitable>> objects;
    for (DWORD index = 0; index < nCount; ++index) {
        auto object = winapi_kernel::Lookup<winapi_kernel::Waitable>(lpHandles[index]);
        if (!object)
            return WAIT_FAILED;
        // Win32 refuses to wait for all of a list that names one object twice.
        if (bWaitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    return winapi_kernel::WaitForObjects(objects, bWaitAll != FALSE, dwMilliseconds);
}

void Sleep(DWORD dwMilliseconds)
{
    if (dwMilliseconds == 0) {
        winapi_kernel::SuspensionPoint();
        std::this_thread::yield();
        return;
    }
    (void)winapi_kernel::WaitForObjects({}, false, dwMilliseconds);
}

void InitializeCriticalSection(LPCRITICAL_SECTION) {}

void DeleteCriticalSection(LPCRITICAL_SECTION) {}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    lpCriticalSection->Lock.lock();
    winapi_kernel::NoteCriticalSectionEntered();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    if (!lpCriticalSection->Lock.try_lock())
        return FALSE;
    winapi_kernel::NoteCriticalSectionEntered();
    return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    winapi_kernel::NoteCriticalSectionLeft();
    lpCriticalSection->Lock.unlock();
}
