#include "serial/LocalBlock.h"

#include <utility>

TLocalBlock& TLocalBlock::operator=(TLocalBlock&& other) noexcept
{
    if (this != &other) {
        LocalFree(m_block);
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

TLocalBlock TLocalBlock::Allocate(std::size_t bytes)
{
    TLocalBlock block;
    block.m_block = LocalAlloc(LPTR, bytes);
    return block;
}

TLocalBlock TLocalBlock::Adopt(LPARAM lParam)
{
    TLocalBlock block;
    block.m_block = reinterpret_cast<HLOCAL>(lParam);
    return block;
}

LPARAM TLocalBlock::Release()
{
    return reinterpret_cast<LPARAM>(std::exchange(m_block, nullptr));
}
