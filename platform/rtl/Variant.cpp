#include "platform/rtl/Variant.h"

#include <cmath>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysConst.h"
#include "platform/rtl/SysMath.h"

namespace {

bool IsIntegral(int type)
{
    return type == varInteger || type == varInt64 || type == varBoolean;
}

bool IsNumericType(int type)
{
    return IsIntegral(type) || type == varDouble || type == varCurrency || type == varDate;
}

// Boolean text as the class library wrote it.
bool TryTextToBoolean(std::string_view text, bool& value)
{
    const std::string trimmed = Trim(text);
    if (SameText(trimmed, "True") || SameText(trimmed, "False")) {
        value = SameText(trimmed, "True");
        return true;
    }
    return false;
}

// A currency's whole units, halves to even.
std::int64_t RoundScaled(std::int64_t scaled)
{
    std::int64_t units = scaled / Currency::Scale;
    const std::int64_t rest = std::llabs(scaled % Currency::Scale);
    if (rest > Currency::Scale / 2 || (rest == Currency::Scale / 2 && units % 2 != 0))
        units += scaled < 0 ? -1 : 1;
    return units;
}

int Sign(double difference)
{
    return (difference > 0) - (difference < 0);
}

TVariantRelationship FromSign(int sign)
{
    return sign < 0 ? vrLessThan : sign > 0 ? vrGreaterThan : vrEqual;
}

// An Empty value beside a string is "", beside anything else 0.
Variant Filled(const Variant& value, const Variant& other)
{
    if (!VarIsEmpty(value))
        return value;
    return VarIsStr(other) ? Variant("") : Variant(0);
}

TVariantRelationship CompareFilled(const Variant& a, const Variant& b)
{
    if (VarIsStr(a) && VarIsStr(b))
        return FromSign(AnsiCompareStr(a.ToString(), b.ToString()));
    if (IsIntegral(a.VType()) && IsIntegral(b.VType())) {
        const std::int64_t x = a.ToInt64(), y = b.ToInt64();
        return FromSign((x > y) - (x < y));
    }
    const bool exact = (IsIntegral(a.VType()) || a.VType() == varCurrency) &&
                       (IsIntegral(b.VType()) || b.VType() == varCurrency);
    if (exact) {
        const Currency x = a.ToCurrency(), y = b.ToCurrency();
        return FromSign((x > y) - (x < y));
    }
    return FromSign(Sign(a.ToDouble() - b.ToDouble()));
}

}  // namespace

Variant Variant::MakeNull()
{
    Variant value;
    value.m_type = varNull;
    return value;
}

Variant Variant::FromDateTime(TDateTime value)
{
    Variant result(value);
    result.m_type = varDate;
    return result;
}

Variant Variant::FromError(std::int32_t code)
{
    Variant result(code);
    result.m_type = varError;
    return result;
}

Variant Variant::MakeArray(int lowBound, int highBound, int elementType)
{
    const long long count = static_cast<long long>(highBound) - lowBound + 1;
    if (count < 0 || (elementType & ~varTypeMask) != 0)
        throw EVariantError(SVarArrayCreate);
    Variant element;
    if (elementType != varVariant && elementType != varEmpty)
        element = VarAsType(Variant(), elementType);
    Variant result;
    result.m_type = varArray | elementType;
    result.m_lowBound = lowBound;
    result.m_items.assign(static_cast<std::size_t>(count), element);
    return result;
}

void Variant::CastError(int targetType) const
{
    throw EVariantTypeCastError(Format(SVarTypeCouldNotConvert, {VarTypeAsText(m_type), VarTypeAsText(targetType)}));
}

std::int64_t Variant::ToInt64() const
{
    switch (m_type) {
    case varEmpty: return 0;
    case varInteger:
    case varInt64:
    case varBoolean: return m_integer;
    case varCurrency: return RoundScaled(m_integer);
    case varDouble:
    case varDate:
        if (std::isfinite(m_double) && std::fabs(m_double) < 9.2e18)
            return Round(m_double);
        break;
    case varString: {
        std::int64_t integer = 0;
        double number = 0;
        bool flag = false;
        if (TryStrToInt64(m_string, integer))
            return integer;
        if (TryStrToFloat(m_string, number) && std::fabs(number) < 9.2e18)
            return Round(number);
        if (TryTextToBoolean(m_string, flag))
            return flag ? -1 : 0;
        break;
    }
    default: break;
    }
    CastError(varInt64);
}

int Variant::ToInteger() const
{
    const std::int64_t value = ToInt64();
    if (value < INT32_MIN || value > INT32_MAX)
        CastError(varInteger);
    return static_cast<int>(value);
}

double Variant::ToDouble() const
{
    switch (m_type) {
    case varEmpty: return 0;
    case varInteger:
    case varInt64:
    case varBoolean: return static_cast<double>(m_integer);
    case varCurrency: return Currency::FromScaled(m_integer).ToDouble();
    case varDouble:
    case varDate: return m_double;
    case varString: {
        double number = 0;
        bool flag = false;
        if (TryStrToFloat(m_string, number))
            return number;
        if (TryTextToBoolean(m_string, flag))
            return flag ? -1 : 0;
        break;
    }
    default: break;
    }
    CastError(varDouble);
}

Currency Variant::ToCurrency() const
{
    if (m_type == varCurrency)
        return Currency::FromScaled(m_integer);
    if (IsIntegral(m_type) && std::llabs(m_integer) <= INT64_MAX / Currency::Scale)
        return Currency::FromScaled(m_integer * Currency::Scale);
    const double value = ToDouble();
    if (!(std::fabs(value) < 922337203685477.0))
        CastError(varCurrency);
    return Currency::FromDouble(value);
}

bool Variant::ToBoolean() const
{
    bool flag = false;
    if (m_type == varString && TryTextToBoolean(m_string, flag))
        return flag;
    if (m_type == varString || IsNumericType(m_type) || m_type == varEmpty)
        return ToDouble() != 0;
    CastError(varBoolean);
}

TDateTime Variant::ToDateTime() const
{
    TDateTime value = 0;
    if (m_type == varString) {
        if (TryStrToDateTime(m_string, value))
            return value;
        CastError(varDate);
    }
    if (IsNumericType(m_type) || m_type == varEmpty)
        return ToDouble();
    CastError(varDate);
}

std::string Variant::ToString() const
{
    switch (m_type) {
    case varEmpty: return "";
    case varInteger:
    case varInt64: return IntToStr(m_integer);
    case varBoolean: return m_integer ? "True" : "False";
    case varCurrency: return CurrToStr(Currency::FromScaled(m_integer));
    case varDouble: return FloatToStr(m_double);
    case varDate: return DateTimeToStr(m_double);
    case varString: return m_string;
    default: break;
    }
    CastError(varString);
}

std::int32_t Variant::ErrorCode() const
{
    if (m_type != varError)
        CastError(varError);
    return static_cast<std::int32_t>(m_integer);
}

std::size_t Variant::Offset(int index) const
{
    if (!(m_type & varArray))
        throw EVariantError(SVarNotArray);
    const long long offset = static_cast<long long>(index) - m_lowBound;
    if (offset < 0 || offset >= static_cast<long long>(m_items.size()))
        throw EVariantError(SVarArrayBounds);
    return static_cast<std::size_t>(offset);
}

int Variant::LowBound() const
{
    if (!(m_type & varArray))
        throw EVariantError(SVarNotArray);
    return m_lowBound;
}

int Variant::HighBound() const
{
    return static_cast<int>(LowBound() + static_cast<long long>(m_items.size()) - 1);
}

const Variant& Variant::Element(int index) const
{
    return m_items[Offset(index)];
}

void Variant::SetElement(int index, Variant value)
{
    const std::size_t offset = Offset(index);
    const int elementType = m_type & varTypeMask;
    m_items[offset] = elementType == varVariant ? std::move(value) : VarAsType(value, elementType);
}

Variant Null()
{
    return Variant::MakeNull();
}

Variant Unassigned()
{
    return Variant();
}

int VarType(const Variant& value)
{
    return value.VType();
}

bool VarIsNull(const Variant& value)
{
    return value.VType() == varNull;
}

bool VarIsEmpty(const Variant& value)
{
    return value.VType() == varEmpty;
}

bool VarIsClear(const Variant& value)
{
    return VarIsEmpty(value) || VarIsNull(value);
}

bool VarIsArray(const Variant& value)
{
    return (value.VType() & varArray) != 0;
}

bool VarIsStr(const Variant& value)
{
    return value.VType() == varString;
}

bool VarIsNumeric(const Variant& value)
{
    return IsIntegral(value.VType()) || value.VType() == varDouble || value.VType() == varCurrency;
}

std::string VarTypeAsText(int varType)
{
    const auto simpleName = [](int type) -> std::string {
        switch (type) {
        case varEmpty: return "Empty";
        case varNull: return "Null";
        case varInteger: return "Integer";
        case varDouble: return "Double";
        case varCurrency: return "Currency";
        case varDate: return "Date";
        case varError: return "Error";
        case varBoolean: return "Boolean";
        case varVariant: return "Variant";
        case varInt64: return "Int64";
        case varString: return "String";
        default: return Format("$%.4x", {type});
        }
    };
    const std::string name = simpleName(varType & varTypeMask);
    return varType & varArray ? "Array " + name : name;
}

std::string VarToStr(const Variant& value)
{
    return VarToStrDef(value, "");
}

std::string VarToStrDef(const Variant& value, std::string_view defaultValue)
{
    return VarIsNull(value) ? std::string(defaultValue) : value.ToString();
}

TDateTime VarToDateTime(const Variant& value)
{
    return value.ToDateTime();
}

Variant VarFromDateTime(TDateTime value)
{
    return Variant::FromDateTime(value);
}

Variant VarAsType(const Variant& value, int varType)
{
    switch (varType) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varInteger: return value.ToInteger();
    case varInt64: return static_cast<long long>(value.ToInt64());
    case varDouble: return value.ToDouble();
    case varCurrency: return value.ToCurrency();
    case varDate: return Variant::FromDateTime(value.ToDateTime());
    case varBoolean: return value.ToBoolean();
    case varString: return value.ToString();
    case varError: return Variant::FromError(value.ErrorCode());
    case varVariant: return value;
    default: throw EVariantError(SInvalidVarCast);
    }
}

Variant VarArrayOf(std::initializer_list<Variant> values)
{
    return VarArrayOf(std::vector<Variant>(values));
}

Variant VarArrayOf(const std::vector<Variant>& values)
{
    Variant result = Variant::MakeArray(0, static_cast<int>(values.size()) - 1, varVariant);
    for (std::size_t i = 0; i < values.size(); ++i)
        result.SetElement(static_cast<int>(i), values[i]);
    return result;
}

Variant VarArrayCreate(int lowBound, int highBound, int elementType)
{
    return Variant::MakeArray(lowBound, highBound, elementType);
}

int VarArrayDimCount(const Variant& value)
{
    return VarIsArray(value) ? 1 : 0;
}

int VarArrayLowBound(const Variant& value, int dimension)
{
    if (dimension != 1 && VarIsArray(value))
        throw EVariantError(SVarArrayBounds);
    return value.LowBound();
}

int VarArrayHighBound(const Variant& value, int dimension)
{
    if (dimension != 1 && VarIsArray(value))
        throw EVariantError(SVarArrayBounds);
    return value.HighBound();
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b)
{
    if (VarIsArray(a) || VarIsArray(b))
        throw EVariantError(SInvalidVarOp);
    if (VarIsNull(a) || VarIsNull(b))
        return VarIsNull(a) && VarIsNull(b) ? vrEqual : vrNotEqual;
    return CompareFilled(Filled(a, b), Filled(b, a));
}

bool operator==(const Variant& a, const Variant& b)
{
    return VarCompareValue(a, b) == vrEqual;
}

bool operator<(const Variant& a, const Variant& b)
{
    if (VarIsNull(a) || VarIsNull(b))
        return VarIsNull(a) && !VarIsNull(b) && !VarIsArray(b);
    return VarCompareValue(a, b) == vrLessThan;
}
