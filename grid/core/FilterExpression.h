#pragma once

#include "platform/rtl/Variant.h"

#include <cstdint>
#include <string_view>

// The operator codes of a filter condition, which are also the lexemes of the filter text
// (foValueGx being the one lexeme that is no operator).
enum TFilterOperatorGx : std::uint8_t {
    foNoneGx,
    foEqualGx,
    foNotEqualGx,
    foGreaterGx,
    foLessGx,
    foGreaterOrEqualGx,
    foLessOrEqualGx,
    foLikeGx,
    foNotLikeGx,
    foInGx,
    foNotInGx,
    foNullGx,
    foNotNullGx,
    foAndGx,
    foOrGx,
    foValueGx
};

// What the operands of a condition are converted to.
enum TFilterValueTypeGx : std::uint8_t { fvtOtherGx, fvtStringGx, fvtNumberGx, fvtDateTimeGx, fvtBooleanGx };

// A filter condition as the user typed it into a column's filter cell: one comparison, or two
// joined by AND or OR. An operand is Null, a value, or a variant array of values (IN lists).
struct FilterExpressionRec {
    std::uint8_t ValueType = fvtOtherGx;  // set by the caller before parsing
    std::uint8_t Operator1 = foNoneGx;
    Variant Operand1 = Null();
    std::uint8_t Relation = foNoneGx;  // foNoneGx, foAndGx or foOrGx
    std::uint8_t Operator2 = foNoneGx;
    Variant Operand2 = Null();
};

// How an operator is shown to the user ("<>", "~", "In", ...) and written in SQL ("NOT LIKE").
// Operands never go into SQL text with them: a statement built from a condition binds them.
[[nodiscard]] std::string_view FilterOperatorText(std::uint8_t op);
[[nodiscard]] std::string_view FilterOperatorSql(std::uint8_t op);

// Clears the comparisons and the relation; the value type stays.
void ResetFilterExpression(FilterExpressionRec& expression);

// Fills the record from the typed text, or raises Exception with one of the parser's messages
// followed by the whole trimmed text (EConvertError when an operand does not convert to the value
// type). Returns true when a second comparison was read. Any input, however long or malformed,
// ends in a record or an exception: the work is linear in the text's length apart from the look
// ahead over blanks, and no recursion follows the text.
bool ParseFilterExpression(std::string_view text, FilterExpressionRec& expression);

// Whether a field value meets the condition, compared in memory: numbers and dates by value,
// anything else as text without regard to case. A value meets no comparison with Null but the
// null tests; "~" matches with '%' and '*' as wildcards, and a pattern without any matches the
// values that contain it.
[[nodiscard]] bool FilterExpressionAccepts(const FilterExpressionRec& expression, const Variant& value);
