#pragma once

#include "modem/store/RecordView.h"

#include <string>

class TADOQuery;
class TNameLookup;

// The call history: one row per received (CI), dialled (CO) or missed (CM) call.

// The queries of the three lists (QIN, QOUT, QMISS).
struct TCallQueries {
    TADOQuery& incoming;
    TADOQuery& outgoing;
    TADOQuery& missed;
};

// A call as it ended. The caller takes its number before anything is cleared: the number shown
// for a received or missed call, the number dialled for a dialled one.
struct TCallDetails {
    std::string number;
    int seconds = 0;        // counted from the start of the call (CallSeconds)
    bool connected = false; // a dialled call that was answered
};

// "HH:MM:SS" for a number of seconds; the hours take as many digits as they need past 99.
[[nodiscard]] std::string CallDuration(int seconds);

class TCallLog {
public:
    TCallLog(TCallQueries queries, TNameLookup& lookup, IRecordView& view);

    // Writes the call's row: DT its start, NAME the contact's name or "Unknown", NUM its number,
    // DUR its duration (a dialled call that never connected lasted "00:00:00"; a missed call has
    // none). A received or dialled call also clears the call page's display.
    void Call_Log(TCallList list, const TCallDetails& call);

private:
    [[nodiscard]] TADOQuery& QueryOf(TCallList list) const;

    TCallQueries m_queries;
    TNameLookup& m_lookup;
    IRecordView& m_view;
};
