#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Currency.h"

// Conversions between numbers and text. Parsing and formatting of floats follow the locale
// settings (DecimalSeparator, ThousandSeparator, CurrencyString, ...); errors raise EConvertError
// with the class library's messages.

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

[[nodiscard]] std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal, at least 'digits' digits; negative values as their two's complement
// in 32 bits when they fit an int, else in 64.
[[nodiscard]] std::string IntToHex(std::int64_t value, int digits);

// Leading blanks, a sign and a '$' or "0x" hexadecimal prefix are accepted; anything else, an
// empty text or a value out of range raises EConvertError "'text' is not a valid integer value".
[[nodiscard]] int StrToInt(std::string_view text);
[[nodiscard]] std::int64_t StrToInt64(std::string_view text);
[[nodiscard]] int StrToIntDef(std::string_view text, int defaultValue);
[[nodiscard]] std::int64_t StrToInt64Def(std::string_view text, std::int64_t defaultValue);
[[nodiscard]] bool TryStrToInt(std::string_view text, int& value);
[[nodiscard]] bool TryStrToInt64(std::string_view text, std::int64_t& value);

// Blanks around the number are allowed; the decimal point is DecimalSeparator; an exponent
// "E+dd" may follow. Raises EConvertError "'text' is not a valid floating point value".
[[nodiscard]] double StrToFloat(std::string_view text);
[[nodiscard]] double StrToFloatDef(std::string_view text, double defaultValue);
[[nodiscard]] bool TryStrToFloat(std::string_view text, double& value);

// FloatToStrF(value, ffGeneral, 15, 0).
[[nodiscard]] std::string FloatToStr(double value);
// precision: significant digits (1..18); digits: exponent digits for ffGeneral and ffExponent
// (0..4), decimals for ffFixed, ffNumber and ffCurrency (0..18).
[[nodiscard]] std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
// A picture such as "#,##0.00;(#,##0.00);Zero": '0' digit or zero, '#' digit or nothing, '.'
// decimal point, ',' thousands, "E+00" scientific, quoted text literal, up to three sections for
// positive, negative and zero values.
[[nodiscard]] std::string FormatFloat(std::string_view format, double value);

[[nodiscard]] Currency StrToCurr(std::string_view text);
[[nodiscard]] Currency StrToCurrDef(std::string_view text, Currency defaultValue);
[[nodiscard]] bool TryStrToCurr(std::string_view text, Currency& value);
[[nodiscard]] std::string CurrToStr(Currency value);
[[nodiscard]] std::string CurrToStrF(Currency value, TFloatFormat format, int digits);
[[nodiscard]] std::string FormatCurr(std::string_view format, Currency value);
