#include "platform/winapi/user/MessageQueue.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"

#include <algorithm>
#include <map>

namespace winapi_user::detail {

bool MessageFilter::Admits(UINT message) const
{
    if (first == 0 && last == 0)
        return true;
    if (first <= last)
        return message >= first && message <= last;
    // Win32 reads a reversed range as everything outside it.
    return message >= first || message <= last;
}

bool MessageFilter::AdmitsWindow(HWND target) const
{
    if (hwnd == nullptr)
        return true;
    if (hwnd == reinterpret_cast<HWND>(-1))
        return target == nullptr;
    return target == hwnd || (target && IsChild(hwnd, target));
}

UINT QueueStatusBitOf(UINT message)
{
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
        return QS_KEY;
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
        return QS_MOUSEMOVE;
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
        (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK))
        return QS_MOUSEBUTTON;
    if (message == WM_TIMER)
        return QS_TIMER;
    if (message == WM_PAINT)
        return QS_PAINT;
    return QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
}

void MessageQueue::Arrived(UINT bits)
{
    m_changed |= bits;
    Signal();
}

bool MessageQueue::Post(const MSG& msg)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_posted.push_back(msg);
        m_changed |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    Signal();
    return true;
}

bool MessageQueue::PostInput(InputMessage input)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_changed |= QueueStatusBitOf(input.msg.message);
        m_input.push_back(std::move(input));
    }
    Signal();
    return true;
}

void MessageQueue::PostQuit(int exitCode)
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_quitCode = exitCode;
        m_changed |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    Signal();
}

bool MessageQueue::PushSent(std::shared_ptr<SentMessage> sent)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_sent.push_back(std::move(sent));
        m_changed |= QS_SENDMESSAGE;
    }
    Signal();
    return true;
}

void MessageQueue::Wake(UINT queueStatusBits)
{
    {
        std::lock_guard lock(m_mutex);
        m_changed |= queueStatusBits;
        m_woken |= queueStatusBits;
    }
    Signal();
}

std::shared_ptr<SentMessage> MessageQueue::PopSent()
{
    std::lock_guard lock(m_mutex);
    if (m_sent.empty())
        return nullptr;
    auto sent = std::move(m_sent.front());
    m_sent.pop_front();
    return sent;
}

bool MessageQueue::TakePosted(const MessageFilter& filter, bool remove, MSG& out)
{
    std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_posted.begin(), m_posted.end(), [&](const MSG& msg) { return filter.Admits(msg); });
    if (found == m_posted.end())
        return false;
    out = *found;
    if (remove)
        m_posted.erase(found);
    return true;
}

bool MessageQueue::TakeInput(const MessageFilter& filter, bool remove, InputMessage& out)
{
    std::lock_guard lock(m_mutex);
    const auto found =
        std::find_if(m_input.begin(), m_input.end(), [&](const InputMessage& input) { return filter.Admits(input.msg); });
    if (found == m_input.end())
        return false;
    out = *found;
    if (remove)
        m_input.erase(found);
    return true;
}

bool MessageQueue::TakeQuit(const MessageFilter& filter, bool remove, MSG& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_quit || !filter.Admits(WM_QUIT) || !filter.AdmitsWindow(nullptr))
        return false;
    out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(m_quitCode), 0, GetTickCount(), {}};
    if (remove)
        m_quit = false;
    return true;
}

void MessageQueue::PurgeWindow(HWND hwnd)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_posted, [&](const MSG& msg) { return msg.hwnd == hwnd; });
    std::erase_if(m_input, [&](const InputMessage& input) { return input.msg.hwnd == hwnd; });
}

UINT MessageQueue::ChangedBits() const
{
    std::lock_guard lock(m_mutex);
    return m_changed;
}

UINT MessageQueue::StatusBits() const
{
    std::lock_guard lock(m_mutex);
    UINT bits = m_woken;
    if (!m_posted.empty() || m_quit)
        bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (!m_sent.empty())
        bits |= QS_SENDMESSAGE;
    for (const auto& input : m_input)
        bits |= QueueStatusBitOf(input.msg.message);
    return bits;
}

void MessageQueue::ClearChangedBits()
{
    std::lock_guard lock(m_mutex);
    m_changed = 0;
    m_woken = 0;
}

void MessageQueue::Close()
{
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        pending.swap(m_sent);
        m_posted.clear();
        m_input.clear();
    }
    for (const auto& sent : pending)
        CompleteSent(*sent, 0);
}

void CompleteSent(SentMessage& sent, LRESULT result)
{
    sent.result = result;
    sent.done = true;
    if (const auto sender = sent.sender.lock())
        sender->Signal();
}

namespace {

std::mutex g_registryMutex;
std::map<DWORD, std::shared_ptr<MessageQueue>>& Registry()
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static std::map<DWORD, std::shared_ptr<MessageQueue>>& registry = *new std::map<DWORD, std::shared_ptr<MessageQueue>>;
    return registry;
}

// Owns the thread's queue for the thread's lifetime; at thread exit the queue leaves the registry,
// so later posts to the thread fail as Win32's do, and waiting senders are released.
struct QueueHolder {
    std::shared_ptr<MessageQueue> queue;

    ~QueueHolder()
    {
        if (!queue)
            return;
        {
            std::lock_guard lock(g_registryMutex);
            Registry().erase(queue->ThreadId());
        }
        queue->Close();
    }
};

thread_local QueueHolder t_queue;

} // namespace

std::shared_ptr<MessageQueue> CurrentQueue()
{
    if (!t_queue.queue) {
        t_queue.queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
        std::lock_guard lock(g_registryMutex);
        Registry()[t_queue.queue->ThreadId()] = t_queue.queue;
    }
    return t_queue.queue;
}

std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId)
{
    std::lock_guard lock(g_registryMutex);
    const auto found = Registry().find(threadId);
    return found == Registry().end() ? nullptr : found->second;
}

} // namespace winapi_user::detail
