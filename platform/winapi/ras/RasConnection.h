#pragma once

#include "platform/winapi/ras/DialCommand.h"
#include "platform/winapi/ras/PppdLog.h"
#include "platform/winapi/ras/PppdProcess.h"
#include "platform/winapi/ras/Ras.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// What a dial needs once RasDialA has checked its arguments.
struct DialPlan {
    std::string entryName;
    std::string deviceName; // the entry's Device=, shown as the connection's device
    std::string portName;   // the entry's Port=: a COM name or a device path
    std::string phoneNumber;
    std::string userName;
    std::string password;
};

// One dial and the connection it becomes. Its own thread starts pppd, follows pppd's log and
// calls the notifier, in order, as the dial goes on; it ends when pppd has ended.
class RasConnection : public std::enable_shared_from_this<RasConnection> {
public:
    [[nodiscard]] static std::shared_ptr<RasConnection> Create(DialPlan plan, RASDIALFUNC notifier);
    // Starts the service thread; the caller has its handle ready for the first notification.
    void Begin();
    RasConnection(const RasConnection&) = delete;
    RasConnection& operator=(const RasConnection&) = delete;

    // No notification starts after this; pppd is ended and reaped before it returns.
    void HangUp();

    [[nodiscard]] bool IsRunning() const;
    [[nodiscard]] const std::string& EntryName() const { return m_plan.entryName; }
    [[nodiscard]] std::string DeviceName() const;
    void FillStatus(RASCONNSTATUSA& status) const;
    [[nodiscard]] DWORD FillStatistics(RAS_STATS& statistics) const;

private:
    RasConnection(DialPlan plan, RASDIALFUNC notifier);

    void Run();
    [[nodiscard]] DWORD StartPppd();
    void FollowLog();
    void ReadLog();
    void HandleLine(const std::string& line);
    void Advance(DialStep step);
    void Finish(DWORD startError);
    void Notify(RASCONNSTATE state, DWORD error);

    const DialPlan m_plan;
    const RASDIALFUNC m_notifier;
    std::atomic<bool> m_hungUp{false};
    std::string m_pendingLog; // the monitor thread's alone

    mutable std::mutex m_mutex;
    std::shared_ptr<PppdProcess> m_process;
    std::unique_ptr<DialFiles> m_files;
    DialStep m_step = DialStep::OpenPort;
    bool m_ended = false;
    DWORD m_failure = 0; // the first failure pppd's log explained, then the final error
    std::string m_interface;
    std::uint64_t m_connectedAtMs = 0;
};
