#include "platform/rtl/Conversions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatDecimal.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/SysConst.h"

namespace detail = rtl::detail;

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return 99;
}

// The class library's integer syntax: leading blanks, a sign, then decimal digits or hexadecimal
// after '$' or "0x". Hexadecimal may use the full unsigned range of the width ('$FFFFFFFF' is -1),
// as the original allowed.
bool ParseInteger(std::string_view text, int bits, std::int64_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] | 0x20) == 'x') {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;
    const std::uint64_t signedLimit = (std::uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
    const std::uint64_t limit = base == 16 ? (bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1) : signedLimit;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= base || magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    if (base == 16 && bits == 32 && magnitude > 0x7FFFFFFF)
        magnitude |= ~std::uint64_t{0xFFFFFFFF};  // sign-extend the 32-bit pattern
    value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

[[noreturn]] void InvalidInteger(std::string_view text)
{
    throw EConvertError(Format(SInvalidInteger, {text}));
}

[[noreturn]] void InvalidFloat(std::string_view text)
{
    throw EConvertError(Format(SInvalidFloat, {text}));
}

// Blanks, sign, digits with at most one DecimalSeparator, optional exponent, blanks. Written out
// by hand so that neither the C locale nor strtod's extras (hexadecimal, "inf", "nan") leak in.
bool ParseFloat(std::string_view text, double& value)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    std::string plain;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        plain += text[i++];
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            plain += c;
        } else if (c == DecimalSeparator && !point) {
            point = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] | 0x20) == 'e') {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            plain += text[i++];
        bool exponentDigits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            exponentDigits = true;
            plain += text[i];
        }
        if (!exponentDigits)
            return false;
    }
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    errno = 0;
    const double result = std::strtod(plain.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(result))
        return false;
    value = result;
    return true;
}

}  // namespace

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

std::string IntToHex(std::int64_t value, int digits)
{
    const bool fitsInt = value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
    const std::uint64_t pattern = fitsInt ? static_cast<std::uint32_t>(value) : static_cast<std::uint64_t>(value);
    return Format("%.*x", {std::min(digits, 64), static_cast<unsigned long long>(pattern)});
}

int StrToInt(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        InvalidInteger(text);
    return value;
}

std::int64_t StrToInt64(std::string_view text)
{
    std::int64_t value = 0;
    if (!TryStrToInt64(text, value))
        InvalidInteger(text);
    return value;
}

int StrToIntDef(std::string_view text, int defaultValue)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

std::int64_t StrToInt64Def(std::string_view text, std::int64_t defaultValue)
{
    std::int64_t value = 0;
    return TryStrToInt64(text, value) ? value : defaultValue;
}

bool TryStrToInt(std::string_view text, int& value)
{
    std::int64_t wide = 0;
    if (!ParseInteger(text, 32, wide))
        return false;
    value = static_cast<int>(wide);
    return true;
}

bool TryStrToInt64(std::string_view text, std::int64_t& value)
{
    return ParseInteger(text, 64, value);
}

double StrToFloat(std::string_view text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        InvalidFloat(text);
    return value;
}

double StrToFloatDef(std::string_view text, double defaultValue)
{
    double value = 0;
    return TryStrToFloat(text, value) ? value : defaultValue;
}

bool TryStrToFloat(std::string_view text, double& value)
{
    return ParseFloat(text, value);
}

std::string FloatToStr(double value)
{
    return FloatToStrF(value, ffGeneral, detail::DoublePrecision, 0);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return detail::FormatDecimal(detail::DecimalFromDouble(value), format, std::min(precision, 18), digits);
}

std::string FormatFloat(std::string_view format, double value)
{
    return detail::FormatDecimalPicture(detail::DecimalFromDouble(value), format, detail::DoublePrecision);
}

Currency Currency::FromDouble(double value)
{
    const double scaled = std::nearbyint(value * Scale);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(std::fabs(scaled) < 9223372036854775808.0))
        throw EOverflow(SOverflow);
    return FromScaled(static_cast<std::int64_t>(scaled));
}

Currency StrToCurr(std::string_view text)
{
    Currency value;
    if (!TryStrToCurr(text, value))
        InvalidFloat(text);
    return value;
}

Currency StrToCurrDef(std::string_view text, Currency defaultValue)
{
    Currency value;
    return TryStrToCurr(text, value) ? value : defaultValue;
}

bool TryStrToCurr(std::string_view text, Currency& value)
{
    double number = 0;
    if (!ParseFloat(text, number) || !(std::fabs(number) < 922337203685477.0))
        return false;
    value = Currency::FromDouble(number);
    return true;
}

std::string CurrToStr(Currency value)
{
    return CurrToStrF(value, ffGeneral, 0);
}

std::string CurrToStrF(Currency value, TFloatFormat format, int digits)
{
    return detail::FormatDecimal(detail::DecimalFromCurrency(value), format, detail::CurrencyPrecision, digits);
}

std::string FormatCurr(std::string_view format, Currency value)
{
    return detail::FormatDecimalPicture(detail::DecimalFromCurrency(value), format, detail::CurrencyPrecision);
}
