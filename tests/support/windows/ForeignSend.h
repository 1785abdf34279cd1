#pragma once

#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// A SendMessage from a thread of its own, as the dial-up service's callback makes it (or a call
// that sends); the thread that made the object is woken (WM_NULL) once the answer came. The
// send's state outlives the object, so that a send never answered fails the test that waits for
// it instead of ending the program (its thread is left behind).
class ForeignSend {
public:
    ForeignSend(HWND window, UINT message) : ForeignSend([=] { return SendMessageA(window, message, 0, 0); }) {}
    explicit ForeignSend(std::function<LRESULT()> send) : m_state(std::make_shared<State>())
    {
        m_thread = std::thread([state = m_state, send = std::move(send), waiter = GetCurrentThreadId()] {
            state->result = send();
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
    // Runs the calling thread's message loop (GetMessage, DispatchMessage) until the answer
    // came; false after a generous time.
    [[nodiscard]] bool AwaitAnswer() const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        MSG msg;
        while (!Answered()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0 &&
                GetMessageA(&msg, nullptr, 0, 0) > 0)
                (void)DispatchMessageA(&msg);
        }
        return true;
    }
    [[nodiscard]] LRESULT Result() const { return m_state->result; }

private:
    struct State {
        std::atomic<bool> answered{false};
        std::atomic<LRESULT> result{-1};
    };
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
