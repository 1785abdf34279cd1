#include "tools/fakemodem/lib/ModemPty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

ModemPty::ModemPty()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[128];
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof(name)) != 0) {
        if (m_master >= 0)
            close(m_master);
        throw std::runtime_error("cannot create a pseudo-terminal");
    }
    m_slavePath = name;
    m_slaveKeeper = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeeper < 0) {
        close(m_master);
        throw std::runtime_error("cannot open the pseudo-terminal's slave side " + m_slavePath);
    }
    termios settings{};
    tcgetattr(m_slaveKeeper, &settings);
    cfmakeraw(&settings);
    tcsetattr(m_slaveKeeper, TCSANOW, &settings);
}

ModemPty::~ModemPty()
{
    // Closing the master hangs the line up: the host's reads end as when the modem is pulled out.
    close(m_master);
    close(m_slaveKeeper);
}

std::size_t ModemPty::WriteSome(std::string_view bytes) const
{
    while (true) {
        const ssize_t written = write(m_master, bytes.data(), bytes.size());
        if (written >= 0)
            return static_cast<std::size_t>(written);
        if (errno != EINTR)
            return 0;
    }
}
