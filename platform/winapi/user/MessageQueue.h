#pragma once

#include "platform/winapi/kernel/KernelObject.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace winapi_user::detail {

class MessageQueue;

// A message sent from another thread, waiting for the receiving thread to handle it.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    std::atomic<bool> done{false};
    std::weak_ptr<MessageQueue> sender;
};

// What a window filter and a message range of GetMessage/PeekMessage let through.
struct MessageFilter {
    HWND hwnd = nullptr;
    UINT first = 0;
    UINT last = 0;

    [[nodiscard]] bool Admits(UINT message) const;
    [[nodiscard]] bool AdmitsWindow(HWND target) const;
    [[nodiscard]] bool Admits(const MSG& msg) const { return Admits(msg.message) && AdmitsWindow(msg.hwnd); }
};

// An input message and what the translation of its key needs to know.
struct InputMessage {
    MSG msg{};
    std::string text; // what the key types (UTF-8), for TranslateMessage
};

// One thread's queue. It is a kernel Waitable so that MsgWaitForMultipleObjects waits on kernel
// handles and the queue together: it is signalled (auto-reset) whenever something arrives, and the
// owning thread looks at its contents before waiting again, so no arrival is ever missed.
class MessageQueue final : public winapi_kernel::Waitable {
public:
    explicit MessageQueue(DWORD threadId)
        : m_threadId(threadId)
    {
    }

    [[nodiscard]] DWORD ThreadId() const { return m_threadId; }

    // False once the thread has ended.
    bool Post(const MSG& msg);
    bool PostInput(InputMessage input);
    void PostQuit(int exitCode);
    bool PushSent(std::shared_ptr<SentMessage> sent);
    // Something else (a timer, an invalid window, the display) has new work for the thread.
    void Wake(UINT queueStatusBits);

    [[nodiscard]] std::shared_ptr<SentMessage> PopSent();
    [[nodiscard]] bool TakePosted(const MessageFilter& filter, bool remove, MSG& out);
    [[nodiscard]] bool TakeInput(const MessageFilter& filter, bool remove, InputMessage& out);
    [[nodiscard]] bool TakeQuit(const MessageFilter& filter, bool remove, MSG& out);
    // Drops the posted and input messages for a window that is being destroyed.
    void PurgeWindow(HWND hwnd);

    // The kinds of messages that arrived since the thread last looked (Get/PeekMessage), and
    // the kinds that are in the queue now (QS_* bits).
    [[nodiscard]] UINT ChangedBits() const;
    [[nodiscard]] UINT StatusBits() const;
    void ClearChangedBits();

    // The thread ended: senders waiting for it get 0.
    void Close();

protected:
    void OnWaitSatisfied() override { ClearSignalWhileLocked(); }

private:
    void Arrived(UINT bits);

    const DWORD m_threadId;
    mutable std::mutex m_mutex;
    std::deque<MSG> m_posted;
    std::deque<InputMessage> m_input;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    bool m_quit = false;
    int m_quitCode = 0;
    UINT m_changed = 0;
    UINT m_woken = 0;
    bool m_closed = false;
};

// The calling thread's queue, created on first use.
[[nodiscard]] std::shared_ptr<MessageQueue> CurrentQueue();
// The queue of a thread, or nullptr when it has none (yet, or any more).
[[nodiscard]] std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId);
// Marks a sent message answered and wakes its sender.
void CompleteSent(SentMessage& sent, LRESULT result);

// The queue status bit of a message's kind.
[[nodiscard]] UINT QueueStatusBitOf(UINT message);

} // namespace winapi_user::detail
