#include "platform/rtl/FloatDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/Currency.h"
#include "platform/rtl/LocaleSettings.h"

namespace rtl::detail {
namespace {

constexpr int MaxPrecision = 18;
constexpr int MaxDecimals = 18;

void TrimDigits(FloatDecimal& value)
{
    const auto last = value.Digits.find_last_not_of('0');
    value.Digits.erase(last == std::string::npos ? 0 : last + 1);
    if (value.Digits.empty())
        value.Exponent = 0;
}

// The digit at position 'index', or '0' past the significant ones.
char DigitAt(const FloatDecimal& value, int index)
{
    return index >= 0 && index < static_cast<int>(value.Digits.size()) ? value.Digits[index] : '0';
}

std::string IntegerPart(const FloatDecimal& value)
{
    if (value.Exponent <= 0)
        return "0";
    std::string result;
    for (int i = 0; i < value.Exponent; ++i)
        result += DigitAt(value, i);
    return result;
}

std::string FractionPart(const FloatDecimal& value, int decimals)
{
    std::string result;
    for (int i = 0; i < decimals; ++i)
        result += DigitAt(value, value.Exponent + i);
    return result;
}

std::string GroupThousands(const std::string& integerDigits)
{
    std::string result;
    const int count = static_cast<int>(integerDigits.size());
    for (int i = 0; i < count; ++i) {
        result += integerDigits[i];
        const int remaining = count - i - 1;
        if (remaining > 0 && remaining % 3 == 0)
            result += ThousandSeparator;
    }
    return result;
}

std::string ExponentText(int exponent, int minDigits, bool plusSign)
{
    std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, minDigits - digits.size(), '0');
    return (exponent < 0 ? "-" : plusSign ? "+" : "") + digits;
}

std::string FormatSpecial(const FloatDecimal& value)
{
    if (value.Kind == FloatDecimal::Class::NotANumber)
        return "NAN";
    return value.Negative ? "-INF" : "INF";
}

std::string SignedText(const FloatDecimal& value, std::string text)
{
    return value.Negative && !value.IsZero() ? "-" + text : text;
}

std::string FormatGeneral(FloatDecimal value, int precision, int exponentDigits)
{
    RoundDecimal(value, precision, 9999);
    if (value.IsZero())
        return "0";
    std::string text;
    if (value.Exponent > precision || value.Exponent < -3) {
        text = value.Digits.substr(0, 1);
        if (value.Digits.size() > 1)
            text += DecimalSeparator + value.Digits.substr(1);
        text += 'E' + ExponentText(value.Exponent - 1, exponentDigits, false);
    } else {
        text = IntegerPart(value);
        const int decimals = static_cast<int>(value.Digits.size()) - value.Exponent;
        if (decimals > 0)
            text += DecimalSeparator + FractionPart(value, decimals);
    }
    return SignedText(value, text);
}

std::string FormatExponent(FloatDecimal value, int precision, int exponentDigits)
{
    RoundDecimal(value, precision, 9999);
    std::string text(1, DigitAt(value, 0));
    if (precision > 1) {
        text += DecimalSeparator;
        for (int i = 1; i < precision; ++i)
            text += DigitAt(value, i);
    }
    const int exponent = value.IsZero() ? 0 : value.Exponent - 1;
    return SignedText(value, text + 'E' + ExponentText(exponent, exponentDigits, true));
}

std::string ApplyCurrencyFormat(const std::string& number, bool negative)
{
    static constexpr const char* positive[] = {"$1", "1$", "$ 1", "1 $"};
    static constexpr const char* negativeForms[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$",
                                                    "1-$", "1$-", "-1 $", "-$ 1", "1 $-", "$ 1-",
                                                    "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char* pattern = negative ? negativeForms[std::clamp(NegCurrFormat, 0, 15)]
                                   : positive[std::clamp(CurrencyFormat, 0, 3)];
    std::string result;
    for (const char* c = pattern; *c; ++c) {
        if (*c == '$')
            result += CurrencyString;
        else if (*c == '1')
            result += number;
        else
            result += *c;
    }
    return result;
}

std::string FormatFixed(FloatDecimal value, TFloatFormat format, int precision, int decimals)
{
    RoundDecimal(value, precision, decimals);
    if (value.Exponent > precision)
        return FormatGeneral(value, precision, 0);
    std::string text = IntegerPart(value);
    if (format != ffFixed)
        text = GroupThousands(text);
    if (decimals > 0)
        text += DecimalSeparator + FractionPart(value, decimals);
    if (format == ffCurrency)
        return ApplyCurrencyFormat(text, value.Negative && !value.IsZero());
    return SignedText(value, text);
}

}  // namespace

FloatDecimal DecimalFromDouble(double value)
{
    FloatDecimal result;
    result.Negative = std::signbit(value);
    if (std::isnan(value)) {
        result.Kind = FloatDecimal::Class::NotANumber;
        return result;
    }
    if (std::isinf(value)) {
        result.Kind = FloatDecimal::Class::Infinite;
        return result;
    }
    if (value == 0)
        return result;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    // "d.dddddddddddddddde+xx"
    result.Digits = std::string(1, buffer[0]) + std::string(buffer + 2, 16);
    result.Exponent = std::atoi(buffer + 19) + 1;
    TrimDigits(result);
    return result;
}

FloatDecimal DecimalFromCurrency(Currency value)
{
    FloatDecimal result;
    const std::int64_t scaled = value.Scaled();
    result.Negative = scaled < 0;
    // Through unsigned arithmetic, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        result.Negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    if (magnitude == 0)
        return result;
    result.Digits = std::to_string(magnitude);
    result.Exponent = static_cast<int>(result.Digits.size()) - 4;
    TrimDigits(result);
    return result;
}

void RoundDecimal(FloatDecimal& value, int precision, int decimals)
{
    if (value.Kind != FloatDecimal::Class::Finite || value.Digits.empty())
        return;
    const long keep = std::min<long>(precision, static_cast<long>(value.Exponent) + decimals);
    if (keep >= static_cast<long>(value.Digits.size()))
        return;
    if (keep < 0) {
        value.Digits.clear();
        TrimDigits(value);
        return;
    }
    const bool roundUp = value.Digits[keep] >= '5';
    value.Digits.resize(keep);
    if (roundUp) {
        int i = static_cast<int>(keep) - 1;
        while (i >= 0 && value.Digits[i] == '9')
            value.Digits[i--] = '0';
        if (i >= 0) {
            ++value.Digits[i];
        } else {
            value.Digits.insert(0, 1, '1');
            ++value.Exponent;
        }
    }
    TrimDigits(value);
}

std::string FormatDecimal(FloatDecimal value, TFloatFormat format, int precision, int digits)
{
    if (value.Kind != FloatDecimal::Class::Finite)
        return FormatSpecial(value);
    precision = std::clamp(precision, 1, std::max(MaxPrecision, CurrencyPrecision));
    switch (format) {
    case ffExponent:
        return FormatExponent(std::move(value), precision, std::clamp(digits, 0, 4));
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        return FormatFixed(std::move(value), format, precision, std::clamp(digits, 0, MaxDecimals));
    case ffGeneral:
        break;
    }
    return FormatGeneral(std::move(value), precision, std::clamp(digits, 0, 4));
}

}  // namespace detail
