#pragma once

#include "platform/winapi/kernel/WinTypes.h"

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

// Reports Windows NT 6.1 (build 7601, Service Pack 1), so that callers take their branches for the
// newer generation of the system. The caller sets dwOSVersionInfoSize first, as in Win32.
BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
