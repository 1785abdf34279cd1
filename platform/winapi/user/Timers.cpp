#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageSources.h"
#include "platform/winapi/user/Window.h"

#include <algorithm>
#include <list>
#include <mutex>

namespace detail = winapi_user::detail;

namespace {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
    TIMERPROC proc = nullptr;
    DWORD threadId = 0;
};

// Every thread's timers. A WM_TIMER is never queued: it is made when the thread finds its queue
// otherwise empty and a timer is due, which keeps timers at the lowest priority and coalesces a
// late timer into one tick.
class TimerList {
public:
    static TimerList& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static TimerList& list = *new TimerList;
        return list;
    }

    UINT_PTR Set(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC proc)
    {
        const DWORD thread = GetCurrentThreadId();
        std::lock_guard lock(m_mutex);
        if (!hwnd && (id == 0 || !Find(nullptr, id, thread)))
            id = NewThreadTimerId(thread);
        Timer* timer = Find(hwnd, id, thread);
        if (!timer)
            timer = &m_timers.emplace_back();
        *timer = Timer{hwnd, id, interval, CurrentKernelClock().NowMs() + interval, proc, thread};
        return hwnd ? 1 : id;
    }

    bool Kill(HWND hwnd, UINT_PTR id)
    {
        std::lock_guard lock(m_mutex);
        const auto before = m_timers.size();
        const DWORD thread = GetCurrentThreadId();
        m_timers.remove_if([&](const Timer& timer) {
            return timer.hwnd == hwnd && timer.id == id && timer.threadId == thread;
        });
        return m_timers.size() != before;
    }

    void KillWindow(HWND hwnd)
    {
        std::lock_guard lock(m_mutex);
        m_timers.remove_if([&](const Timer& timer) { return timer.hwnd == hwnd; });
    }

    bool TakeDue(const detail::MessageFilter& filter, bool remove, MSG& out)
    {
        if (!filter.Admits(WM_TIMER))
            return false;
        const DWORD thread = GetCurrentThreadId();
        const std::uint64_t now = CurrentKernelClock().NowMs();
        std::lock_guard lock(m_mutex);
        for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer) {
            if (timer->threadId != thread || timer->due > now || !filter.AdmitsWindow(timer->hwnd))
                continue;
            out = MSG{timer->hwnd, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->proc), static_cast<DWORD>(now), {}};
            (void)GetCursorPos(&out.pt);
            if (remove) {
                timer->due = now + timer->interval;
                // Timers due together take turns: this one goes behind the others.
                m_timers.splice(m_timers.end(), m_timers, timer);
            }
            return true;
        }
        return false;
    }

    std::optional<std::uint64_t> NextDue()
    {
        const DWORD thread = GetCurrentThreadId();
        std::lock_guard lock(m_mutex);
        std::optional<std::uint64_t> next;
        for (const Timer& timer : m_timers)
            if (timer.threadId == thread && (!next || timer.due < *next))
                next = timer.due;
        return next;
    }

    bool IsLive(HWND hwnd, UINT_PTR id, TIMERPROC proc)
    {
        std::lock_guard lock(m_mutex);
        const Timer* timer = Find(hwnd, id, GetCurrentThreadId());
        return timer && timer->proc == proc;
    }

private:
    Timer* Find(HWND hwnd, UINT_PTR id, DWORD thread)
    {
        for (Timer& timer : m_timers)
            if (timer.hwnd == hwnd && timer.id == id && timer.threadId == thread)
                return &timer;
        return nullptr;
    }

    UINT_PTR NewThreadTimerId(DWORD thread)
    {
        do
            m_nextThreadTimerId = m_nextThreadTimerId >= 0x7FFF ? 0x100 : m_nextThreadTimerId + 1;
        while (Find(nullptr, m_nextThreadTimerId, thread));
        return m_nextThreadTimerId;
    }

    std::mutex m_mutex;
    std::list<Timer> m_timers;
    UINT_PTR m_nextThreadTimerId = 0x100;
};

} // namespace

namespace winapi_user::detail {

bool TakeDueTimer(const MessageFilter& filter, bool remove, MSG& out)
{
    return TimerList::Instance().TakeDue(filter, remove, out);
}

std::optional<std::uint64_t> NextTimerDue()
{
    return TimerList::Instance().NextDue();
}

bool IsLiveTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc)
{
    return TimerList::Instance().IsLive(hwnd, id, proc);
}

void KillWindowTimers(HWND hwnd)
{
    TimerList::Instance().KillWindow(hwnd);
}

} // namespace winapi_user::detail

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd && !detail::FindOwnWindow(hWnd))
        return 0;
    const UINT interval = std::clamp(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    (void)detail::CurrentQueue();
    return TimerList::Instance().Set(hWnd, nIDEvent, interval, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    if (TimerList::Instance().Kill(hWnd, uIDEvent))
        return TRUE;
    SetLastError(hWnd && !detail::FindWindowObject(hWnd) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
}
