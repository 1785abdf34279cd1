#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <cstddef>
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
// the worker looks.
//
// Codes keep their bytes as received (carriage returns and line feeds intact). The fixed
// positions the dispatcher tests count a carriage return and a line feed as one character each,
// as they always did.

// Splits a received block into the codes it holds, so that a code that arrived together with an
// answer (or with another code) is seen on its own. An unsolicited code begins at "\r\nRING",
// "\r\nNO CARRIER", "\r\n$QCMT", "\r\n$QCMGS" or "\r\n+CMS ERROR" and ends with its line; a new
// message ends after its text (as many bytes as its header's last field says, on the next line,
// never split whatever it holds; the rest of the block when that length cannot be read), and an
// SMS confirmation keeps the OK that follows it. Anything else is an answer, up to the next
// unsolicited code; the SMS prompt keeps an error that follows it (the dispatcher reads the two
// together).
[[nodiscard]] std::vector<std::string> SplitReceivedBlock(std::string_view block);

// Whether a code is one the modem sends by itself and never as the answer to `cmd`: a ring, a
// new message, an SMS result (confirmation or +CMS ERROR); NO CARRIER too, except as the answer to
// a dial command.
[[nodiscard]] bool IsUnsolicitedCode(std::string_view code, std::string_view cmd);

// The received codes waiting for the worker, shared by the GUI thread (which adds) and the worker
// (which takes). Limits: a block is split and kept whole; memory grows only with what the serial
// line delivers while the worker is stopped, and Clear drops it when the port goes.
class TReceivedCodes {
public:
    // Signalled whenever codes are added, so that the worker wakes without polling. Null for none.
    void SetArrivalEvent(HANDLE event) { m_arrivalEvent = event; }

    void AddBlock(std::string_view block);
    [[nodiscard]] std::optional<std::string> Take();
    [[nodiscard]] std::size_t Count() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::deque<std::string> m_codes;
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
