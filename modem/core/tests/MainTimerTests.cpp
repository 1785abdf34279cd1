#include "EngineTestDoubles.h"

#include "modem/core/ATCommands.h"
#include "modem/core/MainTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Ok = "\r\nOK\r\n";
const std::string Error = "\r\nERROR\r\n";
const std::string Ring = "\r\nRING\r\n";
const std::string NoCarrier = "\r\nNO CARRIER\r\n";
const std::string Confirmed = "\r\n$QCMGS: 4\r\n" + Ok;
const std::string CmsError = "\r\n+CMS ERROR: 500\r\n";
const std::string PromptThenError = "\r\n> \r\n\r\n+CMS ERROR: 500\r\n";
const std::string Dial = "AT+CDV5551234\r";
const std::string HangUp = "AT$QCCHV\r";
const std::string Answer = "AT$QCCAV\r\n";
const std::string Csq = "AT+CSQ\r\n";

std::string Signal(const std::string& value)
{
    return "\r\n" + value + "99\r\n" + Ok;
}

class MainTimerTest : public ::testing::Test {
protected:
    MainTimerTest() { m_timer.SetOnTimedOut([this](const TCommand& record) { m_timedOut.push_back(record); }); }

    void Dispatch(const std::string& cmd, const std::string& response, int kind = ckAnswered)
    {
        ASSERT_TRUE(m_link.ResponseQueue.Push(cmd, response, kind));
        m_timer.DispatchResponse();
    }

    std::vector<std::string> QueuedCommands()
    {
        std::vector<std::string> commands;
        while (!m_link.CommandQueue.IsEmpty()) {
            commands.push_back(m_link.CommandQueue.Head().Cmd);
            (void)m_link.CommandQueue.Remove(0);
        }
        return commands;
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            m_timer.Tick();
    }

    TApplicationState m_state;
    TModemLink m_link;
    RecordingView m_view;
    RecordingRecords m_records;
    TMainTimer m_timer{m_state, m_link, m_view, m_records};
    std::vector<TCommand> m_timedOut;
};

TEST_F(MainTimerTest, SignalValuesShowTheirBars)
{
    struct Case {
        std::string value; // as the modem writes it, with its comma
        int image;
        bool registering;
    };
    const std::vector<Case> table = {
        {"0,", 0, false},  {"4,", 0, false},  {"5,", 1, false},  {"7,", 1, false},  {"11,", 1, false},
        {"12,", 2, false}, {"19,", 2, false}, {"20,", 3, false}, {"24,", 3, false}, {"25,", 4, false},
        {"28,", 4, false}, {"29,", 5, false}, {"31,", 5, false}, {"32,", 0, true},  {"99,", 0, true},
    };
    for (const Case& test : table) {
        m_view.signalImages.clear();
        m_view.status[1] = "";
        Dispatch(Csq, Signal(test.value));
        ASSERT_EQ(m_view.signalImages.size(), 1u) << test.value;
        EXPECT_EQ(m_view.signalImages[0], test.image) << test.value;
        EXPECT_EQ(m_view.status[1] == RegisteringText, test.registering) << test.value;
    }
}

TEST_F(MainTimerTest, TheFirstUsableSignalRoutesNewMessagesOnce)
{
    m_view.status[1] = std::string(RegisteringText);
    Dispatch(Csq, Signal("99,"));
    EXPECT_FALSE(m_state.Registered);
    EXPECT_TRUE(QueuedCommands().empty());

    Dispatch(Csq, Signal("21,"));
    EXPECT_TRUE(m_state.Registered);
    EXPECT_EQ(m_view.status[1], "");
    Dispatch(Csq, Signal("25,"));
    const std::vector<std::string> queued = QueuedCommands();
    EXPECT_EQ(queued, (std::vector<std::string>{"AT$QCNMI=1,2,0\r\n"}));
}

TEST_F(MainTimerTest, ShortAndGarbledTextsMatchNothing)
{
    const std::vector<std::string> texts = {"", "\r", "\r\n", "\r\nO", "\r\nK", "\r\n7", "\r\n2x99",
                                            "\r\n$", "\r\n$QCM", "\r\n> ", "xxxxxxxE", std::string(3, '\0')};
    const std::vector<std::string> commands = {"", "A", "AT", Csq, Dial, HangUp, Answer,
                                               "AT$QCMGS=\"1\"\rx\x1A", "ATE0\r\n"};
    m_state.SmsQueue = {"1*a*b"};
    m_state.SmsSending = true;
    for (const std::string& cmd : commands)
        for (const std::string& text : texts)
            Dispatch(cmd, text);
    EXPECT_TRUE(m_view.signalImages.empty());
    EXPECT_TRUE(m_records.calls.empty());
    EXPECT_TRUE(m_records.newMessages.empty());
    EXPECT_TRUE(m_records.smsResults.empty());
    EXPECT_FALSE(m_state.CallConnected);
}

struct CallCase {
    const char* what;
    bool incoming, outgoing, connected;
    std::string cmd;      // empty: unsolicited
    std::string response;
    bool incomingAfter, outgoingAfter, connectedAfter;
    std::string title;    // empty: none set
    std::vector<TCallLog> logs;
};

TEST_F(MainTimerTest, CallStatesMoveAsTheModemAnswers)
{
    using L = TCallLog;
    const std::vector<CallCase> table = {
        {"ringing, answered", true, false, false, Answer, Ok, true, false, true, "Time: 00:00:00", {}},
        {"ringing, answered by the modem", true, false, false, "", Ok, true, false, true, "Time: 00:00:00", {}},
        {"ringing, caller hung up", true, false, false, "", NoCarrier, false, false, false, "Call Missed", {L::Missed}},
        {"ringing, refused", true, false, false, HangUp, Ok, false, false, false, "Call Missed", {L::Missed}},
        {"dialling, answered", false, true, false, Dial, Ok, false, true, true, "Time: 00:00:00", {}},
        {"dialling, error", false, true, false, Dial, Error, false, false, false, "Call Fail", {}},
        {"dialling, no carrier", false, true, false, Dial, NoCarrier, false, false, false, "Call Fail", {}},
        {"dialling, dropped", false, true, false, "", NoCarrier, false, false, false, "Call Fail", {}},
        {"dialling, hung up", false, true, false, HangUp, Ok, false, false, false, "Call Dialled", {L::Dialled}},
        {"incoming call ends", true, false, true, "", NoCarrier, false, false, false, "Call Received", {L::Received}},
        {"incoming call hung up", true, false, true, HangUp, Ok, false, false, false, "Call Received", {L::Received}},
        {"outgoing call ends", false, true, true, "", NoCarrier, false, false, false, "Call Dialled", {L::Dialled}},
        {"outgoing call hung up", false, true, true, HangUp, Ok, false, false, false, "Call Dialled", {L::Dialled}},
        {"hang-up refused", false, true, true, HangUp, Error, false, true, true, "", {}},
        {"no call, no carrier", false, false, false, "", NoCarrier, false, false, false, "", {}},
        {"no call, OK", false, false, false, "", Ok, false, false, false, "", {}},
    };
    for (const CallCase& test : table) {
        m_state = TApplicationState();
        m_view.titles.clear();
        m_records.calls.clear();
        m_state.CallIncoming = test.incoming;
        m_state.CallOutgoing = test.outgoing;
        m_state.CallConnected = test.connected;
        Dispatch(test.cmd, test.response);
        EXPECT_EQ(m_state.CallIncoming, test.incomingAfter) << test.what;
        EXPECT_EQ(m_state.CallOutgoing, test.outgoingAfter) << test.what;
        EXPECT_EQ(m_state.CallConnected, test.connectedAfter) << test.what;
        EXPECT_EQ(m_view.Title(), test.title) << test.what;
        std::vector<TCallLog> logs;
        for (const LoggedCall& call : m_records.calls)
            logs.push_back(call.log);
        EXPECT_EQ(logs, test.logs) << test.what;
    }
}

TEST_F(MainTimerTest, ADoubleCallIsLoggedIncomingFirstEachWithItsOwnNumber)
{
    m_state.CallIncoming = m_state.CallOutgoing = m_state.CallConnected = true;
    m_state.CallSeconds = 65;
    m_state.LastDialledNumber = "5550002";
    m_view.display = "5550001";
    Dispatch(HangUp, Ok);
    EXPECT_EQ(m_records.calls, (std::vector<LoggedCall>{{TCallLog::Received, "5550001", 65},
                                                        {TCallLog::Dialled, "5550002", 65}}));
    EXPECT_FALSE(m_view.callTimer);
    EXPECT_EQ(m_state.CallSeconds, 0);
}

TEST_F(MainTimerTest, ARingAsksForTheCallerWhoseNumberAndNameAreShown)
{
    m_records.phonebook["5551234"] = "Alice";
    Dispatch("", Ring);
    EXPECT_TRUE(m_state.CallIncoming);
    EXPECT_EQ(m_state.RingCountdown, 40);
    EXPECT_EQ(QueuedCommands(), (std::vector<std::string>{"AT+CLCC\r"}));
    Dispatch("", Ring);
    EXPECT_TRUE(QueuedCommands().empty()) << "asked once per call";

    Dispatch("AT+CLCC\r", "\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n" + Ok);
    EXPECT_EQ(m_view.display, "5551234");
    EXPECT_EQ(m_view.callerName, "Alice");
    EXPECT_EQ(m_state.NameListNumbers, (std::vector<std::string>{"5551234"}));
    EXPECT_EQ(m_view.Title(), "Call Incoming.");
    EXPECT_TRUE(m_view.callTimer);

    Dispatch("AT+CLCC\r", Ok);
    EXPECT_EQ(m_view.display, "Anonymous");
    EXPECT_EQ(m_state.NameListNumbers, (std::vector<std::string>{"Anonymous"}));
}

TEST_F(MainTimerTest, ARingingCallLeftUnansweredForFortyTicksIsMissedOnce)
{
    m_view.display = "5551234";
    Dispatch("", Ring);
    m_state.CallSeconds = 9;
    Ticks(39);
    EXPECT_TRUE(m_state.CallIncoming);
    EXPECT_EQ(m_view.caption, "Answer");
    EXPECT_TRUE(m_view.looping_) << "the ring tone loops while it rings";
    Ticks(1);
    EXPECT_FALSE(m_state.CallIncoming);
    EXPECT_EQ(m_view.Title(), "Call Missed");
    EXPECT_FALSE(m_view.looping_);
    Ticks(80);
    EXPECT_EQ(m_records.calls, (std::vector<LoggedCall>{{TCallLog::Missed, "5551234", 9}}));
    EXPECT_EQ(m_view.caption, "Call");
    EXPECT_TRUE(m_view.ButtonEnabled(TCallButton::Call));
}

TEST_F(MainTimerTest, FeatureCodeResultsEndTheServiceRequest)
{
    m_state.ServiceRequestPending = true;
    Dispatch("AT+CDV*74\r", Ok);
    EXPECT_FALSE(m_state.ServiceRequestPending);
    EXPECT_EQ(QueuedCommands(), (std::vector<std::string>{HangUp}));
    EXPECT_EQ(m_view.serviceWaitsEnded, 1);
    EXPECT_FALSE(m_state.CallConnected);

    m_state.ServiceRequestPending = true;
    Dispatch("AT+CDV*730\r", Error);
    EXPECT_FALSE(m_state.ServiceRequestPending);
    EXPECT_EQ(m_view.serviceWaitsEnded, 2);
    EXPECT_TRUE(m_view.titles.empty());
}

TEST_F(MainTimerTest, ANewMessageIsStoredAsReceived)
{
    const std::string message = "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\",9\r\nTwo\r\nline\r\n";
    m_state.CallOutgoing = true;
    Dispatch("", message);
    EXPECT_EQ(m_records.newMessages, (std::vector<std::string>{message}));
    EXPECT_EQ(m_view.newMessageMarks, 1);
    EXPECT_EQ(m_view.tones, (std::vector<TTone>{TTone::Sms}));
    EXPECT_FALSE(m_view.looping_);
}

TEST_F(MainTimerTest, TheSignalPollRunsEveryTwentyOneTicksWhenAllowedAndNoCallIsActive)
{
    m_state.CsqTickCounter = 0;
    m_state.SignalPollAllowed = true;
    Ticks(20);
    EXPECT_TRUE(QueuedCommands().empty());
    Ticks(1);
    EXPECT_EQ(QueuedCommands(), (std::vector<std::string>{Csq}));
    Ticks(21);
    EXPECT_EQ(QueuedCommands().size(), 1u);

    m_state.CallOutgoing = true;
    Ticks(42);
    EXPECT_TRUE(QueuedCommands().empty());
    m_state.CallOutgoing = false;
    m_state.SignalPollAllowed = false;
    Ticks(42);
    EXPECT_TRUE(QueuedCommands().empty());
}

TEST_F(MainTimerTest, ATimedOutRecordIsHandedOverAndLeftForTheEngine)
{
    Dispatch(Dial, Dial, ckTimedOut);
    ASSERT_EQ(m_timedOut.size(), 1u);
    EXPECT_EQ(m_timedOut[0].Cmd, Dial);
}

TEST_F(MainTimerTest, TheModemIsReadyOnceItHasAnsweredTheEchoOff)
{
    m_view.status[0] = "Initializing USB Modem...";
    Dispatch("ATE0\r\n", "ATE0\r\n", ckTimedOut);
    EXPECT_EQ(m_view.status[0], "Initializing USB Modem...") << "no answer, not ready";
    Dispatch(Csq, Signal("20,"));
    EXPECT_EQ(m_view.status[0], "Initializing USB Modem...");
    Dispatch("ATE0\r\n", "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(m_view.status[0], ModemReadyText);
}

// The SMS pump.

class SmsPumpTest : public MainTimerTest {
protected:
    SmsPumpTest() { m_state.Registered = true; }

    // One tick; the SMS command it queued, or "".
    std::string TickForSms()
    {
        m_timer.Tick();
        for (const std::string& cmd : QueuedCommands())
            if (cmd.rfind("AT$QCMGS", 0) == 0)
                return cmd;
        return {};
    }
};

TEST_F(SmsPumpTest, ABatchOfThreeGoesOneAfterEachResultAndEndsOnce)
{
    m_state.SmsQueue = {"5550001*Ann*Hi", "5550002*Bob*Hi", "5550003*5550003*Hi"};
    EXPECT_EQ(TickForSms(), "AT$QCMGS=\"5550001\"\rHi\x1A");
    EXPECT_EQ(m_view.status[1], "Sending SMS...");
    EXPECT_EQ(TickForSms(), "") << "the next waits for the result";
    Dispatch("", Confirmed);
    EXPECT_EQ(TickForSms(), "AT$QCMGS=\"5550002\"\rHi\x1A");
    Dispatch("", Confirmed);
    EXPECT_EQ(TickForSms(), "AT$QCMGS=\"5550003\"\rHi\x1A");
    Dispatch("", Confirmed);
    EXPECT_EQ(TickForSms(), "");
    EXPECT_EQ(m_view.status[1], "Complete sending SMS.");
    ASSERT_EQ(m_records.smsResults.size(), 3u);
    for (const StoredSms& stored : m_records.smsResults)
        EXPECT_EQ(stored.box, TSmsBox::Sent);
    EXPECT_EQ(m_records.smsResults[1].item, (TSmsItem{"5550002", "Bob", "Hi"}));
    EXPECT_TRUE(m_state.SignalPollAllowed);

    m_view.status[1] = "other";
    Ticks(3);
    EXPECT_EQ(m_view.status[1], "other") << "the end of a batch is told once";
}

TEST_F(SmsPumpTest, ARefusedMessageIsSentAgainAFewTimesThenCountedAsFailed)
{
    const std::string send = "AT$QCMGS=\"5550001\"\rHi\x1A";
    m_state.SmsQueue = {"5550001*Ann*Hi"};
    EXPECT_EQ(TickForSms(), send);
    Dispatch(send, Error);
    EXPECT_EQ(TickForSms(), send);
    Dispatch(send, Error);
    EXPECT_EQ(TickForSms(), send);
    Dispatch(send, Error);
    EXPECT_EQ(m_view.status[1], "Fail sending to Ann");
    EXPECT_EQ(m_records.smsResults, (std::vector<StoredSms>{{TSmsBox::Outbox, {"5550001", "Ann", "Hi"}}}));
    EXPECT_EQ(TickForSms(), "");
    EXPECT_EQ(m_view.status[1], "Complete sending SMS. 1 failed.");
}

TEST_F(SmsPumpTest, FailuresGoToTheOutboxAndTheBatchGoesOn)
{
    m_state.SmsQueue = {"5550001*Ann*a*b", "5550002*Bob*c", "NULL*NULL*d", "5550004*Dan*e"};
    const std::string first = TickForSms();
    Dispatch(first, PromptThenError);
    EXPECT_EQ(m_view.status[1], "Fail sending to Ann");
    (void)TickForSms();
    Dispatch("", CmsError);
    EXPECT_EQ(TickForSms(), "") << "an item that can never be sent fails at once";
    EXPECT_EQ(m_view.status[1], "Fail sending to NULL");
    EXPECT_EQ(TickForSms(), "AT$QCMGS=\"5550004\"\re\x1A");
    Dispatch("", Confirmed);
    (void)TickForSms();
    EXPECT_EQ(m_view.status[1], "Complete sending SMS. 3 failed.");
    EXPECT_EQ(m_records.smsResults, (std::vector<StoredSms>{{TSmsBox::Outbox, {"5550001", "Ann", "a*b"}},
                                                            {TSmsBox::Outbox, {"5550002", "Bob", "c"}},
                                                            {TSmsBox::Outbox, {"NULL", "NULL", "d"}},
                                                            {TSmsBox::Sent, {"5550004", "Dan", "e"}}}));
}

TEST_F(SmsPumpTest, NothingIsSentDuringACallOrBeforeTheNetworkIsRegistered)
{
    m_state.SmsQueue = {"5550001*Ann*Hi"};
    m_state.CallIncoming = true;
    EXPECT_EQ(TickForSms(), "");
    m_state.CallIncoming = false;
    EXPECT_NE(TickForSms(), "") << "it goes once the call has ended";

    m_state = TApplicationState();
    m_state.SmsQueue = {"5550001*Ann*Hi"};
    EXPECT_EQ(TickForSms(), "");
    EXPECT_EQ(m_view.status[1], RegisteringText);
}

TEST_F(SmsPumpTest, ABatchWithoutProgressIsGivenUpIntoTheOutboxAndLateResultsAreNotMisbooked)
{
    m_state.SmsQueue = {"5550001*Ann*Hi", "5550002*Bob*Yo"};
    EXPECT_NE(TickForSms(), "");
    Ticks(480);
    EXPECT_EQ(m_state.SmsQueue.size(), 2u);
    Ticks(1);
    EXPECT_TRUE(m_state.SmsQueue.empty());
    EXPECT_EQ(m_view.status[1], "Network busy.Please try later.");
    EXPECT_EQ(m_records.smsResults, (std::vector<StoredSms>{{TSmsBox::Outbox, {"5550001", "Ann", "Hi"}},
                                                            {TSmsBox::Outbox, {"5550002", "Bob", "Yo"}}}));

    // The late confirmation of Ann's message must not book the next batch's first item as sent.
    m_state.SmsQueue = {"5550009*Eve*New"};
    Dispatch("", Confirmed);
    EXPECT_EQ(m_state.SmsQueue.size(), 1u);
    EXPECT_EQ(TickForSms(), "AT$QCMGS=\"5550009\"\rNew\x1A");
}

} // namespace
