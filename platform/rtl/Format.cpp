#include "platform/rtl/Format.h"

#include <cstdio>
#include <limits>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatDecimal.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/SysConst.h"
#include "platform/rtl/Utf8.h"

namespace detail = rtl::detail;

FormatArg::FormatArg(unsigned long long value)
    : m_kind(value > static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max()) ? Kind::UInt64
                                                                                                : Kind::Int64),
      m_integer(static_cast<std::int64_t>(value))
{
}

namespace {

constexpr int Unspecified = -1;
// Far beyond any sensible field, small enough that a typo cannot ask for gigabytes.
constexpr int MaxFieldSize = 65536;

// The bytes of the first 'count' characters.
std::string_view FirstCharacters(std::string_view text, std::size_t count)
{
    return text.substr(0, Utf8CharacterOffset(text, count));
}

std::string UnsignedText(std::uint64_t value, int base)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, base == 16 ? "%llX" : "%llu", static_cast<unsigned long long>(value));
    return buffer;
}

struct Directive {
    bool LeftAlign = false;
    int Width = Unspecified;
    int Precision = Unspecified;
    char Type = 0;
};

class Formatter {
public:
    Formatter(std::string_view format, std::span<const FormatArg> args) : m_format(format), m_args(args) {}

    std::string Run()
    {
        while (m_pos < m_format.size()) {
            const std::size_t percent = m_format.find('%', m_pos);
            m_out.append(m_format.substr(m_pos, percent - m_pos));
            if (percent == std::string_view::npos)
                break;
            m_pos = percent + 1;
            if (Peek() == '%') {
                m_out += '%';
                ++m_pos;
            } else {
                WriteDirective();
            }
        }
        return m_out;
    }

private:
    [[noreturn]] void InvalidFormat() const
    {
        throw EConvertError(Format(SInvalidFormat, {m_format}));
    }

    char Peek() const { return m_pos < m_format.size() ? m_format[m_pos] : '\0'; }

    const FormatArg& NextArg()
    {
        if (m_argIndex >= m_args.size())
            throw EConvertError(Format(SArgumentMissing, {m_format}));
        return m_args[m_argIndex++];
    }

    // A decimal number, '*' (the next argument) or nothing.
    int ReadNumber()
    {
        if (Peek() == '*') {
            ++m_pos;
            const FormatArg& arg = NextArg();
            if (arg.ArgKind() != FormatArg::Kind::Integer)
                InvalidFormat();
            return static_cast<int>(arg.Integer());
        }
        if (Peek() < '0' || Peek() > '9')
            return Unspecified;
        int value = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            value = value * 10 + (m_format[m_pos++] - '0');
            if (value > MaxFieldSize)
                InvalidFormat();
        }
        return value;
    }

    Directive ReadDirective()
    {
        Directive directive;
        int number = ReadNumber();
        if (Peek() == ':') {
            ++m_pos;
            if (number < 0)
                InvalidFormat();
            m_argIndex = static_cast<std::size_t>(number);
            number = ReadNumber();
        }
        if (number == Unspecified && Peek() == '-') {
            directive.LeftAlign = true;
            ++m_pos;
            number = ReadNumber();
        }
        directive.Width = number;
        if (Peek() == '.') {
            ++m_pos;
            directive.Precision = ReadNumber();
        }
        directive.Type = static_cast<char>(Peek() | 0x20);
        if (m_pos >= m_format.size())
            InvalidFormat();
        ++m_pos;
        return directive;
    }

    void WriteDirective()
    {
        const Directive directive = ReadDirective();
        std::string text = Convert(directive, NextArg());
        const std::size_t length = Utf8CharacterCount(text);
        if (directive.Width > 0 && length < static_cast<std::size_t>(directive.Width)) {
            const std::string padding(directive.Width - length, ' ');
            text = directive.LeftAlign ? text + padding : padding + text;
        }
        m_out += text;
    }

    std::string Convert(const Directive& directive, const FormatArg& arg) const
    {
        switch (directive.Type) {
        case 'd': return ConvertInteger(directive, arg, 10, true);
        case 'u': return ConvertInteger(directive, arg, 10, false);
        case 'x': return ConvertInteger(directive, arg, 16, false);
        case 'e': return ConvertFloat(arg, ffExponent, Or(directive.Precision, 15), 3);
        case 'f': return ConvertFloat(arg, ffFixed, detail::DoublePrecision, Or(directive.Precision, 2));
        case 'g': return ConvertFloat(arg, ffGeneral, Or(directive.Precision, 15), 0);
        case 'n': return ConvertFloat(arg, ffNumber, detail::DoublePrecision, Or(directive.Precision, 2));
        case 'm':
            return ConvertFloat(arg, ffCurrency, detail::DoublePrecision, Or(directive.Precision, CurrencyDecimals));
        case 'p': return ConvertPointer(directive, arg);
        case 's': return ConvertString(directive, arg);
        default: InvalidFormat();
        }
    }

    std::string ConvertInteger(const Directive& directive, const FormatArg& arg, int base, bool isSigned) const
    {
        const FormatArg::Kind kind = arg.ArgKind();
        if (kind != FormatArg::Kind::Integer && kind != FormatArg::Kind::Int64 && kind != FormatArg::Kind::UInt64)
            InvalidFormat();
        const std::int64_t value = arg.Integer();
        const bool negative = isSigned && kind != FormatArg::Kind::UInt64 && value < 0;
        std::uint64_t magnitude = static_cast<std::uint64_t>(value);
        if (negative)
            magnitude = 0 - magnitude;
        else if (kind == FormatArg::Kind::Integer)
            magnitude &= 0xFFFFFFFFu;  // an int shown unsigned is its 32-bit two's complement
        std::string digits = UnsignedText(magnitude, base);
        if (directive.Precision > static_cast<int>(digits.size()))
            digits.insert(0, directive.Precision - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    static int Or(int value, int fallback) { return value == Unspecified ? fallback : value; }

    std::string ConvertFloat(const FormatArg& arg, TFloatFormat format, int precision, int digits) const
    {
        detail::FloatDecimal value;
        if (arg.ArgKind() == FormatArg::Kind::Float) {
            value = detail::DecimalFromDouble(arg.Float());
        } else if (arg.ArgKind() == FormatArg::Kind::Currency) {
            value = detail::DecimalFromCurrency(Currency::FromScaled(arg.Integer()));
            if (format >= ffFixed)
                precision = detail::CurrencyPrecision;
        } else {
            InvalidFormat();
        }
        return detail::FormatDecimal(std::move(value), format, precision, digits);
    }

    std::string ConvertPointer(const Directive& directive, const FormatArg& arg) const
    {
        if (arg.ArgKind() != FormatArg::Kind::Pointer)
            InvalidFormat();
        std::string digits = UnsignedText(reinterpret_cast<std::uintptr_t>(arg.Pointer()), 16);
        const int width = std::max<int>(directive.Precision, sizeof(void*) * 2);
        if (static_cast<int>(digits.size()) < width)
            digits.insert(0, width - digits.size(), '0');
        return digits;
    }

    std::string ConvertString(const Directive& directive, const FormatArg& arg) const
    {
        if (arg.ArgKind() != FormatArg::Kind::String)
            InvalidFormat();
        std::string_view text = arg.String();
        if (directive.Precision != Unspecified)
            text = FirstCharacters(text, directive.Precision);
        return std::string(text);
    }

    std::string_view m_format;
    std::span<const FormatArg> m_args;
    std::size_t m_pos = 0;
    std::size_t m_argIndex = 0;
    std::string m_out;
};

}  // namespace

std::string Format(std::string_view format, std::span<const FormatArg> args)
{
    return Formatter(format, args).Run();
}
