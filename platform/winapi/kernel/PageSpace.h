#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <map>
#include <set>
#include <vector>

// The Win32 virtual-memory calls, routed through a replaceable page space. The default back end
// places pages with mmap; tests install a FakePageSpace whose pages live in a private arena.

constexpr DWORD MEM_COMMIT = 0x00001000;
constexpr DWORD MEM_RESERVE = 0x00002000;
constexpr DWORD MEM_RELEASE = 0x00008000;
constexpr DWORD MEM_FREE = 0x00010000;
constexpr DWORD MEM_PRIVATE = 0x00020000;

constexpr DWORD PAGE_NOACCESS = 0x01;
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    DWORD_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};
using LPSYSTEM_INFO = SYSTEM_INFO*;

struct MEMORY_BASIC_INFORMATION {
    LPVOID BaseAddress;
    LPVOID AllocationBase;
    DWORD AllocationProtect;
    WORD PartitionId;
    SIZE_T RegionSize;
    DWORD State;
    DWORD Protect;
    DWORD Type;
};
using PMEMORY_BASIC_INFORMATION = MEMORY_BASIC_INFORMATION*;

// Fills dwPageSize, the application address range and dwAllocationGranularity; the rest is 0.
void GetSystemInfo(LPSYSTEM_INFO lpSystemInfo);
// Only MEM_RESERVE | MEM_COMMIT with PAGE_READWRITE is offered. With an address, the pages are
// placed exactly there or the call fails (a back end may also hand out another address, which
// the caller must release, as Win32 callers have always had to allow for).
[[nodiscard]] LPVOID VirtualAlloc(LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType, DWORD flProtect);
// Only MEM_RELEASE with dwSize 0 of an allocation's base address.
BOOL VirtualFree(LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType);
// Returns the number of bytes written to lpBuffer, 0 for an address outside the space.
SIZE_T VirtualQuery(LPCVOID lpAddress, PMEMORY_BASIC_INFORMATION lpBuffer, SIZE_T dwLength);

class PageSpace {
public:
    virtual ~PageSpace() = default;

    [[nodiscard]] virtual SIZE_T PageSize() const = 0;
    [[nodiscard]] virtual LPVOID LowestAddress() const = 0;
    [[nodiscard]] virtual LPVOID HighestAddress() const = 0;
    // Read-write pages covering size bytes, at address when given; null on failure.
    [[nodiscard]] virtual LPVOID CommitReadWrite(LPVOID address, SIZE_T size) = 0;
    // Releases an allocation this space handed out; false for anything else.
    [[nodiscard]] virtual bool Release(LPVOID address) = 0;
    // Describes the page holding address; false when the address is outside the space.
    [[nodiscard]] virtual bool Query(LPCVOID address, MEMORY_BASIC_INFORMATION& info) const = 0;
};

// The mmap back end. Its queries only vouch for pages it placed itself: anything else is
// reported as inaccessible, so that callers never read memory they know nothing about.
[[nodiscard]] PageSpace& DefaultPageSpace();
[[nodiscard]] PageSpace& CurrentPageSpace();
// Installs space (null restores the default) and returns the one installed before.
PageSpace* SetPageSpace(PageSpace* space);

// An in-memory page space for tests: an arena of ArenaSize bytes aligned to 64 KiB, whose last
// byte is the highest application address. Pages can be placed directly (foreign or damaged
// blocks), allocations at chosen addresses can be made to fail or land elsewhere, and released
// pages are filled with ReleasedFill so that stale reads show.
class FakePageSpace final : public PageSpace {
public:
    static constexpr SIZE_T FakePageSize = 0x1000;
    static constexpr SIZE_T ArenaSize = 24 * 0x10000;
    static constexpr BYTE ReleasedFill = 0xDD;

    FakePageSpace();
    FakePageSpace(const FakePageSpace&) = delete;
    FakePageSpace& operator=(const FakePageSpace&) = delete;

    [[nodiscard]] SIZE_T PageSize() const override;
    [[nodiscard]] LPVOID LowestAddress() const override;
    [[nodiscard]] LPVOID HighestAddress() const override;
    [[nodiscard]] LPVOID CommitReadWrite(LPVOID address, SIZE_T size) override;
    [[nodiscard]] bool Release(LPVOID address) override;
    [[nodiscard]] bool Query(LPCVOID address, MEMORY_BASIC_INFORMATION& info) const override;

    // Commits the zeroed page at address with the given protection, bypassing the failure rules;
    // null for an address outside the arena.
    BYTE* Place(LPVOID address, DWORD protect);
    void FailAllocationAt(LPVOID address);
    void MisplaceAllocationAt(LPVOID requested, LPVOID actual);
    [[nodiscard]] bool IsCommitted(LPCVOID address) const;
    [[nodiscard]] int CommittedPageCount() const;
    [[nodiscard]] int AllocationAttempts() const;

private:
    [[nodiscard]] bool Contains(LPCVOID address) const;
    [[nodiscard]] UINT_PTR PageOf(LPCVOID address) const;

    std::vector<BYTE> m_storage;
    BYTE* m_arena;
    std::map<UINT_PTR, DWORD> m_committed; // page address -> protection
    std::set<UINT_PTR> m_failing;
    std::map<UINT_PTR, UINT_PTR> m_misplaced;
    int m_allocationAttempts = 0;
};
