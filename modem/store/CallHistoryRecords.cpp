#include "modem/store/CallHistoryRecords.h"

#include "modem/store/ModemDatabase.h"
#include "platform/classlib/data/SqliteDatabase.h"

namespace {

// Table names are never values a statement can bind; they come from this fixed list only.
std::string TableOf(TCallList list)
{
    switch (list) {
    case TCallList::Incoming:
        return "CI";
    case TCallList::Outgoing:
        return "CO";
    case TCallList::Missed:
        break;
    }
    return "CM";
}

} // namespace

TCallHistoryRecords::TCallHistoryRecords(const std::string& programFolder)
    : m_database(OpenModemDatabase(programFolder))
{
}

TCallHistoryRecords::~TCallHistoryRecords() = default;

std::optional<std::string> TCallHistoryRecords::Number(TCallList list, std::int64_t key)
{
    const TSqlResult result = m_database->Query("SELECT NUM FROM " + TableOf(list) + " WHERE ID = ?", {Variant(key)});
    if (result.Rows.empty())
        return std::nullopt;
    return VarToStr(result.Rows.front().Values.at(0));
}

bool TCallHistoryRecords::Delete(TCallList list, std::int64_t key)
{
    return m_database->Execute("DELETE FROM " + TableOf(list) + " WHERE ID = ?", {Variant(key)}) != 0;
}

int TCallHistoryRecords::DeleteAll(TCallList list) { return m_database->Execute("DELETE FROM " + TableOf(list)); }
