// Feeds arbitrary text to every routine that reads text from outside or from a format: the
// parsers must refuse cleanly and the formatters must never read or write out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int64_t integer = 0;
    double number = 0;
    Currency amount;
    TDateTime when = 0;
    (void)TryStrToInt64(text, integer);
    (void)TryStrToFloat(text, number);
    (void)TryStrToCurr(text, amount);
    (void)TryStrToDateTime(text, when);
    (void)FormatFloat(text, -1234.5678);
    (void)FormatCurr(text, Currency::FromScaled(-9223372036854775807LL));
    (void)FormatDateTime(text, 45000.75);
    (void)AnsiCompareText(text, "Ab\xC3\xA9");
    (void)AnsiUpperCase(text);
    try {
        (void)Format(text, {1, -2LL, 3.5, "s", Currency::FromScaled(5), static_cast<const void*>(data)});
    } catch (const EConvertError&) {
    }
    return 0;
}
