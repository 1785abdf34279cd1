#include "platform/classlib/core/Interfaces.h"

#include "platform/rtl/Format.h"

#include <cstdio>

namespace detail = classlib_core::detail;

void detail::RaiseInvalidGUID(std::string_view text)
{
    throw EConvertError(Format("'%s' is not a valid GUID value", {text}));
}

std::string GUIDToString(const TGUID& guid)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.D1, guid.D2, guid.D3,
                  guid.D4[0], guid.D4[1], guid.D4[2], guid.D4[3], guid.D4[4], guid.D4[5], guid.D4[6], guid.D4[7]);
    return text;
}

bool Supports(TObject* instance, const TGUID& iid, void** object)
{
    void* found = nullptr;
    const bool supported = instance && instance->GetInterface(iid, found);
    if (object)
        *object = supported ? found : nullptr;
    return supported;
}
