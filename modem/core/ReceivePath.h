#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The modem's answers and unsolicited result codes as they reach the program: each received
// block split into codes, each code kept in order until the worker takes it. Nothing is
// overwritten and nothing is dropped, however fast blocks come or however long the worker is busy
// elsewhere: a new message that arrives while a command waits for its answer is still there when
// the worker looks, and one that comes over several blocks is stored whole.
//
// Codes keep their bytes as received (carriage returns and line feeds intact). The fixed
// positions the dispatcher tests count a carriage return and a line feed as one character each,
// as they always did.

// Splits received bytes into the codes they hold, so that a code that arrived together with an
// answer (or with another code) is seen on its own. An unsolicited code begins at "\r\nRING",
// "\r\nNO CARRIER", "\r\n$QCMT", "\r\n$QCMGS" or "\r\n+CMS ERROR" and ends with its line, and an
// SMS confirmation keeps the OK that follows it. Anything else is an answer, up to the next
// unsolicited code; the SMS prompt keeps an error that follows it (the dispatcher reads the two
// together).
//
// A new message is its header line, then its text and a line break. The header's last field
// announces the text's length, and is believed when that many bytes are followed by the line
// break: the text is then kept whole whatever it holds. Otherwise (a length too big, too small or
// not a number) the text ends at the first line break that is followed by a code, an unsolicited
// one or an answer, so that no answer or other notice is ever taken into a message. A message
// whose end has not come yet is `incomplete`: it is the rest of the bytes, and more is to come.
struct TReceivedSplit {
    std::vector<std::string> codes;
    std::string incomplete;
};
[[nodiscard]] TReceivedSplit SplitReceived(std::string_view received);

// Whether a code is one the modem sends by itself and never as the answer to `cmd`: a ring, a
// new message, an SMS result (confirmation or +CMS ERROR); NO CARRIER too, except as the answer to
// a dial command.
[[nodiscard]] bool IsUnsolicitedCode(std::string_view code, std::string_view cmd);

// Whether an answer holds its final result (OK, ERROR, NO CARRIER, BUSY, NO ANSWER, a +CMS or
// +CME error) or the SMS prompt: the modem has nothing more to say to the command. An answer
// split over blocks is complete only with its last block.
[[nodiscard]] bool IsCompleteAnswer(std::string_view answer);

// The received codes waiting for the worker, shared by the GUI thread (which adds) and the worker
// (which takes). A new message split over blocks is kept back until the rest of it has come, and
// then taken as one code. Limits: a message still incomplete IncompleteWaitMs after it began, or
// longer than MaxIncompleteBytes, is given out with what has come; otherwise memory grows only with
// what the serial line delivers while the worker is stopped, and Clear drops it when the port goes.
class TReceivedCodes {
public:
    static constexpr DWORD IncompleteWaitMs = 2000;
    static constexpr std::size_t MaxIncompleteBytes = 16384;

    // Signalled whenever codes are added, so that the worker wakes without polling. Null for none.
    void SetArrivalEvent(HANDLE event) { m_arrivalEvent = event; }

    void AddBlock(std::string_view block);
    [[nodiscard]] std::optional<std::string> Take();
    // How long a waiting taker may block before a message kept back is due; INFINITE for none.
    [[nodiscard]] DWORD MsUntilIncompleteDue() const;
    [[nodiscard]] std::size_t Count() const;
    void Clear();

private:
    // Gives out the message kept back when it has waited long enough. Holds the lock.
    void ReleaseDueIncomplete();

    mutable std::mutex m_lock;
    std::deque<std::string> m_codes;
    std::string m_incomplete;
    std::uint64_t m_incompleteSince = 0;
    HANDLE m_arrivalEvent = nullptr;
};

// Where the worker writes: the serial component, or a test's stand-in.
class TCommandPort {
public:
    virtual ~TCommandPort() = default;
    // Hands `length` bytes to the port's writer; false when the port does not take them (closed).
    [[nodiscard]] virtual bool WriteCommData(const void* data, std::size_t length) = 0;
};

// Writes `s` one byte at a time and stops at the first byte the port refuses (a closed port): the
// command is then simply not sent and times out. Returns whether every byte went.
bool ComWriteStr(TCommandPort& port, std::string_view s);
