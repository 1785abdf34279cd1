#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/rtl/Currency.h"

// One argument of Format, as the class library's open array of constants carried it. It refers
// to string arguments without copying them, so build it only for the duration of the call.
class FormatArg {
public:
    enum class Kind { Integer, Int64, UInt64, Float, Currency, String, Pointer, Boolean };

    FormatArg(int value) : m_kind(Kind::Integer), m_integer(value) {}
    FormatArg(unsigned value) : m_kind(Kind::Int64), m_integer(value) {}
    FormatArg(long value) : m_kind(Kind::Int64), m_integer(value) {}
    FormatArg(long long value) : m_kind(Kind::Int64), m_integer(value) {}
    FormatArg(unsigned long value) : FormatArg(static_cast<unsigned long long>(value)) {}
    FormatArg(unsigned long long value);
    FormatArg(double value) : m_kind(Kind::Float), m_float(value) {}
    FormatArg(Currency value) : m_kind(Kind::Currency), m_integer(value.Scaled()) {}
    FormatArg(const char* value) : m_kind(Kind::String), m_string(value ? value : "") {}
    FormatArg(std::string_view value) : m_kind(Kind::String), m_string(value) {}
    FormatArg(const std::string& value) : m_kind(Kind::String), m_string(value) {}
    FormatArg(const char& value) : m_kind(Kind::String), m_string(&value, 1) {}
    FormatArg(const void* value) : m_kind(Kind::Pointer), m_pointer(value) {}
    // Accepted so that a Boolean is refused by every directive, as the class library did.
    FormatArg(bool value) : m_kind(Kind::Boolean), m_integer(value) {}

    [[nodiscard]] Kind ArgKind() const { return m_kind; }
    [[nodiscard]] std::int64_t Integer() const { return m_integer; }
    [[nodiscard]] double Float() const { return m_float; }
    [[nodiscard]] std::string_view String() const { return m_string; }
    [[nodiscard]] const void* Pointer() const { return m_pointer; }

private:
    Kind m_kind;
    std::int64_t m_integer = 0;
    double m_float = 0;
    std::string_view m_string;
    const void* m_pointer = nullptr;
};

// The class library's Format: "%" ["index:"] ["-"] [width] ["." precision] type, where type is
// one of d u x e f g n m p s (either case) and index, width and precision may be '*' (taken from
// the arguments). "%%" is a percent sign. Width and precision count characters, not bytes.
// Raises EConvertError "Format '...' invalid or incompatible with argument" for a bad directive
// or a mismatched argument, and "No argument for format '...'" when arguments run out.
[[nodiscard]] std::string Format(std::string_view format, std::span<const FormatArg> args);
[[nodiscard]] inline std::string Format(std::string_view format, std::initializer_list<FormatArg> args = {})
{
    return Format(format, std::span<const FormatArg>(args.begin(), args.size()));
}
