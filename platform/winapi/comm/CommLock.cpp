#include "platform/winapi/comm/CommLock.h"
#include "platform/winapi/kernel/WinError.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

namespace winapi_comm::detail {
namespace {

std::mutex g_mutex;
std::set<unsigned long> g_claimed;
std::string g_folder;

std::string LockFolder()
{
    if (!g_folder.empty())
        return g_folder;
    struct stat info {};
    return stat("/run/lock", &info) == 0 && S_ISDIR(info.st_mode) ? "/run/lock" : "/var/lock";
}

// "/dev/ttyUSB0" -> "LCK..ttyUSB0"; "/dev/pts/3" -> "LCK..pts_3".
std::string LockFileName(const std::string& devicePath)
{
    std::string name = devicePath.rfind("/dev/", 0) == 0 ? devicePath.substr(5) : devicePath;
    for (char& c : name)
        if (c == '/')
            c = '_';
    return "LCK.." + name;
}

bool ProcessExists(pid_t pid)
{
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

pid_t ReadLockOwner(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[32] = {};
    const auto length = read(fd, text, sizeof(text) - 1);
    close(fd);
    return length > 0 ? static_cast<pid_t>(std::strtol(text, nullptr, 10)) : 0;
}

enum class LockResult { Taken, InUse, Unavailable };

LockResult CreateLockFile(const std::string& path)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[16];
            const int length = std::snprintf(text, sizeof(text), "%10d\n", static_cast<int>(getpid()));
            const bool written = write(fd, text, static_cast<size_t>(length)) == length;
            close(fd);
            return written ? LockResult::Taken : LockResult::Unavailable;
        }
        if (errno != EEXIST)
            return LockResult::Unavailable;
        // Our own process id in a lock file we hold no claim for is a leftover of an earlier run.
        const pid_t owner = ReadLockOwner(path);
        if (owner != getpid() && ProcessExists(owner))
            return LockResult::InUse;
        unlink(path.c_str());
    }
    return LockResult::InUse;
}

} // namespace

std::unique_ptr<CommLock> CommLock::Acquire(const std::string& devicePath, unsigned long deviceNumber)
{
    std::lock_guard lock(g_mutex);
    if (g_claimed.count(deviceNumber)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    std::string lockFile = LockFolder() + "/" + LockFileName(devicePath);
    switch (CreateLockFile(lockFile)) {
    case LockResult::InUse: SetLastError(ERROR_ACCESS_DENIED); return nullptr;
    case LockResult::Unavailable: lockFile.clear(); break;
    case LockResult::Taken: break;
    }
    g_claimed.insert(deviceNumber);
    return std::unique_ptr<CommLock>(new CommLock(deviceNumber, std::move(lockFile)));
}

CommLock::CommLock(unsigned long deviceNumber, std::string lockFile)
    : m_deviceNumber(deviceNumber)
    , m_lockFile(std::move(lockFile))
{
}

CommLock::~CommLock()
{
    std::lock_guard lock(g_mutex);
    if (!m_lockFile.empty())
        unlink(m_lockFile.c_str());
    g_claimed.erase(m_deviceNumber);
}

void CommLock::SetFolder(const std::string& folder)
{
    std::lock_guard lock(g_mutex);
    g_folder = folder;
}

} // namespace winapi_comm::detail
