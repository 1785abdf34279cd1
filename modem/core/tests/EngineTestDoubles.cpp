#include "EngineTestDoubles.h"

#include "platform/winapi/kernel/Clock.h"

#include <chrono>

bool RecordingPort::WriteCommData(const void* data, std::size_t length)
{
    const std::lock_guard guard(m_lock);
    if (!m_open)
        return false;
    m_written.append(static_cast<const char*>(data), length);
    m_times.insert(m_times.end(), length, GetTickCount64());
    m_changed.notify_all();
    return true;
}

void RecordingPort::StopComm()
{
    SetOpen(false);
}

std::string RecordingPort::Written() const
{
    const std::lock_guard guard(m_lock);
    return m_written;
}

bool RecordingPort::AwaitWritten(const std::string& tail) const
{
    std::unique_lock guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::minutes(1), [&] {
        return m_written.size() >= tail.size() && m_written.compare(m_written.size() - tail.size(), tail.size(), tail) == 0;
    });
}

std::vector<std::uint64_t> RecordingPort::WriteTimes() const
{
    const std::lock_guard guard(m_lock);
    return m_times;
}

bool RecordingPort::Open() const
{
    const std::lock_guard guard(m_lock);
    return m_open;
}

void RecordingPort::SetOpen(bool open)
{
    const std::lock_guard guard(m_lock);
    m_open = open;
}
