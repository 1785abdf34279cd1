#include "platform/winapi/comm/CommSettings.h"

#include <array>
#include <optional>
#include <utility>

namespace winapi_comm::detail {
namespace {

constexpr std::array<std::pair<DWORD, speed_t>, 30> g_speeds = {{
    {50, B50},         {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
}};

std::optional<speed_t> SpeedFor(DWORD baud)
{
    for (const auto& [rate, speed] : g_speeds)
        if (rate == baud)
            return speed;
    return std::nullopt;
}

DWORD BaudFor(speed_t speed)
{
    for (const auto& [rate, known] : g_speeds)
        if (known == speed)
            return rate;
    return 0;
}

DWORD RtsControl(const DCB& dcb)
{
    return (dcb.Flags & DCB_RTS_CONTROL_MASK) >> DCB_RTS_CONTROL_SHIFT;
}

} // namespace

bool IsValidDcb(const DCB& dcb)
{
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS)
        return false;
    // Win32 knows 1.5 stop bits only with 5 data bits, and 2 only with 6 to 8.
    if ((dcb.ByteSize == 5 && dcb.StopBits == TWOSTOPBITS) || (dcb.ByteSize > 5 && dcb.StopBits == ONE5STOPBITS))
        return false;
    return dcb.XonChar != dcb.XoffChar && SpeedFor(dcb.BaudRate).has_value();
}

void ApplyDcbToTermios(const DCB& dcb, termios& settings)
{
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD | HUPCL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;

    const speed_t speed = SpeedFor(dcb.BaudRate).value_or(B9600);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);

    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    settings.c_cflag = (settings.c_cflag & ~CSIZE) | sizes[dcb.ByteSize - 5];

    settings.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (dcb.Parity) {
    case ODDPARITY: settings.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: settings.c_cflag |= PARENB; break;
    case MARKPARITY: settings.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: settings.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (dcb.Flags & DCB_PARITY)
        settings.c_iflag |= INPCK;

    if (dcb.StopBits != ONESTOPBIT)
        settings.c_cflag |= CSTOPB;
    else
        settings.c_cflag &= ~CSTOPB;

    if ((dcb.Flags & DCB_OUTX_CTS_FLOW) || RtsControl(dcb) == RTS_CONTROL_HANDSHAKE)
        settings.c_cflag |= CRTSCTS;
    else
        settings.c_cflag &= ~CRTSCTS;

    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (dcb.Flags & DCB_OUTX)
        settings.c_iflag |= IXON;
    if (dcb.Flags & DCB_INX)
        settings.c_iflag |= IXOFF;
    settings.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
}

void ReadDcbFromTermios(const termios& settings, DCB& dcb)
{
    dcb.BaudRate = BaudFor(cfgetospeed(&settings));
    switch (settings.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    const tcflag_t parity = settings.c_cflag & (PARENB | PARODD | CMSPAR);
    if (!(parity & PARENB))
        dcb.Parity = NOPARITY;
    else if (parity & CMSPAR)
        dcb.Parity = (parity & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (parity & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.StopBits = (settings.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
}

DCB DefaultDcb()
{
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = 9600;
    dcb.Flags = DCB_BINARY | (DTR_CONTROL_ENABLE << DCB_DTR_CONTROL_SHIFT)
        | (RTS_CONTROL_ENABLE << DCB_RTS_CONTROL_SHIFT);
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

} // namespace winapi_comm::detail
