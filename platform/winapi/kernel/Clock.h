#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <atomic>
#include <cstdint>

// The one clock of the system: GetTickCount, Sleep and every wait's time-out read it. Tests of long
// time-outs install a FakeClock instead of sleeping.
class KernelClock {
public:
    virtual ~KernelClock() = default;

    // Milliseconds on a monotonic scale (the origin means nothing).
    [[nodiscard]] virtual std::uint64_t NowMs() const = 0;

    // True for a clock that runs by itself: a blocked wait then sleeps in real time until its
    // time-out. A clock that does not (FakeClock) wakes the waits itself whenever it moves.
    [[nodiscard]] virtual bool RunsByItself() const = 0;
};

// The clock in force (the system's monotonic clock unless a test installed another).
[[nodiscard]] KernelClock& CurrentKernelClock();

// A clock that stands still until the test moves it. Installed for the lifetime of the object
// (not nestable); waits and Sleep with a time-out end only when Advance has moved it far enough.
class FakeClock final : public KernelClock {
public:
    explicit FakeClock(std::uint64_t startMs = 1'000'000);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    [[nodiscard]] std::uint64_t NowMs() const override { return m_nowMs.load(); }
    [[nodiscard]] bool RunsByItself() const override { return false; }

    void Advance(std::uint64_t ms);

    // Blocks until at least `count` threads wait (or sleep) with a time-out, so that a test moves
    // the clock only after the threads it drives have started waiting.
    void AwaitTimedWaiters(std::size_t count) const;

private:
    std::atomic<std::uint64_t> m_nowMs;
};

// Milliseconds of the kernel clock, wrapping like Win32's after 49.7 days.
[[nodiscard]] DWORD GetTickCount();
[[nodiscard]] std::uint64_t GetTickCount64();
