#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One pppd run: started through posix_spawn in a process group of its own, its standard output
// and error on a pipe (its log, with `logfd 2`), standard input on /dev/null. A reaper thread
// waits for it, then ends whatever it left in its group (chat) and reaps it, so no zombie stays
// and a signal is never sent to a reused process id.
class PppdProcess : public std::enable_shared_from_this<PppdProcess> {
public:
    // Nothing, with errno set, when the program cannot be started.
    [[nodiscard]] static std::shared_ptr<PppdProcess> Start(const std::vector<std::string>& arguments);
    ~PppdProcess();
    PppdProcess(const PppdProcess&) = delete;
    PppdProcess& operator=(const PppdProcess&) = delete;

    [[nodiscard]] pid_t Pid() const { return m_pid; }
    // The read end of the log pipe (non-blocking).
    [[nodiscard]] int LogFd() const { return m_logFd; }
    // Readable once the process has been reaped.
    [[nodiscard]] int ExitFd() const { return m_exitFd; }

    [[nodiscard]] bool HasEnded() const;
    // The wait status of an ended process.
    [[nodiscard]] std::optional<int> WaitStatus() const;
    // True once the process has been reaped, false when `timeout` passed first.
    bool WaitForEnd(std::chrono::milliseconds timeout) const;

    // SIGTERM, then SIGKILL to the whole group when it has not ended after `grace`; returns once
    // it is reaped (or, for a process stuck in the kernel, after a further long wait).
    void Terminate(std::chrono::milliseconds grace);
    // Whether the end came from Terminate.
    [[nodiscard]] bool WasTerminated() const;

private:
    PppdProcess(pid_t pid, int logFd);
    void Reap();

    const pid_t m_pid;
    const int m_logFd;
    const int m_exitFd;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_ended;
    std::optional<int> m_waitStatus;
    bool m_terminated = false;
};
