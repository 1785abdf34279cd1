#pragma once

#include "platform/winapi/kernel/Synch.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a Command record's Kind says about it.
enum TCommandKind : int {
    ckAnswered = 0, // an answer to a command, or unsolicited text (empty Cmd)
    ckTimedOut = 1, // the command got no answer in time; Data is the command's own data
};

// One command and what came back for it.
struct TCommand {
    std::string Cmd;
    std::string Data;
    int Kind = ckAnswered;
};

// The fixed-capacity first-in first-out queue between the GUI thread and the worker thread: one
// holds the commands waiting for the modem, the other the answers waiting for the main timer.
// Head is always slot 0; a removal moves the later records down.
//
// Limits: a command text longer than MaxCmdLength is refused whole, never cut: a cut SMS command
// would lose its closing Ctrl-Z and leave the modem swallowing every later command as message
// text. Data may hold a whole received block (up to MaxDataLength bytes, line breaks intact).
//
// Every change and the read of the head record hold the lock that both queues share; IsEmpty reads
// an atomic flag without it. Each queue has one consumer (the worker takes commands, the main
// timer takes answers), so a head that consumer has read is still the head when it removes it.
class TBuffer {
public:
    // Room for an SMS command with a text of 160 characters of up to four bytes each.
    static constexpr std::size_t MaxCmdLength = 1023;
    static constexpr std::size_t MaxDataLength = 0xFFFF;

    // `lock` guards this queue and the other one; it must outlive the queue.
    TBuffer(int capacity, CRITICAL_SECTION& lock);
    TBuffer(const TBuffer&) = delete;
    TBuffer& operator=(const TBuffer&) = delete;

    // Called after every push and removal (outside the lock, in the changing thread), so that a
    // thread waiting on the queue (the worker) wakes without polling.
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    [[nodiscard]] bool IsEmpty() const { return m_empty; }
    [[nodiscard]] bool IsFull() const { return m_full; }
    [[nodiscard]] int GetHead() const { return 0; }
    [[nodiscard]] int GetTail() const;
    [[nodiscard]] int Capacity() const { return static_cast<int>(m_slots.size()); }
    [[nodiscard]] int Count() const;

    // False, storing nothing, when the queue is full or a text is over its limit.
    [[nodiscard]] bool Push(const std::string& cmd, const std::string& data, int kind);
    // False when the queue is empty or nothing is stored at `index`.
    bool Remove(int index);
    // A copy of the head record (the consumer's read); an empty record when the queue is empty.
    [[nodiscard]] TCommand Head() const;
    // Removes every record.
    void Clear();

private:
    void Signal() const;

    CRITICAL_SECTION& m_lock;
    std::vector<std::unique_ptr<TCommand>> m_slots;
    int m_tail = 0;
    std::atomic<bool> m_full{false};
    std::atomic<bool> m_empty{true};
    std::function<void()> m_onChange;
};
