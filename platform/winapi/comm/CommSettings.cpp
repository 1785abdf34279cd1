#include "platform/winapi/comm/CommSettings.h"

namespace winapi_comm::detail {
namespace {

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
    return dcb.XonChar != dcb.XoffChar && dcb.BaudRate != 0;
}

void ApplyDcbToTermios(const DCB& dcb, termios& settings)
{
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD | HUPCL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;

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
