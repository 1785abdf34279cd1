#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageLoopHook.h"
#include "platform/winapi/user/MessageSources.h"
#include "platform/winapi/user/MessageTrace.h"
#include "platform/winapi/user/ProcedureBarrier.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/Window.h"

#include <mutex>
#include <vector>

namespace detail = winapi_user::detail;

// The one place that decides the order in which a thread gets its messages, as Win32 does:
// messages sent from other threads are handled first (they never reach the caller), then posted
// messages, then input, then WM_QUIT once nothing else is posted, then WM_PAINT, then WM_TIMER.
// Between the last WM_PAINT and the timers, what was painted is presented to the display.

namespace {

std::mutex g_hookMutex;
std::function<void()> g_loopHook;

void RunLoopHook()
{
    std::function<void()> hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_loopHook;
    }
    if (hook)
        hook();
}

// The sender is always answered: CallWindow lets no exception out.
void HandleSent(detail::SentMessage& sent)
{
    LRESULT result = 0;
    const auto window = detail::FindWindowObject(sent.hwnd);
    if (window && window->threadId == GetCurrentThreadId()) {
        const detail::MessageTraceScope trace(detail::MessageRoute::Receive, *window, sent.message, sent.wParam,
                                              sent.lParam);
        result = detail::CallWindow(sent.hwnd, sent.message, sent.wParam, sent.lParam);
    }
    detail::CompleteSent(sent, result);
}

void HandleSentMessages(detail::MessageQueue& queue)
{
    while (const auto sent = queue.PopSent())
        HandleSent(*sent);
}

bool Retrieve(MSG& out, const detail::MessageFilter& filter, bool remove)
{
    RunLoopHook();
    const auto queue = detail::CurrentQueue();
    HandleSentMessages(*queue);
    queue->ClearChangedBits();
    // The display's events may post (a close request) as well as queue input.
    detail::PumpDisplayEvents();
    bool found = queue->TakePosted(filter, remove, out);
    if (!found) {
        detail::InputMessage input;
        found = queue->TakeInput(filter, remove, input);
        if (found) {
            out = input.msg;
            if (remove)
                detail::NoteInputRetrieved(input);
        }
    }
    found = found || queue->TakeQuit(filter, remove, out) || detail::TakePaint(filter, out);
    // The turn's paint messages are done: what they painted is shown, once.
    if (!found)
        detail::PresentDirtySurfaces();
    found = found || detail::TakeDueTimer(filter, remove, out);
    if (found)
        detail::NoteMessageRetrieved(out);
    return found;
}

// The time-out until the thread's next timer falls due, capped by `limitMs`.
DWORD TimeoutUntilTimer(DWORD limitMs)
{
    const auto due = detail::NextTimerDue();
    if (!due)
        return limitMs;
    const std::uint64_t now = CurrentKernelClock().NowMs();
    const std::uint64_t untilDue = *due > now ? *due - now : 0;
    return limitMs == INFINITE ? static_cast<DWORD>(std::min<std::uint64_t>(untilDue, INFINITE - 1))
                               : static_cast<DWORD>(std::min<std::uint64_t>(untilDue, limitMs));
}

bool TimerDue()
{
    const auto due = detail::NextTimerDue();
    return due && *due <= CurrentKernelClock().NowMs();
}

void WaitForQueue(const std::shared_ptr<detail::MessageQueue>& queue)
{
    detail::PrepareDisplayWait();
    const std::shared_ptr<winapi_kernel::Waitable> objects[] = {queue};
    (void)winapi_kernel::WaitForObjects(objects, false, TimeoutUntilTimer(INFINITE));
}

bool ValidFilterWindow(HWND hwnd)
{
    return hwnd == nullptr || hwnd == reinterpret_cast<HWND>(-1) || detail::FindWindowObject(hwnd) != nullptr;
}

} // namespace

void SetMessageLoopHook(std::function<void()> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_loopHook = std::move(hook);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!hWnd)
        return PostThreadMessageA(GetCurrentThreadId(), Msg, wParam, lParam);
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const auto queue = detail::QueueOfThread(window->threadId);
    POINT pt{};
    (void)GetCursorPos(&pt);
    if (!queue || !queue->Post(MSG{hWnd, Msg, wParam, lParam, GetTickCount(), pt})) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const auto queue = idThread == GetCurrentThreadId() ? detail::CurrentQueue() : detail::QueueOfThread(idThread);
    POINT pt{};
    (void)GetCursorPos(&pt);
    if (!queue || !queue->Post(MSG{nullptr, Msg, wParam, lParam, GetTickCount(), pt})) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    if (window->threadId == GetCurrentThreadId() || window.get() == &detail::Desktop()) {
        const detail::MessageTraceScope trace(detail::MessageRoute::Send, *window, Msg, wParam, lParam);
        return detail::CallWindow(hWnd, Msg, wParam, lParam);
    }
    const auto target = detail::QueueOfThread(window->threadId);
    if (!target)
        return 0;
    const auto self = detail::CurrentQueue();
    auto sent = std::make_shared<detail::SentMessage>();
    sent->hwnd = hWnd;
    sent->message = Msg;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = self;
    if (!target->PushSent(sent))
        return 0;
    // While waiting, answer what others send to this thread, so that two threads sending to each
    // other never deadlock.
    while (!sent->done) {
        if (const auto incoming = self->PopSent()) {
            HandleSent(*incoming);
            continue;
        }
        const std::shared_ptr<winapi_kernel::Waitable> objects[] = {self};
        (void)winapi_kernel::WaitForObjects(objects, false, INFINITE);
    }
    return sent->result;
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    if (!lpMsg || !ValidFilterWindow(hWnd)) {
        SetLastError(lpMsg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return -1;
    }
    const detail::MessageFilter filter{hWnd, wMsgFilterMin, wMsgFilterMax};
    const auto queue = detail::CurrentQueue();
    while (!Retrieve(*lpMsg, filter, true))
        WaitForQueue(queue);
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!lpMsg || !ValidFilterWindow(hWnd))
        return FALSE;
    return Retrieve(*lpMsg, detail::MessageFilter{hWnd, wMsgFilterMin, wMsgFilterMax}, (wRemoveMsg & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

LRESULT DispatchMessageA(const MSG* lpMsg)
{
    if (!lpMsg)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        // Only a callback that a live timer names is called: a forged or stale lParam must not
        // become a call through an arbitrary pointer.
        const auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        if (detail::IsLiveTimerProc(lpMsg->hwnd, lpMsg->wParam, proc))
            (void)detail::CallShielded(lpMsg->hwnd, [&] {
                proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
                return LRESULT{0};
            });
        return 0;
    }
    if (!lpMsg->hwnd)
        return 0;
    const auto window = detail::FindWindowObject(lpMsg->hwnd);
    if (!window)
        return 0;
    if (window->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    const detail::MessageTraceScope trace(detail::MessageRoute::Dispatch, *window, lpMsg->message, lpMsg->wParam,
                                          lpMsg->lParam);
    return detail::CallWindow(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void PostQuitMessage(int nExitCode)
{
    detail::CurrentQueue()->PostQuit(nExitCode);
}

BOOL WaitMessage()
{
    return MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, 0) == WAIT_FAILED ? FALSE : TRUE;
}

DWORD GetQueueStatus(UINT flags)
{
    const auto queue = detail::CurrentQueue();
    UINT status = queue->StatusBits();
    UINT changed = queue->ChangedBits();
    if (TimerDue()) {
        status |= QS_TIMER;
        changed |= QS_TIMER;
    }
    queue->ClearChangedBits();
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(changed & flags), static_cast<WORD>(status & flags)));
}

DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                DWORD dwWakeMask)
{
    return MsgWaitForMultipleObjectsEx(nCount, pHandles, dwMilliseconds, dwWakeMask, fWaitAll ? MWMO_WAITALL : 0);
}

DWORD MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask,
                                  DWORD dwFlags)
{
    if (nCount >= MAXIMUM_WAIT_OBJECTS || (nCount && !pHandles) || (dwFlags & MWMO_WAITALL)) {
        // Waiting for all handles and input together is not offered: nothing here needs it.
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<winapi_kernel::Waitable>> objects;
    for (DWORD index = 0; index < nCount; ++index) {
        auto object = winapi_kernel::Lookup<winapi_kernel::Waitable>(pHandles[index]);
        if (!object)
            return WAIT_FAILED;
        objects.push_back(std::move(object));
    }
    const auto queue = detail::CurrentQueue();
    objects.push_back(queue);
    const bool timed = dwMilliseconds != INFINITE;
    const std::uint64_t deadline = CurrentKernelClock().NowMs() + (timed ? dwMilliseconds : 0);
    for (;;) {
        detail::PumpDisplayEvents();
        const UINT bits = (dwFlags & MWMO_INPUTAVAILABLE) ? queue->StatusBits() | queue->ChangedBits()
                                                          : queue->ChangedBits();
        if ((bits & dwWakeMask) || ((dwWakeMask & QS_TIMER) && TimerDue()))
            return WAIT_OBJECT_0 + nCount;
        const std::uint64_t now = CurrentKernelClock().NowMs();
        if (timed && now >= deadline)
            return WAIT_TIMEOUT;
        DWORD timeout = timed ? static_cast<DWORD>(deadline - now) : INFINITE;
        if (dwWakeMask & QS_TIMER)
            timeout = TimeoutUntilTimer(timeout);
        detail::PrepareDisplayWait();
        const DWORD result = winapi_kernel::WaitForObjects(objects, false, timeout);
        if (result == WAIT_FAILED || result < WAIT_OBJECT_0 + nCount)
            return result;
        if (result == WAIT_TIMEOUT && timed && CurrentKernelClock().NowMs() >= deadline &&
            !((dwWakeMask & QS_TIMER) && TimerDue()))
            return WAIT_TIMEOUT;
    }
}
