#pragma once

#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>
#include <memory>
#include <thread>

// A SendMessage from a thread of its own, as the dial-up service's callback makes it; the thread
// that made the object is woken (WM_NULL) once the answer came. The send's state outlives the
// object, so that a send never answered fails the test that waits for it instead of ending the
// program (its thread is left behind).
class ForeignSend {
public:
    ForeignSend(HWND window, UINT message) : m_state(std::make_shared<State>())
    {
        m_thread = std::thread([state = m_state, window, message, waiter = GetCurrentThreadId()] {
            state->result = SendMessageA(window, message, 0, 0);
            state->answered = true;
            (void)PostThreadMessageA(waiter, WM_NULL, 0, 0);
        });
    }
    ~ForeignSend()
    {
        if (m_state->answered)
            m_thread.join();
        else
            m_thread.detach();
    }
    ForeignSend(const ForeignSend&) = delete;
    ForeignSend& operator=(const ForeignSend&) = delete;

    [[nodiscard]] bool Answered() const { return m_state->answered; }
    [[nodiscard]] LRESULT Result() const { return m_state->result; }

private:
    struct State {
        std::atomic<bool> answered{false};
        std::atomic<LRESULT> result{-1};
    };
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
