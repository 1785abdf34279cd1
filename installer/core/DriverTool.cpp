#include "installer/core/DriverTool.h"

#include "installer/core/InstallPaths.h"
#include "installer/core/Payload.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Thread.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Processes.h"
#include "platform/winapi/kernel/Synch.h"

#include <condition_variable>
#include <mutex>
#include <unistd.h>
#include <utility>

struct TDriverToolRunner::Outcome {
    mutable std::mutex lock;
    mutable std::condition_variable ended;
    TToolState state = TToolState::NotStarted;
    std::optional<int> exitCode;

    void Set(TToolState newState, std::optional<int> code = std::nullopt)
    {
        {
            const std::lock_guard guard(lock);
            state = newState;
            exitCode = code;
        }
        ended.notify_all();
    }
};

namespace {

class TWaitFor : public TThread {
public:
    TWaitFor(std::vector<std::string> command, std::shared_ptr<TDriverToolRunner::Outcome> outcome)
        : m_command(std::move(command)), m_outcome(std::move(outcome))
    {
        SetFreeOnTerminate(true);
    }

protected:
    void Execute() override
    {
        const std::optional<int> code = RunAndWait(m_command);
        m_outcome->Set(code ? TToolState::Exited : TToolState::FailedToStart, code);
    }

private:
    std::vector<std::string> m_command;
    std::shared_ptr<TDriverToolRunner::Outcome> m_outcome;
};

} // namespace

void ConfigureDriverTool(const std::string& installDir)
{
    TIniFile settings(JoinPath(installDir, DriverSettingsFile));
    settings.WriteString("AutoInstall", "Automatic_Install", "Y");
    settings.WriteString("AutoInstall", "Silent_Install", "Y");
    settings.WriteString("Drivers", "Uncompressed_Driver_Location", JoinPath(installDir, DriversFolder));
    settings.UpdateFile();
}

std::vector<std::string> DriverToolCommand(const std::string& installDir)
{
    const std::string tool = JoinPath(installDir, DriverToolFile);
    if (::geteuid() == 0)
        return {tool};
    return {"pkexec", tool};
}

std::optional<int> RunAndWait(const std::vector<std::string>& arguments)
{
    PROCESS_INFORMATION process{};
    if (!CreateProcessArgv(arguments, nullptr, &process))
        return std::nullopt;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

TDriverToolRunner::TDriverToolRunner(TCommand command) : m_command(command), m_outcome(std::make_shared<Outcome>())
{
}

void TDriverToolRunner::Configure(const std::string& installDir)
{
    ConfigureDriverTool(installDir);
}

void TDriverToolRunner::Start(const std::string& installDir)
{
    m_outcome->Set(TToolState::Running);
    (new TWaitFor(m_command(installDir), m_outcome))->Start();
}

TToolState TDriverToolRunner::State() const
{
    const std::lock_guard guard(m_outcome->lock);
    return m_outcome->state;
}

std::optional<int> TDriverToolRunner::ExitCode() const
{
    const std::lock_guard guard(m_outcome->lock);
    return m_outcome->exitCode;
}

void TDriverToolRunner::WaitUntilEnded() const
{
    std::unique_lock guard(m_outcome->lock);
    m_outcome->ended.wait(guard, [this] {
        return m_outcome->state == TToolState::Exited || m_outcome->state == TToolState::FailedToStart;
    });
}
