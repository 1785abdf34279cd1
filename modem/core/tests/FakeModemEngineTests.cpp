#include "EngineTestDoubles.h"

#include "modem/core/ATCommands.h"
#include "modem/core/CommModemPort.h"
#include "modem/core/ModemEngine.h"

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/devices/FakeDevices.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The engine and the serial component against the simulated modem on a pseudo-terminal, found
// through the registry overlay as COM12; the main timer's logic runs whenever the worker has put
// something on the response queue.
class FakeModemEngineTest : public ::testing::Test {
protected:
    FakeModemEngineTest()
    {
        SetCommLockFolder(m_dir.Path().string());
        ModemSettings settings;
        settings.smsDelay = 20ms;
        m_modem = m_devices.PlugInModem(settings);

        m_comm.SetCommName("COM12");
        m_comm.SetBaudRate(115200);
        m_comm.SetOutx_XonXoffFlow(false);
        m_comm.SetInx_XonXoffFlow(false);
        m_comm.SetOnReceiveData(TReceiveDataEvent::FromFunction(
            [this](TObject* sender, const void* buffer, WORD length) {
                m_received.append(static_cast<const char*>(buffer), length);
                m_engine.ComReceiveData(sender, buffer, length);
            }));
        // A record on the response queue wakes this thread's loop, as the main timer would.
        const DWORD gui = GetCurrentThreadId();
        m_engine.ResponseQueue().SetOnChange([this, gui] {
            m_engine.Link().WakeWorker();
            (void)PostThreadMessageA(gui, WM_NULL, 0, 0);
        });
    }
    ~FakeModemEngineTest() override
    {
        m_engine.PortLost();
        m_port.StopComm();
        Pump();
        m_modem.reset();
        SetCommLockFolder("");
    }

    // What the port watch does once it has found the modem.
    void Open(DWORD readInterval)
    {
        m_comm.SetReadIntervalTimeout(readInterval);
        m_port.StartComm();
        m_engine.CreateWorker();
        m_engine.PortOpened();
        m_engine.InitialModem();
        m_engine.ResumeWorker();
    }

    // Handles the waiting messages; whether there were any.
    bool Pump()
    {
        bool handled = false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            handled = true;
        }
        return handled;
    }

    // Handles messages and ticks the main timer's logic until `done` holds; false after `limit`.
    // What the messages just handled brought is looked at before waiting for more.
    [[nodiscard]] bool RunUntil(const std::function<bool()>& done, std::chrono::seconds limit = 60s)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            const bool handled = Pump();
            if (!m_engine.ResponseQueue().IsEmpty()) {
                m_engine.MainTimerTick();
                continue;
            }
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (!handled)
                (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        }
        return true;
    }

    // The modem sends each of `blocks` once the one before it has been received, so that each
    // reaches the engine as a block of its own.
    [[nodiscard]] bool SendBlocks(const std::vector<std::string>& blocks)
    {
        for (const std::string& block : blocks) {
            m_modem->Send(block);
            if (!RunUntil([&] { return m_received.ends_with(block); }))
                return false;
        }
        return true;
    }

    // Made before the serial component, whose hidden window needs a screen.
    struct HeadlessScreen {
        HeadlessScreen() { (void)SelectHeadlessDisplay(); }
    };

    TempDir m_dir;
    FakeDevices m_devices;
    HeadlessScreen m_screen;
    std::unique_ptr<FakeModem> m_modem;
    TComm m_comm{nullptr};
    TCommModemPort m_port{m_comm};
    RecordingView m_view;
    RecordingRecords m_records;
    TModemEngine m_engine{m_port, m_view, m_records};
    std::string m_received; // every byte the serial component handed over
};

// A new message's header line announcing `length` bytes of text ("99", "abc", ...).
std::string Header(const std::string& length)
{
    return "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\"," + length + "\r\n";
}

std::string NewSms(const std::string& text)
{
    return Header(std::to_string(text.size())) + text + "\r\n";
}

TEST_F(FakeModemEngineTest, TheModemIsInitialisedRegistersAndReportsItsSignal)
{
    m_modem->SetSignal(26);
    Open(100);
    EXPECT_EQ(m_modem->ExpectCommand("ATE0"), "ATE0");
    SendCSQ(m_engine.CommandQueue());
    ASSERT_TRUE(RunUntil([&] { return m_engine.State().Registered && !m_view.signalImages.empty(); }))
        << m_modem->GetTranscript().Text();
    EXPECT_EQ(m_view.signalImages.back(), 4);
    EXPECT_EQ(m_modem->ExpectCommand("AT$QCNMI"), "AT$QCNMI=1,2,0");
    m_modem->WaitForStatus([](const ModemStatus& status) { return status.messageRouting && !status.echo; },
                           "echo off and messages routed");
}

TEST_F(FakeModemEngineTest, AnIncomingCallShowsTheCallerAndAMessageIsStoredWithItsLineBreaks)
{
    Open(100);
    m_records.phonebook["5551234"] = "Alice";
    m_modem->Ring("5551234");
    ASSERT_TRUE(RunUntil([&] { return m_view.Title() == "Call Incoming."; })) << m_modem->GetTranscript().Text();
    EXPECT_EQ(m_view.display, "5551234");
    EXPECT_EQ(m_view.callerName, "Alice");

    m_modem->DeliverSms("5559876", "Two\r\nlines");
    ASSERT_TRUE(RunUntil([&] { return m_records.newMessages.size() == 1; })) << m_modem->GetTranscript().Text();
    EXPECT_NE(m_records.newMessages[0].find("\"5559876\""), std::string::npos);
    EXPECT_NE(m_records.newMessages[0].find("\r\nTwo\r\nlines\r\n"), std::string::npos);
}

TEST_F(FakeModemEngineTest, MessagesArrivingDuringEveryKindOfCommandWaitAreAllKept)
{
    constexpr int Messages = 500;
    struct Kind {
        std::function<void(TBuffer&)> send;
        std::string prefix;
        std::string answer; // sent by the test after the message; empty: the modem answers itself
    };
    const std::string ok = "\r\nOK\r\n";
    const std::vector<Kind> kinds = {
        {[](TBuffer& q) { SendCSQ(q); }, "AT+CSQ", "\r\n21,99\r\n" + ok},
        {[](TBuffer& q) { (void)SendDTMF(q, '5'); }, "AT+VTS", ok},
        {[](TBuffer& q) { (void)SendVolume(q, "12"); }, "AT+CLVL", ok},
        {[](TBuffer& q) { SendMute(q, true); }, "AT+CMUT", ok},
        {[](TBuffer& q) { SendCallerID(q); }, "AT+CLCC", ok},
        {[](TBuffer& q) { (void)SendATD(q, "5550000"); }, "AT+CDV5550000", "\r\nNO CARRIER\r\n"},
        {[](TBuffer& q) { SendATA(q); }, "AT$QCCAV", "\r\nERROR\r\n"},
        {[](TBuffer& q) { SendATH(q); }, "AT$QCCHV", ok},
        {[](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::CallWaitingOn); }, "AT+CDV*74", "\r\nERROR\r\n"},
        {[](TBuffer& q) { (void)SendMin(q, "123"); }, "AT+WMIN", ok},
    };
    for (const Kind& kind : kinds)
        m_modem->OverrideReply(kind.prefix, "");
    const auto kindOf = [&](int n) -> const Kind* {
        // An SMS send now and then: its wait includes the pause for the prompt.
        return n % 25 == 24 ? nullptr : &kinds[static_cast<std::size_t>(n) % kinds.size()];
    };

    Open(5);
    // Only the commands below go out: an unanswered signal poll would end the worker.
    m_engine.State().SignalPollAllowed = false;
    m_modem->ExpectCommand("ATE0");
    // The modem's side: each message goes out while the command waits for its answer.
    std::exception_ptr scriptError;
    std::thread script([&] {
        try {
            for (int n = 0; n < Messages; ++n) {
                const Kind* kind = kindOf(n);
                m_modem->ExpectCommand(kind ? kind->prefix : "AT$QCMGS");
                m_modem->DeliverSms("555" + std::to_string(n), "soak " + std::to_string(n));
                if (kind)
                    m_modem->Send(kind->answer);
            }
        } catch (...) {
            scriptError = std::current_exception();
        }
    });
    int queued = 0;
    const bool done = RunUntil([&] {
        if (queued < Messages && m_engine.CommandQueue().IsEmpty()) {
            const Kind* kind = kindOf(queued);
            if (kind)
                kind->send(m_engine.CommandQueue());
            else
                EXPECT_TRUE(SendSMS(m_engine.CommandQueue(), "5559999", "out"));
            ++queued;
        }
        return m_records.newMessages.size() == Messages || scriptError;
    }, 300s);
    script.join();
    if (scriptError)
        std::rethrow_exception(scriptError);
    ASSERT_TRUE(done) << m_records.newMessages.size() << " of " << Messages << " stored";
    for (int n = 0; n < Messages; ++n)
        EXPECT_NE(m_records.newMessages[static_cast<std::size_t>(n)].find("\r\nsoak " + std::to_string(n) + "\r\n"),
                  std::string::npos)
            << n;
    EXPECT_TRUE(m_engine.HasWorker()) << "no command timed out";
}

TEST_F(FakeModemEngineTest, MessagesOverSeveralBlocksOrWithWrongLengthsAreStoredOnceAndTakeNoAnswer)
{
    struct Case {
        const char* what;
        std::vector<std::string> blocks; // each received on its own, while a signal poll waits
        std::vector<std::string> stored;
    };
    const std::string signal = "\r\n20,99\r\n\r\nOK\r\n";
    const std::string message = NewSms("first part of the text");
    const std::string shortText = Header("99") + "short\r\n";
    const std::string longMessage = NewSms(std::string(1200, 'x'));
    const std::vector<Case> table = {
        {"split after the first part of its text", {message.substr(0, 70), message.substr(70) + signal}, {message}},
        {"split inside its header", {message.substr(0, 20), message.substr(20), signal}, {message}},
        {"split before its closing line break", {message.substr(0, message.size() - 2), "\r\n" + signal}, {message}},
        {"a length too big, the answer in the same block", {shortText + signal}, {shortText}},
        {"a length too big, the answer in the next block", {shortText, signal}, {shortText}},
        {"a length too small", {Header("3") + "hello\r\n", signal}, {Header("3") + "hello\r\n"}},
        {"a length that is not a number, at the start of a block",
         {Header("abc") + "text\r\n" + NewSms("one") + NewSms("two") + "\r\n+CMS ERROR: 500\r\n" + signal},
         {Header("abc") + "text\r\n", NewSms("one"), NewSms("two")}},
        {"a four-digit length", {longMessage + signal}, {longMessage}},
    };
    m_modem->OverrideReply("AT+CSQ", "");
    Open(100);
    m_engine.State().SignalPollAllowed = false;
    for (const Case& test : table) {
        m_records.newMessages.clear();
        m_view.signalImages.clear();
        SendCSQ(m_engine.CommandQueue());
        ASSERT_TRUE(RunUntil([&] { return m_engine.CommandQueue().IsEmpty(); })) << "the poll is under way";
        ASSERT_TRUE(SendBlocks(test.blocks)) << test.what;
        ASSERT_TRUE(RunUntil([&] { return !m_view.signalImages.empty() && m_records.newMessages.size() >= test.stored.size(); }))
            << test.what << "\n" << m_modem->GetTranscript().Text();
        EXPECT_EQ(m_view.signalImages, std::vector<int>{3}) << test.what;
        EXPECT_EQ(m_records.newMessages, test.stored) << test.what;
        EXPECT_TRUE(m_engine.HasWorker()) << test.what << ": the poll got its answer";
    }
}

TEST_F(FakeModemEngineTest, TheCallListsOkInABlockOfItsOwnIsNoAnsweredCall)
{
    m_modem->OverrideReply("AT+CLCC", "");
    Open(100);
    m_engine.State().SignalPollAllowed = false;
    m_modem->ExpectCommand("ATE0");
    ASSERT_TRUE(SendBlocks({"\r\nRING\r\n"}));
    ASSERT_TRUE(RunUntil([&] { return m_engine.State().CallIncoming; }));
    // The clock stands still from here: the call list's answer is in time however slowly its
    // blocks arrive, so that its OK can only be taken as that answer.
    const FakeClock clock(GetTickCount64());
    m_modem->ExpectCommand("AT+CLCC");
    ASSERT_TRUE(SendBlocks({"\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n", "\r\nOK\r\n"}));
    ASSERT_TRUE(RunUntil([&] {
        return m_view.Title() == "Call Incoming." && m_engine.Link().Received.Count() == 0 &&
               m_engine.ResponseQueue().IsEmpty();
    }));
    for (int tick = 0; tick < 40 && m_records.calls.empty(); ++tick)
        m_engine.MainTimerTick();
    EXPECT_EQ(m_records.calls, (std::vector<LoggedCall>{{TCallLog::Missed, "5551234", 0}}));
    EXPECT_EQ(m_view.Title(), "Call Missed");
    EXPECT_EQ(std::count(m_view.titles.begin(), m_view.titles.end(), "Time: 00:00:00"), 0) << "no call time ran";
}

} // namespace
