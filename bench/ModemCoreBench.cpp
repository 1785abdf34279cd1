// The manager's AT round trip through the whole receive path: a signal poll queued by the main
// timer's sender, taken and written by the worker thread, answered by the simulated modem, read
// by the serial component, split into codes, handed back by the worker and dispatched until the
// signal bars show it. As with the serial component alone, the read-interval time-out dominates;
// it is measured with the manager's 100 ms and with 5 ms, which shows what the engine adds.

#include "modem/core/ATCommands.h"
#include "modem/core/CommModemPort.h"
#include "modem/core/ModemEngine.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The signal bars are all this benchmark looks at.
class SignalView : public TModemView {
public:
    void ShowSignal(int /*image*/) override { ++shown; }
    int shown = 0;
};

// The simulated modem found as COM12 through an overlay of this run, and the engine driving it
// the way the port watch starts it.
class EngineOnFakeModem {
public:
    explicit EngineOnFakeModem(DWORD readInterval)
    {
        (void)SelectHeadlessDisplay();
        std::filesystem::create_directories(m_dir / "sys");
        SetSysfsRoot((m_dir / "sys").string());
        SetDeviceOverlayPath((m_dir / "overlay.ini").string());
        SetCommLockFolder(m_dir.Path().string());
        FakeModemOptions options;
        options.overlayPath = (m_dir / "overlay.ini").string();
        options.comName = "COM12";
        m_modem = std::make_unique<FakeModem>(options);

        m_comm = std::make_unique<TComm>(nullptr);
        m_comm->SetCommName("COM12");
        m_comm->SetBaudRate(115200);
        m_comm->SetOutx_XonXoffFlow(false);
        m_comm->SetInx_XonXoffFlow(false);
        m_comm->SetReadIntervalTimeout(readInterval);
        m_port = std::make_unique<TCommModemPort>(*m_comm);
        m_engine = std::make_unique<TModemEngine>(*m_port, m_view, m_records);
        m_comm->SetOnReceiveData(TReceiveDataEvent::FromFunction(
            [this](TObject* sender, const void* buffer, WORD length) { m_engine->ComReceiveData(sender, buffer, length); }));
        const DWORD gui = GetCurrentThreadId();
        m_engine->ResponseQueue().SetOnChange([this, gui] {
            m_engine->Link().WakeWorker();
            (void)PostThreadMessageA(gui, WM_NULL, 0, 0);
        });

        m_port->StartComm();
        m_engine->CreateWorker();
        m_engine->PortOpened();
        m_engine->State().SignalPollAllowed = false;
        m_engine->InitialModem();
        m_engine->ResumeWorker();
        SignalRoundTrip();
    }
    ~EngineOnFakeModem()
    {
        m_engine->PortLost();
        m_port->StopComm();
        m_engine.reset();
        m_comm.reset();
        m_modem.reset();
        SetCommLockFolder("");
        SetDeviceOverlayPath("");
        SetSysfsRoot("");
    }

    void SignalRoundTrip()
    {
        const int before = m_view.shown;
        SendCSQ(m_engine->CommandQueue());
        const auto deadline = Clock::now() + std::chrono::minutes(1);
        while (m_view.shown == before) {
            MSG msg;
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
                continue;
            }
            if (!m_engine->ResponseQueue().IsEmpty()) {
                m_engine->MainTimerTick();
                continue;
            }
            if (Clock::now() > deadline)
                throw std::runtime_error("the modem did not answer");
            (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        }
    }

private:
    TempDir m_dir;
    std::unique_ptr<FakeModem> m_modem;
    std::unique_ptr<TComm> m_comm;
    std::unique_ptr<TCommModemPort> m_port;
    SignalView m_view;
    TModemRecords m_records;
    std::unique_ptr<TModemEngine> m_engine;
};

double Percentile(std::vector<double> samples, double fraction)
{
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[index];
}

void BM_EngineCsqRoundTrip(benchmark::State& state)
{
    EngineOnFakeModem engine(static_cast<DWORD>(state.range(0)));
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = Clock::now();
        engine.SignalRoundTrip();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count() * 1000.0);
    }
    state.counters["median_ms"] = Percentile(samples, 0.5);
    state.counters["p99_ms"] = Percentile(samples, 0.99);
}
BENCHMARK(BM_EngineCsqRoundTrip)->Arg(100)->Arg(5)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace
