#include "modem/core/ReceivePath.h"

#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Codes = std::vector<std::string>;

const std::string Ok = "\r\nOK\r\n";
const std::string Ring = "\r\nRING\r\n";
const std::string NoCarrier = "\r\nNO CARRIER\r\n";
const std::string Signal = "\r\n21,99\r\n" + Ok;
const std::string Confirmed = "\r\n$QCMGS: 4\r\n" + Ok;
const std::string CmsError = "\r\n+CMS ERROR: 500\r\n";
const std::string Prompt = "\r\n> ";

// A new message's header line announcing `length` bytes of text ("99", "abc", ...).
std::string Header(const std::string& length)
{
    return "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\"," + length + "\r\n";
}

std::string NewMessage(const std::string& text)
{
    return Header(std::to_string(text.size())) + text + "\r\n";
}

TEST(ReceivePath, ReceivedBytesSplitWhereACodeBeginsAndAMessageEnds)
{
    struct Case {
        const char* what;
        std::string received;
        Codes codes;
        std::string incomplete;
    };
    const std::string longText(1200, 'x');
    const std::vector<Case> table = {
        {"a plain answer", Ok, {Ok}, ""},
        {"an answer of two lines", Signal, {Signal}, ""},
        {"answer then ring", Signal + Ring, {Signal, Ring}, ""},
        {"ring then answer", Ring + Signal, {Ring, Signal}, ""},
        {"two rings", Ring + Ring, {Ring, Ring}, ""},
        {"message then confirmation", NewMessage("hi") + Confirmed, {NewMessage("hi"), Confirmed}, ""},
        {"answer then message", Ok + NewMessage("hello"), {Ok, NewMessage("hello")}, ""},
        {"message then answer", NewMessage("hello") + Signal, {NewMessage("hello"), Signal}, ""},
        {"a confirmation keeps its OK", Confirmed + Ring, {Confirmed, Ring}, ""},
        {"an error then an answer", CmsError + Ok, {CmsError, Ok}, ""},
        {"no carrier after an answer", Ok + NoCarrier, {Ok, NoCarrier}, ""},
        {"an error after an answer", Ok + CmsError, {Ok, CmsError}, ""},
        {"a message text that looks like codes stays whole",
         NewMessage("x\r\n\r\nRING\r\n\r\nNO CARRIER\r\n$QCMT") + Ring,
         {NewMessage("x\r\n\r\nRING\r\n\r\nNO CARRIER\r\n$QCMT"), Ring}, ""},
        {"a four-digit length", NewMessage(longText) + Ok, {NewMessage(longText), Ok}, ""},
        {"a length too big takes no answer", Header("99") + "short\r\n" + Signal,
         {Header("99") + "short\r\n", Signal}, ""},
        {"a length too big on a text of two lines", Header("99") + "two\r\nlines\r\n" + Ok,
         {Header("99") + "two\r\nlines\r\n", Ok}, ""},
        {"a length too small", Header("3") + "hello\r\n" + Ring, {Header("3") + "hello\r\n", Ring}, ""},
        {"a length that is not a number takes no message, confirmation or error",
         Header("abc") + "text\r\n" + NewMessage("one") + NewMessage("two") + Confirmed + CmsError,
         {Header("abc") + "text\r\n", NewMessage("one"), NewMessage("two"), Confirmed, CmsError}, ""},
        {"a message without its text", Header("5") + Ok, {Header("5"), Ok}, ""},
        {"a text not all arrived", Header("20") + "first part", {}, Header("20") + "first part"},
        {"a header not all arrived", Ok + "\r\n$QCMT: \"REC UN", {Ok}, "\r\n$QCMT: \"REC UN"},
        {"a message without its closing line break", NewMessage("hi").substr(0, NewMessage("hi").size() - 2), {},
         NewMessage("hi").substr(0, NewMessage("hi").size() - 2)},
        {"a wrong length and no code after it yet", Header("3") + "hello\r\n", {}, Header("3") + "hello\r\n"},
        {"the prompt keeps its error", Prompt + "\r\n" + CmsError, {Prompt + "\r\n" + CmsError}, ""},
        {"but not a ring after it", Prompt + Ring, {Prompt, Ring}, ""},
        {"no line break at all", "OK", {"OK"}, ""},
        {"a lone line break", "\r\n", {"\r\n"}, ""},
    };
    for (const Case& test : table) {
        const TReceivedSplit split = SplitReceived(test.received);
        EXPECT_EQ(split.codes, test.codes) << test.what;
        EXPECT_EQ(split.incomplete, test.incomplete) << test.what;
    }
}

TEST(ReceivePath, AnAnswerIsCompleteWithItsFinalResult)
{
    const std::vector<std::pair<std::string, bool>> table = {
        {Ok, true},
        {Signal, true},
        {"\r\n21,99\r\n", false},
        {"\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n", false},
        {"\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n" + Ok, true},
        {"\r\nERROR\r\n", true},
        {NoCarrier, true},
        {"\r\nBUSY\r\n", true},
        {CmsError, true},
        {"\r\n+CME ERROR: 3\r\n", true},
        {Prompt, true},
        {"ATE0\r\r\nOK\r\n", true},
        {"\r\nOK", false},
        {"", false},
    };
    for (const auto& [answer, complete] : table)
        EXPECT_EQ(IsCompleteAnswer(answer), complete) << answer;
}

TEST(ReceivePath, UnsolicitedCodesAreToldFromAnswers)
{
    EXPECT_TRUE(IsUnsolicitedCode(Ring, "AT+CSQ\r\n"));
    EXPECT_TRUE(IsUnsolicitedCode(NewMessage("x"), "AT+CDV5551234\r"));
    EXPECT_TRUE(IsUnsolicitedCode(Confirmed, "AT+CLVL=6\r"));
    EXPECT_TRUE(IsUnsolicitedCode(CmsError, "AT$QCMGS=\"1\"\rx\x1A"));
    EXPECT_TRUE(IsUnsolicitedCode(NoCarrier, "AT+VTS=5\r"));
    EXPECT_TRUE(IsUnsolicitedCode(NoCarrier, ""));
    EXPECT_FALSE(IsUnsolicitedCode(NoCarrier, "AT+CDV5551234\r")) << "a failed dial's answer";
    EXPECT_FALSE(IsUnsolicitedCode(Ok, "AT+CSQ\r\n"));
    EXPECT_FALSE(IsUnsolicitedCode(Signal, "AT+CSQ\r\n"));
    EXPECT_FALSE(IsUnsolicitedCode(Prompt, "AT$QCMGS=\"1\"\rx\x1A"));
}

TEST(ReceivePath, ReceivedCodesKeepEveryBlockInOrderAndWakeTheWorker)
{
    const HANDLE arrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    TReceivedCodes codes;
    codes.SetArrivalEvent(arrived);
    codes.AddBlock(Ring);
    codes.AddBlock(Ok + NewMessage("a"));
    codes.AddBlock("");
    EXPECT_EQ(WaitForSingleObject(arrived, 0), WAIT_OBJECT_0);
    EXPECT_EQ(codes.Count(), 3u);
    EXPECT_EQ(codes.Take(), Ring);
    EXPECT_EQ(codes.Take(), Ok);
    EXPECT_EQ(codes.Take(), NewMessage("a"));
    EXPECT_EQ(codes.Take(), std::nullopt);
    codes.AddBlock(Ring);
    codes.AddBlock(Header("20"));
    codes.Clear();
    EXPECT_EQ(codes.Take(), std::nullopt);
    EXPECT_EQ(codes.MsUntilIncompleteDue(), INFINITE);
    CloseHandle(arrived);
}

TEST(ReceivePath, AMessageSplitOverBlocksIsTakenWholeWhenItsRestHasCome)
{
    struct Case {
        const char* what;
        std::vector<std::string> blocks;
    };
    const std::string message = NewMessage("first part of the text");
    const std::vector<Case> table = {
        {"after the first part of the text", {message.substr(0, 70), message.substr(70)}},
        {"inside the header", {message.substr(0, 20), message.substr(20)}},
        {"before the closing line break", {message.substr(0, message.size() - 2), "\r\n"}},
        {"in three", {message.substr(0, 10), message.substr(10, 50), message.substr(60)}},
    };
    for (const Case& test : table) {
        FakeClock clock;
        TReceivedCodes codes;
        for (const std::string& block : test.blocks) {
            EXPECT_EQ(codes.Take(), std::nullopt) << test.what;
            codes.AddBlock(block);
        }
        codes.AddBlock(Ring);
        EXPECT_EQ(codes.Take(), message) << test.what;
        EXPECT_EQ(codes.Take(), Ring) << test.what;
    }
}

TEST(ReceivePath, AMessageStillIncompleteIsGivenOutWithWhatCameAfterABound)
{
    FakeClock clock;
    TReceivedCodes codes;
    const std::string first = Header("99") + "short";
    constexpr DWORD Wait = TReceivedCodes::IncompleteWaitMs;
    codes.AddBlock(first);
    EXPECT_EQ(codes.MsUntilIncompleteDue(), Wait);
    clock.Advance(Wait - 400);
    codes.AddBlock("\r\n");
    EXPECT_EQ(codes.MsUntilIncompleteDue(), 400u) << "the wait counts from the message's first block";
    clock.Advance(399);
    EXPECT_EQ(codes.Take(), std::nullopt);
    clock.Advance(1);
    EXPECT_EQ(codes.MsUntilIncompleteDue(), 0u);
    EXPECT_EQ(codes.Take(), first + "\r\n");
    EXPECT_EQ(codes.MsUntilIncompleteDue(), INFINITE);

    const std::string huge = Header("30000") + std::string(TReceivedCodes::MaxIncompleteBytes, 'x');
    codes.AddBlock(huge);
    EXPECT_EQ(codes.Take(), huge) << "nor is more than a bound kept back";
}


class FailingPort : public TCommandPort {
public:
    explicit FailingPort(std::size_t accepts) : m_accepts(accepts) {}
    bool WriteCommData(const void* data, std::size_t length) override
    {
        if (length != 1 || written.size() >= m_accepts)
            return false;
        written += *static_cast<const char*>(data);
        return true;
    }
    std::string written;

private:
    std::size_t m_accepts;
};

TEST(ReceivePath, ComWriteStrWritesByteByByteAndStopsAtTheFirstRefusal)
{
    FailingPort open(100);
    EXPECT_TRUE(ComWriteStr(open, "AT+CSQ\r\n"));
    EXPECT_EQ(open.written, "AT+CSQ\r\n");

    FailingPort closing(3);
    EXPECT_FALSE(ComWriteStr(closing, "AT+CSQ\r\n"));
    EXPECT_EQ(closing.written, "AT+");
}

} // namespace
