#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/kernel/KernelObject.h"

#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<DWORD> g_nextThreadId{1000};

thread_local DWORD t_threadId = 0;
thread_local int t_heldCriticalSections = 0;

class KernelThread;
thread_local KernelThread* t_currentThread = nullptr;

// The calling thread's exit callbacks; what is left when the thread exits runs then.
class ThreadExitCallbacks {
public:
    ~ThreadExitCallbacks() { RunAll(); }

    void Add(std::function<void()> callback) { m_callbacks.push_back(std::move(callback)); }

    void RunAll()
    {
        while (!m_callbacks.empty()) {
            auto callback = std::move(m_callbacks.back());
            m_callbacks.pop_back();
            callback();
        }
    }

private:
    std::vector<std::function<void()>> m_callbacks;
};

thread_local ThreadExitCallbacks t_exitCallbacks;

HANDLE const g_currentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

// Win32 priorities as nice values; only lowering works without privileges.
int NiceFor(int priority)
{
    if (priority <= THREAD_PRIORITY_IDLE)
        return 19;
    if (priority >= THREAD_PRIORITY_TIME_CRITICAL)
        return -20;
    return -5 * priority;
}

class KernelThread final : public winapi_kernel::Waitable {
public:
    KernelThread(LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD suspendCount)
        : m_start(start)
        , m_parameter(parameter)
        , m_id(g_nextThreadId++)
        , m_suspendCount(suspendCount)
    {
    }

    [[nodiscard]] DWORD Id() const { return m_id; }

    // Starts the system thread; false when the system has no thread to give.
    [[nodiscard]] bool Start()
    {
        auto self = std::static_pointer_cast<KernelThread>(shared_from_this());
        try {
            std::thread([self] { self->Run(); }).detach();
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    // Returns the previous count, or nullopt when a first start failed.
    [[nodiscard]] std::optional<DWORD> Resume()
    {
        std::unique_lock lock(m_mutex);
        const DWORD previous = m_suspendCount;
        if (m_suspendCount > 0 && --m_suspendCount == 0) {
            if (!m_started) {
                m_started = true;
                lock.unlock();
                if (!Start())
                    return std::nullopt;
                return previous;
            }
            m_resumed.notify_all();
        }
        return previous;
    }

    DWORD Suspend()
    {
        DWORD previous;
        {
            std::lock_guard lock(m_mutex);
            previous = m_suspendCount++;
        }
        if (t_currentThread == this)
            PauseWhileSuspended();
        return previous;
    }

    void PauseWhileSuspended()
    {
        std::unique_lock lock(m_mutex);
        m_resumed.wait(lock, [&] { return m_suspendCount == 0; });
    }

    void SetPriority(int priority)
    {
        std::lock_guard lock(m_mutex);
        m_priority = priority;
        if (m_systemId != 0)
            ApplyPriority();
    }

    [[nodiscard]] int Priority()
    {
        std::lock_guard lock(m_mutex);
        return m_priority;
    }

    [[nodiscard]] DWORD ExitCode()
    {
        std::lock_guard lock(m_mutex);
        return m_exitCode;
    }

private:
    void Run()
    {
        t_currentThread = this;
        t_threadId = m_id;
        {
            std::lock_guard lock(m_mutex);
            m_systemId = gettid();
            ApplyPriority();
        }
        const DWORD exitCode = m_start(m_parameter);
        t_exitCallbacks.RunAll();
        {
            std::lock_guard lock(m_mutex);
            m_exitCode = exitCode;
        }
        Signal();
    }

    void ApplyPriority() const { (void)setpriority(PRIO_PROCESS, static_cast<id_t>(m_systemId), NiceFor(m_priority)); }

    const LPTHREAD_START_ROUTINE m_start;
    const LPVOID m_parameter;
    const DWORD m_id;
    std::mutex m_mutex;
    std::condition_variable m_resumed;
    DWORD m_suspendCount;
    bool m_started = false;
    int m_priority = THREAD_PRIORITY_NORMAL;
    pid_t m_systemId = 0;
    DWORD m_exitCode = STILL_ACTIVE;
};

std::shared_ptr<KernelThread> FindThread(HANDLE handle)
{
    if (handle == g_currentThreadPseudoHandle && t_currentThread)
        return std::static_pointer_cast<KernelThread>(t_currentThread->shared_from_this());
    return winapi_kernel::Lookup<KernelThread>(handle);
}

} // namespace

namespace winapi_kernel {

void SuspensionPoint()
{
    if (t_currentThread && t_heldCriticalSections == 0)
        t_currentThread->PauseWhileSuspended();
}

void NoteCriticalSectionEntered()
{
    ++t_heldCriticalSections;
}

void NoteCriticalSectionLeft()
{
    --t_heldCriticalSections;
}

} // namespace winapi_kernel

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    if (!lpStartAddress) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Every thread is born suspended; one created running is resumed at once.
    auto thread = std::make_shared<KernelThread>(lpStartAddress, lpParameter, 1);
    if (!(dwCreationFlags & CREATE_SUSPENDED) && !thread->Resume()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpThreadId)
        *lpThreadId = thread->Id();
    return winapi_kernel::NewHandle(std::move(thread));
}

DWORD ResumeThread(HANDLE hThread)
{
    const auto thread = FindThread(hThread);
    if (!thread)
        return static_cast<DWORD>(-1);
    const auto previous = thread->Resume();
    if (!previous) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return static_cast<DWORD>(-1);
    }
    return *previous;
}

DWORD SuspendThread(HANDLE hThread)
{
    const auto thread = FindThread(hThread);
    return thread ? thread->Suspend() : static_cast<DWORD>(-1);
}

BOOL SetThreadPriority(HANDLE hThread, int nPriority)
{
    const auto thread = FindThread(hThread);
    if (!thread)
        return FALSE;
    thread->SetPriority(nPriority);
    return TRUE;
}

int GetThreadPriority(HANDLE hThread)
{
    const auto thread = FindThread(hThread);
    return thread ? thread->Priority() : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    const auto thread = FindThread(hThread);
    if (!thread || !lpExitCode) {
        if (thread)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpExitCode = thread->ExitCode();
    return TRUE;
}

HANDLE GetCurrentThread()
{
    return g_currentThreadPseudoHandle;
}

DWORD GetCurrentThreadId()
{
    if (t_threadId == 0)
        t_threadId = g_nextThreadId++;
    return t_threadId;
}

void winapi_kernel::AtThreadExit(std::function<void()> callback)
{
    t_exitCallbacks.Add(std::move(callback));
}
