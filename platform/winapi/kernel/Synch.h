#pragma once

#include "platform/winapi/kernel/WinError.h"

#include <mutex>

constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_ABANDONED = 0x00000080;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// Events: manual-reset ones stay signalled until ResetEvent; an auto-reset one releases exactly one
// waiter and is unsignalled again. Names are accepted and ignored (no object is shared by name).
[[nodiscard]] HANDLE CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                                  LPCSTR lpName);
[[nodiscard]] inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                                        BOOL bInitialState, LPCSTR lpName)
{
    return CreateEventA(lpEventAttributes, bManualReset, bInitialState, lpName);
}
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);

// Waits on events, threads, processes and serial ports. With bWaitAll FALSE the lowest signalled
// index wins, as in Win32, and only that object is consumed; with TRUE all are consumed at once.
// Time-outs run on the kernel clock (Clock.h). A bad handle or count gives WAIT_FAILED.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);

// Sleeps on the kernel clock; Sleep(0) gives up the rest of the time slice. A suspended thread
// pauses here.
void Sleep(DWORD dwMilliseconds);

// Recursive locks, as Win32's: the owning thread may enter again and leaves as often as it
// entered. Initialize and Delete are kept for the shape of the calls. A thread that holds one is
// never paused by SuspendThread.
struct CRITICAL_SECTION {
    std::recursive_mutex Lock;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
[[nodiscard]] BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
