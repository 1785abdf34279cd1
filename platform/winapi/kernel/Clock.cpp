#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/KernelObject.h"

#include <chrono>

namespace {

class SystemClock final : public KernelClock {
public:
    [[nodiscard]] std::uint64_t NowMs() const override
    {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    [[nodiscard]] bool RunsByItself() const override { return true; }
};

SystemClock g_systemClock;
std::atomic<KernelClock*> g_clock{&g_systemClock};

} // namespace

KernelClock& CurrentKernelClock()
{
    return *g_clock.load();
}

FakeClock::FakeClock(std::uint64_t startMs)
    : m_nowMs(startMs)
{
    g_clock.store(this);
    winapi_kernel::WakeTimedWaiters();
}

FakeClock::~FakeClock()
{
    g_clock.store(&g_systemClock);
    winapi_kernel::WakeTimedWaiters();
}

void FakeClock::Advance(std::uint64_t ms)
{
    m_nowMs += ms;
    winapi_kernel::WakeTimedWaiters();
}

void FakeClock::AwaitTimedWaiters(std::size_t count) const
{
    winapi_kernel::AwaitTimedWaiters(count);
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(CurrentKernelClock().NowMs());
}

std::uint64_t GetTickCount64()
{
    return CurrentKernelClock().NowMs();
}
