#pragma once

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/comm/CommLock.h"
#include "platform/winapi/comm/LineMonitor.h"
#include "platform/winapi/kernel/KernelObject.h"

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace winapi_comm::detail {

// Tells whether the thread that issued an operation still exists; an operation of a thread that
// has ended is dropped without writing into its (gone) records.
struct IssuerToken {
    std::mutex mutex;
    bool alive = true;
};

// One open serial device. Callers' threads issue operations; the port's own thread polls the
// device (and an eventfd that wakes it when there is new work or the port closes), moves bytes
// between the device and the operations, runs the time-outs and watches the modem lines.
// Completing an operation fills its OVERLAPPED and sets its event. The port is also waitable,
// signalled whenever an operation completes (for GetOverlappedResult without an event).
class CommPort final : public winapi_kernel::Waitable {
    struct PassKey {};

public:
    using SteadyClock = std::chrono::steady_clock;

    // The open port, or nullptr with the last error set.
    [[nodiscard]] static std::shared_ptr<CommPort> Open(const std::string& devicePath);
    CommPort(PassKey, int fd, int wakeFd, std::unique_ptr<CommLock> lock, std::unique_ptr<LineMonitor> lines);
    ~CommPort() override;

    void OnLastHandleClosed() override { Close(); }

    BOOL Read(LPVOID buffer, DWORD count, LPDWORD bytesRead, LPOVERLAPPED overlapped);
    BOOL Write(LPCVOID buffer, DWORD count, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
    BOOL WaitEvent(LPDWORD eventMask, LPOVERLAPPED overlapped);
    void SetMask(DWORD mask);
    void Purge(DWORD flags);
    BOOL GetState(DCB& dcb);
    BOOL SetState(const DCB& dcb);
    void GetTimeouts(COMMTIMEOUTS& timeouts);
    void SetTimeouts(const COMMTIMEOUTS& timeouts);
    void ClearErrors(LPDWORD errors, LPCOMSTAT stat);

private:
    struct Operation {
        LPOVERLAPPED overlapped = nullptr;
        std::shared_ptr<IssuerToken> issuer;
        DWORD done = 0;
    };
    struct ReadOperation : Operation {
        unsigned char* buffer = nullptr;
        DWORD requested = 0;
        bool immediate = false;
        bool endOnFirstBytes = false;
        DWORD intervalMs = 0;
        std::optional<SteadyClock::time_point> totalDeadline;
        std::optional<SteadyClock::time_point> lastProgress;
    };
    struct WriteOperation : Operation {
        std::vector<unsigned char> data;
        std::optional<SteadyClock::time_point> totalDeadline;
    };
    struct EventOperation : Operation {
        LPDWORD mask = nullptr;
    };

    void Close();
    void IoLoop();
    void Wake() const;

    [[nodiscard]] Operation Begin(LPOVERLAPPED overlapped);
    BOOL FinishNow(const Operation& operation, DWORD error, LPDWORD transferred);
    void Complete(const Operation& operation, DWORD error, LPDWORD mask = nullptr, DWORD maskValue = 0);
    void FailAll(DWORD error);

    [[nodiscard]] std::optional<DWORD> ProgressRead(ReadOperation& read, SteadyClock::time_point now);
    void ServeReads(SteadyClock::time_point now);
    void Receive(short pollEvents);
    void Send();
    bool WriteSome(WriteOperation& write);
    void MarkVanished();
    void Raise(DWORD events);
    void WatchLines(SteadyClock::time_point now);
    void RefreshLineErrors();
    void ExpireTimers(SteadyClock::time_point now);
    [[nodiscard]] std::optional<SteadyClock::time_point> ReadDeadline(const ReadOperation& read) const;
    [[nodiscard]] bool WatchesLines() const;
    [[nodiscard]] int PollTimeoutMs(SteadyClock::time_point now) const;
    [[nodiscard]] short DeviceEvents() const;
    // A "comm" trace line about this port, when the channel is on.
    void Trace(std::string_view event) const;

    const int m_fd;
    const int m_wakeFd;
    std::unique_ptr<CommLock> m_lock;
    std::unique_ptr<LineMonitor> m_lines;

    std::mutex m_mutex;
    bool m_closing = false;
    bool m_closed = false;
    bool m_vanished = false;
    std::string m_devicePath; // names the port in the "comm" trace
    DCB m_dcb;
    COMMTIMEOUTS m_timeouts{};
    DWORD m_mask = 0;
    DWORD m_history = 0;
    DWORD m_errors = 0;
    std::deque<unsigned char> m_input;
    std::deque<ReadOperation> m_reads;
    std::deque<WriteOperation> m_writes;
    std::optional<EventOperation> m_eventWait;
    std::optional<int> m_modemBits;
    std::optional<LineErrorCounts> m_errorCounts;
    SteadyClock::time_point m_nextLineCheck{};
    std::thread m_thread;
};

} // namespace winapi_comm::detail
