#pragma once

#include <string>

// The call history tables.
enum class TCallLog { Received, Dialled, Missed }; // CI, CO, CM

// The SMS boxes the dispatcher writes to.
enum class TSmsBox { Outbox, Sent }; // OB, SB

// An SMS of the send queue, as split from its "number*name*text" item.
struct TSmsItem {
    std::string Number;
    std::string Name;
    std::string Text;
    bool operator==(const TSmsItem&) const = default;
};

// The database as the dispatcher sees it: the rows it writes and the one lookup it needs. The
// manager's database layer implements it; every method does nothing by default.
class TModemRecords {
public:
    virtual ~TModemRecords() = default;

    // The phonebook name for a number, empty when none matches.
    [[nodiscard]] virtual std::string LookupName(const std::string& /*number*/) { return {}; }
    // A call ended: one row with the number, the call's length and its start (now - seconds).
    virtual void LogCall(TCallLog /*log*/, const std::string& /*number*/, int /*seconds*/) {}
    // A new message, exactly as the modem sent it (line breaks intact), for the inbox.
    virtual void StoreNewMessage(const std::string& /*received*/) {}
    // An SMS of the send queue that failed (Outbox) or went (Sent).
    virtual void StoreSmsResult(TSmsBox /*box*/, const TSmsItem& /*item*/) {}
};
