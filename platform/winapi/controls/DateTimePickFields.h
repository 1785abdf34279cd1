#pragma once

#include "platform/winapi/controls/MonthCal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winapi_controls::detail {

enum class DateTimeFieldKind { Literal, Day, DayName, Month, Year, Hour12, Hour24, Minute, Second, AmPm };

struct DateTimeField {
    DateTimeFieldKind kind = DateTimeFieldKind::Literal;
    // How many times the letter was written ("dd" 2, "MMMM" 4); it picks padding and names.
    int letters = 0;
    std::string literal;

    [[nodiscard]] bool Editable() const { return kind != DateTimeFieldKind::Literal; }
};

// A date picker's display picture split into fields, and what each field does to a value.
// A picture of the control's own (DTM_SETFORMAT) uses its letters: M month, m minute, h 12-hour,
// H 24-hour, t AM/PM, quoted literals. The locale's formats use the class library's letters: m is
// the month unless it follows an hour, n the minute, "AMPM" the day half, and / and : stand for
// the locale's separators.
[[nodiscard]] std::vector<DateTimeField> ParseDateTimePicture(std::string_view picture, bool ownLetters);

[[nodiscard]] std::string DateTimeFieldText(const DateTimeField& field, const SYSTEMTIME& value);
// The value with the field moved by `delta`, wrapping within the field (the day within its month,
// the month within its year, the hour within its day...); the day follows a shorter month.
[[nodiscard]] SYSTEMTIME StepDateTimeField(const DateTimeField& field, const SYSTEMTIME& value, int delta);
// The value with the field set to a typed number, or nothing when the field cannot hold it.
[[nodiscard]] std::optional<SYSTEMTIME> SetDateTimeField(const DateTimeField& field, const SYSTEMTIME& value,
                                                         int number);
[[nodiscard]] int DateTimeFieldDigits(const DateTimeField& field);

} // namespace winapi_controls::detail
