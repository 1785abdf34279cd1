#include "platform/winapi/comm/LineMonitor.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <mutex>

namespace {

class IoctlLineMonitor final : public LineMonitor {
public:
    explicit IoctlLineMonitor(int fd)
        : m_fd(fd)
    {
    }

    std::optional<int> ModemBits() override
    {
        int bits = 0;
        if (ioctl(m_fd, TIOCMGET, &bits) != 0)
            return std::nullopt;
        return bits;
    }

    std::optional<LineErrorCounts> ErrorCounts() override
    {
        serial_icounter_struct counters{};
        if (ioctl(m_fd, TIOCGICOUNT, &counters) != 0)
            return std::nullopt;
        return LineErrorCounts{static_cast<unsigned>(counters.frame), static_cast<unsigned>(counters.overrun),
                               static_cast<unsigned>(counters.parity), static_cast<unsigned>(counters.brk),
                               static_cast<unsigned>(counters.buf_overrun)};
    }

    void SetOutputLines(int bits, bool raised) override { (void)ioctl(m_fd, raised ? TIOCMBIS : TIOCMBIC, &bits); }

private:
    int m_fd;
};

std::mutex g_mutex;
LineMonitorFactory g_factory;

} // namespace

void SetLineMonitorFactory(LineMonitorFactory factory)
{
    std::lock_guard lock(g_mutex);
    g_factory = std::move(factory);
}

std::unique_ptr<LineMonitor> MakeLineMonitor(int fd)
{
    std::lock_guard lock(g_mutex);
    return g_factory ? g_factory(fd) : std::make_unique<IoctlLineMonitor>(fd);
}
