#pragma once

#include <string>

#include "platform/rtl/Conversions.h"

class Currency;

// Private to the run-time library: a number as decimal digits, the common ground of every
// float and currency formatter.
namespace rtl::detail {

// Value = 0.Digits x 10^Exponent. Digits has no leading or trailing zeros; empty means zero.
struct FloatDecimal {
    enum class Class { Finite, NotANumber, Infinite };

    Class Kind = Class::Finite;
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;

    [[nodiscard]] bool IsZero() const { return Kind == Class::Finite && Digits.empty(); }
};

// The double as 17 significant digits, enough to tell any two doubles apart.
[[nodiscard]] FloatDecimal DecimalFromDouble(double value);
// The amount exactly, all 19 digits a currency can hold.
[[nodiscard]] FloatDecimal DecimalFromCurrency(Currency value);
// Rounds half away from zero, once, at whichever comes first: 'precision' significant digits
// or 'decimals' digits after the point.
void RoundDecimal(FloatDecimal& value, int precision, int decimals);

// Most significant digits a double can show, and a currency.
inline constexpr int DoublePrecision = 15;
inline constexpr int CurrencyPrecision = 19;

[[nodiscard]] std::string FormatDecimal(FloatDecimal value, TFloatFormat format, int precision, int digits);
[[nodiscard]] std::string FormatDecimalPicture(const FloatDecimal& value, std::string_view picture,
                                               int precision);

}  // namespace detail
