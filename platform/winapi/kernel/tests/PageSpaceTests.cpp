#include "platform/winapi/kernel/PageSpace.h"

#include "platform/winapi/kernel/WinError.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace {

SIZE_T SystemPageSize() {
    return static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
}

// An address where nothing is mapped: a fresh mapping's place, given back at once.
BYTE* FreeAddress() {
    void* probe = mmap(nullptr, SystemPageSize(), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(probe, MAP_FAILED);
    munmap(probe, SystemPageSize());
    return static_cast<BYTE*>(probe);
}

// Memory the page space did not place: readable and writable, but not its to vouch for.
class ForeignMapping {
public:
    ForeignMapping()
        : m_address(static_cast<BYTE*>(mmap(nullptr, SystemPageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0))) {}
    ~ForeignMapping() { munmap(m_address, SystemPageSize()); }
    ForeignMapping(const ForeignMapping&) = delete;
    ForeignMapping& operator=(const ForeignMapping&) = delete;

    [[nodiscard]] BYTE* Address() const { return m_address; }

private:
    BYTE* m_address;
};

TEST(LinuxPageSpaceTest, PlacesPagesAtTheExactAddressAndReleasesThem) {
    BYTE* address = FreeAddress();
    BYTE* placed = static_cast<BYTE*>(VirtualAlloc(address, 100, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_EQ(placed, address);
    std::memset(placed, 0x5A, SystemPageSize());

    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(VirtualQuery(placed + 300, &info, sizeof(info)), sizeof(info));
    EXPECT_EQ(info.BaseAddress, placed);
    EXPECT_EQ(info.AllocationBase, placed);
    EXPECT_EQ(info.RegionSize, SystemPageSize());
    EXPECT_EQ(info.State, MEM_COMMIT);
    EXPECT_EQ(info.Protect, PAGE_READWRITE);

    EXPECT_EQ(VirtualFree(placed, 0, MEM_RELEASE), TRUE);
    ASSERT_EQ(VirtualQuery(placed, &info, sizeof(info)), sizeof(info));
    EXPECT_NE(info.Protect, PAGE_READWRITE);
    EXPECT_EQ(VirtualFree(placed, 0, MEM_RELEASE), FALSE);
}

TEST(LinuxPageSpaceTest, LeavesMemoryItDidNotPlaceAlone) {
    ForeignMapping foreign;
    foreign.Address()[0] = 42;

    EXPECT_EQ(VirtualAlloc(foreign.Address(), 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE), nullptr);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(VirtualQuery(foreign.Address(), &info, sizeof(info)), sizeof(info));
    EXPECT_NE(info.State, MEM_COMMIT);
    EXPECT_NE(info.Protect, PAGE_READWRITE);
    EXPECT_EQ(VirtualFree(foreign.Address(), 0, MEM_RELEASE), FALSE);
    EXPECT_EQ(foreign.Address()[0], 42);
}

TEST(LinuxPageSpaceTest, RefusesRequestsItDoesNotOffer) {
    BYTE* address = FreeAddress();
    struct Request {
        SIZE_T size;
        DWORD type;
        DWORD protect;
    };
    for (const Request& request : {Request{0, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE}, Request{1, MEM_COMMIT, PAGE_READWRITE},
                                   Request{1, MEM_RESERVE | MEM_COMMIT, PAGE_READONLY}}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(VirtualAlloc(address, request.size, request.type, request.protect), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }

    LPVOID placed = VirtualAlloc(address, 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(VirtualFree(placed, SystemPageSize(), MEM_RELEASE), FALSE);
    MEMORY_BASIC_INFORMATION info{};
    EXPECT_EQ(VirtualQuery(placed, &info, sizeof(info) - 1), 0u);
    EXPECT_EQ(VirtualQuery(nullptr, &info, sizeof(info)), 0u);
    EXPECT_EQ(VirtualFree(placed, 0, MEM_RELEASE), TRUE);
}

TEST(PageSpaceTest, SystemInfoAndCallsFollowTheInstalledSpace) {
    FakePageSpace fake;
    PageSpace* previous = SetPageSpace(&fake);
    EXPECT_EQ(previous, &DefaultPageSpace());

    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    EXPECT_EQ(system.dwPageSize, FakePageSpace::FakePageSize);
    EXPECT_EQ(system.lpMaximumApplicationAddress, fake.HighestAddress());
    LPVOID page = static_cast<BYTE*>(fake.LowestAddress()) + FakePageSpace::FakePageSize;
    EXPECT_EQ(VirtualAlloc(page, 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE), page);
    EXPECT_TRUE(fake.IsCommitted(page));

    EXPECT_EQ(SetPageSpace(previous), &fake);
    GetSystemInfo(&system);
    EXPECT_EQ(system.dwPageSize, SystemPageSize());
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(system.lpMaximumApplicationAddress), UINT_PTR{0x00007FFFFFFFEFFF});
    EXPECT_EQ(system.dwAllocationGranularity, 0x10000u);
}

} // namespace
