#include "tests/support/ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto PATIENCE = 60s;

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> MergedEnvironment(const ChildProgram::Environment& environment)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const bool replaced = std::any_of(environment.begin(), environment.end(),
                                          [&](const auto& pair) { return variable.rfind(pair.first + "=", 0) == 0; });
        if (!replaced)
            merged.push_back(variable);
    }
    for (const auto& [name, value] : environment)
        if (!value.empty())
            merged.push_back(name + "=" + value);
    return merged;
}

} // namespace

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& args,
                           const Environment& environment, const std::filesystem::path& errorFile)
{
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = MergedEnvironment(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawn(&m_pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(envp).data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        m_pid = -1;
}

ChildProgram::~ChildProgram()
{
    if (m_pid > 0 && !m_status) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

std::optional<int> ChildProgram::AwaitExit()
{
    const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
    while (Started() && !Poll() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    if (!m_status || !WIFEXITED(*m_status))
        return std::nullopt;
    return WEXITSTATUS(*m_status);
}

bool ChildProgram::Poll()
{
    if (!m_status) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid)
            m_status = status;
    }
    return m_status.has_value();
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ChildProgram::Environment PrivateDesktopEnvironment(const std::string& display, const std::filesystem::path& folder)
{
    return {{"DISPLAY", display},
            {"MODEM_DISPLAY", ""},
            {"HOME", (folder / "home").string()},
            {"XDG_DATA_HOME", ""},
            {"XDG_CONFIG_HOME", ""},
            {"MODEM_SYSTEM_ROOT", (folder / "root").string()},
            {"MODEM_SYSFS_ROOT", (folder / "sys").string()},
            {"MODEM_DEVICE_OVERLAY", (folder / "overlay.ini").string()},
            {"LANG", "en_US.UTF-8"},
            {"LC_ALL", ""},
            {"UBSAN_OPTIONS", "print_stacktrace=1"}};
}

testing::AssertionResult EndsClearlyWithoutDisplay(const std::string& program, const std::string& name,
                                                   const std::filesystem::path& folder)
{
    const auto errorFile = folder / "no-display-stderr.txt";
    ChildProgram child(program, {}, {{"DISPLAY", ""}, {"MODEM_DISPLAY", ""}}, errorFile);
    const auto exitCode = child.AwaitExit();
    const std::string errors = ReadWholeFile(errorFile);
    const bool oneLine = std::count(errors.begin(), errors.end(), '\n') == 1 && errors.back() == '\n';
    if (exitCode == 1 && oneLine && errors.rfind(name + ": No X display", 0) == 0 &&
        errors.find("MODEM_DISPLAY=headless") != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << name << " ended with " << (exitCode ? std::to_string(*exitCode) : "no exit code")
                                       << " and wrote: " << errors;
}
