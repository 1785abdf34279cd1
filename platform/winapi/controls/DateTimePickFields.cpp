#include "platform/winapi/controls/DateTimePickFields.h"

#include "platform/rtl/LocaleSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace winapi_controls::detail {

namespace {

using Kind = DateTimeFieldKind;

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    return true;
}

bool HasDayHalf(std::string_view picture, bool ownLetters)
{
    for (std::size_t at = 0; at < picture.size(); ++at)
        if (StartsWithNoCase(picture, at, "ampm") || StartsWithNoCase(picture, at, "am/pm") ||
            (ownLetters && picture[at] == 't'))
            return true;
    return false;
}

void AddLiteral(std::vector<DateTimeField>& fields, std::string_view text)
{
    if (fields.empty() || fields.back().kind != Kind::Literal)
        fields.push_back({Kind::Literal, 0, {}});
    fields.back().literal += text;
}

Kind LetterKind(char letter, int count, bool ownLetters, bool dayHalf, const std::vector<DateTimeField>& fields)
{
    const bool afterHour =
        !fields.empty() && (fields.back().kind == Kind::Hour12 || fields.back().kind == Kind::Hour24);
    const bool afterHourSeparator = fields.size() >= 2 && fields.back().kind == Kind::Literal &&
                                    (fields[fields.size() - 2].kind == Kind::Hour12 ||
                                     fields[fields.size() - 2].kind == Kind::Hour24);
    switch (letter) {
    case 'd':
    case 'D':
        return count <= 2 ? Kind::Day : Kind::DayName;
    case 'y':
    case 'Y':
        return Kind::Year;
    case 'H':
        return ownLetters ? Kind::Hour24 : (dayHalf ? Kind::Hour12 : Kind::Hour24);
    case 'h':
        return ownLetters || dayHalf ? Kind::Hour12 : Kind::Hour24;
    case 'M':
        return ownLetters || !(afterHour || afterHourSeparator) ? Kind::Month : Kind::Minute;
    case 'm':
        return ownLetters || afterHour || afterHourSeparator ? Kind::Minute : Kind::Month;
    case 'n':
    case 'N':
        return Kind::Minute;
    case 's':
    case 'S':
        return Kind::Second;
    default:
        return ownLetters && letter == 't' ? Kind::AmPm : Kind::Literal;
    }
}

std::string Number(int value, bool padded)
{
    char text[16];
    (void)std::snprintf(text, sizeof text, padded ? "%02d" : "%d", value);
    return text;
}

int Wrap(int value, int count) { return ((value % count) + count) % count; }

SYSTEMTIME WithDayInMonth(SYSTEMTIME value)
{
    value.wDay = static_cast<WORD>(std::min<int>(value.wDay, DaysInAMonth(value.wYear, value.wMonth)));
    return value;
}

} // namespace

std::vector<DateTimeField> ParseDateTimePicture(std::string_view picture, bool ownLetters)
{
    std::vector<DateTimeField> fields;
    const bool dayHalf = HasDayHalf(picture, ownLetters);
    std::size_t at = 0;
    while (at < picture.size()) {
        const char letter = picture[at];
        if (letter == '\'' || letter == '"') {
            const std::size_t close = picture.find(letter, at + 1);
            const std::size_t end = close == std::string_view::npos ? picture.size() : close;
            AddLiteral(fields, picture.substr(at + 1, end - at - 1));
            at = end + 1;
            continue;
        }
        if (!ownLetters && (StartsWithNoCase(picture, at, "ampm") || StartsWithNoCase(picture, at, "am/pm"))) {
            fields.push_back({Kind::AmPm, 2, {}});
            at += StartsWithNoCase(picture, at, "ampm") ? 4 : 5;
            continue;
        }
        std::size_t end = at + 1;
        while (end < picture.size() && picture[end] == letter)
            ++end;
        const int count = static_cast<int>(end - at);
        const Kind kind = LetterKind(letter, count, ownLetters, dayHalf, fields);
        if (kind != Kind::Literal)
            fields.push_back({kind, count, {}});
        else if (!ownLetters && letter == '/')
            AddLiteral(fields, std::string(1, DateSeparator));
        else if (!ownLetters && letter == ':')
            AddLiteral(fields, std::string(1, TimeSeparator));
        else
            AddLiteral(fields, picture.substr(at, 1));
        at = kind != Kind::Literal ? end : at + 1;
    }
    return fields;
}

std::string DateTimeFieldText(const DateTimeField& field, const SYSTEMTIME& value)
{
    const bool padded = field.letters >= 2;
    switch (field.kind) {
    case Kind::Day:
        return Number(value.wDay, padded);
    case Kind::DayName: {
        const auto index = static_cast<std::size_t>(DateTimeToSystemTime(SystemTimeToDateTime(value)).wDayOfWeek);
        return field.letters == 3 ? ShortDayNames[index] : LongDayNames[index];
    }
    case Kind::Month:
        if (field.letters <= 2)
            return Number(value.wMonth, padded);
        return field.letters == 3 ? ShortMonthNames[value.wMonth - 1U] : LongMonthNames[value.wMonth - 1U];
    case Kind::Year:
        return field.letters <= 2 ? Number(value.wYear % 100, true) : Number(value.wYear, false);
    case Kind::Hour12:
        return Number(value.wHour % 12 == 0 ? 12 : value.wHour % 12, padded);
    case Kind::Hour24:
        return Number(value.wHour, padded);
    case Kind::Minute:
        return Number(value.wMinute, padded);
    case Kind::Second:
        return Number(value.wSecond, padded);
    case Kind::AmPm:
        return value.wHour < 12 ? TimeAMString : TimePMString;
    case Kind::Literal:
        break;
    }
    return field.literal;
}

SYSTEMTIME StepDateTimeField(const DateTimeField& field, const SYSTEMTIME& value, int delta)
{
    SYSTEMTIME result = value;
    switch (field.kind) {
    case Kind::Day:
        result.wDay = static_cast<WORD>(Wrap(value.wDay - 1 + delta, DaysInAMonth(value.wYear, value.wMonth)) + 1);
        return result;
    case Kind::DayName:
        result = DateTimeToSystemTime(SystemTimeToDateTime(value) + delta);
        return result;
    case Kind::Month:
        result.wMonth = static_cast<WORD>(Wrap(value.wMonth - 1 + delta, 12) + 1);
        return WithDayInMonth(result);
    case Kind::Year:
        result.wYear = static_cast<WORD>(std::clamp(value.wYear + delta, 1, 9999));
        return WithDayInMonth(result);
    case Kind::Hour12:
    case Kind::Hour24:
        result.wHour = static_cast<WORD>(Wrap(value.wHour + delta, 24));
        return result;
    case Kind::Minute:
        result.wMinute = static_cast<WORD>(Wrap(value.wMinute + delta, 60));
        return result;
    case Kind::Second:
        result.wSecond = static_cast<WORD>(Wrap(value.wSecond + delta, 60));
        return result;
    case Kind::AmPm:
        result.wHour = static_cast<WORD>((value.wHour + 12) % 24);
        return result;
    case Kind::Literal:
        break;
    }
    return result;
}

std::optional<SYSTEMTIME> SetDateTimeField(const DateTimeField& field, const SYSTEMTIME& value, int number)
{
    SYSTEMTIME result = value;
    switch (field.kind) {
    case Kind::Day:
        if (number < 1 || number > DaysInAMonth(value.wYear, value.wMonth))
            return std::nullopt;
        result.wDay = static_cast<WORD>(number);
        return result;
    case Kind::Month:
        if (number < 1 || number > 12)
            return std::nullopt;
        result.wMonth = static_cast<WORD>(number);
        return WithDayInMonth(result);
    case Kind::Year:
        if (number < 1 || number > 9999)
            return std::nullopt;
        result.wYear = static_cast<WORD>(field.letters <= 2 && number < 100 ? 2000 + number : number);
        return WithDayInMonth(result);
    case Kind::Hour12:
        if (number < 1 || number > 12)
            return std::nullopt;
        result.wHour = static_cast<WORD>(number % 12 + (value.wHour >= 12 ? 12 : 0));
        return result;
    case Kind::Hour24:
        if (number > 23)
            return std::nullopt;
        result.wHour = static_cast<WORD>(number);
        return result;
    case Kind::Minute:
    case Kind::Second:
        if (number > 59)
            return std::nullopt;
        (field.kind == Kind::Minute ? result.wMinute : result.wSecond) = static_cast<WORD>(number);
        return result;
    default:
        return std::nullopt;
    }
}

int DateTimeFieldDigits(const DateTimeField& field)
{
    return field.kind == Kind::Year && field.letters > 2 ? 4 : 2;
}

} // namespace winapi_controls::detail
