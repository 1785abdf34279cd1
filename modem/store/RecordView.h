#pragma once

// The lists the call and message records are written to, as the pages show them.
enum class TCallList { Incoming, Outgoing, Missed }; // CI, CO, CM
enum class TSmsBox { Inbox, Outbox, SentBox };        // IB, OB, SB

// What the records do on the pages: before a row is written its list is brought into view (the
// data source pointed at its query and its tab shown), so the user sees the new row arrive.
class IRecordView {
public:
    virtual ~IRecordView() = default;

    virtual void ShowCallList(TCallList list) = 0;
    virtual void ShowSmsBox(TSmsBox box) = 0;
    // The call page's title, name list and number display, and the numbers behind the names.
    virtual void ClearCallDisplay() = 0;
};
