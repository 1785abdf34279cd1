#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A program of ours run by a test with its own environment and its error output in a file;
// killed when the object goes if it has not ended by itself.
class ChildProgram {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    // `environment` replaces these variables of the test's own; an empty value removes one.
    ChildProgram(const std::string& program, const std::vector<std::string>& args, const Environment& environment,
                 const std::filesystem::path& errorFile);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    [[nodiscard]] bool Started() const { return m_pid > 0; }
    [[nodiscard]] bool Running() { return Started() && !Poll(); }

    // The exit code once the program ends by itself within a generous time (the programs start
    // slowly under the sanitizers on a loaded machine); nullopt when it does not, or when a signal
    // ended it.
    [[nodiscard]] std::optional<int> AwaitExit();

private:
    bool Poll();

    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// The environment in which one of our programs runs on X display `display` with everything it keeps
// on disk under `folder`: the home folder, the system root, the device view (sysfs and overlay
// file), an English locale and sanitizer stack traces.
[[nodiscard]] ChildProgram::Environment PrivateDesktopEnvironment(const std::string& display,
                                                                  const std::filesystem::path& folder);

// The whole content of a file; empty when it cannot be read.
[[nodiscard]] std::string ReadWholeFile(const std::filesystem::path& path);

// Runs `program` where no screen can be reached (no DISPLAY, no MODEM_DISPLAY), its error output
// kept in `folder`: it must end with exit code 1 after one line, "<name>: No X display...", that
// says how to run without a screen.
[[nodiscard]] testing::AssertionResult EndsClearlyWithoutDisplay(const std::string& program, const std::string& name,
                                                                 const std::filesystem::path& folder);
