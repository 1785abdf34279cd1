// New-message reports and SMS queue items come from the modem and from the user: neither may
// crash their parsers, and a parsed message comes from its report.

#include "modem/store/SmsRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TReceivedSms sms = SMSFormat(text);
    // Latin-1 text grows to at most two bytes a character in UTF-8.
    if (sms.number.size() + sms.text.size() > 2 * text.size())
        std::abort();
    const TSmsItem item = SMSBufFormat(text);
    if (item.number.size() + item.name.size() + item.text.size() > text.size())
        std::abort();
    return 0;
}
