#pragma once

#include "platform/winapi/controls/MonthCal.h"

// "SysDateTimePick32": a date or time shown in fields (day, month, year, hour...) after the
// locale's short or long date format, the time format, or a picture of its own; the focused field
// is changed with the arrow keys or typed digits, and a date picker drops down a month calendar
// (with its button or Alt+Down) that never takes the activation from the form.
inline constexpr const char* DATETIMEPICK_CLASSA = "SysDateTimePick32";

// Idempotent and safe from any thread.
void RegisterDateTimePickClass();

constexpr DWORD DTS_UPDOWN = 0x0001;
constexpr DWORD DTS_SHOWNONE = 0x0002;
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
constexpr DWORD DTS_TIMEFORMAT = 0x0009;
constexpr DWORD DTS_RIGHTALIGN = 0x0020;

constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;
constexpr UINT DTM_GETRANGE = DTM_FIRST + 3;
constexpr UINT DTM_SETRANGE = DTM_FIRST + 4;
constexpr UINT DTM_SETFORMATA = DTM_FIRST + 5;
constexpr UINT DTM_SETFORMAT = DTM_SETFORMATA;
constexpr UINT DTM_SETMCCOLOR = DTM_FIRST + 6;
constexpr UINT DTM_GETMCCOLOR = DTM_FIRST + 7;
constexpr UINT DTM_GETMONTHCAL = DTM_FIRST + 8;
constexpr UINT DTM_SETMCFONT = DTM_FIRST + 9;
constexpr UINT DTM_GETMCFONT = DTM_FIRST + 10;

// DTM_GETSYSTEMTIME answers, DTM_SETSYSTEMTIME's wParam.
constexpr LRESULT GDT_ERROR = -1;
constexpr LRESULT GDT_VALID = 0;
constexpr LRESULT GDT_NONE = 1;

constexpr UINT DTN_FIRST = 0U - 760;
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;
constexpr UINT DTN_DROPDOWN = DTN_FIRST + 6;
constexpr UINT DTN_CLOSEUP = DTN_FIRST + 7;

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;
    SYSTEMTIME st;
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;
