#include "tools/fakemodem/lib/Transcript.h"

#include "tools/fakemodem/lib/ModemReplies.h"

#include <cstdio>

Transcript::Transcript(std::size_t capacity)
    : m_start(std::chrono::steady_clock::now()), m_capacity(capacity)
{
}

void Transcript::Add(Direction direction, std::string_view bytes)
{
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%8.3f ", static_cast<double>(elapsed.count()) / 1000.0);
    const char* arrow = direction == Direction::FromHost ? "<- " : direction == Direction::ToHost ? "-> " : "-- ";
    std::string line = stamp;
    line += arrow;
    line += direction == Direction::Note ? std::string(bytes) : ModemReplies::Printable(bytes);
    std::lock_guard guard(m_lock);
    m_lines.push_back(line);
    while (m_lines.size() > m_capacity)
        m_lines.pop_front();
    if (m_listener)
        m_listener(line);
}

void Transcript::SetListener(std::function<void(const std::string&)> listener)
{
    std::lock_guard guard(m_lock);
    m_listener = std::move(listener);
}

std::vector<std::string> Transcript::Lines() const
{
    std::lock_guard guard(m_lock);
    return {m_lines.begin(), m_lines.end()};
}

std::string Transcript::Text() const
{
    std::string text;
    for (const auto& line : Lines())
        text += line + '\n';
    return text;
}
