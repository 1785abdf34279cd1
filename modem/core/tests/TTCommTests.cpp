#include "EngineTestDoubles.h"

#include "modem/core/TTComm.h"

#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

const std::string Ok = "\r\nOK\r\n";
const std::string Ring = "\r\nRING\r\n";
const std::string Csq = "AT+CSQ\r\n";

std::string NewMessage(int n)
{
    const std::string text = "message " + std::to_string(n);
    return "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\"," + std::to_string(text.size()) + "\r\n" +
           text + "\r\n";
}

// The worker on a port that records, in virtual time: the test moves the clock, so the 30 s of a
// dial's wait pass at once.
class WorkerTest : public ::testing::Test {
protected:
    WorkerTest()
    {
        m_link.ResponseQueue.SetOnChange([this] {
            m_link.WakeWorker();
            const std::lock_guard guard(m_lock);
            m_changed.notify_all();
        });
    }
    ~WorkerTest() override { m_worker.reset(); }

    void Queue(const std::string& cmd) { ASSERT_TRUE(m_link.CommandQueue.Push(cmd, cmd, ckAnswered)); }

    // Blocks until the response queue holds `count` records.
    void AwaitResponses(int count)
    {
        std::unique_lock guard(m_lock);
        ASSERT_TRUE(m_changed.wait_for(guard, std::chrono::minutes(1),
                                       [&] { return m_link.ResponseQueue.Count() >= count; }))
            << "the worker did not answer";
    }

    std::vector<TCommand> TakeResponses()
    {
        std::vector<TCommand> records;
        while (!m_link.ResponseQueue.IsEmpty()) {
            records.push_back(m_link.ResponseQueue.Head());
            (void)m_link.ResponseQueue.Remove(0);
        }
        return records;
    }

    // Runs the clock on by `ms` once the worker waits with a time-out.
    void Advance(std::uint64_t ms)
    {
        m_clock.AwaitTimedWaiters(1);
        m_clock.Advance(ms);
    }

    FakeClock m_clock;
    TModemLink m_link;
    RecordingPort m_port;
    TTCommPtr m_worker{new TTComm(m_link, m_port)};
    std::mutex m_lock;
    std::condition_variable m_changed;
};

TEST_F(WorkerTest, ACommandAndItsAnswerGoOntoTheResponseQueue)
{
    Queue(Csq);
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten(Csq));
    m_link.Received.AddBlock("\r\n21,99\r\n" + Ok);
    AwaitResponses(1);
    const std::vector<TCommand> records = TakeResponses();
    EXPECT_EQ(records[0].Cmd, Csq);
    EXPECT_EQ(records[0].Data, "\r\n21,99\r\n" + Ok);
    EXPECT_EQ(records[0].Kind, ckAnswered);
}

TEST_F(WorkerTest, ACommandWithoutAnAnswerTimesOutOnceAndEndsTheWorker)
{
    struct Case {
        std::string cmd;
        std::uint64_t timeout;
    };
    const std::vector<Case> table = {
        {"AT+CDV5551234\r", 30010}, {"AT+CDV*74\r", 30010}, {"AT$QCCHV\r", 10010}, {Csq, 3010}, {"AT+CLVL=6\r", 3010},
    };
    for (const Case& test : table) {
        m_worker.reset(new TTComm(m_link, m_port));
        Queue(test.cmd);
        Queue("AT+CMUT=1\r");
        m_worker->Resume();
        Advance(test.timeout - 1);
        Advance(0);
        EXPECT_TRUE(m_link.ResponseQueue.IsEmpty()) << test.cmd;
        Advance(1);
        (void)m_worker->WaitFor();
        const std::vector<TCommand> records = TakeResponses();
        ASSERT_EQ(records.size(), 1u) << test.cmd;
        EXPECT_EQ(records[0].Kind, ckTimedOut);
        EXPECT_EQ(records[0].Cmd, test.cmd);
        EXPECT_EQ(records[0].Data, test.cmd) << "a time-out record carries the command twice";
        EXPECT_EQ(m_link.CommandQueue.Count(), 1) << "the worker ended before the next command";
        m_link.CommandQueue.Clear();
    }
}

TEST_F(WorkerTest, AnSmsSendIsWrittenInTwoPartsAndItsSilenceIsNotFatal)
{
    const std::string send = "AT$QCMGS=\"5551234\"\rHello\x1A";
    Queue(send);
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten("AT$QCMGS=\"5551234\"\r"));
    Advance(300);
    ASSERT_TRUE(m_port.AwaitWritten(send));
    const std::vector<std::uint64_t> times = m_port.WriteTimes();
    EXPECT_EQ(times.back() - times.front(), 300u) << "the text follows the prompt's pause";

    Advance(3010);
    Queue(Csq);
    ASSERT_TRUE(m_port.AwaitWritten(send + Csq)) << "the worker goes on after an unanswered SMS";
    EXPECT_TRUE(m_link.ResponseQueue.IsEmpty());
}

TEST_F(WorkerTest, CodesArrivingDuringAWaitAreKeptApartFromTheAnswer)
{
    m_link.Received.AddBlock(Ring);
    Queue("AT+CDV5551234\r");
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten("AT+CDV5551234\r"));
    m_link.Received.AddBlock(NewMessage(1));
    m_link.Received.AddBlock("\r\n$QCMGS: 7\r\n" + Ok + NewMessage(2));
    m_link.Received.AddBlock(Ok + Ring);
    AwaitResponses(6);
    const std::vector<TCommand> records = TakeResponses();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0].Cmd, "") << "the ring that came before the command";
    EXPECT_EQ(records[1].Data, NewMessage(1));
    EXPECT_EQ(records[1].Cmd, "");
    EXPECT_EQ(records[2].Data, "\r\n$QCMGS: 7\r\n" + Ok);
    EXPECT_EQ(records[3].Data, NewMessage(2));
    EXPECT_EQ(records[4].Cmd, "AT+CDV5551234\r");
    EXPECT_EQ(records[4].Data, Ok);
    EXPECT_EQ(records[5].Cmd, "");
    EXPECT_EQ(records[5].Data, Ring);
}

TEST_F(WorkerTest, AnAnswerOverSeveralBlocksIsOneAnswerUpToItsFinalResult)
{
    const std::string callList = "\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n";
    Queue("AT+CLCC\r");
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten("AT+CLCC\r"));
    m_link.Received.AddBlock(callList.substr(0, 20));
    m_link.Received.AddBlock(callList.substr(20));
    m_link.Received.AddBlock(Ring);
    m_link.Received.AddBlock(Ok);
    AwaitResponses(2);
    const std::vector<TCommand> records = TakeResponses();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Cmd, "");
    EXPECT_EQ(records[0].Data, Ring);
    EXPECT_EQ(records[1].Cmd, "AT+CLCC\r");
    EXPECT_EQ(records[1].Data, callList + Ok) << "the OK closes the answer, it is no code of its own";
}

TEST_F(WorkerTest, AnAnswerWithoutItsFinalResultIsStillTheAnswerWhenTheTimeIsUp)
{
    Queue(Csq);
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten(Csq));
    m_link.Received.AddBlock("\r\n21,99\r\n");
    Advance(3010);
    AwaitResponses(1);
    const std::vector<TCommand> records = TakeResponses();
    EXPECT_EQ(records[0].Cmd, Csq);
    EXPECT_EQ(records[0].Data, "\r\n21,99\r\n");
    EXPECT_EQ(records[0].Kind, ckAnswered);
    Queue("AT+CMUT=1\r");
    EXPECT_TRUE(m_port.AwaitWritten("AT+CMUT=1\r")) << "the worker goes on";
}

TEST_F(WorkerTest, AnAnswerThatRunsOnWithoutItsFinalResultIsGivenOutBeforeARecordCannotHoldIt)
{
    Queue("AT+CDV5551234\r");
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten("AT+CDV5551234\r"));
    const std::string noise(4000, 'x');
    for (int block = 0; block < 3; ++block)
        m_link.Received.AddBlock(noise);
    AwaitResponses(1);
    const std::vector<TCommand> records = TakeResponses();
    EXPECT_EQ(records[0].Cmd, "AT+CDV5551234\r");
    EXPECT_EQ(records[0].Data, noise + noise + noise);
}

TEST_F(WorkerTest, AMessageKeptBackForItsRestIsForwardedWhenItsWaitIsOver)
{
    const std::string truncated = "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\",99\r\nshort\r\n";
    m_worker->Resume();
    m_link.Received.AddBlock(truncated);
    Advance(TReceivedCodes::IncompleteWaitMs);
    AwaitResponses(1);
    const std::vector<TCommand> records = TakeResponses();
    EXPECT_EQ(records[0].Cmd, "");
    EXPECT_EQ(records[0].Data, truncated);
}

TEST_F(WorkerTest, AFullResponseQueueHoldsTheWorkerBackAndNothingIsLost)
{
    constexpr int Messages = 500;
    Queue(Csq);
    m_worker->Resume();
    ASSERT_TRUE(m_port.AwaitWritten(Csq));
    for (int n = 0; n < Messages; ++n)
        m_link.Received.AddBlock(NewMessage(n));
    m_link.Received.AddBlock(Ok);
    std::vector<TCommand> records;
    while (records.size() < Messages + 1) {
        AwaitResponses(1);
        for (TCommand& record : TakeResponses())
            records.push_back(std::move(record));
    }
    for (int n = 0; n < Messages; ++n)
        ASSERT_EQ(records[static_cast<std::size_t>(n)].Data, NewMessage(n));
    EXPECT_EQ(records.back().Cmd, Csq);
    EXPECT_EQ(records.back().Data, Ok);
}

TEST_F(WorkerTest, AnIdleWorkerStopsAtOnce)
{
    m_worker->Resume();
    m_worker->Stop();
    (void)m_worker->WaitFor();
    EXPECT_TRUE(m_worker->Finished());
}

} // namespace
