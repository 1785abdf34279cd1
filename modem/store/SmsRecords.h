#pragma once

#include "modem/store/ModemDatabase.h"
#include "modem/store/RecordView.h"

#include <string>
#include <string_view>

class TADOQuery;
class TNameLookup;

// The SMS boxes' rows that the response dispatcher writes: a message received (IB), a send that
// failed (OB) and a send the network confirmed (SB).

// A new-message report split into its parts. The report is the modem's text as received, line
// ends and all:
//   <11 characters or more>"<2 more>NUMBER"<2 more>YY?MM?DD?hh?mm?ss<5 more>LENGTH CR LF MESSAGE...
// that is, the number starts three characters after the first double quote at position 12 or
// later and runs to the next quote; the date's fields start 3, 6, ... 18 characters after that
// quote; the length runs from 25 characters after it to the next carriage return, and the message
// is that many characters from two past that carriage return (its own line breaks kept). When the
// length is no number, or more than there is, the message is the rest of the report without the
// line break that closes it. A message that is not UTF-8 came in Latin-1 and is turned into
// UTF-8. A report without the quotes, or without a line after the length, does not parse.
struct TReceivedSms {
    bool parsed = false;  // false: the report does not have this shape; keep it whole
    std::string number;
    std::string dateText; // "20YY-MM-DD hh:mm:ss" as the network stamped it
    std::string text;     // UTF-8
};
[[nodiscard]] TReceivedSms SMSFormat(std::string_view report);

// An item of the SMS queue, "number*name*text", split at its first two '*' (the text may hold
// more).
struct TSmsItem {
    std::string number;
    std::string name;
    std::string text;
};
[[nodiscard]] TSmsItem SMSBufFormat(std::string_view item);

// The queries of the three boxes (QIB, QOB, QSB).
struct TSmsQueries {
    TADOQuery& inbox;
    TADOQuery& outbox;
    TADOQuery& sentBox;
};

// Writes the rows, each with R set and DT the PC's time, and runs the box's query again so that
// its grid shows the row.
class TSmsRecords {
public:
    TSmsRecords(TSmsQueries queries, TNameLookup& lookup, IRecordView& view, TDelayFunction delay);

    // A new-message report: the sender's contact name or "Unknown", its number or "Anonymous".
    // A report that does not parse is kept whole, from "Unknown" "Anonymous", rather than lost.
    void StoreReceived(std::string_view report);
    // An SMS queue item whose send failed, or was confirmed: the name the user gave, or "Unknown"
    // when the recipient was entered as a bare number.
    void StoreFailed(std::string_view item);
    void StoreSent(std::string_view item);

private:
    void StoreItem(TSmsBox box, std::string_view item);
    void Write(TSmsBox box, const std::string& name, const std::string& number, const std::string& text);
    [[nodiscard]] TADOQuery& QueryOf(TSmsBox box) const;

    TSmsQueries m_queries;
    TNameLookup& m_lookup;
    IRecordView& m_view;
    TDelayFunction m_delay;
};
