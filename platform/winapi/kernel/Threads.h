#pragma once

#include "platform/winapi/kernel/WinError.h"

#include <functional>

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID lpParameter);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

// A thread runs `lpStartAddress(lpParameter)`; its handle is signalled when that returns, and its
// exit code is the returned value (STILL_ACTIVE until then). The stack size is left to the system.
// A thread created suspended starts at the ResumeThread that brings its count to zero. Its id is
// known at once, for messages posted to it before it runs.
[[nodiscard]] HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                                  LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                                  LPDWORD lpThreadId);

// Suspend counts as in Win32 (both return the previous count, or (DWORD)-1 on failure). Suspension
// is cooperative: a running thread pauses at its next wait or Sleep, never while it holds a
// critical section; a thread that suspends itself pauses at once.
DWORD ResumeThread(HANDLE hThread);
DWORD SuspendThread(HANDLE hThread);

// Best effort: the priority is kept and reported back; lowering it lowers the thread's nice value,
// raising it needs privileges this program normally lacks and is then only recorded.
BOOL SetThreadPriority(HANDLE hThread, int nPriority);
[[nodiscard]] int GetThreadPriority(HANDLE hThread);

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);

// A pseudo-handle for the calling thread, valid only in the calling thread's own calls.
[[nodiscard]] HANDLE GetCurrentThread();
[[nodiscard]] DWORD GetCurrentThreadId();

namespace winapi_kernel {

// Runs `callback` when the calling thread ends: for a thread of CreateThread, after its routine
// returns and before its handle is signalled, so that whoever waits on the handle sees the
// callback's effects; for any other thread, when it exits. Callbacks run in reverse order.
void AtThreadExit(std::function<void()> callback);

} // namespace winapi_kernel
