// The serial port component end to end: how long an AT+CSQ takes from WriteCommData to the
// OnReceiveData block that answers it (through the reader, the writer, the hidden window and the
// simulated modem), and how fast a large write leaves through the writer thread.
//
// The round trip is dominated by the read-interval time-out: a reply is handed over only after
// the line has been quiet that long. It is measured with the manager's 100 ms and with 5 ms.

#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/comm/Comm.h"
#include "serial/Pelcomm.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Runs the message loop until `done` holds; throws after a minute.
template <class Done>
void PumpUntil(Done done)
{
    const auto deadline = Clock::now() + std::chrono::minutes(1);
    while (!done()) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            continue;
        }
        if (Clock::now() > deadline)
            throw std::runtime_error("the serial component did not answer");
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

// The component opened on a port, the manager's line settings applied.
class OpenComm {
public:
    OpenComm(const std::string& commName, DWORD readInterval)
    {
        m_comm.SetCommName(commName);
        m_comm.SetBaudRate(115200);
        m_comm.SetOutx_XonXoffFlow(false);
        m_comm.SetInx_XonXoffFlow(false);
        m_comm.SetReadIntervalTimeout(readInterval);
        m_comm.SetOnReceiveData(TReceiveDataEvent::FromFunction([this](TObject*, const void* buffer, WORD length) {
            m_received.append(static_cast<const char*>(buffer), length);
        }));
        m_comm.StartComm();
    }
    ~OpenComm() { m_comm.StopComm(); }

    // Writes `bytes` and waits for a reply that ends with `ending`.
    void Exchange(const std::string& bytes, const std::string& ending)
    {
        m_received.clear();
        if (!m_comm.WriteCommData(bytes.data(), bytes.size()))
            throw std::runtime_error("write refused");
        PumpUntil([&] { return m_received.ends_with(ending); });
    }

    TComm& Comm() { return m_comm; }

private:
    TComm m_comm{nullptr};
    std::string m_received;
};

// Devices come only from the overlay of this run.
class IsolatedDevices {
public:
    IsolatedDevices()
    {
        (void)SelectHeadlessDisplay();
        std::filesystem::create_directories(m_dir / "sys");
        SetSysfsRoot((m_dir / "sys").string());
        SetDeviceOverlayPath((m_dir / "overlay.ini").string());
        SetCommLockFolder(m_dir.Path().string());
    }
    ~IsolatedDevices()
    {
        SetCommLockFolder("");
        SetDeviceOverlayPath("");
        SetSysfsRoot("");
    }
    [[nodiscard]] const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
};

double Percentile(std::vector<double> samples, double fraction)
{
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[index];
}

void BM_CsqRoundTrip(benchmark::State& state)
{
    IsolatedDevices devices;
    FakeModemOptions options;
    options.overlayPath = (devices.Dir() / "overlay.ini").string();
    options.comName = "COM12";
    FakeModem modem(options);
    OpenComm comm("COM12", static_cast<DWORD>(state.range(0)));
    comm.Exchange("ATE0\r", "OK\r\n");

    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = Clock::now();
        comm.Exchange("AT+CSQ\r", "OK\r\n");
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count() * 1000.0);
    }
    state.counters["median_ms"] = Percentile(samples, 0.5);
    state.counters["p99_ms"] = Percentile(samples, 0.99);
}
BENCHMARK(BM_CsqRoundTrip)->Arg(100)->Arg(5)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_WriteOneMiB(benchmark::State& state)
{
    constexpr std::size_t Total = 1 << 20;
    IsolatedDevices devices;
    PseudoTerminal pty;
    SetDeviceOverlayPath(devices.Dir().WriteFile("ports.ini", "[ports]\nCOM7=" + pty.SlavePath() + "\n").string());
    OpenComm comm("COM7", 100);
    const std::string data(Total, 'U');

    for (auto _ : state) {
        std::string received;
        std::thread reader([&] { received = pty.Read(Total, std::chrono::seconds(30)); });
        for (std::size_t done = 0; done < Total;) {
            const std::size_t piece = std::min(Total - done, TComm::MaxWriteLength);
            if (!comm.Comm().WriteCommData(data.data() + done, piece))
                throw std::runtime_error("write refused");
            done += piece;
        }
        reader.join();
        if (received.size() != Total)
            state.SkipWithError("the far end did not get every byte");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Total));
}
BENCHMARK(BM_WriteOneMiB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
