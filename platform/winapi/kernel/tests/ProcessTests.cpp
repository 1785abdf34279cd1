#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Processes.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/SystemInfo.h"
#include "platform/winapi/kernel/Threads.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr DWORD LongWait = 60'000;

// Waits for the process, closes both handles and returns its exit code.
DWORD FinishProcess(const PROCESS_INFORMATION& info)
{
    EXPECT_EQ(WaitForSingleObject(info.hProcess, LongWait), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
    EXPECT_TRUE(CloseHandle(info.hThread));
    EXPECT_TRUE(CloseHandle(info.hProcess));
    return exitCode;
}

TEST(Processes, AnArgumentVectorReachesTheProgramUnchanged)
{
    TempDir dir;
    PROCESS_INFORMATION info{};
    // Quotes, spaces and a semicolon reach the program as one argument, never a shell.
    ASSERT_TRUE(CreateProcessArgv({"/bin/sh", "-c", "printf '%s' \"$1\" > out.txt; exit 3", "sh", "a \"b\"; c"},
                                  dir.Path().c_str(), &info));
    EXPECT_NE(info.dwProcessId, GetCurrentProcessId());
    EXPECT_EQ(FinishProcess(info), 3u);
    EXPECT_EQ(dir.ReadFile("out.txt"), "a \"b\"; c");
}

TEST(Processes, CreateProcessSplitsTheCommandLineAndRunsInTheWorkingFolder)
{
    TempDir dir;
    char line[] = "/bin/sh -c \"pwd > where.txt; exit 5\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                               nullptr, dir.Path().c_str(), &startup, &info));
    EXPECT_EQ(FinishProcess(info), 5u);
    EXPECT_EQ(dir.ReadFile("where.txt"), std::filesystem::canonical(dir.Path()).string() + "\n");
}

TEST(Processes, AnUnquotedProgramPathWithSpacesIsResolvedAsWin32Does)
{
    TempDir dir;
    const auto script = dir.WriteFile("My Tools/Driver tool", "#!/bin/sh\nexit 7\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    std::string line = script.string();
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(FinishProcess(info), 7u);
}

TEST(Processes, FailuresReportTheWin32Error)
{
    TempDir dir;
    PROCESS_INFORMATION info{};
    EXPECT_FALSE(CreateProcessArgv({(dir / "missing").string()}, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CreateProcessArgv({"/bin/true"}, (dir / "no such folder").c_str(), &info));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    DWORD exitCode = 0;
    EXPECT_FALSE(GetExitCodeProcess(nullptr, &exitCode));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Processes, TerminateEndsTheProcessWithTheGivenCode)
{
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessArgv({"sleep", "60"}, nullptr, &info));
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
    EXPECT_EQ(exitCode, STILL_ACTIVE);
    EXPECT_TRUE(TerminateProcess(info.hProcess, 9));
    EXPECT_EQ(FinishProcess(info), 9u);
}

TEST(Processes, CommandLinesSplitWithWin32Rules)
{
    struct Case {
        std::string line;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"prog a  b", {"prog", "a", "b"}},
        {R"("C:\My Dir\prog.exe" "two words" x)", {R"(C:\My Dir\prog.exe)", "two words", "x"}},
        {R"(prog a\\b "c\"d" e\\\"f)", {"prog", R"(a\\b)", R"(c"d)", R"(e\"f)"}},
        {R"(prog "a\\" b)", {"prog", R"(a\)", "b"}},
        {R"(prog "" "x""y")", {"prog", "", R"(x"y)"}},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SplitCommandLine(line), expected) << line;
}

TEST(SystemInfo, ReportsWindowsNt61)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    info.dwOSVersionInfoSize = 4;
    EXPECT_FALSE(GetVersionExA(&info));
}

} // namespace
