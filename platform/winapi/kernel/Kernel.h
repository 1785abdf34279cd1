#pragma once

// The whole Win32-shaped kernel stand-in, for callers that use many of its parts.
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/LocalMemory.h"
#include "platform/winapi/kernel/Processes.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/SystemInfo.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/kernel/WinError.h"
#include "platform/winapi/kernel/WinTypes.h"
