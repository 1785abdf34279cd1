#include "CommTestSupport.h"

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/comm/LineMonitor.h"
#include "platform/winapi/comm/LineSpeed.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Threads.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/devices/FakeDevices.h"
#include "tests/support/devices/ScriptedLines.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A pseudo-terminal presented as COM7; the test plays the device on its master side.
class PtyCommTest : public CommTestBase {
protected:
    PtyCommTest()
    {
        m_devices.MapPort("COM7", m_pty.SlavePath());
        MakeComm("COM7");
    }
    ~PtyCommTest() override
    {
        m_comm.reset();
    }

    void ExpectOpenFails(const std::string& commName, const std::string& message)
    {
        m_comm->SetCommName(commName);
        try {
            m_comm->StartComm();
            ADD_FAILURE() << "StartComm on " << commName << " succeeded";
        } catch (const ECommsError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }

    // The device sends a burst; true when it came back as received data.
    bool DeviceSends(const std::string& bytes)
    {
        const std::string before = m_notices.Received();
        m_pty.Write(bytes);
        return PumpUntil([&] { return m_notices.Received() == before + bytes; });
    }

    PseudoTerminal m_pty;
    FakeDevices m_devices;
};

TEST_F(PtyCommTest, RatesLinuxHasNoConstantForOpenWithFlowControlAndLaterSettersApply)
{
    m_comm->SetBaudRate(14400);
    m_comm->StartComm();
    const int slave = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(slave, 0);
    EXPECT_EQ(LineSpeed(slave), 14400u);
    EXPECT_TRUE(m_pty.SlaveSettings().c_cflag & CRTSCTS);
    m_comm->SetStopBits(TStopBits::_2);
    m_comm->SetBaudRate(256000);
    EXPECT_EQ(LineSpeed(slave), 256000u);
    EXPECT_TRUE(m_pty.SlaveSettings().c_cflag & CSTOPB);
    close(slave);
}

TEST_F(PtyCommTest, SettingsTheLineCannotTakeFailTheOpenAndLeaveItClosed)
{
    const std::string message = "Cannot apply the line settings (error " + std::to_string(ERROR_INVALID_PARAMETER) + ")";
    const struct {
        const char* what;
        std::function<void(TComm&)> spoil;
    } cases[] = {
        {"no baud rate", [](TComm& comm) { comm.SetBaudRate(0); }},
        {"XON and XOFF alike", [](TComm& comm) { comm.SetXoffChar(comm.XonChar()); }},
        {"two stop bits with five data bits",
         [](TComm& comm) {
             comm.SetByteSize(TByteSize::_5);
             comm.SetStopBits(TStopBits::_2);
         }},
    };
    for (const auto& c : cases) {
        MakeComm("COM7");
        c.spoil(*m_comm);
        ExpectOpenFails("COM7", message);
        EXPECT_FALSE(m_comm->Opened()) << c.what;
        // Nothing is held: the same port opens at once with settings it can take.
        MakeComm("COM7");
        EXPECT_NO_THROW(m_comm->StartComm()) << c.what;
        m_comm->StopComm();
    }
}

TEST_F(PtyCommTest, SettingsReachTheLineAndSettersReapplyThemWhileOpen)
{
    m_comm->StartComm();
    termios line = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), B115200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(line.c_cflag & (PARENB | CSTOPB));
    EXPECT_TRUE(line.c_cflag & CRTSCTS);
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF));

    // Parity is a plain field: it reaches the line with the next setter that applies the block.
    // (A pseudo-terminal keeps 8 data bits and drops PARENB; the odd-parity bit stays visible.)
    m_comm->SetParity(TParity::Odd);
    EXPECT_FALSE(m_pty.SlaveSettings().c_cflag & PARODD);
    m_comm->SetStopBits(TStopBits::_2);
    m_comm->SetOutx_XonXoffFlow(true);
    m_comm->SetBaudRate(9600);
    line = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_TRUE(line.c_cflag & PARODD);
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_TRUE(line.c_iflag & IXON);
}

TEST_F(PtyCommTest, BurstArrivesAsOneZeroEndedBlockInTheCreatingThread)
{
    m_comm->StartComm();
    ASSERT_TRUE(DeviceSends("\r\n21,99\r\n\r\nOK\r\n"));
    ASSERT_EQ(m_notices.blocks.size(), 1u);
    EXPECT_TRUE(m_notices.blocksEndInZero);
    for (const DWORD thread : m_notices.threads)
        EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST_F(PtyCommTest, LargestBlockAndSingleBytesArriveWholeAndInOrder)
{
    std::string pattern(64 * 1024, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    m_comm->StartComm();

    EXPECT_FALSE(m_comm->WriteCommData(pattern.data(), pattern.size())) << "over the 16-bit limit";
    ASSERT_TRUE(m_comm->WriteCommData(pattern.data(), TComm::MaxWriteLength));
    ASSERT_TRUE(m_comm->WriteCommData(pattern.data() + TComm::MaxWriteLength, 1));
    EXPECT_EQ(m_pty.Read(pattern.size(), 30s), pattern);

    const std::string tail = "AT+CSQ\r";
    for (const char byte : tail)
        ASSERT_TRUE(m_comm->WriteCommData(&byte, 1));
    EXPECT_EQ(m_pty.Read(tail.size(), 30s), tail);
}

TEST_F(PtyCommTest, OpenFailuresNameTheCauseAndLeaveTheOpenPortAlone)
{
    ExpectOpenFails("COM99", "Error opening serial port");
    EXPECT_FALSE(m_comm->Opened());

    m_comm->SetCommName("COM7");
    m_comm->StartComm();
    ExpectOpenFails("COM7", "This serial port already opened");
    EXPECT_TRUE(m_comm->Opened());
    EXPECT_TRUE(DeviceSends("\r\nOK\r\n"));
    ASSERT_TRUE(m_comm->WriteCommData("AT\r", 3));
    EXPECT_EQ(m_pty.Read(3, 30s), "AT\r");
}

TEST_F(PtyCommTest, WritesAreRefusedWhileClosedOrEmpty)
{
    EXPECT_FALSE(m_comm->WriteCommData("AT\r", 3));
    m_comm->StopComm();
    m_comm->StartComm();
    EXPECT_FALSE(m_comm->WriteCommData("AT\r", 0));
    m_comm->StopComm();
    m_comm->StopComm();
    EXPECT_FALSE(m_comm->WriteCommData("AT\r", 3));
    EXPECT_FALSE(m_comm->Opened());
}

TEST_F(PtyCommTest, ReopensAfterStopAndFreesThePortEachTime)
{
    for (int round = 0; round < 3; ++round) {
        m_comm->StartComm();
        ASSERT_TRUE(DeviceSends("\r\nRING\r\n")) << "round " << round;
        ASSERT_TRUE(m_comm->WriteCommData("ATA\r", 4));
        ASSERT_EQ(m_pty.Read(4, 30s), "ATA\r");
        m_comm->StopComm();

        // Closed for real: the exclusive port can be opened by someone else.
        const HANDLE other = CreateFileA("\\\\.\\COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        CloseHandle(other);
    }
    EXPECT_EQ(m_notices.hangups, 0);
}

TEST_F(PtyCommTest, BlockIsFreedWhenNoHandlerIsAssigned)
{
    m_comm->SetOnReceiveData({});
    m_comm->StartComm();
    m_pty.Write("\r\nOK\r\n");
    ASSERT_TRUE(AwaitQueued(m_comm->WindowHandle(), WM_COMM_DATA));
    const LPARAM block = QueuedBlock(m_comm->WindowHandle(), WM_COMM_DATA);
    PumpPending();
    EXPECT_TRUE(BlockWasFreed(block));
}

TEST_F(PtyCommTest, BlocksStillQueuedWhenTheComponentGoesAreFreed)
{
    m_comm->StartComm();
    m_pty.Write("\r\nOK\r\n");
    ASSERT_TRUE(AwaitQueued(m_comm->WindowHandle(), WM_COMM_DATA));
    const LPARAM block = QueuedBlock(m_comm->WindowHandle(), WM_COMM_DATA);
    m_comm.reset();
    EXPECT_TRUE(BlockWasFreed(block));
}

// The leak sanitizer finds a write block that no path freed.

TEST_F(PtyCommTest, StopAbandonsPendingAndQueuedWrites)
{
    m_comm->StartComm();
    // Nobody reads the far end, so the line fills and the writer is left waiting on a write.
    const std::string chunk(4096, 'x');
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(m_comm->WriteCommData(chunk.data(), chunk.size()));
    EXPECT_FALSE(m_comm->SendDataEmpty());
    m_comm->StopComm();
    EXPECT_FALSE(m_comm->Opened());
    EXPECT_TRUE(m_comm->SendDataEmpty());
    EXPECT_EQ(m_notices.hangups, 0);
}

TEST_F(PtyCommTest, SendDataEmptyFiresAtStartAndWhenTheQueueRunsDry)
{
    m_comm->StartComm();
    ASSERT_TRUE(PumpUntil([&] { return m_notices.sendEmpty == 1; }));
    EXPECT_TRUE(m_comm->SendDataEmpty());

    ASSERT_TRUE(m_comm->WriteCommData("AT+CSQ\r", 7));
    ASSERT_EQ(m_pty.Read(7, 30s), "AT+CSQ\r");
    ASSERT_TRUE(PumpUntil([&] { return m_notices.sendEmpty == 2; }));
    EXPECT_TRUE(m_comm->SendDataEmpty());
    ASSERT_TRUE(DeviceSends("\r\nOK\r\n"));
    PumpPending();
    EXPECT_EQ(m_notices.sendEmpty, 2);
}

TEST_F(PtyCommTest, ReadsThatEndEmptyAreIssuedAgain)
{
    // With a total time-out every read on the idle line ends with nothing.
    m_comm->SetReadTotalTimeoutConstant(20);
    m_comm->StartComm();
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(DeviceSends("\r\nOK\r\n"));
    EXPECT_EQ(m_notices.hangups, 0);
}

TEST_F(PtyCommTest, VanishedDeviceGivesOneHangupNotice)
{
    m_comm->StartComm();
    m_pty.Hangup();
    ASSERT_TRUE(PumpUntil([&] { return m_notices.hangups > 0; }));
    // A write to the gone device fails the writer too; it ends without a second notice.
    ASSERT_TRUE(PumpUntil([&] { return !m_comm->WriteCommData("AT\r", 3); }));
    PumpPending();
    EXPECT_EQ(m_notices.hangups, 1);
    m_comm->StopComm();
}

class LineEventCommTest : public PtyCommTest {
protected:
    LineEventCommTest()
    {
        SetLineMonitorFactory([lines = m_lines](int) { return std::make_unique<ScriptedMonitor>(lines); });
    }
    ~LineEventCommTest() override { SetLineMonitorFactory({}); }

    std::shared_ptr<ScriptedLines> m_lines = std::make_shared<ScriptedLines>();
};

TEST_F(LineEventCommTest, RingWithCarrierIsOneModemEventAndLineErrorsAreReported)
{
    m_comm->StartComm();
    {
        std::lock_guard lock(m_lines->mutex);
        m_lines->bits |= TIOCM_CAR | TIOCM_RNG;
    }
    ASSERT_TRUE(PumpUntil([&] { return !m_notices.modemEvents.empty(); }));
    EXPECT_EQ(m_notices.modemEvents, std::vector<DWORD>{MODEM_EVENT_RLSD | MODEM_EVENT_RING});

    {
        std::lock_guard lock(m_lines->mutex);
        m_lines->counts.frame = 1;
    }
    ASSERT_TRUE(PumpUntil([&] { return !m_notices.lineErrors.empty(); }));
    EXPECT_EQ(m_notices.lineErrors, std::vector<DWORD>{CE_FRAME});
    EXPECT_TRUE(DeviceSends("\r\nOK\r\n")) << "the reader goes on after line events";
    EXPECT_EQ(m_notices.hangups, 0);
}

} // namespace
