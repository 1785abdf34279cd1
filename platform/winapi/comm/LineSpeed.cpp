#include "platform/winapi/comm/LineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <array>
#include <cerrno>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint32_t, unsigned>, 30> g_codes = {{
    {50, B50},         {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
}};

unsigned CodeFor(std::uint32_t baud)
{
    for (const auto& [rate, code] : g_codes)
        if (rate == baud)
            return code;
    return BOTHER;
}

bool CloseEnough(std::uint32_t taken, std::uint32_t asked)
{
    const std::uint64_t difference = taken > asked ? taken - asked : asked - taken;
    return difference * 100 <= std::uint64_t{asked} * 3;
}

} // namespace

bool SetLineSpeed(int fd, std::uint32_t baud)
{
    termios2 settings{};
    if (baud == 0 || ioctl(fd, TCGETS2, &settings) != 0) {
        if (baud == 0)
            errno = EINVAL;
        return false;
    }
    const unsigned code = CodeFor(baud);
    // The input speed follows the output speed when its own field is zero.
    settings.c_cflag = (settings.c_cflag & ~(CBAUD | (CBAUD << IBSHIFT))) | code;
    settings.c_ispeed = baud;
    settings.c_ospeed = baud;
    if (ioctl(fd, TCSETS2, &settings) != 0)
        return false;
    termios2 taken{};
    if (ioctl(fd, TCGETS2, &taken) != 0)
        return false;
    if (!CloseEnough(taken.c_ospeed, baud)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

std::uint32_t LineSpeed(int fd)
{
    termios2 settings{};
    return ioctl(fd, TCGETS2, &settings) == 0 ? settings.c_ospeed : 0;
}

