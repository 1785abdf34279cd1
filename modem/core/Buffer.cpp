#include "modem/core/Buffer.h"

#include <algorithm>

namespace {

// EnterCriticalSection and LeaveCriticalSection as a scope.
class TQueueLockScope {
public:
    explicit TQueueLockScope(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~TQueueLockScope() { LeaveCriticalSection(&m_lock); }
    TQueueLockScope(const TQueueLockScope&) = delete;
    TQueueLockScope& operator=(const TQueueLockScope&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

} // namespace

TBuffer::TBuffer(int capacity, CRITICAL_SECTION& lock)
    : m_lock(lock), m_slots(static_cast<std::size_t>(std::max(capacity, 1)))
{
}

int TBuffer::GetTail() const
{
    TQueueLockScope scope(m_lock);
    return m_tail;
}

int TBuffer::Count() const
{
    TQueueLockScope scope(m_lock);
    if (m_full)
        return Capacity();
    return m_tail;
}

bool TBuffer::Push(const std::string& cmd, const std::string& data, int kind)
{
    if (cmd.size() > MaxCmdLength || data.size() > MaxDataLength)
        return false;
    {
        TQueueLockScope scope(m_lock);
        if (m_full)
            return false;
        if ((m_tail + 1) % Capacity() == GetHead())
            m_full = true;
        m_slots[static_cast<std::size_t>(m_tail)] = std::make_unique<TCommand>(TCommand{cmd, data, kind});
        m_tail = (m_tail + 1) % Capacity();
        m_empty = false;
    }
    Signal();
    return true;
}

bool TBuffer::Remove(int index)
{
    {
        TQueueLockScope scope(m_lock);
        if (m_empty || index < 0 || index >= Count())
            return false;
        if ((m_tail + Capacity() - 1) % Capacity() == GetHead())
            m_empty = true;
        const int last = Count() - 1;
        for (int slot = index; slot < last; ++slot)
            m_slots[static_cast<std::size_t>(slot)] = std::move(m_slots[static_cast<std::size_t>(slot) + 1]);
        m_slots[static_cast<std::size_t>(last)].reset();
        m_tail = (m_tail + Capacity() - 1) % Capacity();
        m_full = false;
    }
    Signal();
    return true;
}

TCommand TBuffer::Head() const
{
    TQueueLockScope scope(m_lock);
    if (m_empty)
        return {};
    return *m_slots[static_cast<std::size_t>(GetHead())];
}

void TBuffer::Clear()
{
    {
        TQueueLockScope scope(m_lock);
        for (auto& slot : m_slots)
            slot.reset();
        m_tail = 0;
        m_full = false;
        m_empty = true;
    }
    Signal();
}

void TBuffer::Signal() const
{
    if (m_onChange)
        m_onChange();
}
