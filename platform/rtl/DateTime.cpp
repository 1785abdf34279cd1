#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/SysConst.h"

namespace {

// Days from 0001-01-01 to 1899-12-30.
constexpr int DateDelta = 693594;
// 9999-12-31.
constexpr int LastDay = 2958465;

DateTimeSource g_source = nullptr;

TDateTime SystemNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
}

// The day number (days since 1899-12-30, truncated toward zero) and the milliseconds into that
// day, the value rounded to the millisecond as a whole.
struct Stamp {
    long long Day;
    long long Millisecond;
};

Stamp ToStamp(TDateTime value)
{
    const double bounded = std::isnan(value) ? 0 : std::clamp(value, -1e7, 1e7);
    const long long total = std::llround(bounded * MSecsPerDay);
    return {total / MSecsPerDay, std::llabs(total) % MSecsPerDay};
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A small cursor over the text being parsed.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
            ++m_pos;
    }
    [[nodiscard]] bool AtEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] std::size_t Position() const { return m_pos; }
    void Rewind(std::size_t position) { m_pos = position; }

    bool Char(char c)
    {
        SkipBlanks();
        if (AtEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    // Up to 'maxDigits' digits; the count read goes to 'digits'.
    std::optional<int> Number(int maxDigits, int* digits = nullptr)
    {
        SkipBlanks();
        int value = 0;
        int count = 0;
        while (!AtEnd() && count < maxDigits && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            value = value * 10 + (m_text[m_pos++] - '0');
            ++count;
        }
        if (digits)
            *digits = count;
        return count > 0 ? std::optional<int>(value) : std::nullopt;
    }

    // A word, compared without regard to case.
    bool Word(std::string_view word)
    {
        SkipBlanks();
        if (word.empty() || m_text.size() - m_pos < word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if ((m_text[m_pos + i] | 0x20) != (word[i] | 0x20))
                return false;
        }
        m_pos += word.size();
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder ShortDateOrder()
{
    for (const char c : ShortDateFormat) {
        switch (c | 0x20) {
        case 'd': return DateOrder::DMY;
        case 'y': return DateOrder::YMD;
        case 'm': return DateOrder::MDY;
        default: break;
        }
    }
    return DateOrder::MDY;
}

int CurrentYear()
{
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDate(Now(), year, month, day);
    return year;
}

int ExpandTwoDigitYear(int year)
{
    const int centuryBase = CurrentYear() - TwoDigitYearCenturyWindow;
    year += centuryBase / 100 * 100;
    if (TwoDigitYearCenturyWindow > 0 && year < centuryBase)
        year += 100;
    return year;
}

bool ScanDate(Scanner& scanner, TDateTime& value)
{
    int firstDigits = 0, lastDigits = 0;
    const std::optional<int> first = scanner.Number(4, &firstDigits);
    if (!first || !scanner.Char(DateSeparator))
        return false;
    const std::optional<int> second = scanner.Number(4);
    if (!second)
        return false;
    std::optional<int> third;
    if (scanner.Char(DateSeparator)) {
        third = scanner.Number(4, &lastDigits);
        if (!third)
            return false;
    }
    int year = 0, month = 0, day = 0;
    int yearDigits = 0;
    const DateOrder order = ShortDateOrder();
    if (!third) {
        year = CurrentYear();
        yearDigits = 4;
        month = order == DateOrder::DMY ? *second : *first;
        day = order == DateOrder::DMY ? *first : *second;
    } else if (order == DateOrder::YMD) {
        year = *first, month = *second, day = *third, yearDigits = firstDigits;
    } else {
        year = *third, yearDigits = lastDigits;
        month = order == DateOrder::MDY ? *first : *second;
        day = order == DateOrder::MDY ? *second : *first;
    }
    if (yearDigits <= 2)
        year = ExpandTwoDigitYear(year);
    return TryEncodeDate(year, month, day, value);
}

// AM or PM, in the locale's words or in English: 0 for AM, 12 for PM, nullopt when absent.
std::optional<int> ScanAmPm(Scanner& scanner)
{
    if (scanner.Word(TimeAMString) || scanner.Word("AM"))
        return 0;
    if (scanner.Word(TimePMString) || scanner.Word("PM"))
        return 12;
    return std::nullopt;
}

bool ScanTime(Scanner& scanner, TDateTime& value)
{
    std::optional<int> halfDay = ScanAmPm(scanner);
    const std::optional<int> hour = scanner.Number(2);
    if (!hour)
        return false;
    int minute = 0, second = 0, millisecond = 0;
    const bool hasMinutes = scanner.Char(TimeSeparator);
    if (hasMinutes) {
        const std::optional<int> minutes = scanner.Number(2);
        if (!minutes)
            return false;
        minute = *minutes;
        if (scanner.Char(TimeSeparator)) {
            const std::optional<int> seconds = scanner.Number(2);
            if (!seconds)
                return false;
            second = *seconds;
            if (scanner.Char(DecimalSeparator)) {
                const std::optional<int> millis = scanner.Number(3);
                if (!millis)
                    return false;
                millisecond = *millis;
            }
        }
    }
    if (!halfDay)
        halfDay = ScanAmPm(scanner);
    if (!hasMinutes && !halfDay)
        return false;
    int hour24 = *hour;
    if (halfDay) {
        if (hour24 < 1 || hour24 > 12)
            return false;
        hour24 = hour24 % 12 + *halfDay;
    }
    return TryEncodeTime(hour24, minute, second, millisecond, value);
}

bool ScanWhole(std::string_view text, bool (*scan)(Scanner&, TDateTime&), TDateTime& value)
{
    Scanner scanner(text);
    TDateTime result = 0;
    if (!scan(scanner, result))
        return false;
    scanner.SkipBlanks();
    if (!scanner.AtEnd())
        return false;
    value = result;
    return true;
}

}  // namespace

void SetDateTimeSource(DateTimeSource source)
{
    g_source = source;
}

TDateTime Now()
{
    return g_source ? g_source() : SystemNow();
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    const TDateTime now = Now();
    return now - std::trunc(now);
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    long long days = day;
    for (int m = 1; m < month; ++m)
        days += DaysInAMonth(year, m);
    const long long y = year - 1;
    value = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || millisecond < 0 ||
        millisecond >= 1000)
        return false;
    value = static_cast<double>(((hour * 60LL + minute) * 60 + second) * 1000 + millisecond) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value))
        throw EConvertError(SDateEncodeError);
    return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime value = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, value))
        throw EConvertError(STimeEncodeError);
    return value;
}

void DecodeDate(TDateTime value, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day)
{
    year = month = day = 0;
    const long long dayNumber = ToStamp(value).Day;
    if (dayNumber < 1 - DateDelta || dayNumber > LastDay)
        return;
    // Civil date from a day count, in 400-year eras counted from 0000-03-01 so that the leap
    // day falls at the end of each year.
    const long long days = dayNumber + DateDelta - 1 + 306;
    const long long era = days / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<std::uint16_t>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<std::uint16_t>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<std::uint16_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

void DecodeTime(TDateTime value, std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second,
                std::uint16_t& millisecond)
{
    const long long ms = ToStamp(value).Millisecond;
    hour = static_cast<std::uint16_t>(ms / 3600000);
    minute = static_cast<std::uint16_t>(ms / 60000 % 60);
    second = static_cast<std::uint16_t>(ms / 1000 % 60);
    millisecond = static_cast<std::uint16_t>(ms % 1000);
}

int DayOfWeek(TDateTime value)
{
    // 1899-12-30 was a Saturday.
    const long long day = ToStamp(value).Day;
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

std::string DateToStr(TDateTime value)
{
    return FormatDateTime("ddddd", value);
}

std::string TimeToStr(TDateTime value)
{
    return FormatDateTime("tt", value);
}

std::string DateTimeToStr(TDateTime value)
{
    return FormatDateTime("c", value);
}

bool TryStrToDate(std::string_view text, TDateTime& value)
{
    return ScanWhole(text, ScanDate, value);
}

bool TryStrToTime(std::string_view text, TDateTime& value)
{
    return ScanWhole(text, ScanTime, value);
}

bool TryStrToDateTime(std::string_view text, TDateTime& value)
{
    Scanner scanner(text);
    TDateTime date = 0, time = 0;
    if (!ScanDate(scanner, date))
        return TryStrToTime(text, value);
    scanner.SkipBlanks();
    if (!scanner.AtEnd() && !ScanTime(scanner, time))
        return false;
    scanner.SkipBlanks();
    if (!scanner.AtEnd())
        return false;
    // Before 1899-12-30 the fraction counts forward from a negative whole day.
    value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime StrToDate(std::string_view text)
{
    TDateTime value = 0;
    if (!TryStrToDate(text, value))
        throw EConvertError(Format(SInvalidDate, {text}));
    return value;
}

TDateTime StrToTime(std::string_view text)
{
    TDateTime value = 0;
    if (!TryStrToTime(text, value))
        throw EConvertError(Format(SInvalidTime, {text}));
    return value;
}

TDateTime StrToDateTime(std::string_view text)
{
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value))
        throw EConvertError(Format(SInvalidDateTime, {text}));
    return value;
}
