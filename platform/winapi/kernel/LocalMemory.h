#pragma once

#include "platform/winapi/kernel/WinTypes.h"

constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// Blocks handed between threads by ownership (a posted message carries one, its receiver frees it).
// Only fixed blocks exist: the handle is the block's address. LocalFree(nullptr) does nothing and
// returns nullptr; the return value is nullptr on success, as in Win32.
[[nodiscard]] HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL LocalFree(HLOCAL hMem);
