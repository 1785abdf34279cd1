#include "tools/fakemodem/lib/ModemBehaviour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The replies a block of host bytes produced, concatenated.
std::string Replies(const ModemEvents& events)
{
    std::string bytes;
    for (const auto& event : events)
        if (event.kind == ModemEvent::Kind::Reply)
            bytes += event.bytes;
    return bytes;
}

// A modem with echo off, as the manager leaves it after its first command, on a clock the test
// moves.
class Modem : public ::testing::Test {
protected:
    Modem()
    {
        Send("ATE0\r\n");
        m_events.clear();
    }

    std::string Send(std::string_view bytes)
    {
        m_events.clear();
        m_modem.Receive(bytes, m_now, m_events);
        return Replies(m_events);
    }

    std::string Advance(std::chrono::milliseconds by)
    {
        m_now += by;
        m_events.clear();
        m_modem.RunDue(m_now, m_events);
        return Replies(m_events);
    }

    ModemBehaviour m_modem;
    ModemClock::time_point m_now{};
    ModemEvents m_events;
};

// The manager's receive path writes CR as "*" and LF as "#" and reads fixed positions.
std::string AsReceived(std::string bytes)
{
    for (char& c : bytes)
        c = c == '\r' ? '*' : c == '\n' ? '#' : c;
    return bytes;
}

TEST_F(Modem, AnswersEachCommandWithItsBytes)
{
    struct Case {
        const char* command;
        const char* reply;
    };
    const Case cases[] = {
        {"AT\r", "\r\nOK\r\n"},
        {"AT+CSQ\r\n", "\r\n21,99\r\n\r\nOK\r\n"},
        {"AT$QCNMI=1,2,0\r\n", "\r\nOK\r\n"},
        {"AT+CLCC\r", "\r\nOK\r\n"},
        {"AT$QCCHV\r", "\r\nOK\r\n"},
        {"AT$QCCAV\r\n", "\r\nERROR\r\n"}, // nothing rings
        {"AT+VTS=5\r", "\r\nOK\r\n"},
        {"AT+VTS=#\r", "\r\nOK\r\n"},
        {"AT+VTS=A\r", "\r\nERROR\r\n"},
        {"AT+CLVL=24\r", "\r\nOK\r\n"},
        {"AT+CLVL=x\r", "\r\nERROR\r\n"},
        {"AT+CMUT=1\r", "\r\nOK\r\n"},
        {"AT+CMUT=2\r", "\r\nERROR\r\n"},
        {"AT+WMIN=1234567890\r\n", "\r\nOK\r\n"},
        {"AT+WMIN=12345678901\r\n", "\r\nERROR\r\n"},
        {"AT+WMIN=\r\n", "\r\nERROR\r\n"},
        {"AT$QCMGS=\"5551234\"\r", "\r\n> "},
        {"\x1b", "\r\nOK\r\n"}, // Esc leaves the SMS text unsent
        {"AT$QCMGS=5551234\r", "\r\nERROR\r\n"},
        {"AT+CDV\r", "\r\nERROR\r\n"},
        {"AT+XYZ\r", "\r\nERROR\r\n"},
        {"ATI\r", "\r\nERROR\r\n"},
        {"ATD\r", "\r\nERROR\r\n"}, // a data call needs a number
        {"hello\r", ""}, // no "AT": line noise, no answer
        {"~\x7f\x03" "AT+CSQ\r", "\r\n21,99\r\n\r\nOK\r\n"}, // noise before "AT" is passed over
        {"xat\r", "\r\nOK\r\n"},
        {"\r\n\r\n", ""},
        {"ATE1\r", "\r\nOK\r\n"},
        {"AT+CSQ\r", "AT+CSQ\r\r\n21,99\r\n\r\nOK\r\n"}, // echoed now
        {"++AT\r", "++AT\r\r\nOK\r\n"},                   // the echo is of every byte received
        {"ATE0\r\n", "ATE0\r\r\nOK\r\n"},                 // the echo-off command itself is still echoed
        {"AT+CSQ\r", "\r\n21,99\r\n\r\nOK\r\n"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Send(test.command), test.reply) << test.command;
}

TEST_F(Modem, ACommandWrittenOneByteAtATimeIsAnsweredOnceAtItsCarriageReturn)
{
    const std::string command = "AT+CSQ\r\n";
    std::string replies;
    for (const char byte : command)
        replies += Send(std::string(1, byte));
    EXPECT_EQ(replies, "\r\n21,99\r\n\r\nOK\r\n");
}

TEST_F(Modem, AnOverlongLineIsAnsweredWithErrorAndForgotten)
{
    EXPECT_EQ(Send("AT+CSQ" + std::string(MaxCommandLength, '9')), "");
    EXPECT_EQ(Send("\r"), "\r\nERROR\r\n");
    EXPECT_EQ(Send("AT\r"), "\r\nOK\r\n");
}

TEST_F(Modem, RepliesCarryTheCharactersTheManagerLooksFor)
{
    struct Case {
        std::string reply;
        std::vector<std::pair<std::size_t, char>> expected; // 0-based position in the received text
    };
    const Case cases[] = {
        {ModemReplies::Ok(), {{2, 'O'}, {3, 'K'}}},
        {ModemReplies::Error(), {{2, 'E'}, {3, 'R'}}},
        {ModemReplies::NoCarrier(), {{2, 'N'}, {5, 'C'}}},
        {ModemReplies::Ring(), {{2, 'R'}, {3, 'I'}}},
        {ModemReplies::SignalQuality(7), {{2, '7'}, {3, ','}}},
        {ModemReplies::SignalQuality(25), {{2, '2'}, {3, '5'}}},
        {ModemReplies::SignalQuality(99), {{2, '9'}, {3, '9'}}},
        {ModemReplies::NewSms("5551234", "Hi", "24/05/01,12:34:56+00"), {{2, '$'}, {6, 'T'}}},
        {ModemReplies::CmsError(500), {{7, 'E'}, {14, '5'}}},
        {ModemReplies::SmsConfirmation(3), {{6, 'G'}, {7, 'S'}}},
        {ModemReplies::SmsPromptThenError(512), {{2, '>'}, {13, 'E'}}},
    };
    for (const auto& test : cases) {
        const std::string received = AsReceived(test.reply);
        for (const auto& [position, character] : test.expected) {
            ASSERT_LT(position, received.size()) << received;
            EXPECT_EQ(received[position], character) << received << " at " << position;
        }
    }
}

TEST(NewSmsNotice, ReadsBackAsTheManagerSplitsIt)
{
    // The manager's reading, 1-based on the received text: the number from three after the first
    // quote at 12 or later up to the next quote q; the date from q + 3; the length from q + 25 up
    // to the next "*"; the text two after that "*".
    struct Case {
        std::string number;
        std::string text;
    };
    const Case cases[] = {{"5551234", "Hello"}, {"+8613912345678", "a*b#c with stars"}, {"", "anonymous"}, {"1", ""}};
    for (const auto& test : cases) {
        const std::string received = AsReceived(ModemReplies::NewSms(test.number, test.text, "24/05/01,12:34:56+00"));
        const std::size_t p = received.find('"', 11);                // 0-based index of 1-based position >= 12
        ASSERT_NE(p, std::string::npos);
        const std::size_t q = received.find('"', p + 3);
        ASSERT_NE(q, std::string::npos) << received;
        EXPECT_EQ(received.substr(p + 3, q - p - 3), test.number) << received;
        EXPECT_EQ(received.substr(q + 3, 2) + received.substr(q + 6, 2) + received.substr(q + 9, 2) +
                      received.substr(q + 12, 2) + received.substr(q + 15, 2) + received.substr(q + 18, 2),
                  "240501123456");
        const std::size_t star = received.find('*', q + 25);
        const int length = std::stoi(received.substr(q + 25, star - q - 25));
        EXPECT_EQ(received.substr(star + 2, static_cast<std::size_t>(length)), AsReceived(test.text));
    }
}

TEST_F(Modem, ADialledCallEndsAsTheFarEndIsSet)
{
    struct Case {
        DialOutcome outcome;
        std::string result;
        CallState after;
    };
    const Case cases[] = {
        {DialOutcome::Answer, "\r\nOK\r\n", CallState::Active},
        {DialOutcome::Busy, "\r\nNO CARRIER\r\n", CallState::Idle},
        {DialOutcome::NoAnswer, "\r\nNO CARRIER\r\n", CallState::Idle},
        {DialOutcome::Error, "\r\nERROR\r\n", CallState::Idle},
    };
    for (const auto& test : cases) {
        m_modem.Settings().dialOutcome = test.outcome;
        m_modem.Settings().dialDelay = 2s;
        EXPECT_EQ(Send("AT+CDV5551234\r"), "");
        EXPECT_EQ(m_modem.Status().call, CallState::Dialling);
        EXPECT_EQ(Send("AT+CLCC\r"), "\r\n+CLCC: 1,0,2,0,0,\"5551234\",129\r\n\r\nOK\r\n");
        EXPECT_EQ(Advance(1999ms), "");
        EXPECT_EQ(Advance(1ms), test.result);
        EXPECT_EQ(m_modem.Status().call, test.after);
        EXPECT_EQ(Send("AT$QCCHV\r"), "\r\nOK\r\n");
    }
}

TEST_F(Modem, ADataCallConnectsLikeAModemForAChatScript)
{
    struct Case {
        const char* dial;
        DialOutcome outcome;
        std::string result;
        bool connected;
    };
    const Case cases[] = {
        {"ATDT#777\r", DialOutcome::Answer, "\r\nCONNECT\r\n", true},
        {"ATD#777\r", DialOutcome::Answer, "\r\nCONNECT\r\n", true},
        {"atdp*99#\r", DialOutcome::Answer, "\r\nCONNECT\r\n", true},
        {"ATDT#777\r", DialOutcome::Busy, "\r\nNO CARRIER\r\n", false},
        {"ATDT#777\r", DialOutcome::Error, "\r\nERROR\r\n", false},
    };
    for (const auto& test : cases) {
        m_modem.Settings().dialOutcome = test.outcome;
        m_modem.Settings().dialDelay = 1s;
        EXPECT_EQ(Send("AT\r"), "\r\nOK\r\n") << test.dial;
        EXPECT_EQ(Send(test.dial), "") << test.dial;
        EXPECT_EQ(m_modem.Status().call, CallState::Dialling) << test.dial;
        EXPECT_EQ(Advance(1s), test.result) << test.dial;
        EXPECT_EQ(m_modem.Status().dataMode, test.connected) << test.dial;
        if (test.connected) {
            EXPECT_EQ(Send("+++"), "\r\nOK\r\n") << test.dial;
            EXPECT_EQ(Send("ATH\r"), "\r\nOK\r\n") << test.dial;
        }
        EXPECT_EQ(m_modem.Status().call, CallState::Idle) << test.dial;
        // A feature code is a voice-call matter: dialling *99# for data switches nothing.
        EXPECT_FALSE(m_modem.Status().callWaiting) << test.dial;
    }
}

TEST_F(Modem, InDataModeTheHostsBytesAreCarriedNotReadAsCommands)
{
    m_modem.Settings().dialDelay = 10ms;
    EXPECT_EQ(Send("ATDT#777\r"), "");
    EXPECT_EQ(Advance(10ms), "\r\nCONNECT\r\n");
    // A PPP frame that happens to hold "AT" and a carriage return gets no answer.
    const std::string frame = "\x7e\xff\x7d\x23" "AT+CSQ\r\x7e";
    EXPECT_EQ(Send(frame), "");
    EXPECT_EQ(Send("+++ATH\r"), ""); // the escape only stands alone in a burst
    EXPECT_EQ(m_modem.Status().dataBytes, frame.size() + 7);
    ASSERT_EQ(m_events.size(), 1u);
    EXPECT_EQ(m_events[0].kind, ModemEvent::Kind::Data);

    // The far end hangs up: NO CARRIER, and commands are read again.
    m_events.clear();
    m_modem.DropCall(m_events);
    EXPECT_EQ(Replies(m_events), "\r\nNO CARRIER\r\n");
    EXPECT_FALSE(m_modem.Status().dataMode);
    EXPECT_EQ(Send("AT\r"), "\r\nOK\r\n");
    EXPECT_EQ(m_modem.Status().dataBytes, frame.size() + 7);
}

TEST_F(Modem, HangingUpWhileDiallingCancelsTheResult)
{
    m_modem.Settings().dialDelay = 1s;
    EXPECT_EQ(Send("AT+CDV5551234\r"), "");
    EXPECT_EQ(Send("AT+CDV5559999\r"), "\r\nERROR\r\n"); // one call at a time
    EXPECT_EQ(Send("AT$QCCHV\r"), "\r\nOK\r\n");
    EXPECT_EQ(Advance(5s), "");
    EXPECT_FALSE(m_modem.NextDue());
}

TEST_F(Modem, ASilentFarEndNeverAnswers)
{
    m_modem.Settings().dialOutcome = DialOutcome::Silent;
    EXPECT_EQ(Send("AT+CDV5551234\r"), "");
    EXPECT_FALSE(m_modem.NextDue());
    EXPECT_EQ(m_modem.Status().call, CallState::Dialling);
}

TEST_F(Modem, AnIncomingCallRingsIsListedAndAnswered)
{
    m_modem.Settings().ringInterval = 3s;
    m_events.clear();
    m_modem.Ring("5551234", m_now, m_events);
    EXPECT_EQ(Replies(m_events), "\r\nRING\r\n");
    EXPECT_EQ(Send("AT+CLCC\r"), "\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(Advance(3s), "\r\nRING\r\n");
    EXPECT_EQ(Advance(3s), "\r\nRING\r\n");
    EXPECT_EQ(Send("AT$QCCAV\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Advance(10s), ""); // no more RING once answered
    EXPECT_EQ(Send("AT+CLCC\r"), "\r\n+CLCC: 1,1,0,0,0,\"5551234\",129\r\n\r\nOK\r\n");
    m_events.clear();
    m_modem.DropCall(m_events);
    EXPECT_EQ(Replies(m_events), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(Send("AT+CLCC\r"), "\r\nOK\r\n");
}

TEST_F(Modem, AnAnonymousCallerIsListedWithEmptyQuotes)
{
    m_modem.Ring("", m_now, m_events);
    EXPECT_EQ(Send("AT+CLCC\r"), "\r\n+CLCC: 1,1,4,0,0,\"\",129\r\n\r\nOK\r\n");
}

TEST_F(Modem, AnSmsSendEndsAsSet)
{
    struct Case {
        SmsOutcome outcome;
        std::string onCommand;
        std::string afterText;
        bool stored;
    };
    const Case cases[] = {
        {SmsOutcome::Sent, "\r\n> ", "\r\n$QCMGS: 1\r\n\r\nOK\r\n", true},
        {SmsOutcome::CmsError, "\r\n> ", "\r\n+CMS ERROR: 512\r\n", false},
        {SmsOutcome::PromptThenError, "", "\r\n> \r\n\r\n+CMS ERROR: 512\r\n", false},
        {SmsOutcome::NoConfirmation, "\r\n> ", "", true},
        {SmsOutcome::Refused, "\r\nERROR\r\n", "", false},
    };
    for (const auto& test : cases) {
        ModemBehaviour modem;
        modem.Settings().smsOutcome = test.outcome;
        modem.Settings().cmsErrorCode = 512;
        m_events.clear();
        modem.Receive("ATE0\r\n", m_now, m_events);
        m_events.clear();
        // The manager's split write: the command line, a pause, the text and Ctrl-Z.
        modem.Receive("AT$QCMGS=\"5551234\"\r", m_now, m_events);
        EXPECT_EQ(Replies(m_events), test.onCommand);
        m_events.clear();
        modem.Receive("Hello there\x1a", m_now, m_events);
        modem.RunDue(m_now + 1s, m_events);
        EXPECT_EQ(Replies(m_events), test.afterText);
        EXPECT_EQ(modem.Status().sentMessages.size(), test.stored ? 1u : 0u);
        m_events.clear();
        modem.Receive("AT\r", m_now + 1s, m_events); // back in command mode, the text forgotten
        EXPECT_EQ(Replies(m_events), "\r\nOK\r\n");
    }
}

TEST_F(Modem, ALateConfirmationFollowsOnRequest)
{
    m_modem.Settings().smsOutcome = SmsOutcome::NoConfirmation;
    Send("AT$QCMGS=\"5551234\"\rlate one\x1a");
    EXPECT_EQ(Advance(1min), "");
    m_events.clear();
    m_modem.ConfirmSmsLate(m_events);
    EXPECT_EQ(Replies(m_events), "\r\n$QCMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(m_modem.Status().sentMessages, (std::vector<SentSms>{{"5551234", "late one"}}));
}

TEST_F(Modem, FeatureCodesSwitchTheServicesAndConnectLikeACall)
{
    struct Case {
        const char* code;
        bool callWaiting;
        std::array<std::string, 4> forwarding;
    };
    const Case cases[] = {
        {"*74", true, {}},
        {"*740", false, {}},
        {"*725551234", false, {"5551234", "", "", ""}},
        {"*905550000", false, {"5551234", "5550000", "", ""}},
        {"*920", false, {"5551234", "5550000", "", ""}},
        {"*685557777", false, {"5551234", "5550000", "", "5557777"}},
        {"*720", false, {"", "5550000", "", "5557777"}},
        {"*730", false, {}},
    };
    m_modem.Settings().dialDelay = 100ms;
    for (const auto& test : cases) {
        EXPECT_EQ(Send(std::string("AT+CDV") + test.code + "\r"), "") << test.code;
        EXPECT_EQ(Advance(100ms), "\r\nOK\r\n") << test.code;
        EXPECT_EQ(Send("AT$QCCHV\r"), "\r\nOK\r\n");
        EXPECT_EQ(m_modem.Status().callWaiting, test.callWaiting) << test.code;
        EXPECT_EQ(m_modem.Status().forwarding, test.forwarding) << test.code;
    }
}

TEST_F(Modem, ARefusedSmsTextIsNotTakenForACommand)
{
    m_modem.Settings().smsOutcome = SmsOutcome::Refused;
    EXPECT_EQ(Send("AT$QCMGS=\"5551234\"\r"), "\r\nERROR\r\n");
    EXPECT_EQ(Send("AT+CSQ is what this text says\x1a"), "");
    EXPECT_EQ(Send("AT\r"), "\r\nOK\r\n");
}

TEST_F(Modem, AnOverriddenCommandGetsTheScriptedReplyOrSilence)
{
    m_modem.OverrideReply("AT+CSQ", "\r\n+CSQ: 21,99\r\n\r\nOK\r\n");
    m_modem.OverrideReply("AT$QCCHV", "");
    EXPECT_EQ(Send("AT+CSQ\r\n"), "\r\n+CSQ: 21,99\r\n\r\nOK\r\n");
    EXPECT_EQ(Send("AT$QCCHV\r"), "");
    m_modem.ClearOverrides();
    EXPECT_EQ(Send("AT+CSQ\r\n"), "\r\n21,99\r\n\r\nOK\r\n");
}

TEST_F(Modem, PowerCyclingDropsTheCallAndTurnsEchoBackOn)
{
    m_modem.Settings().ringInterval = 1s;
    m_modem.Ring("5551234", m_now, m_events);
    Send("AT$QCMGS=\"1\"\rhalf a text");
    m_modem.PowerCycle();
    EXPECT_EQ(m_modem.Status().call, CallState::Idle);
    EXPECT_FALSE(m_modem.NextDue());
    EXPECT_EQ(Send("AT\r"), "AT\r\r\nOK\r\n");
}

} // namespace
