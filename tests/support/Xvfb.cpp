#include "tests/support/Xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace {

std::string FindXvfb()
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const auto candidate = std::filesystem::path(folder) / "Xvfb";
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Xvfb writes the display number it chose to the descriptor given with -displayfd once it is
// ready for clients.
std::string ReadDisplayNumber(int descriptor)
{
    std::string number;
    for (;;) {
        pollfd entry{descriptor, POLLIN, 0};
        if (poll(&entry, 1, 60'000) != 1)
            throw std::runtime_error("Xvfb did not report its display number");
        char c = 0;
        if (read(descriptor, &c, 1) != 1)
            throw std::runtime_error("Xvfb ended before it was ready");
        if (c == '\n')
            return number;
        number.push_back(c);
    }
}

} // namespace

bool XvfbServer::Installed()
{
    return !FindXvfb().empty();
}

XvfbServer::XvfbServer(int width, int height)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string xvfb = FindXvfb();
    const std::string fd = std::to_string(fds[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> args = {xvfb, "-displayfd", fd, "-screen", "0", screen,
                                     "-br", "-nolisten", "tcp", "-noreset"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Keep the tests' output readable: the server's chatter goes nowhere.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&m_pid, xvfb.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        throw std::runtime_error("cannot start Xvfb");
    }
    try {
        m_name = ":" + ReadDisplayNumber(fds[0]);
    } catch (...) {
        close(fds[0]);
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        throw;
    }
    close(fds[0]);
}

XvfbServer::~XvfbServer()
{
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}
