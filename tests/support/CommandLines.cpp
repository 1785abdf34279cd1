#include "tests/support/CommandLines.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace {

// The raw command line of a process: its arguments, each ended by a NUL. A process may end while
// it is read (the kernel then reports ESRCH); what was read so far is all there is.
std::string RawCommandLine(const std::filesystem::path& processFolder)
{
    std::string text;
    const int fd = open((processFolder / "cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
    return text;
}

} // namespace

std::vector<std::string> CommandLine(pid_t pid)
{
    const std::string text = RawCommandLine("/proc/" + std::to_string(pid));
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\0', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        arguments.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return arguments;
}

std::string ArgumentAfter(const std::vector<std::string>& arguments, const std::string& option)
{
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == option)
            return arguments[i + 1];
    return "";
}

bool AnyCommandLineHolds(const std::string& text)
{
    std::error_code ignored;
    for (const auto& process : std::filesystem::directory_iterator("/proc", ignored))
        if (RawCommandLine(process.path()).find(text) != std::string::npos)
            return true;
    return false;
}
