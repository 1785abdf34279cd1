#include "platform/winapi/kernel/PageSpace.h"

#include "platform/winapi/kernel/WinError.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>

namespace {

constexpr SIZE_T AllocationGranularity = 0x10000;

// The top of the 47-bit user space that the kernel hands out to processes that do not ask for
// more (x86-64 keeps the page below 0x7FFFFFFFF000 as the last user page; 48-bit arm64 agrees).
constexpr UINT_PTR HighestUserAddress = 0x00007FFFFFFFEFFF;
// vm.mmap_min_addr's usual value: nothing is ever placed below it.
constexpr UINT_PTR LowestUserAddress = 0x10000;

UINT_PTR AddressOf(LPCVOID address) {
    return reinterpret_cast<UINT_PTR>(address);
}

LPVOID PointerTo(UINT_PTR address) {
    return reinterpret_cast<LPVOID>(address);
}

SIZE_T RoundUp(SIZE_T value, SIZE_T unit) {
    return (value + unit - 1) / unit * unit;
}

class LinuxPageSpace final : public PageSpace {
public:
    SIZE_T PageSize() const override {
        return static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
    }

    LPVOID LowestAddress() const override {
        return PointerTo(LowestUserAddress);
    }

    LPVOID HighestAddress() const override {
        return PointerTo(HighestUserAddress);
    }

    LPVOID CommitReadWrite(LPVOID address, SIZE_T size) override {
        const SIZE_T length = RoundUp(size, PageSize());
        // MAP_FIXED_NOREPLACE fails with EEXIST where anything is mapped, so an exact-address
        // request never disturbs the stack, the vdso or a library. Kernels older than 4.17 take the
        // flag as a mere hint and may answer with another address, which the caller releases.
        const int placement = address != nullptr ? MAP_FIXED_NOREPLACE : 0;
        void* placed = mmap(address, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | placement, -1, 0);
        if (placed == MAP_FAILED) {
            return nullptr;
        }
        const std::lock_guard lock(m_mutex);
        m_placed[AddressOf(placed)] = length;
        return placed;
    }

    bool Release(LPVOID address) override {
        const std::lock_guard lock(m_mutex);
        const auto region = m_placed.find(AddressOf(address));
        if (region == m_placed.end()) {
            return false;
        }
        munmap(address, region->second);
        m_placed.erase(region);
        return true;
    }

    bool Query(LPCVOID address, MEMORY_BASIC_INFORMATION& info) const override {
        const UINT_PTR at = AddressOf(address);
        if (at < LowestUserAddress || at > HighestUserAddress) {
            return false;
        }
        const UINT_PTR page = at / PageSize() * PageSize();
        info = {};
        info.BaseAddress = PointerTo(page);
        const std::lock_guard lock(m_mutex);
        const auto region = PlacedRegionHolding(at);
        if (region == m_placed.end()) {
            // Someone else's memory, or none: either way not ours to read.
            info.RegionSize = PageSize();
            info.State = MEM_RESERVE;
            info.Protect = PAGE_NOACCESS;
            return true;
        }
        info.AllocationBase = PointerTo(region->first);
        info.AllocationProtect = PAGE_READWRITE;
        info.RegionSize = region->first + region->second - page;
        info.State = MEM_COMMIT;
        info.Protect = PAGE_READWRITE;
        info.Type = MEM_PRIVATE;
        return true;
    }

private:
    std::map<UINT_PTR, SIZE_T>::const_iterator PlacedRegionHolding(UINT_PTR at) const {
        auto after = m_placed.upper_bound(at);
        if (after == m_placed.begin()) {
            return m_placed.end();
        }
        const auto region = std::prev(after);
        return at < region->first + region->second ? region : m_placed.end();
    }

    mutable std::mutex m_mutex;
    std::map<UINT_PTR, SIZE_T> m_placed; // base -> length of every region placed here
};

std::atomic<PageSpace*> g_installedSpace{nullptr};

} // namespace

PageSpace& DefaultPageSpace() {
    // Never destroyed: a module may still release its pages while static objects are torn down.
    alignas(LinuxPageSpace) static BYTE storage[sizeof(LinuxPageSpace)];
    static LinuxPageSpace* const space = new (storage) LinuxPageSpace();
    return *space;
}

PageSpace& CurrentPageSpace() {
    PageSpace* installed = g_installedSpace.load();
    return installed != nullptr ? *installed : DefaultPageSpace();
}

PageSpace* SetPageSpace(PageSpace* space) {
    PageSpace* previous = g_installedSpace.exchange(space);
    return previous != nullptr ? previous : &DefaultPageSpace();
}

void GetSystemInfo(LPSYSTEM_INFO lpSystemInfo) {
    if (lpSystemInfo == nullptr) {
        return;
    }
    const PageSpace& space = CurrentPageSpace();
    *lpSystemInfo = {};
    lpSystemInfo->dwPageSize = static_cast<DWORD>(space.PageSize());
    lpSystemInfo->lpMinimumApplicationAddress = space.LowestAddress();
    lpSystemInfo->lpMaximumApplicationAddress = space.HighestAddress();
    lpSystemInfo->dwAllocationGranularity = static_cast<DWORD>(AllocationGranularity);
}

LPVOID VirtualAlloc(LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType, DWORD flProtect) {
    if (dwSize == 0 || flAllocationType != (MEM_RESERVE | MEM_COMMIT) || flProtect != PAGE_READWRITE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CurrentPageSpace().CommitReadWrite(lpAddress, dwSize);
}

BOOL VirtualFree(LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType) {
    if (lpAddress == nullptr || dwSize != 0 || dwFreeType != MEM_RELEASE || !CurrentPageSpace().Release(lpAddress)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

SIZE_T VirtualQuery(LPCVOID lpAddress, PMEMORY_BASIC_INFORMATION lpBuffer, SIZE_T dwLength) {
    MEMORY_BASIC_INFORMATION info{};
    if (lpBuffer == nullptr || dwLength < sizeof(MEMORY_BASIC_INFORMATION) || !CurrentPageSpace().Query(lpAddress, info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    *lpBuffer = info;
    return sizeof(MEMORY_BASIC_INFORMATION);
}

FakePageSpace::FakePageSpace() : m_storage(ArenaSize + AllocationGranularity, ReleasedFill) {
    m_arena = m_storage.data() + (RoundUp(AddressOf(m_storage.data()), AllocationGranularity) - AddressOf(m_storage.data()));
}

SIZE_T FakePageSpace::PageSize() const {
    return FakePageSize;
}

LPVOID FakePageSpace::LowestAddress() const {
    return m_arena;
}

LPVOID FakePageSpace::HighestAddress() const {
    return m_arena + ArenaSize - 1;
}

LPVOID FakePageSpace::CommitReadWrite(LPVOID address, SIZE_T size) {
    ++m_allocationAttempts;
    // Single pages at an exact, page-aligned address are all its users ask for.
    if (size > FakePageSize || !Contains(address) || PageOf(address) != AddressOf(address)) {
        return nullptr;
    }
    const UINT_PTR requested = AddressOf(address);
    if (m_failing.contains(requested)) {
        return nullptr;
    }
    const auto misplaced = m_misplaced.find(requested);
    const UINT_PTR target = misplaced != m_misplaced.end() ? misplaced->second : requested;
    if (IsCommitted(PointerTo(target))) {
        return nullptr;
    }
    return Place(PointerTo(target), PAGE_READWRITE);
}

bool FakePageSpace::Release(LPVOID address) {
    const auto page = m_committed.find(AddressOf(address));
    if (page == m_committed.end()) {
        return false;
    }
    std::memset(address, ReleasedFill, FakePageSize);
    m_committed.erase(page);
    return true;
}

bool FakePageSpace::Query(LPCVOID address, MEMORY_BASIC_INFORMATION& info) const {
    if (!Contains(address)) {
        return false;
    }
    const UINT_PTR page = PageOf(address);
    info = {};
    info.BaseAddress = PointerTo(page);
    info.RegionSize = FakePageSize;
    const auto committed = m_committed.find(page);
    if (committed == m_committed.end()) {
        info.State = MEM_FREE;
        info.Protect = PAGE_NOACCESS;
        return true;
    }
    info.AllocationBase = PointerTo(page);
    info.AllocationProtect = committed->second;
    info.State = MEM_COMMIT;
    info.Protect = committed->second;
    info.Type = MEM_PRIVATE;
    return true;
}

BYTE* FakePageSpace::Place(LPVOID address, DWORD protect) {
    if (!Contains(address)) {
        return nullptr;
    }
    BYTE* page = static_cast<BYTE*>(PointerTo(PageOf(address)));
    std::memset(page, 0, FakePageSize);
    m_committed[AddressOf(page)] = protect;
    return page;
}

void FakePageSpace::FailAllocationAt(LPVOID address) {
    m_failing.insert(AddressOf(address));
}

void FakePageSpace::MisplaceAllocationAt(LPVOID requested, LPVOID actual) {
    m_misplaced[AddressOf(requested)] = PageOf(actual);
}

bool FakePageSpace::IsCommitted(LPCVOID address) const {
    return Contains(address) && m_committed.contains(PageOf(address));
}

int FakePageSpace::CommittedPageCount() const {
    return static_cast<int>(m_committed.size());
}

int FakePageSpace::AllocationAttempts() const {
    return m_allocationAttempts;
}

bool FakePageSpace::Contains(LPCVOID address) const {
    const UINT_PTR at = AddressOf(address);
    return at >= AddressOf(m_arena) && at < AddressOf(m_arena) + ArenaSize;
}

UINT_PTR FakePageSpace::PageOf(LPCVOID address) const {
    return AddressOf(address) / FakePageSize * FakePageSize;
}
