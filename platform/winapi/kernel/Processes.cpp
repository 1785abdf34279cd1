#include "platform/winapi/kernel/Processes.h"
#include "platform/winapi/kernel/KernelObject.h"
#include "platform/winapi/kernel/Spawn.h"
#include "platform/winapi/kernel/Threads.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

extern char** environ;

namespace {

class KernelProcess final : public winapi_kernel::Waitable {
public:
    explicit KernelProcess(pid_t pid)
        : m_pid(pid)
    {
    }

    // One reaper per child: the blocking waitpid both collects the status and frees the zombie.
    void StartReaper()
    {
        auto self = std::static_pointer_cast<KernelProcess>(shared_from_this());
        std::thread([self] { self->Reap(); }).detach();
    }

    [[nodiscard]] DWORD ExitCode()
    {
        std::lock_guard lock(m_mutex);
        return m_exitCode;
    }

    bool Terminate(UINT exitCode)
    {
        std::lock_guard lock(m_mutex);
        if (m_exitCode != STILL_ACTIVE)
            return true;
        m_forcedExitCode = exitCode;
        return kill(m_pid, SIGKILL) == 0;
    }

private:
    void Reap()
    {
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard lock(m_mutex);
            if (m_forcedExitCode)
                m_exitCode = *m_forcedExitCode;
            else if (WIFEXITED(status))
                m_exitCode = static_cast<DWORD>(WEXITSTATUS(status));
            else
                m_exitCode = 128 + static_cast<DWORD>(WTERMSIG(status));
        }
        Signal();
    }

    const pid_t m_pid;
    std::mutex m_mutex;
    DWORD m_exitCode = STILL_ACTIVE;
    std::optional<DWORD> m_forcedExitCode;
};

bool IsDirectory(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

// The program's path at the start of a command line: quoted, or up to the first space.
std::pair<std::string, std::size_t> ProgramToken(const std::string& line)
{
    std::size_t position = 0;
    while (position < line.size() && IsSpace(line[position]))
        ++position;
    if (position < line.size() && line[position] == '"') {
        const auto close = line.find('"', position + 1);
        const auto end = close == std::string::npos ? line.size() : close;
        return {line.substr(position + 1, end - position - 1), std::min(line.size(), end + 1)};
    }
    auto end = position;
    while (end < line.size() && !IsSpace(line[end]))
        ++end;
    return {line.substr(position, end - position), end};
}

// The arguments after the program: 2n backslashes before a quote give n and the quote groups;
// 2n+1 give n and a literal quote; "" inside quotes is a literal quote.
std::vector<std::string> SplitArguments(const std::string& line, std::size_t position)
{
    std::vector<std::string> arguments;
    for (;;) {
        while (position < line.size() && IsSpace(line[position]))
            ++position;
        if (position >= line.size())
            return arguments;
        std::string argument;
        bool quoted = false;
        while (position < line.size() && (quoted || !IsSpace(line[position]))) {
            std::size_t backslashes = 0;
            while (position < line.size() && line[position] == '\\') {
                ++backslashes;
                ++position;
            }
            if (position < line.size() && line[position] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && position + 1 < line.size() && line[position + 1] == '"') {
                    argument += '"';
                    ++position;
                } else {
                    quoted = !quoted;
                }
                ++position;
            } else {
                argument.append(backslashes, '\\');
                if (position < line.size() && (quoted || !IsSpace(line[position])))
                    argument += line[position++];
            }
        }
        arguments.push_back(std::move(argument));
    }
}

// Win32's reading of an unquoted program path with spaces: "C:\Program Files\x.exe a" tries
// "C:\Program", then "C:\Program Files\x.exe", and takes the first that exists.
std::vector<std::string> ResolveUnquotedProgram(const std::string& line)
{
    for (std::size_t space = line.find(' '); space != std::string::npos; space = line.find(' ', space + 1)) {
        const auto candidate = line.substr(0, space);
        if (!candidate.empty() && IsFile(candidate)) {
            auto arguments = SplitArguments(line, space);
            arguments.insert(arguments.begin(), candidate);
            return arguments;
        }
    }
    if (IsFile(line))
        return {line};
    return SplitCommandLine(line);
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    auto [program, end] = ProgramToken(commandLine);
    auto arguments = SplitArguments(commandLine, end);
    arguments.insert(arguments.begin(), std::move(program));
    return arguments;
}

BOOL CreateProcessArgv(const std::vector<std::string>& arguments, LPCSTR currentDirectory,
                       LPPROCESS_INFORMATION lpProcessInformation)
{
    if (arguments.empty() || arguments[0].empty() || !lpProcessInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (currentDirectory && *currentDirectory && !IsDirectory(currentDirectory)) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnActions actions;
    if (currentDirectory && *currentDirectory)
        posix_spawn_file_actions_addchdir_np(actions.Get(), currentDirectory);
    SpawnAttributes attributes;
    pid_t pid = 0;
    const bool searchPath = arguments[0].find('/') == std::string::npos;
    const int error = searchPath ? posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ)
                                 : posix_spawn(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ);
    if (error != 0) {
        SetLastError(Win32ErrorFromErrno(error));
        return FALSE;
    }
    auto process = std::make_shared<KernelProcess>(pid);
    try {
        process->StartReaper();
    } catch (const std::system_error&) {
        // Without a reaper nobody could ever report the end; do not leave a child nobody watches.
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    lpProcessInformation->hProcess = winapi_kernel::NewHandle(process);
    lpProcessInformation->hThread = winapi_kernel::NewHandle(process);
    lpProcessInformation->dwProcessId = static_cast<DWORD>(pid);
    lpProcessInformation->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

BOOL CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD, LPVOID, LPCSTR lpCurrentDirectory, LPSTARTUPINFOA, LPPROCESS_INFORMATION lpProcessInformation)
{
    const std::string line = lpCommandLine ? lpCommandLine : "";
    if (lpApplicationName) {
        // The program is the one named, whatever the line's first word says.
        auto arguments = line.empty() ? std::vector<std::string>{""} : SplitCommandLine(line);
        arguments[0] = lpApplicationName;
        return CreateProcessArgv(arguments, lpCurrentDirectory, lpProcessInformation);
    }
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto arguments = line[start] == '"' ? SplitCommandLine(line) : ResolveUnquotedProgram(line.substr(start));
    return CreateProcessArgv(arguments, lpCurrentDirectory, lpProcessInformation);
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    const auto process = winapi_kernel::Lookup<KernelProcess>(hProcess);
    if (!process)
        return FALSE;
    if (!lpExitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpExitCode = process->ExitCode();
    return TRUE;
}

BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
    const auto process = winapi_kernel::Lookup<KernelProcess>(hProcess);
    if (!process)
        return FALSE;
    if (!process->Terminate(uExitCode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(getpid());
}
