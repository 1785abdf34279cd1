#include "EngineTestDoubles.h"

#include "modem/core/ATCommands.h"
#include "modem/core/ModemEngine.h"

#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace {

// The engine on a port that records, in virtual time.
class ModemEngineTest : public ::testing::Test {
protected:
    ModemEngineTest()
    {
        m_engine.ResponseQueue().SetOnChange([this] {
            m_engine.Link().WakeWorker();
            const std::lock_guard guard(m_lock);
            m_changed.notify_all();
        });
    }

    // Opened and initialised as the port watch does it, the echo-off command answered.
    void Start()
    {
        m_engine.CreateWorker();
        m_engine.PortOpened();
        m_engine.InitialModem();
        m_engine.ResumeWorker();
        ASSERT_TRUE(m_port.AwaitWritten("ATE0\r\n"));
        m_engine.ComReceiveData(nullptr, "\r\nOK\r\n", 6);
        AwaitResponse();
        m_engine.MainTimerTick();
    }

    void AwaitResponse()
    {
        std::unique_lock guard(m_lock);
        ASSERT_TRUE(m_changed.wait_for(guard, std::chrono::minutes(1), [&] { return !m_engine.ResponseQueue().IsEmpty(); }));
    }

    FakeClock m_clock;
    RecordingPort m_port;
    RecordingView m_view;
    RecordingRecords m_records;
    TModemEngine m_engine{m_port, m_view, m_records};
    std::mutex m_lock;
    std::condition_variable m_changed;
};

TEST_F(ModemEngineTest, ATimeOutClosesThePortEndsTheCallAndLetsThePortWatchStartAgain)
{
    Start();
    TApplicationState& state = m_engine.State();
    EXPECT_EQ(state.ModemState, msInitialised);
    state.Registered = true;
    state.CallOutgoing = true;
    state.ServiceRequestPending = true;
    state.SmsQueue = {"5550001*Ann*Hi"};
    m_view.callTimer = true;
    ASSERT_TRUE(SendATD(m_engine.CommandQueue(), "5551234"));
    ASSERT_TRUE(m_port.AwaitWritten("AT+CDV5551234\r"));
    for (int i = 0; i < 10; ++i)
        SendCSQ(m_engine.CommandQueue());
    EXPECT_TRUE(m_engine.CommandQueue().IsFull());

    m_clock.AwaitTimedWaiters(1);
    m_clock.Advance(30010);
    AwaitResponse();
    m_engine.MainTimerTick();

    EXPECT_FALSE(m_port.Open()) << "the port is closed";
    EXPECT_FALSE(m_engine.HasWorker());
    EXPECT_TRUE(m_engine.CommandQueue().IsEmpty());
    EXPECT_TRUE(m_engine.ResponseQueue().IsEmpty());
    EXPECT_FALSE(m_view.mainTimer);
    EXPECT_EQ(state.ModemState, msNoPort) << "the port watch opens it again";
    EXPECT_EQ(m_view.status[0], "Modem not responding.");
    EXPECT_FALSE(state.Registered);
    EXPECT_FALSE(state.CallOutgoing);
    EXPECT_FALSE(m_view.callTimer);
    EXPECT_EQ(m_view.Title(), "Call Fail");
    EXPECT_FALSE(state.ServiceRequestPending);
    EXPECT_EQ(m_view.serviceWaitsEnded, 1);
    EXPECT_EQ(state.SmsQueue.size(), 1u) << "the SMS waits for the modem to come back";
}

TEST_F(ModemEngineTest, LosingThePortEndsTheWaitingWorkerAndDropsWhatWasPending)
{
    Start();
    TApplicationState& state = m_engine.State();
    state.CallIncoming = true;
    state.CallConnected = true;
    state.SmsSending = true;
    SendCSQ(m_engine.CommandQueue());
    ASSERT_TRUE(m_port.AwaitWritten("AT+CSQ\r\n"));
    SendCSQ(m_engine.CommandQueue());
    m_engine.ComReceiveData(nullptr, "\r\nRING\r\n", 8);

    m_engine.PortLost();

    EXPECT_FALSE(m_engine.HasWorker());
    EXPECT_TRUE(m_engine.CommandQueue().IsEmpty());
    EXPECT_EQ(m_engine.Link().Received.Count(), 0u);
    EXPECT_FALSE(m_view.mainTimer);
    EXPECT_FALSE(state.CallIncoming);
    EXPECT_FALSE(state.CallConnected);
    EXPECT_EQ(m_records.calls.size(), 1u);
    EXPECT_FALSE(state.SmsSending);
    EXPECT_FALSE(state.SignalPollAllowed);
    EXPECT_TRUE(m_port.Open()) << "closing the port is the port watch's";
}

TEST_F(ModemEngineTest, ANewWorkerReplacesTheOldOneSoOnlyOneTakesCommands)
{
    Start();
    m_engine.CreateWorker();
    m_engine.ResumeWorker();
    SendCSQ(m_engine.CommandQueue());
    ASSERT_TRUE(m_port.AwaitWritten("ATE0\r\nAT+CSQ\r\n"));
    m_engine.ComReceiveData(nullptr, "\r\n21,99\r\n\r\nOK\r\n", 15);
    AwaitResponse();
    m_engine.MainTimerTick();
    EXPECT_EQ(m_view.signalImages.back(), 3);
    EXPECT_EQ(m_port.Written().rfind("ATE0\r\nAT+CSQ\r\n", 0), 0u);
}

} // namespace
