#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// What went over the simulated modem's line, with times from the start, for failure messages and
// for the program's console. Thread-safe. A listener sees each line as it is added; it runs under
// the transcript's lock and must not call back into the transcript.
//
// Limits: the last `capacity` lines are kept (the oldest go first), so a modem left running for
// days, or a host that floods it, holds a bounded transcript.
class Transcript {
public:
    enum class Direction { FromHost, ToHost, Note };

    static constexpr std::size_t DefaultCapacity = 10000;

    explicit Transcript(std::size_t capacity = DefaultCapacity);

    void Add(Direction direction, std::string_view bytes);
    void SetListener(std::function<void(const std::string& line)> listener);

    // Every line kept, oldest first, one per entry: "  12.345 <- AT+CSQ\r" (host to modem), "-> " (modem to
    // host) or "-- " (a note); bytes are shown with ModemReplies::Printable.
    [[nodiscard]] std::vector<std::string> Lines() const;
    [[nodiscard]] std::string Text() const;

private:
    const std::chrono::steady_clock::time_point m_start;
    const std::size_t m_capacity;
    mutable std::mutex m_lock;
    std::deque<std::string> m_lines;
    std::function<void(const std::string&)> m_listener;
};
