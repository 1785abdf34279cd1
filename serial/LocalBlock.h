#pragma once

#include "platform/winapi/kernel/LocalMemory.h"

#include <cstddef>

// One block of the local heap, owned. The serial component's blocks travel between threads in
// the lParam of posted messages; whoever holds the block in one of these frees it, so a block is
// freed on every path, including the ones where its message is never delivered.
class TLocalBlock {
public:
    TLocalBlock() = default;
    ~TLocalBlock() { LocalFree(m_block); }
    TLocalBlock(TLocalBlock&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    TLocalBlock& operator=(TLocalBlock&& other) noexcept;
    TLocalBlock(const TLocalBlock&) = delete;
    TLocalBlock& operator=(const TLocalBlock&) = delete;

    // A zero-filled block; empty when the heap refuses.
    [[nodiscard]] static TLocalBlock Allocate(std::size_t bytes);
    // Takes over the block a message carries.
    [[nodiscard]] static TLocalBlock Adopt(LPARAM lParam);

    [[nodiscard]] BYTE* Data() const { return static_cast<BYTE*>(m_block); }
    explicit operator bool() const { return m_block != nullptr; }
    // Gives the block up to a message that has been posted.
    [[nodiscard]] LPARAM Release();

private:
    HLOCAL m_block = nullptr;
};
