#pragma once

#include <array>
#include <string>

// The locale settings of the run-time library, as global variables with the US-English defaults.
// Every formatting and parsing routine reads them when it runs, so a program (or a test) may
// change them; restore them afterwards, since they are shared by every thread.
inline char DecimalSeparator = '.';
inline char ThousandSeparator = ',';
inline char DateSeparator = '/';
inline char TimeSeparator = ':';
inline char ListSeparator = ',';
inline std::string CurrencyString = "$";
// 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
inline int CurrencyFormat = 0;
// 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1",
// 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
inline int NegCurrFormat = 0;
inline int CurrencyDecimals = 2;
inline std::string ShortDateFormat = "M/d/yyyy";
inline std::string LongDateFormat = "dddd, MMMM d, yyyy";
inline std::string ShortTimeFormat = "h:mm AMPM";
inline std::string LongTimeFormat = "h:mm:ss AMPM";
inline std::string TimeAMString = "AM";
inline std::string TimePMString = "PM";
// Two-digit years read by StrToDate fall within this many years before or after the current one.
inline int TwoDigitYearCenturyWindow = 50;
inline std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline std::array<std::string, 12> LongMonthNames = {"January", "February", "March",     "April",
                                                     "May",     "June",     "July",      "August",
                                                     "September", "October", "November", "December"};
// Indexed from Sunday, as DayOfWeek counts.
inline std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
inline std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

struct TSysLocale {
    int DefaultLCID = 0x0409;
    int PriLangID = 0x09;
    int SubLangID = 0x01;
    // Multi-byte system code page (Chinese, Japanese, Korean) and right-to-left scripts.
    bool FarEast = false;
    bool MiddleEast = false;
};
inline TSysLocale SysLocale;
