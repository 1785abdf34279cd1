#include "modem/core/ReceivePath.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

#include <gtest/gtest.h>

#include <string>
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

std::string NewMessage(const std::string& text)
{
    return "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"24/05/01,10:20:30+00\"," + std::to_string(text.size()) +
           "\r\n" + text + "\r\n";
}

TEST(ReceivePath, ABlockSplitsWhereAnUnsolicitedCodeBegins)
{
    struct Case {
        const char* what;
        std::string block;
        Codes codes;
    };
    const std::vector<Case> table = {
        {"a plain answer", Ok, {Ok}},
        {"an answer of two lines", Signal, {Signal}},
        {"answer then ring", Signal + Ring, {Signal, Ring}},
        {"ring then answer", Ring + Signal, {Ring, Signal}},
        {"two rings", Ring + Ring, {Ring, Ring}},
        {"message then confirmation", NewMessage("hi") + Confirmed, {NewMessage("hi"), Confirmed}},
        {"answer then message", Ok + NewMessage("hello"), {Ok, NewMessage("hello")}},
        {"message then answer", NewMessage("hello") + Signal, {NewMessage("hello"), Signal}},
        {"a confirmation keeps its OK", Confirmed + Ring, {Confirmed, Ring}},
        {"an error then an answer", CmsError + Ok, {CmsError, Ok}},
        {"no carrier after an answer", Ok + NoCarrier, {Ok, NoCarrier}},
        {"an error after an answer", Ok + CmsError, {Ok, CmsError}},
        {"a message text that looks like codes stays whole",
         NewMessage("x\r\nRING\r\nNO CARRIER\r\n$QCMT") + Ring,
         {NewMessage("x\r\nRING\r\nNO CARRIER\r\n$QCMT"), Ring}},
        {"a header whose length cannot be read keeps the rest",
         "\r\n$QCMT: \"REC UNREAD\",\"1\",\"t\",zz\r\nRING\r\n" + Ring,
         {"\r\n$QCMT: \"REC UNREAD\",\"1\",\"t\",zz\r\nRING\r\n" + Ring}},
        {"a length past the block keeps the rest",
         "\r\n$QCMT: \"1\",99\r\nshort\r\n" + Ring, {"\r\n$QCMT: \"1\",99\r\nshort\r\n" + Ring}},
        {"the prompt keeps its error", Prompt + "\r\n" + CmsError, {Prompt + "\r\n" + CmsError}},
        {"but not a ring after it", Prompt + Ring, {Prompt, Ring}},
        {"no line break at all", "OK", {"OK"}},
        {"a lone line break", "\r\n", {"\r\n"}},
    };
    for (const Case& test : table)
        EXPECT_EQ(SplitReceivedBlock(test.block), test.codes) << test.what;
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
    codes.Clear();
    EXPECT_EQ(codes.Take(), std::nullopt);
    CloseHandle(arrived);
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
