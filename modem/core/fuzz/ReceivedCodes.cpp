// The modem's bytes, as one received block: split into codes and a message still to be completed
// (which must put the block back together exactly), and each code dispatched as unsolicited text
// and as the answer to every kind of command, with a call and an SMS in progress so that every
// recogniser looks.

#include "modem/core/MainTimer.h"
#include "modem/core/ReceivePath.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    TReceivedSplit split = SplitReceived(block);
    std::string joined;
    for (const std::string& code : split.codes)
        joined += code;
    if (joined + split.incomplete != block)
        std::abort();
    if (!split.incomplete.empty())
        split.codes.push_back(split.incomplete);
    (void)IsCompleteAnswer(block);

    static const char* const Commands[] = {"", "AT+CSQ\r\n", "AT+CLCC\r", "AT+CDV5551234\r", "AT$QCCAV\r\n",
                                           "AT$QCCHV\r", "AT$QCMGS=\"1\"\rx\x1A", "ATE0\r\n"};
    TApplicationState state;
    TModemLink link;
    TModemView view;
    TModemRecords records;
    TMainTimer timer(state, link, view, records);
    for (const std::string& code : split.codes) {
        for (const char* cmd : Commands) {
            // A call already ringing, so that a RING does not pause to ask for the caller.
            state.CallIncoming = true;
            state.SmsQueue = {"1*a*b"};
            state.SmsSending = true;
            (void)IsUnsolicitedCode(code, cmd);
            if (!link.ResponseQueue.Push(cmd, code, ckAnswered))
                std::abort();
            timer.DispatchResponse();
            link.CommandQueue.Clear();
        }
    }
    return 0;
}
