// The manager's main window as the program makes it, against the simulated modem on a
// pseudo-terminal found through the device view, on the headless display:
// - the start, from the splash to "USB Modem ready.", beside the delays the program is meant to
//   take: the port watch's first tick 3 s after it is switched on, then the 3 s the modem is given
//   to settle (the 2.5 s of the window's own creation run within the first);
// - the AT round trip through the whole receive path of the running program: a signal poll
//   written by the worker, answered, read, split, handed back and dispatched by the 250 ms main
//   timer until the signal bars show the new value;
// - a minute of the idle program: processor time and resident memory. The simulated modem runs
//   in the same process, so its (small) share is counted too.

#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/Welcome.h"

#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/SkinManage.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr double PrescribedStartMs = 3000.0 + 3000.0;

void StartApplicationOnce()
{
    static const bool started = [] {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        RegisterModemClasses();
        return true;
    }();
    (void)started;
}

// Handles the window's messages until `done` holds or `limit` has passed.
bool PumpUntil(const std::function<bool()>& done, Clock::duration limit)
{
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left, 250)),
                                        QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}

// A plugged simulated modem and the program's folder, both of this run.
class ProgramOnFakeModem {
public:
    ProgramOnFakeModem()
    {
        StartApplicationOnce();
        SetProgramFolder(m_dir.Path().string() + "/");
        SetCommLockFolder(m_dir.Path().string());
        std::filesystem::create_directories(m_dir / "sys");
        SetSysfsRoot((m_dir / "sys").string());
        SetDeviceOverlayPath((m_dir / "overlay.ini").string());
        FakeModemOptions options;
        options.overlayPath = (m_dir / "overlay.ini").string();
        options.comName = "COM7";
        options.settings.signal = 26;
        m_modem = std::make_unique<FakeModem>(options);
    }
    ~ProgramOnFakeModem()
    {
        if (m_form) {
            m_form->Close();
            m_form.reset();
        }
        // Every run starts the skin engine afresh, as the program does.
        FreeSkinManager();
        m_modem.reset();
        SetDeviceOverlayPath("");
        SetSysfsRoot("");
        SetCommLockFolder("");
        SetProgramFolder("");
    }

    // The program's start, to "USB Modem ready." with the signal bars shown; its length.
    Clock::duration Start()
    {
        const auto start = Clock::now();
        FW = static_cast<TFW*>(TCustomForm::Create(TFW::StaticClass(), nullptr));
        m_form.reset(static_cast<TMainForm*>(TCustomForm::Create(TMainForm::StaticClass(), nullptr)));
        m_form->Show();
        if (!PumpUntil([&] { return m_form->StatusText(0) == "USB Modem ready."; }, 60s))
            throw std::runtime_error("the modem did not come up: " + m_form->StatusText(0));
        const auto elapsed = Clock::now() - start;
        if (!PumpUntil([&] { return m_form->ISignal->Tag() == 4; }, 60s))
            throw std::runtime_error("no signal shown");
        return elapsed;
    }

    // One signal poll to the bars, the modem answering with `value` (shown as picture `image`).
    Clock::duration SignalRoundTrip(int value, int image)
    {
        m_modem->SetSignal(value);
        const auto start = Clock::now();
        m_form->Session().PollSignal();
        if (!PumpUntil([&] { return m_form->ISignal->Tag() == image; }, 30s))
            throw std::runtime_error("the signal poll got no answer");
        return Clock::now() - start;
    }

    void StopSignalPoll() { m_form->Session().SetSignalPollAllowed(false); }

private:
    TempDir m_dir;
    std::unique_ptr<FakeModem> m_modem;
    std::unique_ptr<TMainForm> m_form;
};

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

double Percentile(std::vector<double> samples, double fraction)
{
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[index];
}

double ProcessorSeconds()
{
    rusage usage{};
    (void)getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// VmRSS of /proc/self/status, in megabytes.
double ResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

void BM_StartToReady(benchmark::State& state)
{
    std::vector<double> samples;
    for (auto _ : state) {
        ProgramOnFakeModem program;
        const double elapsed = Milliseconds(program.Start());
        state.SetIterationTime(elapsed / 1000.0);
        samples.push_back(elapsed);
    }
    const double median = Percentile(samples, 0.5);
    state.counters["median_ms"] = median;
    state.counters["prescribed_ms"] = PrescribedStartMs;
    state.counters["over_prescribed_pct"] = (median - PrescribedStartMs) / PrescribedStartMs * 100.0;
}
BENCHMARK(BM_StartToReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ProgramSignalRoundTrip(benchmark::State& state)
{
    ProgramOnFakeModem program;
    (void)program.Start();
    program.StopSignalPoll();
    std::vector<double> samples;
    bool high = false;
    for (auto _ : state) {
        high = !high;
        const double elapsed = Milliseconds(high ? program.SignalRoundTrip(30, 5) : program.SignalRoundTrip(26, 4));
        state.SetIterationTime(elapsed / 1000.0);
        samples.push_back(elapsed);
    }
    state.counters["median_ms"] = Percentile(samples, 0.5);
    state.counters["p99_ms"] = Percentile(samples, 0.99);
}
BENCHMARK(BM_ProgramSignalRoundTrip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_IdleMinute(benchmark::State& state)
{
    ProgramOnFakeModem program;
    (void)program.Start();
    for (auto _ : state) {
        const double processorBefore = ProcessorSeconds();
        const auto start = Clock::now();
        (void)PumpUntil([] { return false; }, 60s);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(wall);
        state.counters["cpu_pct_of_core"] = (ProcessorSeconds() - processorBefore) / wall * 100.0;
        state.counters["rss_mb"] = ResidentMegabytes();
    }
}
BENCHMARK(BM_IdleMinute)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
