#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/MessageSources.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace detail = winapi_user::detail;

namespace {

std::atomic<DWORD> g_displayThread{0};

// The kernel's waits know nothing of descriptors, so one helper thread blocks in poll() on the
// display's descriptor while the display's thread waits, and rings that thread's queue when
// events arrive. It is armed again each time the display's thread is about to block, after it
// has drained the events, so it never spins.
class DisplayWatcher {
public:
    static DisplayWatcher& Instance()
    {
        // Never destroyed: its thread may still sit in poll() when the program ends.
        static DisplayWatcher* watcher = new DisplayWatcher;
        return *watcher;
    }

    void Arm(int descriptor, std::shared_ptr<detail::MessageQueue> queue)
    {
        std::lock_guard lock(m_mutex);
        const bool changed = descriptor != m_descriptor;
        m_descriptor = descriptor;
        m_queue = std::move(queue);
        m_armed = true;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
        m_changed.notify_one();
        if (changed) {
            const std::uint64_t one = 1;
            (void)!write(m_interrupt, &one, sizeof one);
        }
    }

private:
    DisplayWatcher()
        : m_interrupt(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    {
    }

    void Run()
    {
        for (;;) {
            int descriptor = -1;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_armed; });
                descriptor = m_descriptor;
            }
            pollfd fds[2] = {{descriptor, POLLIN, 0}, {m_interrupt, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0)
                continue;
            if (fds[1].revents) {
                std::uint64_t count = 0;
                (void)!read(m_interrupt, &count, sizeof count);
            }
            if (fds[0].revents) {
                std::shared_ptr<detail::MessageQueue> queue;
                {
                    std::lock_guard lock(m_mutex);
                    m_armed = false;
                    queue = m_queue;
                }
                // Only a ring: the thread drains the display, and what it turns into input
                // messages marks the queue's status. A closed descriptor (a display that was
                // replaced) rings nothing.
                if (queue && (fds[0].revents & POLLIN))
                    queue->Signal();
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_descriptor = -1;
    std::shared_ptr<detail::MessageQueue> m_queue;
    bool m_armed = false;
    const int m_interrupt;
    std::thread m_thread;
};

bool OnDisplayThread()
{
    return g_displayThread != 0 && g_displayThread == GetCurrentThreadId();
}

} // namespace

namespace winapi_user::detail {

void UseDisplayOnThisThread()
{
    g_displayThread = GetCurrentThreadId();
}

void PumpDisplayEvents()
{
    if (!OnDisplayThread())
        return;
    DisplayEvent event;
    while (Display().NextEvent(event))
        TranslateDisplayEvent(event);
}

void PrepareDisplayWait()
{
    if (!OnDisplayThread())
        return;
    const int descriptor = Display().EventDescriptor();
    if (descriptor < 0)
        return;
    // Presenting the turn's pixels may have taken in events since the drain: the wait must not
    // sleep past them (a window uncovered meanwhile would stay stale until other input came).
    if (Display().EventsAlreadyRead())
        CurrentQueue()->Signal();
    else
        DisplayWatcher::Instance().Arm(descriptor, CurrentQueue());
}

} // namespace winapi_user::detail
