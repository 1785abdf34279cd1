#include "modem/app/StoreRecords.h"

namespace {

TCallList ListOf(TCallRecord record)
{
    switch (record) {
    case TCallRecord::Received:
        return TCallList::Incoming;
    case TCallRecord::Dialled:
        return TCallList::Outgoing;
    case TCallRecord::Missed:
        break;
    }
    return TCallList::Missed;
}

} // namespace

TStoreRecords::TStoreRecords(const std::string& programFolder, TCallQueries calls, TSmsQueries messages,
                             IRecordView& view, TDelayFunction delay)
    : m_lookup(programFolder), m_callLog(calls, m_lookup, view),
      m_smsRecords(messages, m_lookup, view, std::move(delay))
{
}

std::string TStoreRecords::LookupName(const std::string& number) { return m_lookup.NameOf(number).value_or(""); }

void TStoreRecords::LogCall(TCallRecord record, const std::string& number, int seconds)
{
    // The engine counts seconds only from the answer: a call that never connected has none.
    m_callLog.Call_Log(ListOf(record), TCallDetails{number, seconds, seconds > 0});
}

void TStoreRecords::StoreNewMessage(const std::string& report) { m_smsRecords.StoreReceived(report); }

void TStoreRecords::StoreSmsResult(bool sent, const std::string& number, const std::string& name,
                                   const std::string& text)
{
    const std::string item = number + "*" + name + "*" + text;
    if (sent)
        m_smsRecords.StoreSent(item);
    else
        m_smsRecords.StoreFailed(item);
}
