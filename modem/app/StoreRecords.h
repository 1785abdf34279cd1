#pragma once

#include "modem/app/ManagerRecords.h"
#include "modem/store/CallLog.h"
#include "modem/store/ModemDatabase.h"
#include "modem/store/NameLookup.h"
#include "modem/store/SmsRecords.h"

// The engine's rows written through the manager's queries: calls into the call history, messages
// into the SMS boxes, names looked up in the phonebook.
class TStoreRecords final : public IManagerRecords {
public:
    TStoreRecords(const std::string& programFolder, TCallQueries calls, TSmsQueries messages, IRecordView& view,
                  TDelayFunction delay);

    std::string LookupName(const std::string& number) override;
    void LogCall(TCallRecord record, const std::string& number, int seconds) override;
    void StoreNewMessage(const std::string& report) override;
    void StoreSmsResult(bool sent, const std::string& number, const std::string& name,
                        const std::string& text) override;

private:
    TNameLookup m_lookup;
    TCallLog m_callLog;
    TSmsRecords m_smsRecords;
};
