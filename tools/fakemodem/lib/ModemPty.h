#pragma once

#include <string>
#include <string_view>

// The modem's side of a pseudo-terminal pair. The slave path is the device a host opens, as it
// would open /dev/ttyUSB0. A slave descriptor is kept open so that the line stays up while the
// host closes and reopens the port, and the line starts raw, so the line discipline echoes
// nothing before the host sets it up. The master side is non-blocking.
class ModemPty {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    ModemPty();
    ~ModemPty();
    ModemPty(const ModemPty&) = delete;
    ModemPty& operator=(const ModemPty&) = delete;

    [[nodiscard]] const std::string& SlavePath() const { return m_slavePath; }
    [[nodiscard]] int MasterFd() const { return m_master; }

    // One write() of as much of `bytes` as the line takes now; returns how many it took (0 when
    // the line is full or gone).
    [[nodiscard]] std::size_t WriteSome(std::string_view bytes) const;

private:
    int m_master = -1;
    int m_slaveKeeper = -1;
    std::string m_slavePath;
};
