#pragma once

#include "installer/core/DriverWatch.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The driver tool Drivers/Driver and its settings file Drivers/driverforge.ini.

// Sets the tool up for an automatic, silent installation from the driver folder: [AutoInstall]
// Automatic_Install=Y and Silent_Install=Y, [Drivers] Uncompressed_Driver_Location=<the folder>.
// The tool's other settings stay as shipped.
void ConfigureDriverTool(const std::string& installDir);

// How the tool is started: directly when the installer runs as root, otherwise through pkexec,
// which asks for the administrator's consent. Each path is one argument: no shell splits it.
[[nodiscard]] std::vector<std::string> DriverToolCommand(const std::string& installDir);

// Starts `arguments` and waits for the process without a time limit; its exit code, or nothing
// when it could not start.
[[nodiscard]] std::optional<int> RunAndWait(const std::vector<std::string>& arguments);

// The tool run by a thread of its own (TWaitFor) that waits for it; the watch reads its state on
// its ticks. The thread shares nothing else and is not waited for when the installer ends.
class TDriverToolRunner : public IDriverTool {
public:
    using TCommand = std::vector<std::string> (*)(const std::string& installDir);
    explicit TDriverToolRunner(TCommand command = DriverToolCommand);

    void Configure(const std::string& installDir) override;
    void Start(const std::string& installDir) override;
    [[nodiscard]] TToolState State() const override;

    // The tool's exit code once it has ended.
    [[nodiscard]] std::optional<int> ExitCode() const;
    // Blocks until the tool has ended or failed to start (for tests and for a program that wants
    // to wait).
    void WaitUntilEnded() const;

    struct Outcome;

private:
    TCommand m_command;
    std::shared_ptr<Outcome> m_outcome;
};
