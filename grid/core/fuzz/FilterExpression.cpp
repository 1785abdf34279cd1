// Any text typed into a filter cell, parsed as each kind of column and under both decimal
// separators: it must end in a record or in the parser's own exception, never in a crash, a
// hang or a record whose operators are out of range.

#include "grid/core/FilterExpression.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LocaleSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        DecimalSeparator = separator;
        for (std::uint8_t valueType = fvtOtherGx; valueType <= fvtBooleanGx; ++valueType) {
            FilterExpressionRec expression;
            expression.ValueType = valueType;
            try {
                const bool second = ParseFilterExpression(text, expression);
                if (expression.Operator1 >= foAndGx || expression.Operator2 >= foAndGx ||
                    (second && expression.Operator2 == foNoneGx))
                    std::abort();
            } catch (const Exception&) {
            }
        }
    }
    DecimalSeparator = '.';
    return 0;
}
