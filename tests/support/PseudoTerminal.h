#pragma once

#include <termios.h>

#include <chrono>
#include <string>
#include <string_view>

// A pseudo-terminal pair standing in for a serial device: the code under test opens SlavePath()
// as it would open /dev/ttyUSB0; the test (or the simulated modem) talks through the master side.
// The fixture keeps one slave descriptor of its own, so the pair stays up between opens and the
// slave's settings can be read back; it sets the line raw, so nothing is echoed before the code
// under test configures it.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    [[nodiscard]] const std::string& SlavePath() const { return m_slavePath; }
    [[nodiscard]] int MasterFd() const { return m_master; }

    // Writes every byte to the master side (blocking until the line has taken them).
    void Write(std::string_view bytes) const;

    // Reads from the master side until `count` bytes have come or `timeout` has passed without
    // any; returns what came.
    [[nodiscard]] std::string Read(std::size_t count, std::chrono::milliseconds timeout) const;

    // The far end goes away: the master side is closed, as when a USB modem is unplugged.
    void Hangup();

    // The line settings as the device has them now.
    [[nodiscard]] termios SlaveSettings() const;

private:
    int m_master = -1;
    int m_slaveKeeper = -1;
    std::string m_slavePath;
};
