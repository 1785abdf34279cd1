#include "platform/winapi/ras/PppdProcess.h"
#include "platform/winapi/kernel/Spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace {

constexpr std::chrono::seconds StuckProcessWait{30};

} // namespace

std::shared_ptr<PppdProcess> PppdProcess::Start(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return nullptr;
    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(actions.Get(), pipeFds[1], 2);
    // Other parts of the program may hold descriptors without close-on-exec (a serial port).
    posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
    SpawnAttributes attributes(SpawnGroup::OwnGroup);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ);
    close(pipeFds[1]);
    if (error != 0) {
        close(pipeFds[0]);
        errno = error;
        return nullptr;
    }
    fcntl(pipeFds[0], F_SETFL, fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    std::shared_ptr<PppdProcess> process(new PppdProcess(pid, pipeFds[0]));
    std::thread([process] { process->Reap(); }).detach();
    return process;
}

PppdProcess::PppdProcess(pid_t pid, int logFd)
    : m_pid(pid)
    , m_logFd(logFd)
    , m_exitFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

PppdProcess::~PppdProcess()
{
    close(m_logFd);
    if (m_exitFd >= 0)
        close(m_exitFd);
}

void PppdProcess::Reap()
{
    // Wait without reaping: while the zombie holds the id, its group id cannot be reused either.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    int status = 0;
    {
        std::lock_guard lock(m_mutex);
        kill(-m_pid, SIGKILL);
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_waitStatus = status;
    }
    m_ended.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(m_exitFd, &one, sizeof one);
}

bool PppdProcess::HasEnded() const
{
    std::lock_guard lock(m_mutex);
    return m_waitStatus.has_value();
}

std::optional<int> PppdProcess::WaitStatus() const
{
    std::lock_guard lock(m_mutex);
    return m_waitStatus;
}

bool PppdProcess::WaitForEnd(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_waitStatus.has_value(); });
}

void PppdProcess::Terminate(std::chrono::milliseconds grace)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_waitStatus)
            return;
        m_terminated = true;
        kill(m_pid, SIGTERM);
    }
    if (WaitForEnd(grace))
        return;
    {
        std::lock_guard lock(m_mutex);
        if (!m_waitStatus)
            kill(-m_pid, SIGKILL);
    }
    WaitForEnd(StuckProcessWait);
}

bool PppdProcess::WasTerminated() const
{
    std::lock_guard lock(m_mutex);
    return m_terminated;
}
