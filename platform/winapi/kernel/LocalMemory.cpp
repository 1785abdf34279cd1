#include "platform/winapi/kernel/LocalMemory.h"
#include "platform/winapi/kernel/WinError.h"

#include <cstdlib>

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes)
{
    // A zero-byte request still yields a distinct block, as Win32's does.
    const SIZE_T size = uBytes == 0 ? 1 : uBytes;
    void* block = (uFlags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (!block)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

HLOCAL LocalFree(HLOCAL hMem)
{
    std::free(hMem);
    return nullptr;
}
