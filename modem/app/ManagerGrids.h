#pragma once

#include "platform/classlib/core/Colors.h"

#include <string>

class TDataSource;
class TDBGridGx;

// The lists of the main window, each with its own columns.
enum class TManagerList {
    PhonebookAll,   // the phonebook's "All" tab
    PhonebookGroup, // its "Family", "Friend" and "Office" tabs
    Inbox,
    Outbox,
    SentBox,
    Templates,
    CallLog,        // dialled and received calls
    MissedCalls,
};

// The row colours every list shares: odd record numbers sky blue, even ones money green; an unread
// message takes the menu-highlight colour instead.
[[nodiscard]] TColor ManagerRowColour(int recNo, bool unread);

// Gives `grid` the look every list of the main window shares (whole rows selected, titles, the
// record mark, no deleting, inserting or appending of its own, the row colours and the record number in the first
// column), the columns of `list`, read-only but for the phonebook's tick, and `source`.
void SetUpManagerGrid(TDBGridGx& grid, TManagerList list, TDataSource& source);

// The phonebook query's filter for tab `tabIndex` of the phonebook (0 "All": none, 1-3 the group).
[[nodiscard]] std::string PhonebookGroupFilter(int tabIndex);
