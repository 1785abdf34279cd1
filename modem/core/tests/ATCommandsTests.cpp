#include "modem/core/ATCommands.h"
#include "modem/core/SmsText.h"

#include "modem/core/ApplicationState.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class ATCommandsTest : public ::testing::Test {
protected:
    ATCommandsTest() { InitializeCriticalSection(&m_lock); }
    ~ATCommandsTest() override { DeleteCriticalSection(&m_lock); }

    std::vector<TCommand> Drain()
    {
        std::vector<TCommand> records;
        while (!m_queue.IsEmpty()) {
            records.push_back(m_queue.Head());
            (void)m_queue.Remove(0);
        }
        return records;
    }

    CRITICAL_SECTION m_lock;
    TBuffer m_queue{10, m_lock};
    TApplicationState m_state;
};

struct Golden {
    const char* sender;
    std::function<void(TBuffer&)> send;
    std::string cmd;
    bool dataIsCmd;
};

TEST_F(ATCommandsTest, EverySenderQueuesItsExactText)
{
    const std::vector<Golden> table = {
        {"SendATE0", [](TBuffer& q) { SendATE0(q); }, "ATE0\r\n", true},
        {"SendCSQ", [](TBuffer& q) { SendCSQ(q); }, "AT+CSQ\r\n", true},
        {"routing", [](TBuffer& q) { SendNewMessageRouting(q); }, "AT$QCNMI=1,2,0\r\n", false},
        {"SendATD", [](TBuffer& q) { (void)SendATD(q, "5551234"); }, "AT+CDV5551234\r", true},
        {"SendATD empty", [](TBuffer& q) { (void)SendATD(q, ""); }, "AT+CDV\r", true},
        {"SendATD data", [](TBuffer& q) { (void)SendATD(q, "#777"); }, "AT+CDV#777\r", true},
        {"SendATA", [](TBuffer& q) { SendATA(q); }, "AT$QCCAV\r\n", true},
        {"SendATH", [](TBuffer& q) { SendATH(q); }, "AT$QCCHV\r", true},
        {"SendCallerID", [](TBuffer& q) { SendCallerID(q); }, "AT+CLCC\r", true},
        {"SendVolume 0", [](TBuffer& q) { (void)SendVolume(q, "0"); }, "AT+CLVL=0\r", true},
        {"SendVolume 6", [](TBuffer& q) { (void)SendVolume(q, "6"); }, "AT+CLVL=6\r", true},
        {"SendVolume 12", [](TBuffer& q) { (void)SendVolume(q, "12"); }, "AT+CLVL=12\r", true},
        {"SendVolume 18", [](TBuffer& q) { (void)SendVolume(q, "18"); }, "AT+CLVL=18\r", true},
        {"SendVolume 24", [](TBuffer& q) { (void)SendVolume(q, "24"); }, "AT+CLVL=24\r", true},
        {"SendMute on", [](TBuffer& q) { SendMute(q, true); }, "AT+CMUT=1\r", true},
        {"SendMute off", [](TBuffer& q) { SendMute(q, false); }, "AT+CMUT=0\r", true},
        {"SendSMS", [](TBuffer& q) { (void)SendSMS(q, "5551234", "Hello"); }, "AT$QCMGS=\"5551234\"\rHello\x1A", true},
        {"SendSMS empty", [](TBuffer& q) { (void)SendSMS(q, "5551234", ""); }, "AT$QCMGS=\"5551234\"\r\x1A", true},
        {"SendSMS cleaned", [](TBuffer& q) { (void)SendSMS(q, "1", "a\x1A" "b\x1B" "c\r\nd"); }, "AT$QCMGS=\"1\"\rabcd\x1A", true},
        {"waiting on", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::CallWaitingOn); }, "AT+CDV*74\r", true},
        {"waiting off", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::CallWaitingOff); }, "AT+CDV*740\r", true},
        {"forward all", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardAll, "5550001"); }, "AT+CDV*725550001\r", true},
        {"forward busy", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardBusy, "5550002"); }, "AT+CDV*905550002\r", true},
        {"forward no answer", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardNoAnswer, "5550003"); }, "AT+CDV*925550003\r", true},
        {"forward no response", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardNoResponse, "5550004"); }, "AT+CDV*685550004\r", true},
        {"forward all off", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardAllOff); }, "AT+CDV*720\r", true},
        {"forward busy off", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardBusyOff); }, "AT+CDV*900\r", true},
        {"forward no answer off", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardNoAnswerOff); }, "AT+CDV*920\r", true},
        {"forward no response off", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::ForwardNoResponseOff); }, "AT+CDV*680\r", true},
        {"cancel all", [](TBuffer& q) { (void)SendFeatureCode(q, TFeatureCode::CancelAllForwarding); }, "AT+CDV*730\r", true},
        {"SendMin", [](TBuffer& q) { (void)SendMin(q, "1234567890"); }, "AT+WMIN=1234567890\r\n", false},
    };
    for (const Golden& golden : table) {
        golden.send(m_queue);
        const std::vector<TCommand> queued = Drain();
        ASSERT_EQ(queued.size(), 1u) << golden.sender;
        EXPECT_EQ(queued[0].Cmd, golden.cmd) << golden.sender;
        EXPECT_EQ(queued[0].Data, golden.dataIsCmd ? golden.cmd : "") << golden.sender;
        EXPECT_EQ(queued[0].Kind, ckAnswered) << golden.sender;
    }
}

TEST_F(ATCommandsTest, InitialModemQueuesEchoOffWithEmptyDataAndMarksTheModemInitialised)
{
    m_state.ModemState = msPortOpened;
    InitialModem(m_queue, m_state);
    EXPECT_EQ(m_state.ModemState, msInitialised);
    const std::vector<TCommand> queued = Drain();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].Cmd, "ATE0\r\n");
    EXPECT_EQ(queued[0].Data, "");
}

TEST_F(ATCommandsTest, EveryDtmfKeyHasItsTextAndOtherCharactersQueueNothing)
{
    for (const char key : std::string("0123456789*#")) {
        EXPECT_TRUE(SendDTMF(m_queue, key)) << key;
        const std::vector<TCommand> queued = Drain();
        ASSERT_EQ(queued.size(), 1u);
        EXPECT_EQ(queued[0].Cmd, std::string("AT+VTS=") + key + "\r");
    }
    for (const char key : std::string("aA+ \r\x1A")) {
        EXPECT_FALSE(SendDTMF(m_queue, key)) << int(key);
        EXPECT_TRUE(m_queue.IsEmpty());
    }
}

TEST_F(ATCommandsTest, NumbersThatWouldBreakTheCommandAreRefused)
{
    for (const char* number : {"555\"1", "555\r", "555;ATH", "12\x1A", "NULL", "Anonymous",
                               "12345678901234567890123456789012345678901"}) {
        EXPECT_FALSE(IsDialString(number)) << number;
        EXPECT_FALSE(SendATD(m_queue, number)) << number;
        EXPECT_FALSE(SendSMS(m_queue, number, "hi")) << number;
        EXPECT_FALSE(SendFeatureCode(m_queue, TFeatureCode::ForwardAll, number)) << number;
    }
    EXPECT_FALSE(SendVolume(m_queue, "7"));
    EXPECT_FALSE(SendMin(m_queue, "12a"));
    EXPECT_FALSE(SendMin(m_queue, ""));
    EXPECT_FALSE(SendMin(m_queue, "12345678901"));
    EXPECT_TRUE(m_queue.IsEmpty());
    EXPECT_TRUE(IsDialString("+1*72#0"));
}

TEST_F(ATCommandsTest, SendSmsReportsAFullQueueAndATextThatCannotFit)
{
    const std::string longest(TBuffer::MaxCmdLength - std::string("AT$QCMGS=\"1\"\r\x1A").size(), 'x');
    EXPECT_TRUE(CanSendSms("1", longest));
    EXPECT_FALSE(CanSendSms("1", longest + "x"));
    EXPECT_FALSE(SendSMS(m_queue, "1", longest + "x"));
    EXPECT_TRUE(m_queue.IsEmpty());
    // A full message of the widest characters.
    std::string emoji;
    for (std::size_t n = 0; n < SmsTextLimit; ++n)
        emoji += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(CanSendSms("+123456789012345", emoji));

    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(SendSMS(m_queue, "1", "x"));
    EXPECT_FALSE(SendSMS(m_queue, "1", "x"));
    EXPECT_EQ(m_queue.Count(), 10);
}

} // namespace
