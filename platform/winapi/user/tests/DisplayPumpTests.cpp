#include "PaintFixture.h"

#include "platform/winapi/kernel/Threads.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// A display that takes in an event for the window it presents, as Xlib does when a large image
// waits to be written: the event is read, so the descriptor never shows it.
class ReadWhilePresentingDisplay final : public DisplayBackend {
public:
    explicit ReadWhilePresentingDisplay(DisplayEvent::Kind arriving)
        : m_arriving(arriving)
    {
    }
    ~ReadWhilePresentingDisplay() override { (void)close(m_descriptor); }

    [[nodiscard]] std::string Name() const override { return "read-while-presenting"; }
    void Present(WindowId id, const Surface&, const std::vector<RECT>&) override
    {
        if (m_arriving) {
            DisplayEvent event;
            event.kind = *m_arriving;
            event.window = id;
            m_read.push_back(event);
            m_arriving.reset();
        }
    }
    [[nodiscard]] int EventDescriptor() const override { return m_descriptor; }
    [[nodiscard]] bool NextEvent(DisplayEvent& event) override
    {
        if (m_read.empty())
            return false;
        event = m_read.front();
        m_read.pop_front();
        return true;
    }
    [[nodiscard]] bool EventsAlreadyRead() override { return !m_read.empty(); }

private:
    const int m_descriptor = eventfd(0, EFD_CLOEXEC);
    std::optional<DisplayEvent::Kind> m_arriving;
    std::deque<DisplayEvent> m_read;
};

// Ends a wait that nothing else would end: after a generous time it posts WM_USER to the thread
// that made it, unless the test was done before.
class WaitBound {
public:
    WaitBound()
        : m_thread([this, waiter = GetCurrentThreadId()] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(20), [this] { return m_finished; }))
                (void)PostThreadMessageA(waiter, WM_USER, 0, 0);
        })
    {
    }
    ~WaitBound()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    WaitBound(const WaitBound&) = delete;
    WaitBound& operator=(const WaitBound&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

using DisplayPumpTest = PaintTest;

TEST_F(DisplayPumpTest, AnEventReadWhilePresentingWakesTheWaitInsteadOfWaitingForOtherInput)
{
    (void)InstallDisplay(std::make_unique<ReadWhilePresentingDisplay>(DisplayEvent::Kind::CloseRequest));
    const HWND hwnd = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 80}, RGB(0, 0, 200));
    MSG msg{};
    {
        const WaitBound bound;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_SYSCOMMAND && msg.message != WM_USER)
            (void)DispatchMessageA(&msg);
    }
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_SYSCOMMAND));
    (void)DestroyWindow(hwnd);
    m_tops.clear();
    m_display = &SelectHeadlessDisplay();
}

} // namespace
