#include "platform/winapi/ras/RasConnection.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/devices/ComPorts.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/kernel/Clock.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <thread>
#include <utility>

namespace {

constexpr std::chrono::milliseconds HangUpGrace{3000};
constexpr std::size_t MaxLogLine = 4096;
constexpr DWORD PortSpeed = 115200;

std::optional<std::string> DevicePathOfPort(const std::string& port)
{
    if (!port.empty() && port.front() == '/')
        return port;
    return ComPortDevicePath(port);
}

std::uint64_t ReadCounter(const std::string& interfaceName, const char* counter)
{
    if (interfaceName.empty())
        return 0;
    std::ifstream in(SysfsRoot() + "/class/net/" + interfaceName + "/statistics/" + counter);
    std::uint64_t value = 0;
    return (in >> value) ? value : 0;
}

void CopyText(char* target, std::size_t size, const std::string& text)
{
    const auto length = std::min(text.size(), size - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

} // namespace

std::shared_ptr<RasConnection> RasConnection::Create(DialPlan plan, RASDIALFUNC notifier)
{
    return std::shared_ptr<RasConnection>(new RasConnection(std::move(plan), notifier));
}

void RasConnection::Begin()
{
    std::thread([self = shared_from_this()] { self->Run(); }).detach();
}

RasConnection::RasConnection(DialPlan plan, RASDIALFUNC notifier)
    : m_plan(std::move(plan))
    , m_notifier(notifier)
{
}

void RasConnection::Run()
{
    Notify(RASCS_OpenPort, 0);
    const DWORD startError = StartPppd();
    if (!startError)
        FollowLog();
    Finish(startError);
}

DWORD RasConnection::StartPppd()
{
    const auto devicePath = DevicePathOfPort(m_plan.portName);
    if (!devicePath)
        return ERROR_PORT_NOT_FOUND;
    const DialRequest request{*devicePath, m_plan.phoneNumber, m_plan.userName, m_plan.password};
    auto files = DialFiles::Create(request);
    if (!files)
        return ERROR_UNKNOWN;
    const auto arguments = PppdArguments(request, *files);
    std::lock_guard lock(m_mutex);
    m_files = std::move(files);
    // Hung up before pppd ever ran: nothing to start.
    if (m_hungUp)
        return ERROR_USER_DISCONNECTION;
    m_process = PppdProcess::Start(arguments);
    return m_process ? 0 : ERROR_RASMAN_CANNOT_INITIALIZE;
}

void RasConnection::FollowLog()
{
    pollfd fds[2] = {{m_process->LogFd(), POLLIN, 0}, {m_process->ExitFd(), POLLIN, 0}};
    while (!m_process->HasEnded()) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            ReadLog();
            // At the end of the log only the process's end is left to wait for.
            if (!(fds[0].revents & POLLIN))
                fds[0].fd = -1;
        }
    }
    while (!m_process->WaitForEnd(std::chrono::seconds(60))) {
    }
    ReadLog();
    if (!m_pendingLog.empty())
        HandleLine(std::exchange(m_pendingLog, {}));
}

void RasConnection::ReadLog()
{
    char buffer[1024];
    for (;;) {
        const auto count = read(m_process->LogFd(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        for (const char c : std::string_view(buffer, static_cast<std::size_t>(count))) {
            if (c != '\n' && m_pendingLog.size() < MaxLogLine) {
                m_pendingLog += c;
                continue;
            }
            HandleLine(std::exchange(m_pendingLog, {}));
            if (c != '\n')
                m_pendingLog += c;
        }
    }
}

void RasConnection::HandleLine(const std::string& line)
{
    if (TraceEnabled(TraceChannel::Ras))
        TraceLine(TraceChannel::Ras, line);
    const auto classified = ClassifyPppdLine(line);
    {
        std::lock_guard lock(m_mutex);
        if (!classified.interfaceName.empty())
            m_interface = classified.interfaceName;
        if (classified.failure && !m_failure)
            m_failure = classified.failure;
    }
    if (classified.reached)
        Advance(*classified.reached);
}

void RasConnection::Advance(DialStep step)
{
    for (;;) {
        DialStep next;
        {
            std::lock_guard lock(m_mutex);
            if (m_failure || m_step >= step)
                return;
            next = static_cast<DialStep>(static_cast<int>(m_step) + 1);
            m_step = next;
            if (next == DialStep::Connected)
                m_connectedAtMs = GetTickCount64();
        }
        Notify(RasStateOfStep(next), 0);
    }
}

void RasConnection::Finish(DWORD startError)
{
    bool wasConnected = false;
    DWORD error = 0;
    DialStep step{};
    {
        std::lock_guard lock(m_mutex);
        if (!m_failure)
            m_failure = startError;
        if (!m_failure && m_process) {
            const int status = m_process->WaitStatus().value_or(0);
            m_failure = WIFEXITED(status) ? RasErrorForPppdExit(WEXITSTATUS(status)) : RasErrorForPppdSignal();
        }
        m_ended = true;
        m_files.reset();
        // A connection stays listed until it is hung up; its descriptors need not.
        m_process.reset();
        wasConnected = m_step == DialStep::Connected;
        error = m_failure;
        step = m_step;
    }
    if (wasConnected)
        Notify(RASCS_Disconnected, 0);
    else
        Notify(RasStateOfStep(step), error);
}

void RasConnection::Notify(RASCONNSTATE state, DWORD error)
{
    if (!m_hungUp)
        m_notifier(WM_RASDIALEVENT, state, error);
}

void RasConnection::HangUp()
{
    std::shared_ptr<PppdProcess> process;
    {
        std::lock_guard lock(m_mutex);
        m_hungUp = true;
        process = m_process;
    }
    if (process)
        process->Terminate(HangUpGrace);
    std::lock_guard lock(m_mutex);
    m_files.reset();
}

bool RasConnection::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return !m_ended && !(m_process && m_process->HasEnded());
}

std::string RasConnection::DeviceName() const
{
    return m_plan.deviceName.empty() ? m_plan.portName : m_plan.deviceName;
}

void RasConnection::FillStatus(RASCONNSTATUSA& status) const
{
    {
        std::lock_guard lock(m_mutex);
        status.rasconnstate = m_ended ? RASCS_Disconnected : RasStateOfStep(m_step);
        status.dwError = m_ended ? m_failure : 0;
    }
    CopyText(status.szDeviceType, sizeof status.szDeviceType, "modem");
    CopyText(status.szDeviceName, sizeof status.szDeviceName, DeviceName());
}

DWORD RasConnection::FillStatistics(RAS_STATS& statistics) const
{
    std::string interfaceName;
    std::optional<std::uint64_t> connectedAtMs;
    {
        std::lock_guard lock(m_mutex);
        if (m_ended)
            return ERROR_NO_CONNECTION;
        interfaceName = m_interface;
        if (m_step == DialStep::Connected)
            connectedAtMs = m_connectedAtMs;
    }
    const DWORD size = statistics.dwSize;
    statistics = RAS_STATS{};
    statistics.dwSize = size;
    // The record holds 32 bits; the counters wrap there as they did on the original system.
    statistics.dwBytesXmited = static_cast<DWORD>(ReadCounter(interfaceName, "tx_bytes"));
    statistics.dwBytesRcved = static_cast<DWORD>(ReadCounter(interfaceName, "rx_bytes"));
    statistics.dwFramesXmited = static_cast<DWORD>(ReadCounter(interfaceName, "tx_packets"));
    statistics.dwFramesRcved = static_cast<DWORD>(ReadCounter(interfaceName, "rx_packets"));
    statistics.dwCrcErr = static_cast<DWORD>(ReadCounter(interfaceName, "rx_crc_errors"));
    statistics.dwFramingErr = static_cast<DWORD>(ReadCounter(interfaceName, "rx_frame_errors"));
    statistics.dwBufferOverrunErr = static_cast<DWORD>(ReadCounter(interfaceName, "rx_over_errors"));
    statistics.dwBps = PortSpeed;
    if (connectedAtMs)
        statistics.dwConnectDuration = static_cast<DWORD>(GetTickCount64() - *connectedAtMs);
    return 0;
}
