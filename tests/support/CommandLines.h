#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// What /proc shows of running processes' command lines, for tests that check what a program was
// started with (and what it must never be started with, such as a secret).

// The arguments of process `pid`; empty once it has ended.
[[nodiscard]] std::vector<std::string> CommandLine(pid_t pid);
// The argument after `option`; empty when the option is absent or last.
[[nodiscard]] std::string ArgumentAfter(const std::vector<std::string>& arguments, const std::string& option);
// Whether any process's command line contains `text`.
[[nodiscard]] bool AnyCommandLineHolds(const std::string& text);
