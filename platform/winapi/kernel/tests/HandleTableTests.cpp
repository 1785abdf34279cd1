#include "platform/winapi/kernel/HandleTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

struct Thing {
    int value = 0;
};

using Things = winapi_kernel::HandleTable<Thing, void*>;

std::uintptr_t Bits(void* handle)
{
    return reinterpret_cast<std::uintptr_t>(handle);
}

TEST(HandleTableTest, StaleMadeUpAndForeignHandlesFindNothing)
{
    Things table(winapi_kernel::HandleLayout{.tag = std::uintptr_t{0x5} << 56});
    void* first = table.Add(std::make_shared<Thing>(Thing{1}));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(table.Remove(first), nullptr);
    void* reused = table.Add(std::make_shared<Thing>(Thing{2}));

    // The slot is reused under a new generation: the old handle must not reach the new object.
    EXPECT_NE(reused, first);
    EXPECT_EQ(table.Find(first), nullptr);
    EXPECT_EQ(table.Remove(first), nullptr);
    ASSERT_NE(table.Find(reused), nullptr);
    EXPECT_EQ(table.Find(reused)->value, 2);

    const std::uintptr_t madeUp[] = {0,
                                     Bits(reused) & ~(std::uintptr_t{0xFF} << 56), // same slot, other kind
                                     Bits(reused) + 1,                              // next, empty slot
                                     ~std::uintptr_t{0}};
    for (const std::uintptr_t bits : madeUp)
        EXPECT_EQ(table.Find(reinterpret_cast<void*>(bits)), nullptr) << std::hex << bits;
}

TEST(HandleTableTest, KeepsTheLayoutItIsGiven)
{
    // Kernel-shaped: multiples of four with the generation in the high half.
    Things kernel(winapi_kernel::HandleLayout{.indexShift = 2, .indexBits = 30, .generationBits = 32});
    const auto handle = Bits(kernel.Add(std::make_shared<Thing>()));
    EXPECT_EQ(handle & 3, 0u);
    EXPECT_EQ(handle & 0xFFFFFFFFu, 4u);
    EXPECT_EQ(handle >> 32, 1u);

    // Window-shaped: every handle fits in 31 bits, whatever the generation has reached.
    Things windows(winapi_kernel::HandleLayout{.indexShift = 0, .indexBits = 16, .generationBits = 15});
    for (int i = 0; i < 0x9000; ++i) {
        void* window = windows.Add(std::make_shared<Thing>());
        ASSERT_EQ(Bits(window) >> 31, 0u);
        ASSERT_NE(windows.Remove(window), nullptr);
    }
}

TEST(HandleTableTest, AFullTableRefusesAndRemoveIfAsksFirst)
{
    Things table(winapi_kernel::HandleLayout{.indexShift = 0, .indexBits = 2, .generationBits = 8});
    std::vector<void*> handles;
    for (int i = 0; i < 3; ++i)
        handles.push_back(table.Add(std::make_shared<Thing>(Thing{i})));
    EXPECT_EQ(table.Add(std::make_shared<Thing>()), nullptr);
    EXPECT_EQ(table.Handles(), handles);

    const auto kept = table.RemoveIf(handles[1], [](Thing& thing) { return thing.value != 1; });
    EXPECT_TRUE(kept.found);
    EXPECT_EQ(kept.removed, nullptr);
    EXPECT_NE(table.Find(handles[1]), nullptr);
    const auto stale = table.RemoveIf(reinterpret_cast<void*>(Bits(handles[1]) + 0x10), [](Thing&) { return true; });
    EXPECT_FALSE(stale.found);
}

TEST(HandleTableTest, ThreadsAddingAndRemovingNeverShareAHandle)
{
    Things table;
    constexpr int threadCount = 4;
    constexpr int rounds = 2000;
    std::vector<std::thread> threads;
    std::vector<int> mismatches(threadCount);
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                void* handle = table.Add(std::make_shared<Thing>(Thing{t}));
                const auto found = table.Find(handle);
                if (!found || found->value != t || table.Remove(handle) != found)
                    ++mismatches[t];
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(threadCount, 0));
    EXPECT_TRUE(table.Handles().empty());
}

} // namespace
