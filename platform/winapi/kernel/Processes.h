#pragma once

#include "platform/winapi/kernel/WinError.h"

#include <string>
#include <vector>

constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;

// Accepted for the shape of the call; windows of other programs are not ours to show or hide.
struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

// hThread names the same process object as hProcess (there is no separate primary thread to
// name); both are waitable and both must be closed.
struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// Starts `arguments[0]` (searched on PATH when it holds no '/') with exactly these arguments,
// through posix_spawn: no shell ever sees them. `currentDirectory` may be null (inherit). The
// process handle is signalled when the process ends; its exit code is the process's status, or
// 128 + the signal that ended it.
BOOL CreateProcessArgv(const std::vector<std::string>& arguments, LPCSTR currentDirectory,
                       LPPROCESS_INFORMATION lpProcessInformation);

// The Win32 shape over CreateProcessArgv. The command line is split into arguments with Win32's
// rules (spaces separate, double quotes group, backslashes escape only quotes). When
// lpApplicationName is null and the program's path is not quoted but holds spaces, the shortest
// leading part of the line that names an existing file is the program, as Win32 resolves it.
// Creation flags and the start-up information are accepted and ignored.
BOOL CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                    LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                    LPVOID lpEnvironment, LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                    LPPROCESS_INFORMATION lpProcessInformation);

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);

// Ends the process at once (SIGKILL); its exit code becomes uExitCode.
BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode);

[[nodiscard]] DWORD GetCurrentProcessId();

// Win32's splitting of a command line into arguments, exposed for the callers that build one.
[[nodiscard]] std::vector<std::string> SplitCommandLine(const std::string& commandLine);
