#include <algorithm>
#include <vector>

#include "platform/rtl/FloatDecimal.h"
#include "platform/rtl/LocaleSettings.h"

// FormatFloat's picture formats: up to three sections (positive; negative; zero), each a run of
// digit placeholders, a decimal point, thousands commas, an optional exponent and literal text.
namespace rtl::detail {
namespace {

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// Positions just past a quoted literal starting at 'start' (or the end when unterminated).
std::size_t SkipQuoted(std::string_view text, std::size_t start)
{
    const std::size_t close = text.find(text[start], start + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

std::vector<std::string_view> SplitSections(std::string_view picture)
{
    std::vector<std::string_view> sections;
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < picture.size()) {
        if (IsQuote(picture[i])) {
            i = SkipQuoted(picture, i);
        } else if (picture[i] == ';') {
            sections.push_back(picture.substr(begin, i - begin));
            begin = ++i;
        } else {
            ++i;
        }
    }
    sections.push_back(picture.substr(begin));
    return sections;
}

bool IsExponentAt(std::string_view section, std::size_t i)
{
    return (section[i] == 'E' || section[i] == 'e') && i + 1 < section.size() &&
           (section[i + 1] == '+' || section[i + 1] == '-');
}

// What a section asks for, gathered before any digit is written.
struct SectionLayout {
    int IntegerPlaceholders = 0;
    int MinIntegerDigits = 0;  // placeholders from the first '0' to the decimal point
    int FractionPlaceholders = 0;
    int MinFractionDigits = 0;  // placeholders up to the last '0' after the point
    bool Thousands = false;
    bool Scientific = false;
};

SectionLayout ScanSection(std::string_view section)
{
    SectionLayout layout;
    bool afterPoint = false;
    bool seenZero = false;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (IsQuote(c)) {
            i = SkipQuoted(section, i) - 1;
        } else if (IsExponentAt(section, i)) {
            layout.Scientific = true;
            break;
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            layout.Thousands = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++layout.FractionPlaceholders;
                if (c == '0')
                    layout.MinFractionDigits = layout.FractionPlaceholders;
            } else {
                ++layout.IntegerPlaceholders;
                seenZero = seenZero || c == '0';
                if (seenZero)
                    ++layout.MinIntegerDigits;
            }
        }
    }
    return layout;
}

// The digits a section writes, decided before the section is walked.
struct SectionDigits {
    std::string Integer;
    std::string Fraction;
    int Exponent = 0;
};

SectionDigits LayOutDigits(const FloatDecimal& value, const SectionLayout& layout)
{
    SectionDigits digits;
    const auto digitAt = [&](int index) {
        return index >= 0 && index < static_cast<int>(value.Digits.size()) ? value.Digits[index] : '0';
    };
    const int integerCount = layout.Scientific ? layout.IntegerPlaceholders : std::max(value.Exponent, 0);
    for (int i = 0; i < integerCount; ++i)
        digits.Integer += digitAt(i);
    const std::size_t firstSignificant = digits.Integer.find_first_not_of('0');
    digits.Integer.erase(0, std::min(firstSignificant, digits.Integer.size()));
    if (static_cast<int>(digits.Integer.size()) < layout.MinIntegerDigits)
        digits.Integer.insert(0, layout.MinIntegerDigits - digits.Integer.size(), '0');
    const int fractionStart = layout.Scientific ? layout.IntegerPlaceholders : value.Exponent;
    for (int i = 0; i < layout.FractionPlaceholders; ++i)
        digits.Fraction += digitAt(fractionStart + i);
    while (static_cast<int>(digits.Fraction.size()) > layout.MinFractionDigits && digits.Fraction.back() == '0')
        digits.Fraction.pop_back();
    if (layout.Scientific && !value.IsZero())
        digits.Exponent = value.Exponent - layout.IntegerPlaceholders;
    return digits;
}

// Walks a section, replacing placeholders with the laid-out digits and copying the rest.
class SectionWriter {
public:
    SectionWriter(const SectionLayout& layout, SectionDigits digits) : m_layout(layout), m_digits(std::move(digits)) {}

    std::string Write(std::string_view section)
    {
        for (std::size_t i = 0; i < section.size(); ++i) {
            const char c = section[i];
            if (IsQuote(c)) {
                const std::size_t close = std::min(section.find(c, i + 1), section.size());
                m_out.append(section.substr(i + 1, close - i - 1));
                i = close;
            } else if (IsExponentAt(section, i)) {
                i = WriteExponent(section, i) - 1;
            } else if (c == '0' || c == '#') {
                WritePlaceholder();
            } else if (c == '.') {
                WritePoint();
            } else if (c != ',') {
                m_out += c;
            }
        }
        return m_out;
    }

private:
    void WritePlaceholder()
    {
        if (m_afterPoint) {
            if (m_fractionIndex < m_digits.Fraction.size())
                m_out += m_digits.Fraction[m_fractionIndex];
            ++m_fractionIndex;
            return;
        }
        // Integer digits are right-aligned on the placeholders; the first one takes any excess.
        const int count = static_cast<int>(m_digits.Integer.size());
        const int unused = m_layout.IntegerPlaceholders - count;
        const int position = m_integerPlaceholder++;
        const int take = position == 0 && unused < 0 ? 1 - unused : (position >= unused ? 1 : 0);
        for (int i = 0; i < take; ++i) {
            m_out += m_digits.Integer[m_integerIndex++];
            const int remaining = count - m_integerIndex;
            if (m_layout.Thousands && remaining > 0 && remaining % 3 == 0)
                m_out += ThousandSeparator;
        }
    }

    void WritePoint()
    {
        if (m_afterPoint)
            return;
        m_afterPoint = true;
        if (!m_digits.Fraction.empty())
            m_out += DecimalSeparator;
    }

    std::size_t WriteExponent(std::string_view section, std::size_t i)
    {
        const bool plus = section[i + 1] == '+';
        std::size_t end = i + 2;
        int minDigits = 0;
        while (end < section.size() && section[end] == '0' && minDigits < 4) {
            ++minDigits;
            ++end;
        }
        std::string number = std::to_string(std::abs(m_digits.Exponent));
        if (static_cast<int>(number.size()) < minDigits)
            number.insert(0, minDigits - number.size(), '0');
        m_out += section[i];
        m_out += m_digits.Exponent < 0 ? "-" : plus ? "+" : "";
        m_out += number;
        m_afterPoint = true;
        m_fractionIndex = m_digits.Fraction.size();
        return end;
    }

    const SectionLayout& m_layout;
    SectionDigits m_digits;
    std::string m_out;
    bool m_afterPoint = false;
    int m_integerPlaceholder = 0;
    int m_integerIndex = 0;
    std::size_t m_fractionIndex = 0;
};

FloatDecimal Rounded(FloatDecimal value, const SectionLayout& layout, int precision)
{
    if (layout.Scientific)
        RoundDecimal(value, std::max(1, std::min(precision, layout.IntegerPlaceholders + layout.FractionPlaceholders)), 9999);
    else
        RoundDecimal(value, precision, layout.FractionPlaceholders);
    return value;
}

}  // namespace

std::string FormatDecimalPicture(const FloatDecimal& value, std::string_view picture, int precision)
{
    if (picture.empty() || value.Kind != FloatDecimal::Class::Finite)
        return FormatDecimal(value, ffGeneral, precision, 0);
    const std::vector<std::string_view> sections = SplitSections(picture);
    const auto usable = [&](std::size_t index) { return index < sections.size() && !sections[index].empty(); };

    std::size_t index = value.Negative && usable(1) ? 1 : 0;
    SectionLayout layout = ScanSection(sections[index]);
    FloatDecimal rounded = Rounded(value, layout, precision);
    if (rounded.IsZero()) {
        // A value that rounds to nothing is shown as zero, by the zero section and without a sign.
        index = usable(2) ? 2 : 0;
        layout = ScanSection(sections[index]);
        rounded = FloatDecimal{};
    }
    const bool minus = rounded.Negative && index == 0;
    std::string text = SectionWriter(layout, LayOutDigits(rounded, layout)).Write(sections[index]);
    return minus ? "-" + text : text;
}

}  // namespace detail
