#include "modem/store/CallLog.h"

#include "modem/store/NameLookup.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

std::string CallDuration(int seconds)
{
    const int hours = seconds / 3600;
    const int minutes = seconds % 3600 / 60;
    const char* hoursFormat = hours > 99 ? "%d:" : "%0.2d:";
    return Format(hoursFormat, {hours}) + Format("%0.2d:", {minutes}) + Format("%0.2d", {seconds % 60});
}

TCallLog::TCallLog(TCallQueries queries, TNameLookup& lookup, IRecordView& view)
    : m_queries(queries), m_lookup(lookup), m_view(view)
{
}

void TCallLog::Call_Log(TCallList list, const TCallDetails& call)
{
    const auto name = m_lookup.NameOf(call.number);
    TADOQuery& query = QueryOf(list);
    m_view.ShowCallList(list);
    query.Insert();
    const int startOffset = list == TCallList::Missed ? 0 : call.seconds;
    query.FieldByName("DT")->SetAsDateTime(Now() - static_cast<double>(startOffset) / SecsPerDay);
    query.FieldByName("NAME")->SetAsString(name.value_or("Unknown"));
    query.FieldByName("NUM")->SetAsString(call.number);
    if (list == TCallList::Incoming)
        query.FieldByName("DUR")->SetAsString(CallDuration(call.seconds));
    else if (list == TCallList::Outgoing)
        query.FieldByName("DUR")->SetAsString(call.connected ? CallDuration(call.seconds) : "00:00:00");
    if (list != TCallList::Missed)
        m_view.ClearCallDisplay();
    query.Post();
}

TADOQuery& TCallLog::QueryOf(TCallList list) const
{
    switch (list) {
    case TCallList::Incoming:
        return m_queries.incoming;
    case TCallList::Outgoing:
        return m_queries.outgoing;
    case TCallList::Missed:
        break;
    }
    return m_queries.missed;
}
