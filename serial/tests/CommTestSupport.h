#pragma once

#include "serial/Pelcomm.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a TComm's events reported, in the order they fired, with the thread each fired in.
struct CommNotices {
    std::vector<std::string> blocks;
    std::vector<DWORD> lineErrors;
    std::vector<DWORD> modemEvents;
    int hangups = 0;
    int sendEmpty = 0;
    std::vector<DWORD> threads;
    bool blocksEndInZero = true;

    [[nodiscard]] std::string Received() const;
};

// Connects every event of `comm` to `notices`.
void Record(TComm& comm, CommNotices& notices);

// Sets what the modem manager stores on its port object: 115200 8N1, CTS flow with an RTS
// handshake, DTR on, no XON/XOFF, a read ended by 100 ms of quiet.
void ApplyManagerSettings(TComm& comm);

// Runs the calling thread's message loop until `done` holds; false when `timeout` passed first.
[[nodiscard]] bool PumpUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Runs the message loop until nothing is left in the queue.
void PumpPending();

// Waits, without dispatching, until a message in the range is queued for `window`.
[[nodiscard]] bool AwaitQueued(HWND window, UINT message, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The lParam of the first message in the range queued for `window`, without taking it out.
[[nodiscard]] LPARAM QueuedBlock(HWND window, UINT message);

// Whether a local-heap block has been freed. Only AddressSanitizer can tell (freed memory is
// poisoned while it waits for reuse); without it every block counts as freed.
[[nodiscard]] bool BlockWasFreed(LPARAM block);

// Every serial test has a headless display (the hidden window lives in the window system) and
// its own folder for lock files and the device overlay.
class CommTestBase : public ::testing::Test {
protected:
    CommTestBase();
    ~CommTestBase() override;

    // The component under test, its events recorded.
    void MakeComm(const std::string& commName);

    TempDir m_dir;
    std::unique_ptr<TComm> m_comm;
    CommNotices m_notices;
};
