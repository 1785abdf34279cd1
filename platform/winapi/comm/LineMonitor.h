#pragma once

#include <functional>
#include <memory>
#include <optional>

struct LineErrorCounts {
    unsigned frame = 0;
    unsigned overrun = 0;
    unsigned parity = 0;
    unsigned breaks = 0;
    unsigned bufferOverrun = 0;
};

// The modem lines and error counters of a serial device. A pseudo-terminal has neither, so the
// port watches nothing there; tests put a scripted monitor in its place.
class LineMonitor {
public:
    virtual ~LineMonitor() = default;
    // The TIOCM_* bits now, or nothing when the device has no modem lines.
    [[nodiscard]] virtual std::optional<int> ModemBits() = 0;
    // The error counters so far, or nothing when the device keeps none.
    [[nodiscard]] virtual std::optional<LineErrorCounts> ErrorCounts() = 0;
    // Raises or drops output lines (TIOCM_DTR, TIOCM_RTS); a device without lines ignores it.
    virtual void SetOutputLines(int bits, bool raised) = 0;
};

using LineMonitorFactory = std::function<std::unique_ptr<LineMonitor>(int fd)>;

// The monitor each newly opened port gets; an empty factory restores the ioctl one.
void SetLineMonitorFactory(LineMonitorFactory factory);
[[nodiscard]] std::unique_ptr<LineMonitor> MakeLineMonitor(int fd);
