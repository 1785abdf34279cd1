#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBFilter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Parses any text as a filter and evaluates it against a record of assorted values: it must
// either raise EDatabaseError or give an answer, never crash or hang.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const TFilterExpression filter = TFilterExpression::Parse(text);
        const Variant values[] = {Variant("O'Brien %*)"), Variant(2), Variant(true), Variant::MakeNull(),
                                  Variant(3.5), Variant::FromDateTime(45000.25)};
        (void)filter.Evaluate([&](int index) { return values[static_cast<std::size_t>(index) % std::size(values)]; });
    } catch (const EDatabaseError&) {
    }
    return 0;
}
