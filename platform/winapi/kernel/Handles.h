#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// Closes a handle of any kind. An object goes when its last handle is closed and no thread uses it
// any more; a serial port ends its pending operations. A stale or made-up handle gives FALSE and
// ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE hObject);
