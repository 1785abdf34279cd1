#pragma once

#include "platform/winapi/comm/LineMonitor.h"

#include <sys/ioctl.h>

#include <memory>
#include <mutex>
#include <optional>

// Modem lines and error counters a test sets, in place of the device's ioctls (a pseudo-terminal
// has neither). Install with SetLineMonitorFactory returning a ScriptedMonitor.
struct ScriptedLines {
    std::mutex mutex;
    int bits = TIOCM_DSR | TIOCM_CTS;
    LineErrorCounts counts;
};

class ScriptedMonitor final : public LineMonitor {
public:
    explicit ScriptedMonitor(std::shared_ptr<ScriptedLines> lines) : m_lines(std::move(lines)) {}
    std::optional<int> ModemBits() override
    {
        std::lock_guard lock(m_lines->mutex);
        return m_lines->bits;
    }
    std::optional<LineErrorCounts> ErrorCounts() override
    {
        std::lock_guard lock(m_lines->mutex);
        return m_lines->counts;
    }
    void SetOutputLines(int, bool) override {}

private:
    std::shared_ptr<ScriptedLines> m_lines;
};
