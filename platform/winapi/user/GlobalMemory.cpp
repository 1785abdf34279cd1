#include "platform/winapi/user/GlobalMemory.h"

#include "platform/winapi/kernel/WinError.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

struct Block {
    void* data = nullptr;
    SIZE_T size = 0;
    bool moveable = false;
    unsigned locks = 0;
};

// Blocks by handle. Moveable handles carry a serial number in a value no heap address can take
// (heap blocks are 16-byte aligned), so a freed handle stays stale for good.
class BlockTable {
public:
    HGLOBAL Alloc(UINT flags, SIZE_T bytes)
    {
        void* data = Allocate(bytes, flags & GMEM_ZEROINIT);
        if (!data)
            return Fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY);
        std::lock_guard lock(m_mutex);
        const bool moveable = (flags & GMEM_MOVEABLE) != 0;
        const HGLOBAL handle = moveable ? reinterpret_cast<HGLOBAL>((++m_serial << 4) | 0x2) : data;
        m_blocks[handle] = Block{data, bytes, moveable, 0};
        m_handleOf[data] = handle;
        return handle;
    }

    HGLOBAL ReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags)
    {
        std::lock_guard lock(m_mutex);
        Block* block = Find(handle);
        if (!block)
            return Fail<HGLOBAL>(ERROR_INVALID_HANDLE);
        if (!block->moveable && !(flags & GMEM_MOVEABLE)) {
            // A fixed block may not move unasked: it can only shrink in place.
            if (bytes > block->size)
                return Fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY);
            block->size = bytes;
            return handle;
        }
        void* data = std::realloc(block->data, bytes == 0 ? 1 : bytes);
        if (!data)
            return Fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY);
        if ((flags & GMEM_ZEROINIT) && bytes > block->size)
            std::memset(static_cast<char*>(data) + block->size, 0, bytes - block->size);
        Block moved = *block;
        moved.data = data;
        moved.size = bytes;
        m_handleOf.erase(block->data);
        m_blocks.erase(handle);
        const HGLOBAL newHandle = moved.moveable ? handle : data;
        m_blocks[newHandle] = moved;
        m_handleOf[data] = newHandle;
        return newHandle;
    }

    LPVOID Lock(HGLOBAL handle)
    {
        std::lock_guard lock(m_mutex);
        Block* block = Find(handle);
        if (!block)
            return Fail<LPVOID>(ERROR_INVALID_HANDLE);
        if (block->moveable)
            ++block->locks;
        return block->data;
    }

    BOOL Unlock(HGLOBAL handle)
    {
        std::lock_guard lock(m_mutex);
        Block* block = Find(handle);
        if (!block)
            return Fail<BOOL>(ERROR_INVALID_HANDLE);
        if (block->locks == 0)
            return Fail<BOOL>(block->moveable ? ERROR_NOT_LOCKED : ERROR_SUCCESS);
        --block->locks;
        if (block->locks == 0)
            return Fail<BOOL>(ERROR_SUCCESS);
        return TRUE;
    }

    SIZE_T Size(HGLOBAL handle)
    {
        std::lock_guard lock(m_mutex);
        const Block* block = Find(handle);
        return block ? block->size : Fail<SIZE_T>(ERROR_INVALID_HANDLE);
    }

    HGLOBAL Free(HGLOBAL handle)
    {
        std::lock_guard lock(m_mutex);
        Block* block = Find(handle);
        if (!block)
            return handle ? Fail<HGLOBAL>(ERROR_INVALID_HANDLE, handle) : nullptr;
        std::free(block->data);
        m_handleOf.erase(block->data);
        m_blocks.erase(handle);
        return nullptr;
    }

    HGLOBAL HandleOf(LPCVOID address)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_handleOf.find(address);
        return it == m_handleOf.end() ? Fail<HGLOBAL>(ERROR_INVALID_HANDLE) : it->second;
    }

private:
    static void* Allocate(SIZE_T bytes, bool zero)
    {
        // A zero-byte request still yields a distinct block, as Win32's does.
        const SIZE_T size = bytes == 0 ? 1 : bytes;
        return zero ? std::calloc(1, size) : std::malloc(size);
    }

    template <typename T>
    static T Fail(DWORD error, T result = T{})
    {
        SetLastError(error);
        return result;
    }

    Block* Find(HGLOBAL handle)
    {
        const auto it = m_blocks.find(handle);
        return it == m_blocks.end() ? nullptr : &it->second;
    }

    std::mutex m_mutex;
    std::uintptr_t m_serial = 0;
    std::unordered_map<HGLOBAL, Block> m_blocks;
    std::unordered_map<LPCVOID, HGLOBAL> m_handleOf;
};

BlockTable& Blocks()
{
    static BlockTable* table = new BlockTable; // never destroyed: blocks may be freed at exit
    return *table;
}

} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) { return Blocks().Alloc(uFlags, dwBytes); }
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) { return Blocks().ReAlloc(hMem, dwBytes, uFlags); }
LPVOID GlobalLock(HGLOBAL hMem) { return Blocks().Lock(hMem); }
BOOL GlobalUnlock(HGLOBAL hMem) { return Blocks().Unlock(hMem); }
SIZE_T GlobalSize(HGLOBAL hMem) { return Blocks().Size(hMem); }
HGLOBAL GlobalFree(HGLOBAL hMem) { return Blocks().Free(hMem); }
HGLOBAL GlobalHandle(LPCVOID pMem) { return Blocks().HandleOf(pMem); }
