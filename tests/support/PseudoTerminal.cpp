#include "tests/support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

PseudoTerminal::PseudoTerminal()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    char name[128];
    if (ptsname_r(m_master, name, sizeof(name)) != 0)
        throw std::runtime_error("cannot name the pseudo-terminal");
    m_slavePath = name;
    m_slaveKeeper = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeeper < 0)
        throw std::runtime_error("cannot open the pseudo-terminal's slave side");
    termios settings{};
    tcgetattr(m_slaveKeeper, &settings);
    cfmakeraw(&settings);
    tcsetattr(m_slaveKeeper, TCSANOW, &settings);
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_master >= 0)
        close(m_master);
    close(m_slaveKeeper);
}

void PseudoTerminal::Write(std::string_view bytes) const
{
    while (!bytes.empty()) {
        const ssize_t written = write(m_master, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("cannot write to the pseudo-terminal");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string PseudoTerminal::Read(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::string received;
    char chunk[4096];
    while (received.size() < count) {
        pollfd fd{m_master, POLLIN, 0};
        const int ready = poll(&fd, 1, static_cast<int>(timeout.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(fd.revents & POLLIN))
            break;
        const ssize_t got = read(m_master, chunk, std::min(sizeof(chunk), count - received.size()));
        if (got <= 0)
            break;
        received.append(chunk, static_cast<std::size_t>(got));
    }
    return received;
}

void PseudoTerminal::Hangup()
{
    if (m_master >= 0)
        close(m_master);
    m_master = -1;
}

termios PseudoTerminal::SlaveSettings() const
{
    termios settings{};
    if (tcgetattr(m_slaveKeeper, &settings) != 0)
        throw std::runtime_error("cannot read the pseudo-terminal's settings");
    return settings;
}
