#include <cmath>
#include <cstdio>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/LocaleSettings.h"

namespace {

// Formats that name other formats (c, ddddd, t, ...) nest at most this deep, so a setting that
// names itself cannot recurse forever.
constexpr int MaxNesting = 2;

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[at + i] | 0x20) != (word[i] | 0x20))
            return false;
    }
    return true;
}

std::string Padded(int value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

class DateTimeFormatter {
public:
    explicit DateTimeFormatter(TDateTime value) : m_value(value)
    {
        DecodeDate(value, m_year, m_month, m_day);
        DecodeTime(value, m_hour, m_minute, m_second, m_millisecond);
    }

    std::string Run(std::string_view format)
    {
        Append(format.empty() ? "c" : format, 0);
        return m_out;
    }

private:
    void Append(std::string_view format, int nesting)
    {
        if (nesting > MaxNesting)
            return;
        char lastLetter = 0;
        std::size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            const char letter = static_cast<char>(c | 0x20);
            std::size_t count = 1;
            while (i + count < format.size() && (format[i + count] | 0x20) == letter && letter >= 'a' && letter <= 'z')
                ++count;
            if (c == '"' || c == '\'') {
                const std::size_t close = std::min(format.find(c, i + 1), format.size());
                m_out.append(format.substr(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
            if (letter == 'a') {
                i += AppendAmPm(format, i);
                lastLetter = 'a';
                continue;
            }
            const bool isLetter = letter >= 'a' && letter <= 'z';
            const char token = letter == 'm' && lastLetter == 'h' ? 'n' : letter;
            if (!isLetter)
                count = 1;
            AppendToken(c, token, static_cast<int>(count), format, i, nesting);
            if (isLetter)
                lastLetter = token == 'n' ? 'n' : letter;
            i += count;
        }
    }

    void AppendToken(char c, char token, int count, std::string_view format, std::size_t at, int nesting)
    {
        switch (token) {
        case 'c':
            Append(ShortDateFormat, nesting + 1);
            if (m_hour != 0 || m_minute != 0 || m_second != 0) {
                m_out += ' ';
                Append(LongTimeFormat, nesting + 1);
            }
            break;
        case 'd': AppendDay(count, nesting); break;
        case 'm': AppendMonth(count); break;
        case 'y': m_out += count <= 2 ? Padded(m_year % 100, 2) : Padded(m_year, 4); break;
        case 'h': m_out += Padded(TwelveHourClock(format, at) ? (m_hour + 11) % 12 + 1 : m_hour, count >= 2 ? 2 : 1); break;
        case 'n': m_out += Padded(m_minute, count >= 2 ? 2 : 1); break;
        case 's': m_out += Padded(m_second, count >= 2 ? 2 : 1); break;
        case 'z': m_out += Padded(m_millisecond, count >= 3 ? 3 : 1); break;
        case 't': Append(count == 1 ? ShortTimeFormat : LongTimeFormat, nesting + 1); break;
        case '/': m_out += DateSeparator; break;
        case ':': m_out += TimeSeparator; break;
        default: m_out.append(static_cast<std::size_t>(count), c); break;
        }
    }

    void AppendDay(int count, int nesting)
    {
        switch (count) {
        case 1:
        case 2: m_out += Padded(m_day, count); break;
        case 3: m_out += ShortDayNames[DayOfWeek(m_value) - 1]; break;
        case 4: m_out += LongDayNames[DayOfWeek(m_value) - 1]; break;
        case 5: Append(ShortDateFormat, nesting + 1); break;
        default: Append(LongDateFormat, nesting + 1); break;
        }
    }

    void AppendMonth(int count)
    {
        if (count <= 2)
            m_out += Padded(m_month, count);
        else if (m_month >= 1)
            m_out += (count == 3 ? ShortMonthNames : LongMonthNames)[m_month - 1];
    }

    // am/pm and a/p copy the letters as the format wrote them; ampm uses the locale's words.
    std::size_t AppendAmPm(std::string_view format, std::size_t at)
    {
        const bool pm = m_hour >= 12;
        if (StartsWithNoCase(format, at, "am/pm")) {
            m_out.append(format.substr(at + (pm ? 3 : 0), 2));
            return 5;
        }
        if (StartsWithNoCase(format, at, "a/p")) {
            m_out += format[at + (pm ? 2 : 0)];
            return 3;
        }
        if (StartsWithNoCase(format, at, "ampm")) {
            m_out += pm ? TimePMString : TimeAMString;
            return 4;
        }
        m_out += format[at];
        return 1;
    }

    // An hour is on the 12-hour clock when an am/pm marker follows it before the next hour;
    // the first 'a' outside quotes ends the search either way, as the class library did.
    static bool TwelveHourClock(std::string_view format, std::size_t at)
    {
        char quote = 0;
        for (std::size_t i = at; i < format.size(); ++i) {
            const char c = format[i];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if ((c | 0x20) == 'a') {
                return StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
                       StartsWithNoCase(format, i, "ampm");
            } else if ((c | 0x20) == 'h' && i > at && (format[i - 1] | 0x20) != 'h') {
                return false;
            }
        }
        return false;
    }

    TDateTime m_value;
    std::uint16_t m_year = 0, m_month = 0, m_day = 0;
    std::uint16_t m_hour = 0, m_minute = 0, m_second = 0, m_millisecond = 0;
    std::string m_out;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value)
{
    return DateTimeFormatter(value).Run(format);
}
