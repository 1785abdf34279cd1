#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Dates and times as the class library kept them: a double counting days since 1899-12-30, the
// fraction being the time of day. Before that day the whole part counts back and the fraction
// still runs forward (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = HoursPerDay * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;

// The local wall-clock time. A test may replace the source; nullptr restores the system clock.
using DateTimeSource = TDateTime (*)();
void SetDateTimeSource(DateTimeSource source);
[[nodiscard]] TDateTime Now();
[[nodiscard]] TDateTime Date();
[[nodiscard]] TDateTime Time();

[[nodiscard]] bool IsLeapYear(int year);
[[nodiscard]] int DaysInAMonth(int year, int month);

// Years 1..9999; raise EConvertError "Invalid argument to date encode" / "... time encode".
[[nodiscard]] TDateTime EncodeDate(int year, int month, int day);
[[nodiscard]] TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
[[nodiscard]] bool TryEncodeDate(int year, int month, int day, TDateTime& value);
[[nodiscard]] bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
// Times are rounded to the millisecond first, so 23:59:59.9999 is midnight of the next day.
// A date outside years 1..9999 decodes as 0/0/0.
void DecodeDate(TDateTime value, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
void DecodeTime(TDateTime value, std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second,
                std::uint16_t& millisecond);
// 1 for Sunday to 7 for Saturday.
[[nodiscard]] int DayOfWeek(TDateTime value);

// The class library's format letters, case-insensitive: c, d dd ddd dddd ddddd dddddd, m mm mmm
// mmmm (minutes right after an hour), yy yyyy, h hh (12-hour when am/pm follows), n nn, s ss,
// z zzz, t tt, am/pm a/p ampm, '/' DateSeparator, ':' TimeSeparator, quoted text literal.
[[nodiscard]] std::string FormatDateTime(std::string_view format, TDateTime value);
[[nodiscard]] std::string DateToStr(TDateTime value);
[[nodiscard]] std::string TimeToStr(TDateTime value);
[[nodiscard]] std::string DateTimeToStr(TDateTime value);

// Dates in ShortDateFormat's order (day, month, year) separated by DateSeparator; a missing year
// is this year and a two-digit one falls in TwoDigitYearCenturyWindow. Times are h:nn[:ss[.zzz]]
// with an optional AM/PM. Errors raise EConvertError "'text' is not a valid date" (time, date
// and time).
[[nodiscard]] TDateTime StrToDate(std::string_view text);
[[nodiscard]] TDateTime StrToTime(std::string_view text);
[[nodiscard]] TDateTime StrToDateTime(std::string_view text);
[[nodiscard]] bool TryStrToDate(std::string_view text, TDateTime& value);
[[nodiscard]] bool TryStrToTime(std::string_view text, TDateTime& value);
[[nodiscard]] bool TryStrToDateTime(std::string_view text, TDateTime& value);
