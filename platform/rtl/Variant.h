#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

// Variant type codes, with the class library's numbers.
inline constexpr int varEmpty = 0x0000;
inline constexpr int varNull = 0x0001;
inline constexpr int varInteger = 0x0003;
inline constexpr int varDouble = 0x0005;
inline constexpr int varCurrency = 0x0006;
inline constexpr int varDate = 0x0007;
inline constexpr int varError = 0x000A;
inline constexpr int varBoolean = 0x000B;
inline constexpr int varVariant = 0x000C;
inline constexpr int varInt64 = 0x0014;
inline constexpr int varString = 0x0100;
inline constexpr int varTypeMask = 0x0FFF;
inline constexpr int varArray = 0x2000;

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// A value of any of the types above, or a one-dimensional array of them with its own bounds.
// Arrays are values: copying a variant copies its elements. Conversions that the value cannot
// make raise EVariantTypeCastError "Could not convert variant of type (X) into type (Y)".
class Variant {
public:
    Variant() = default;
    Variant(int value) : m_type(varInteger), m_integer(value) {}
    Variant(unsigned value) : m_type(varInt64), m_integer(value) {}
    Variant(long value) : m_type(varInt64), m_integer(value) {}
    Variant(long long value) : m_type(varInt64), m_integer(value) {}
    Variant(double value) : m_type(varDouble), m_double(value) {}
    Variant(bool value) : m_type(varBoolean), m_integer(value ? -1 : 0) {}
    Variant(Currency value) : m_type(varCurrency), m_integer(value.Scaled()) {}
    Variant(const char* value) : m_type(varString), m_string(value ? value : "") {}
    Variant(std::string_view value) : m_type(varString), m_string(value) {}
    Variant(std::string value) : m_type(varString), m_string(std::move(value)) {}

    [[nodiscard]] static Variant MakeNull();
    [[nodiscard]] static Variant FromDateTime(TDateTime value);
    [[nodiscard]] static Variant FromError(std::int32_t code);
    // A one-dimensional array lowBound..highBound whose elements are empty values of elementType.
    [[nodiscard]] static Variant MakeArray(int lowBound, int highBound, int elementType);

    [[nodiscard]] int VType() const { return m_type; }

    [[nodiscard]] int ToInteger() const;
    [[nodiscard]] std::int64_t ToInt64() const;
    [[nodiscard]] double ToDouble() const;
    [[nodiscard]] Currency ToCurrency() const;
    [[nodiscard]] bool ToBoolean() const;
    [[nodiscard]] TDateTime ToDateTime() const;
    [[nodiscard]] std::string ToString() const;
    // The error code of a varError value.
    [[nodiscard]] std::int32_t ErrorCode() const;

    // Arrays; EVariantError "Variant is not an array" on any other value, "Variant or safe
    // array index out of bounds" outside the bounds.
    [[nodiscard]] int LowBound() const;
    [[nodiscard]] int HighBound() const;
    [[nodiscard]] const Variant& Element(int index) const;
    void SetElement(int index, Variant value);

private:
    [[noreturn]] void CastError(int targetType) const;
    [[nodiscard]] std::size_t Offset(int index) const;

    int m_type = varEmpty;
    std::int64_t m_integer = 0;  // integers, Boolean (-1 true), currency (scaled), error code
    double m_double = 0;         // double and date
    std::string m_string;
    std::vector<Variant> m_items;
    int m_lowBound = 0;
};

[[nodiscard]] Variant Null();
[[nodiscard]] Variant Unassigned();

[[nodiscard]] int VarType(const Variant& value);
[[nodiscard]] bool VarIsNull(const Variant& value);
[[nodiscard]] bool VarIsEmpty(const Variant& value);
// Empty or Null.
[[nodiscard]] bool VarIsClear(const Variant& value);
[[nodiscard]] bool VarIsArray(const Variant& value);
[[nodiscard]] bool VarIsStr(const Variant& value);
[[nodiscard]] bool VarIsNumeric(const Variant& value);
// "Integer", "String", "Array Variant", ... as the conversion errors name them.
[[nodiscard]] std::string VarTypeAsText(int varType);

// The text of a value; "" for Null and Empty.
[[nodiscard]] std::string VarToStr(const Variant& value);
[[nodiscard]] std::string VarToStrDef(const Variant& value, std::string_view defaultValue);
[[nodiscard]] TDateTime VarToDateTime(const Variant& value);
[[nodiscard]] Variant VarFromDateTime(TDateTime value);
// Converts to the simple type 'varType' (varInteger, varString, ...).
[[nodiscard]] Variant VarAsType(const Variant& value, int varType);

[[nodiscard]] Variant VarArrayOf(std::initializer_list<Variant> values);
[[nodiscard]] Variant VarArrayOf(const std::vector<Variant>& values);
[[nodiscard]] Variant VarArrayCreate(int lowBound, int highBound, int elementType);
[[nodiscard]] int VarArrayDimCount(const Variant& value);
[[nodiscard]] int VarArrayLowBound(const Variant& value, int dimension);
[[nodiscard]] int VarArrayHighBound(const Variant& value, int dimension);

// Numbers compare as numbers (a string beside a number is converted), strings as AnsiCompareStr,
// Empty as 0 or "". Null equals only Null (vrNotEqual against anything else) and orders before
// every other value. Arrays cannot be compared (EVariantError "Invalid variant operation").
[[nodiscard]] TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
[[nodiscard]] bool operator==(const Variant& a, const Variant& b);
[[nodiscard]] bool operator<(const Variant& a, const Variant& b);
[[nodiscard]] inline bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
[[nodiscard]] inline bool operator>(const Variant& a, const Variant& b) { return b < a; }
[[nodiscard]] inline bool operator<=(const Variant& a, const Variant& b) { return !(b < a); }
[[nodiscard]] inline bool operator>=(const Variant& a, const Variant& b) { return !(a < b); }
