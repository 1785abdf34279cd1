#include "platform/classlib/core/Thread.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/KernelObject.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

const DWORD g_mainThreadId = GetCurrentThreadId();

bool OnMainThread() { return GetCurrentThreadId() == g_mainThreadId; }

// A method handed to the main thread. A Synchronize waits for `done`; a Queue nobody waits for.
struct SyncRequest {
    std::function<void()> method;
    bool waited = false;
    bool done = false;
    std::exception_ptr error;
};

// The hand-over of methods to the main thread. Its kernel event is signalled while requests wait,
// so WaitFor on the main thread can wait for "thread ended or work arrived" in one call.
class SyncQueue {
public:
    static SyncQueue& Instance()
    {
        static SyncQueue queue;
        return queue;
    }

    [[nodiscard]] HANDLE Event() const { return m_event; }

    void SetWake(std::function<void()> wake)
    {
        std::lock_guard lock(m_mutex);
        m_wake = std::move(wake);
    }

    void Post(const std::shared_ptr<SyncRequest>& request)
    {
        std::function<void()> wake;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            SetEvent(m_event);
            wake = m_wake;
        }
        if (wake)
            wake();
    }

    void AwaitDone(const SyncRequest& request)
    {
        std::unique_lock lock(m_mutex);
        m_doneChanged.wait(lock, [&] { return request.done; });
    }

    bool RunAll()
    {
        std::deque<std::shared_ptr<SyncRequest>> batch;
        {
            std::lock_guard lock(m_mutex);
            batch.swap(m_requests);
            ResetEvent(m_event);
        }
        const bool ranAny = !batch.empty();
        while (!batch.empty()) {
            const auto request = batch.front();
            batch.pop_front();
            if (request->waited)
                RunWaited(*request);
            else
                RunQueued(*request, batch);
        }
        return ranAny;
    }

private:
    SyncQueue() : m_event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

    void RunWaited(SyncRequest& request)
    {
        try {
            request.method();
        } catch (...) {
            request.error = std::current_exception();
        }
        std::lock_guard lock(m_mutex);
        request.done = true;
        m_doneChanged.notify_all();
    }

    // On an exception the untouched rest goes back to the head of the queue before it is raised.
    void RunQueued(SyncRequest& request, std::deque<std::shared_ptr<SyncRequest>>& rest)
    {
        try {
            request.method();
        } catch (...) {
            std::lock_guard lock(m_mutex);
            m_requests.insert(m_requests.begin(), rest.begin(), rest.end());
            if (!m_requests.empty())
                SetEvent(m_event);
            throw;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_doneChanged;
    std::deque<std::shared_ptr<SyncRequest>> m_requests;
    std::function<void()> m_wake;
    HANDLE m_event;
};

constexpr std::array<int, 7> WinPriorities = {
    THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
    THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL,
};

} // namespace

DWORD MainThreadID()
{
    return g_mainThreadId;
}

bool CheckSynchronize()
{
    return OnMainThread() && SyncQueue::Instance().RunAll();
}

void SetWakeMainThread(std::function<void()> wake)
{
    SyncQueue::Instance().SetWake(std::move(wake));
}

TThread::TThread()
{
    m_handle = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &m_threadId);
    if (!m_handle)
        throw EThread("Thread creation error");
}

TThread::~TThread()
{
    EndAndWait();
    CloseHandle(m_handle);
}

void TThread::EndAndWait()
{
    if (!m_started || m_finished || m_freeOnTerminate || GetCurrentThreadId() == m_threadId)
        return;
    Terminate();
    while (m_suspended)
        Resume();
    WaitFor();
}

void TThread::Start()
{
    if (m_started.exchange(true))
        throw EThread("Cannot call Start on a running or suspended thread");
    ResumeThread(m_handle);
}

void TThread::Resume()
{
    if (!m_started) {
        Start();
        return;
    }
    const DWORD previous = ResumeThread(m_handle);
    if (previous <= 1 || previous == static_cast<DWORD>(-1))
        m_suspended = false;
}

void TThread::Suspend()
{
    if (!m_started)
        return;
    m_suspended = true;
    SuspendThread(m_handle);
}

bool TThread::Terminated() const
{
    if (GetCurrentThreadId() == m_threadId)
        winapi_kernel::SuspensionPoint();
    return m_terminated;
}

int TThread::WaitFor()
{
    if (!m_started)
        throw EThread("Cannot wait for a thread that was never started");
    if (m_freeOnTerminate)
        throw EThread("Cannot call WaitFor on a FreeOnTerminate thread");
    if (OnMainThread()) {
        const HANDLE handles[] = {m_handle, SyncQueue::Instance().Event()};
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
            CheckSynchronize();
    } else {
        WaitForSingleObject(m_handle, INFINITE);
    }
    return m_returnValue;
}

TThreadPriority TThread::Priority() const
{
    const int priority = GetThreadPriority(m_handle);
    for (std::size_t i = 0; i < WinPriorities.size(); ++i)
        if (WinPriorities[i] == priority)
            return static_cast<TThreadPriority>(i);
    return TThreadPriority::tpNormal;
}

void TThread::SetPriority(TThreadPriority priority)
{
    SetThreadPriority(m_handle, WinPriorities[static_cast<std::size_t>(priority)]);
}

void TThread::Synchronize(const std::function<void()>& method)
{
    if (OnMainThread()) {
        method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->method = method;
    request->waited = true;
    SyncQueue::Instance().Post(request);
    SyncQueue::Instance().AwaitDone(*request);
    if (request->error)
        std::rethrow_exception(request->error);
}

void TThread::Queue(std::function<void()> method)
{
    if (OnMainThread()) {
        method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->method = std::move(method);
    SyncQueue::Instance().Post(request);
}

DWORD TThread::ThreadProc(LPVOID parameter)
{
    auto* thread = static_cast<TThread*>(parameter);
    thread->Run();
    const auto exitCode = static_cast<DWORD>(thread->m_returnValue.load());
    // Read before finishing: once Finished is visible an owner may delete the object.
    const bool freeItself = thread->m_freeOnTerminate;
    thread->m_finished = true;
    if (freeItself)
        delete thread;
    return exitCode;
}

void TThread::Run()
{
    try {
        if (!m_terminated)
            Execute();
    } catch (...) {
        m_fatalException = std::current_exception();
    }
    if (!m_onTerminate)
        return;
    try {
        Synchronize([this] { m_onTerminate(*this); });
    } catch (...) {
        if (!m_fatalException)
            m_fatalException = std::current_exception();
    }
}

void TThreadDeleter::operator()(TThread* thread) const
{
    if (!thread)
        return;
    thread->EndAndWait();
    delete thread;
}
