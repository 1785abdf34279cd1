#include "platform/winapi/comm/CommSettings.h"
#include "platform/winapi/comm/LineSpeed.h"
#include "platform/winapi/comm/tests/SerialTestSupport.h"

#include <fcntl.h>
#include <unistd.h>

namespace detail = winapi_comm::detail;

namespace {

DCB Block(DWORD baud, BYTE byteSize, BYTE parity, BYTE stopBits, DWORD flags)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    dcb.BaudRate = baud;
    dcb.Flags = DCB_BINARY | flags;
    dcb.XonLim = 500;
    dcb.XoffLim = 500;
    dcb.ByteSize = byteSize;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    dcb.XonChar = 17;
    dcb.XoffChar = 19;
    return dcb;
}

TEST_F(SerialPortTest, TheControlBlockReachesTheLineAndReadsBack)
{
    struct Case {
        const char* name;
        DCB dcb;
        speed_t speed;
        tcflag_t cflagSet;
        tcflag_t cflagClear;
        tcflag_t iflagSet;
        tcflag_t iflagClear;
    };
    const DWORD rtsHandshake = RTS_CONTROL_HANDSHAKE << DCB_RTS_CONTROL_SHIFT;
    const DWORD dtrEnable = DTR_CONTROL_ENABLE << DCB_DTR_CONTROL_SHIFT;
    const Case cases[] = {
        {"manager 115200 8N1 hardware flow", Block(115200, 8, NOPARITY, ONESTOPBIT, DCB_OUTX_CTS_FLOW | dtrEnable | rtsHandshake),
         B115200, CS8 | CRTSCTS, PARENB | CSTOPB, 0, IXON | IXOFF},
        {"9600 7O2 xon/xoff", Block(9600, 7, ODDPARITY, TWOSTOPBITS, DCB_PARITY | DCB_OUTX | DCB_INX | dtrEnable),
         B9600, CS7 | PARENB | PARODD | CSTOPB, CRTSCTS | CMSPAR, IXON | IXOFF | INPCK, 0},
        {"19200 6M1", Block(19200, 6, MARKPARITY, ONESTOPBIT, 0), B19200, CS6 | PARENB | PARODD | CMSPAR, CSTOPB, 0,
         IXON | IXOFF},
        {"2400 5S1.5", Block(2400, 5, SPACEPARITY, ONE5STOPBITS, 0), B2400, CS5 | PARENB | CMSPAR | CSTOPB, PARODD, 0, 0},
    };
    OpenWithQuietInterval();
    for (const auto& c : cases) {
        termios mapped{};
        detail::ApplyDcbToTermios(c.dcb, mapped);
        EXPECT_EQ(mapped.c_cflag & (CSIZE | c.cflagSet), c.cflagSet) << c.name;
        EXPECT_EQ(mapped.c_cflag & c.cflagClear, 0u) << c.name;

        // A pseudo-terminal keeps everything but the data bits and the parity enable (always CS8,
        // no parity), so those two are checked on the mapping above only.
        constexpr tcflag_t ptyDrops = CSIZE | PARENB;
        DCB dcb = c.dcb;
        ASSERT_TRUE(SetCommState(m_port, &dcb)) << c.name;
        const termios line = m_pty.SlaveSettings();
        EXPECT_EQ(cfgetospeed(&line), c.speed) << c.name;
        EXPECT_EQ(line.c_cflag & (c.cflagSet & ~ptyDrops), c.cflagSet & ~ptyDrops) << c.name;
        EXPECT_EQ(line.c_cflag & (c.cflagClear & ~ptyDrops), 0u) << c.name;
        EXPECT_EQ(line.c_iflag & c.iflagSet, c.iflagSet) << c.name;
        EXPECT_EQ(line.c_iflag & c.iflagClear, 0u) << c.name;
        EXPECT_EQ(line.c_cc[VSTART], 17) << c.name;
        EXPECT_EQ(line.c_cc[VSTOP], 19) << c.name;
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u) << c.name;

        DCB back{};
        ASSERT_TRUE(GetCommState(m_port, &back));
        EXPECT_EQ(back.BaudRate, c.dcb.BaudRate) << c.name;
        EXPECT_EQ(back.Flags, c.dcb.Flags) << c.name;
        EXPECT_EQ(back.ByteSize, c.dcb.ByteSize) << c.name;
        EXPECT_EQ(back.Parity, c.dcb.Parity) << c.name;
        EXPECT_EQ(back.StopBits, c.dcb.StopBits) << c.name;
        EXPECT_EQ(back.XonLim, 500) << c.name;
    }
}

TEST_F(SerialPortTest, RatesWithoutATermiosConstantReachTheLineAsTheyAre)
{
    OpenWithQuietInterval();
    const int slave = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(slave, 0);
    const DWORD hardwareFlow = DCB_OUTX_CTS_FLOW | (RTS_CONTROL_HANDSHAKE << DCB_RTS_CONTROL_SHIFT);
    for (const DWORD baud : {14400u, 56000u, 128000u, 256000u, 115200u}) {
        DCB dcb = Block(baud, 8, NOPARITY, TWOSTOPBITS, hardwareFlow);
        SetLastError(0);
        ASSERT_TRUE(SetCommState(m_port, &dcb)) << baud << ": error " << GetLastError();
        EXPECT_EQ(LineSpeed(slave), baud);
        const termios line = m_pty.SlaveSettings();
        EXPECT_TRUE(line.c_cflag & CRTSCTS) << baud;
        EXPECT_TRUE(line.c_cflag & CSTOPB) << baud;
        DCB back{};
        ASSERT_TRUE(GetCommState(m_port, &back));
        EXPECT_EQ(back.BaudRate, baud);
    }
    // A rate with a constant is set by it, for everything that reads termios.
    const termios line = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), B115200);

    // The next open finds the rate the line was left at.
    DCB odd = Block(56000, 8, NOPARITY, ONESTOPBIT, 0);
    ASSERT_TRUE(SetCommState(m_port, &odd));
    CloseHandle(m_port);
    OpenWithQuietInterval();
    DCB reopened{};
    ASSERT_TRUE(GetCommState(m_port, &reopened));
    EXPECT_EQ(reopened.BaudRate, 56000u);
    close(slave);
}

TEST_F(SerialPortTest, ControlBlocksWin32RefusesAreRefused)
{
    OpenWithQuietInterval();
    DCB good = Block(115200, 8, NOPARITY, ONESTOPBIT, 0);
    ASSERT_TRUE(SetCommState(m_port, &good));
    auto with = [&](auto change) {
        DCB dcb = good;
        change(dcb);
        return dcb;
    };
    DCB bad[] = {
        with([](DCB& d) { d.ByteSize = 9; }),
        with([](DCB& d) { d.Parity = 5; }),
        with([](DCB& d) { d.StopBits = ONE5STOPBITS; }),
        with([](DCB& d) { d.XoffChar = d.XonChar; }),
        with([](DCB& d) { d.BaudRate = 0; }),
    };
    for (DCB& dcb : bad) {
        SetLastError(0);
        EXPECT_FALSE(SetCommState(m_port, &dcb));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    const termios line = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), B115200);
}

TEST_F(SerialPortTest, TimeOutsReadBack)
{
    OpenWithQuietInterval();
    COMMTIMEOUTS set{MAXDWORD, 1, 2, 3, 4};
    ASSERT_TRUE(SetCommTimeouts(m_port, &set));
    COMMTIMEOUTS back{};
    ASSERT_TRUE(GetCommTimeouts(m_port, &back));
    EXPECT_EQ(back.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(back.WriteTotalTimeoutConstant, 4u);
}

} // namespace
