#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// Memory blocks that outlive the code that made them: the clipboard takes them over, and the
// class library's memory streams grow them. Moveable blocks are reached through a handle and
// locked to get their address; fixed blocks are their own handle. A stale or made-up handle makes
// a call fail (ERROR_INVALID_HANDLE), never crash. Every call may be made from any thread.

using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
// Accepted for the shape of the calls: every block can be shared here.
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = GMEM_DDESHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

constexpr DWORD ERROR_NOT_LOCKED = 158;

[[nodiscard]] HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// Resizes a block. A moveable block keeps its handle; a fixed block that has to move does so only
// with GMEM_MOVEABLE and then has a new handle. GMEM_ZEROINIT clears the bytes added.
[[nodiscard]] HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
// The block's address; a moveable block counts its locks.
[[nodiscard]] LPVOID GlobalLock(HGLOBAL hMem);
// TRUE while the block stays locked; FALSE when it is unlocked now (last error NO_ERROR) or was
// not locked (ERROR_NOT_LOCKED).
BOOL GlobalUnlock(HGLOBAL hMem);
// 0 for a stale handle (or a block of no bytes).
[[nodiscard]] SIZE_T GlobalSize(HGLOBAL hMem);
// nullptr on success; the handle itself when it names no block.
HGLOBAL GlobalFree(HGLOBAL hMem);
// The handle of the block at a locked address (the address itself for a fixed block).
[[nodiscard]] HGLOBAL GlobalHandle(LPCVOID pMem);
