#include "grid/core/FilterExpression.h"

#include "platform/classlib/data/DBFilter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

#include <optional>
#include <string>

namespace {

// <0, 0, >0; nullopt when the field value does not convert to the operand's kind.
[[nodiscard]] std::optional<int> CompareValues(std::uint8_t valueType, const Variant& value, const Variant& operand)
{
    if (valueType == fvtNumberGx || valueType == fvtDateTimeGx) {
        double a = 0;
        try {
            a = valueType == fvtNumberGx ? value.ToDouble() : value.ToDateTime();
        } catch (const Exception&) {
            return std::nullopt;
        }
        const double b = valueType == fvtNumberGx ? operand.ToDouble() : operand.ToDateTime();
        return a < b ? -1 : a > b ? 1 : 0;
    }
    return AnsiCompareText(VarToStr(value), VarToStr(operand));
}

[[nodiscard]] bool Likes(const Variant& value, const Variant& operand)
{
    std::string pattern = VarToStr(operand);
    if (pattern.find_first_of("%*") == std::string::npos)
        pattern = "%" + pattern + "%";
    return MatchesLikePattern(VarToStr(value), pattern);
}

[[nodiscard]] bool InList(std::uint8_t valueType, const Variant& value, const Variant& operand)
{
    if (!VarIsArray(operand))
        return CompareValues(valueType, value, operand) == 0;
    for (int i = operand.LowBound(); i <= operand.HighBound(); ++i)
        if (CompareValues(valueType, value, operand.Element(i)) == 0)
            return true;
    return false;
}

[[nodiscard]] bool Meets(std::uint8_t valueType, std::uint8_t op, const Variant& operand, const Variant& value)
{
    const bool null = VarIsNull(value) || VarIsEmpty(value);
    if (op == foNullGx || op == foNotNullGx)
        return null == (op == foNullGx);
    if (null || VarIsNull(operand))
        return false;
    switch (op) {
    case foLikeGx:
        return Likes(value, operand);
    case foNotLikeGx:
        return !Likes(value, operand);
    case foInGx:
        return InList(valueType, value, operand);
    case foNotInGx:
        return !InList(valueType, value, operand);
    default:
        break;
    }
    const std::optional<int> order = CompareValues(valueType, value, operand);
    if (!order)
        return false;
    switch (op) {
    case foEqualGx:
        return *order == 0;
    case foNotEqualGx:
        return *order != 0;
    case foGreaterGx:
        return *order > 0;
    case foLessGx:
        return *order < 0;
    case foGreaterOrEqualGx:
        return *order >= 0;
    case foLessOrEqualGx:
        return *order <= 0;
    default:
        return true;
    }
}

} // namespace

bool FilterExpressionAccepts(const FilterExpressionRec& expression, const Variant& value)
{
    if (expression.Operator1 == foNoneGx)
        return true;
    const bool first = Meets(expression.ValueType, expression.Operator1, expression.Operand1, value);
    if (expression.Relation == foNoneGx || expression.Operator2 == foNoneGx)
        return first;
    const bool second = Meets(expression.ValueType, expression.Operator2, expression.Operand2, value);
    return expression.Relation == foAndGx ? first && second : first || second;
}
