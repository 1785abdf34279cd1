#pragma once

#include <string>

// The rows the engine writes, in the plain terms both sides of the program share: the engine's
// side and the store's side each name their call lists and SMS boxes their own way.
enum class TCallRecord { Received, Dialled, Missed };

class IManagerRecords {
public:
    virtual ~IManagerRecords() = default;

    [[nodiscard]] virtual std::string LookupName(const std::string& number) = 0;
    virtual void LogCall(TCallRecord record, const std::string& number, int seconds) = 0;
    virtual void StoreNewMessage(const std::string& report) = 0;
    // An SMS of the send queue that went (`sent`) or failed.
    virtual void StoreSmsResult(bool sent, const std::string& number, const std::string& name,
                                const std::string& text) = 0;
};
