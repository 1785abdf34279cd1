#include "platform/winapi/comm/LineMonitor.h"
#include "platform/winapi/comm/tests/SerialTestSupport.h"
#include "tests/support/devices/ScriptedLines.h"

#include <sys/ioctl.h>

#include <mutex>
#include <thread>

namespace {

class LineEventTest : public SerialPortTest {
protected:
    LineEventTest()
    {
        SetLineMonitorFactory([lines = m_lines](int) { return std::make_unique<ScriptedMonitor>(lines); });
    }
    ~LineEventTest() override { SetLineMonitorFactory({}); }

    template <class Change>
    void Script(Change change)
    {
        std::lock_guard lock(m_lines->mutex);
        change(*m_lines);
    }

    DWORD AwaitLineEvent()
    {
        Overlapped overlapped;
        DWORD mask = 0;
        if (!WaitCommEvent(m_port, &mask, &overlapped)) {
            EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
            DWORD unused = 0;
            EXPECT_TRUE(GetOverlappedResult(m_port, &overlapped, &unused, TRUE));
        }
        return mask;
    }

    std::shared_ptr<ScriptedLines> m_lines = std::make_shared<ScriptedLines>();
};

TEST_F(LineEventTest, CarrierRingAndLineErrorsBecomeEvents)
{
    OpenWithQuietInterval();
    ASSERT_TRUE(SetCommMask(m_port, EV_RLSD | EV_ERR | EV_RING));

    Script([](ScriptedLines& lines) { lines.bits |= TIOCM_CAR | TIOCM_RNG; });
    EXPECT_EQ(AwaitLineEvent(), EV_RLSD | EV_RING);

    // The ring indicator dropping is no new ring; a CTS change is not in the mask.
    Script([](ScriptedLines& lines) {
        lines.bits &= ~(TIOCM_RNG | TIOCM_CTS);
        lines.counts.frame = 1;
    });
    EXPECT_EQ(AwaitLineEvent(), static_cast<DWORD>(EV_ERR));
    DWORD errors = 0;
    ASSERT_TRUE(ClearCommError(m_port, &errors, nullptr));
    EXPECT_EQ(errors, CE_FRAME);
    ASSERT_TRUE(ClearCommError(m_port, &errors, nullptr));
    EXPECT_EQ(errors, 0u);
}

TEST_F(SerialPortTest, ReceivedBytesRaiseRxCharAndAreCountedInTheQueue)
{
    OpenWithQuietInterval();
    ASSERT_TRUE(SetCommMask(m_port, EV_RXCHAR));
    Overlapped overlapped;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(m_port, &mask, &overlapped));
    m_pty.Write("hello");
    DWORD unused = 0;
    ASSERT_TRUE(GetOverlappedResult(m_port, &overlapped, &unused, TRUE));
    EXPECT_EQ(mask, EV_RXCHAR);
    COMSTAT stat{};
    ASSERT_TRUE(ClearCommError(m_port, nullptr, &stat));
    EXPECT_EQ(stat.cbInQue, 5u);
    EXPECT_EQ(ReadBlock(), "hello");
}

TEST_F(SerialPortTest, ANewMaskEndsAPendingWaitWithAnEmptyMask)
{
    OpenWithQuietInterval();
    ASSERT_TRUE(SetCommMask(m_port, EV_RLSD | EV_ERR | EV_RING));
    Overlapped overlapped;
    DWORD mask = 0xFFFF;
    ASSERT_FALSE(WaitCommEvent(m_port, &mask, &overlapped));
    DWORD second = 0;
    Overlapped other;
    EXPECT_FALSE(WaitCommEvent(m_port, &second, &other));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(SetCommMask(m_port, EV_RLSD));
    DWORD unused = 0;
    ASSERT_TRUE(GetOverlappedResult(m_port, &overlapped, &unused, TRUE));
    EXPECT_EQ(mask, 0u);
}

} // namespace

namespace {

// Win32 cancels a thread's I/O when the thread ends; here its wait is dropped without touching the
// records it left behind, and it no longer blocks the port's one event wait.
TEST_F(SerialPortTest, AWaitLeftByAnEndedThreadIsDroppedUntouched)
{
    OpenWithQuietInterval();
    ASSERT_TRUE(SetCommMask(m_port, EV_RXCHAR));
    const HANDLE orphanEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread([&] {
        OVERLAPPED overlapped{};
        overlapped.hEvent = orphanEvent;
        DWORD mask = 0;
        EXPECT_FALSE(WaitCommEvent(m_port, &mask, &overlapped));
        EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    }).join();

    Overlapped overlapped;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(m_port, &mask, &overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    m_pty.Write("x");
    DWORD unused = 0;
    ASSERT_TRUE(GetOverlappedResult(m_port, &overlapped, &unused, TRUE));
    EXPECT_EQ(mask, EV_RXCHAR);
    EXPECT_EQ(WaitForSingleObject(orphanEvent, 0), WAIT_TIMEOUT);
    CloseHandle(orphanEvent);
}

} // namespace
