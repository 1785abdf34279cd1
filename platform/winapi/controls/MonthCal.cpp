#include "platform/winapi/controls/MonthCal.h"

#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/ImageLists.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr LRESULT WANT_ARROWS = 0x0001;
constexpr int MARGIN = 4;
constexpr int WEEKS = 6;
// Days of the week count from Monday (0) to Sunday (6), as the locale's first-day setting does.
constexpr int LOCALE_FIRST_DAY = 6;
constexpr COLORREF TODAY_MARK = RGB(255, 0, 0);

using Day = int;

// Whole days count towards zero: -1.25 is a time on day -1.
Day DayOf(TDateTime value) { return static_cast<Day>(std::trunc(value)); }

void Decode(Day day, int& year, int& month, int& dayOfMonth)
{
    std::uint16_t y = 0;
    std::uint16_t m = 0;
    std::uint16_t d = 0;
    DecodeDate(day, y, m, d);
    year = y;
    month = m;
    dayOfMonth = d;
}

int WeekDay(Day day) { return (DayOfWeek(day) + 5) % 7; }

Day FirstOfMonth(Day day)
{
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    Decode(day, year, month, dayOfMonth);
    return day - dayOfMonth + 1;
}

Day LastOfMonth(Day day)
{
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    Decode(day, year, month, dayOfMonth);
    return day - dayOfMonth + DaysInAMonth(year, month);
}

// The same day of the month `months` on, or the month's last day when it is shorter.
Day AddMonths(Day day, int months)
{
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    Decode(day, year, month, dayOfMonth);
    const int index = year * 12 + (month - 1) + months;
    const int newYear = std::clamp(index / 12, 1, 9999);
    const int newMonth = index % 12 + 1;
    return DayOf(EncodeDate(newYear, newMonth, std::min(dayOfMonth, DaysInAMonth(newYear, newMonth))));
}

struct Layout {
    int cellWidth = 0;
    int cellHeight = 0;
    SIZE minimum{};
    RECT title{};
    RECT prev{};
    RECT next{};
    RECT dayNames{};
    RECT grid{};
    RECT today{};
};

class MonthCal final : public ControlInstance {
public:
    explicit MonthCal(HWND hwnd);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    [[nodiscard]] bool HasStyle(DWORD bits) const { return (GetWindowLongA(Window(), GWL_STYLE) & bits) != 0; }
    [[nodiscard]] HFONT Font() const;
    [[nodiscard]] GdiObject<HFONT> BoldFont() const;
    [[nodiscard]] Layout Measure() const;
    [[nodiscard]] Day GridStart() const;
    [[nodiscard]] Day Today() const { return m_todaySet ? m_today : DayOf(Date()); }
    [[nodiscard]] Day Clamp(Day day) const;
    [[nodiscard]] RECT CellRect(const Layout& layout, int index) const;
    [[nodiscard]] UINT HitTest(POINT point, Day& day) const;
    [[nodiscard]] COLORREF Color(int part) const;

    bool Select(Day day);
    void NotifySelection(UINT code);
    void OnButtonDown(POINT point);
    void OnButtonUp();
    void TrackHeldArrow(POINT point);
    [[nodiscard]] UINT ArrowLook(UINT hit) const;
    void OnKeyDown(WPARAM key);
    LRESULT SetRange(DWORD flags, const SYSTEMTIME* limits);
    LRESULT GetMonthRange(DWORD which, SYSTEMTIME* limits) const;
    LRESULT SetFirstDayOfWeek(int day);

    void Paint(HDC dc) const;
    void PaintTitle(HDC dc, const Layout& layout) const;
    void PaintDays(HDC dc, const Layout& layout) const;
    void PaintToday(HDC dc, const Layout& layout) const;
    void Text(HDC dc, const std::string& text, RECT rect, COLORREF color, UINT align = DT_CENTER) const;

    HFONT m_font = nullptr;
    Day m_selection;
    Day m_view;
    Day m_today = 0;
    bool m_todaySet = false;
    DWORD m_rangeFlags = 0;
    Day m_min = 0;
    Day m_max = 0;
    int m_firstDay = LOCALE_FIRST_DAY;
    std::array<COLORREF, 6> m_colors{CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};
    bool m_clickedDate = false;
    UINT m_heldArrow = 0; // MCHT_TITLEBTNPREV or MCHT_TITLEBTNNEXT while the mouse is down on it
    bool m_overHeldArrow = false;
};

MonthCal::MonthCal(HWND hwnd) : ControlInstance(hwnd), m_selection(DayOf(Date())), m_view(FirstOfMonth(m_selection)) {}

HFONT MonthCal::Font() const
{
    return m_font != nullptr ? m_font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The title and the "Today:" line stand out in the bold face of the calendar's font.
GdiObject<HFONT> MonthCal::BoldFont() const
{
    LOGFONTA face{};
    (void)GetObjectA(Font(), sizeof face, &face);
    face.lfWeight = FW_BOLD;
    return GdiObject<HFONT>(CreateFontIndirectA(&face));
}

Layout MonthCal::Measure() const
{
    SIZE digits{};
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard font(dc, Font());
        (void)GetTextExtentPoint32A(dc, "00", 2, &digits);
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);

    Layout layout;
    layout.cellWidth = digits.cx + 8;
    layout.cellHeight = metrics.tmHeight + 2;
    const int titleHeight = layout.cellHeight * 2;
    const int width = 7 * layout.cellWidth + 2 * MARGIN;
    const int todayHeight = HasStyle(MCS_NOTODAY) ? 0 : layout.cellHeight + MARGIN;
    layout.minimum = {width, titleHeight + layout.cellHeight + 2 + WEEKS * layout.cellHeight + todayHeight + MARGIN};

    RECT client{};
    (void)GetClientRect(Window(), &client);
    const int left = std::max(0, static_cast<int>(client.right - width) / 2);
    layout.title = {0, 0, std::max(client.right, static_cast<LONG>(width)), titleHeight};
    const int button = titleHeight - 2 * MARGIN;
    layout.prev = {left + MARGIN, MARGIN, left + MARGIN + button, MARGIN + button};
    layout.next = {left + width - MARGIN - button, MARGIN, left + width - MARGIN, MARGIN + button};
    layout.dayNames = {left + MARGIN, titleHeight, left + width - MARGIN, titleHeight + layout.cellHeight};
    layout.grid = {layout.dayNames.left, layout.dayNames.bottom + 2, layout.dayNames.right,
                   layout.dayNames.bottom + 2 + WEEKS * layout.cellHeight};
    layout.today = {layout.grid.left, layout.grid.bottom, layout.grid.right, layout.grid.bottom + todayHeight};
    return layout;
}

Day MonthCal::GridStart() const
{
    int offset = (WeekDay(m_view) - m_firstDay + 7) % 7;
    // A month starting on the first day of the week still shows the week before it.
    if (offset == 0)
        offset = 7;
    return m_view - offset;
}

Day MonthCal::Clamp(Day day) const
{
    if ((m_rangeFlags & GDTR_MIN) != 0)
        day = std::max(day, m_min);
    if ((m_rangeFlags & GDTR_MAX) != 0)
        day = std::min(day, m_max);
    return day;
}

RECT MonthCal::CellRect(const Layout& layout, int index) const
{
    const int left = layout.grid.left + (index % 7) * layout.cellWidth;
    const int top = layout.grid.top + (index / 7) * layout.cellHeight;
    return {left, top, left + layout.cellWidth, top + layout.cellHeight};
}

UINT MonthCal::HitTest(POINT point, Day& day) const
{
    const Layout layout = Measure();
    RECT client{};
    (void)GetClientRect(Window(), &client);
    if (!PtInRect(&client, point))
        return MCHT_NOWHERE;
    if (PtInRect(&layout.prev, point))
        return MCHT_TITLEBTNPREV;
    if (PtInRect(&layout.next, point))
        return MCHT_TITLEBTNNEXT;
    if (PtInRect(&layout.title, point))
        return MCHT_TITLEBK;
    if (PtInRect(&layout.dayNames, point)) {
        day = (m_firstDay + (point.x - layout.dayNames.left) / layout.cellWidth) % 7;
        return MCHT_CALENDARDAY;
    }
    if (PtInRect(&layout.grid, point)) {
        const int column = (point.x - layout.grid.left) / layout.cellWidth;
        const int row = (point.y - layout.grid.top) / layout.cellHeight;
        day = GridStart() + row * 7 + column;
        if (day < m_view)
            return MCHT_CALENDARDATEPREV;
        return day > LastOfMonth(m_view) ? MCHT_CALENDARDATENEXT : MCHT_CALENDARDATE;
    }
    if (!HasStyle(MCS_NOTODAY) && PtInRect(&layout.today, point))
        return MCHT_TODAYLINK;
    return MCHT_CALENDARBK;
}

COLORREF MonthCal::Color(int part) const
{
    static constexpr std::array<int, 6> SYSTEM{COLOR_WINDOW,         COLOR_WINDOWTEXT, COLOR_ACTIVECAPTION,
                                               COLOR_CAPTIONTEXT,    COLOR_WINDOW,     COLOR_GRAYTEXT};
    const auto index = static_cast<std::size_t>(part);
    return m_colors[index] == CLR_DEFAULT ? GetSysColor(SYSTEM[index]) : m_colors[index];
}

bool MonthCal::Select(Day day)
{
    day = Clamp(day);
    m_view = FirstOfMonth(day);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return std::exchange(m_selection, day) != day;
}

void MonthCal::NotifySelection(UINT code)
{
    NMSELCHANGE change{};
    change.stSelStart = DateTimeToSystemTime(m_selection);
    change.stSelEnd = change.stSelStart;
    (void)NotifyParent(code, change.nmhdr);
}

void MonthCal::OnButtonDown(POINT point)
{
    // A calendar on a window that is not the active one (a drop-down) leaves the focus where it is.
    if (GetActiveWindow() == GetAncestor(Window(), GA_ROOT))
        (void)SetFocus(Window());
    Day day = 0;
    const UINT hit = HitTest(point, day);
    bool changed = false;
    if (hit == MCHT_TITLEBTNPREV || hit == MCHT_TITLEBTNNEXT) {
        m_heldArrow = hit;
        m_overHeldArrow = true;
        if (GetCapture() == nullptr)
            (void)SetCapture(Window());
        changed = Select(AddMonths(m_selection, hit == MCHT_TITLEBTNPREV ? -1 : 1));
    } else if ((hit & ~(MCHT_NEXT | MCHT_PREV)) == MCHT_CALENDARDATE || hit == MCHT_TODAYLINK) {
        changed = Select(hit == MCHT_TODAYLINK ? Today() : day);
        m_clickedDate = true;
        // A drop-down's owner may hold the mouse already and pass the release on.
        if (GetCapture() == nullptr)
            (void)SetCapture(Window());
    }
    if (changed)
        NotifySelection(MCN_SELCHANGE);
}

void MonthCal::OnButtonUp()
{
    const bool heldArrow = std::exchange(m_heldArrow, 0) != 0;
    if (heldArrow)
        (void)InvalidateRect(Window(), nullptr, FALSE);
    const bool clickedDate = std::exchange(m_clickedDate, false);
    if ((heldArrow || clickedDate) && GetCapture() == Window())
        (void)ReleaseCapture();
    if (clickedDate)
        NotifySelection(MCN_SELECT);
}

// A held arrow shows pushed only while the mouse stays on it, as a push button does.
void MonthCal::TrackHeldArrow(POINT point)
{
    if (m_heldArrow == 0)
        return;
    const Layout layout = Measure();
    const RECT& arrow = m_heldArrow == MCHT_TITLEBTNPREV ? layout.prev : layout.next;
    const bool over = PtInRect(&arrow, point) != FALSE;
    if (std::exchange(m_overHeldArrow, over) != over)
        (void)InvalidateRect(Window(), &arrow, FALSE);
}

UINT MonthCal::ArrowLook(UINT hit) const
{
    const UINT inactive = IsWindowEnabled(Window()) ? 0U : DFCS_INACTIVE;
    const UINT pushed = m_heldArrow == hit && m_overHeldArrow ? DFCS_PUSHED : 0U;
    return (hit == MCHT_TITLEBTNPREV ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | inactive | pushed;
}

void MonthCal::OnKeyDown(WPARAM key)
{
    Day day = m_selection;
    switch (key) {
    case VK_LEFT:
        --day;
        break;
    case VK_RIGHT:
        ++day;
        break;
    case VK_UP:
        day -= 7;
        break;
    case VK_DOWN:
        day += 7;
        break;
    case VK_PRIOR:
        day = AddMonths(day, -1);
        break;
    case VK_NEXT:
        day = AddMonths(day, 1);
        break;
    case VK_HOME:
        day = FirstOfMonth(day);
        break;
    case VK_END:
        day = LastOfMonth(day);
        break;
    default:
        return;
    }
    if (Select(day))
        NotifySelection(MCN_SELCHANGE);
}

LRESULT MonthCal::SetRange(DWORD flags, const SYSTEMTIME* limits)
{
    if (limits == nullptr)
        return FALSE;
    if (((flags & GDTR_MIN) != 0 && !IsValidSystemTime(limits[0])) ||
        ((flags & GDTR_MAX) != 0 && !IsValidSystemTime(limits[1])))
        return FALSE;
    m_rangeFlags = flags & (GDTR_MIN | GDTR_MAX);
    m_min = (flags & GDTR_MIN) != 0 ? DayOf(SystemTimeToDateTime(limits[0])) : 0;
    m_max = (flags & GDTR_MAX) != 0 ? DayOf(SystemTimeToDateTime(limits[1])) : 0;
    (void)Select(m_selection);
    return TRUE;
}

LRESULT MonthCal::GetMonthRange(DWORD which, SYSTEMTIME* limits) const
{
    const Day first = which == GMR_DAYSTATE ? GridStart() : m_view;
    const Day last = which == GMR_DAYSTATE ? GridStart() + 7 * WEEKS - 1 : LastOfMonth(m_view);
    if (limits != nullptr) {
        limits[0] = DateTimeToSystemTime(first);
        limits[1] = DateTimeToSystemTime(last);
    }
    return 1 + (first < m_view ? 1 : 0) + (last > LastOfMonth(m_view) ? 1 : 0);
}

LRESULT MonthCal::SetFirstDayOfWeek(int day)
{
    const LRESULT previous = MAKELONG(static_cast<WORD>(m_firstDay), m_firstDay != LOCALE_FIRST_DAY ? 1 : 0);
    m_firstDay = std::clamp(day, 0, 6);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return previous;
}

void MonthCal::Text(HDC dc, const std::string& text, RECT rect, COLORREF color, UINT align) const
{
    (void)SetTextColor(dc, IsWindowEnabled(Window()) ? color : GetSysColor(COLOR_GRAYTEXT));
    (void)DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                    align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MonthCal::PaintTitle(HDC dc, const Layout& layout) const
{
    (void)FillRect(dc, &layout.title, GdiObject<HBRUSH>(CreateSolidBrush(Color(MCSC_TITLEBK))).Get());
    int year = 0;
    int month = 0;
    int day = 0;
    Decode(m_view, year, month, day);
    {
        const GdiObject<HFONT> bold = BoldFont();
        const SelectionGuard font(dc, bold.Get());
        Text(dc, LongMonthNames[static_cast<std::size_t>(month - 1)] + " " + std::to_string(year), layout.title,
             Color(MCSC_TITLETEXT));
    }
    RECT prev = layout.prev;
    RECT next = layout.next;
    (void)DrawFrameControl(dc, &prev, DFC_SCROLL, ArrowLook(MCHT_TITLEBTNPREV));
    (void)DrawFrameControl(dc, &next, DFC_SCROLL, ArrowLook(MCHT_TITLEBTNNEXT));

    for (int column = 0; column < 7; ++column) {
        const std::size_t sundayBased = static_cast<std::size_t>((m_firstDay + column + 1) % 7);
        RECT cell = layout.dayNames;
        cell.left += column * layout.cellWidth;
        cell.right = cell.left + layout.cellWidth;
        Text(dc, ShortDayNames[sundayBased].substr(0, 1), cell, Color(MCSC_TITLEBK));
    }
    const RECT rule{layout.dayNames.left, layout.dayNames.bottom, layout.dayNames.right, layout.dayNames.bottom + 1};
    (void)FillRect(dc, &rule, GetSysColorBrush(COLOR_BTNSHADOW));
}

void MonthCal::PaintDays(HDC dc, const Layout& layout) const
{
    const Day start = GridStart();
    const Day last = LastOfMonth(m_view);
    const GdiObject<HBRUSH> selectionBrush(CreateSolidBrush(Color(MCSC_TITLEBK)));
    const GdiObject<HBRUSH> todayBrush(CreateSolidBrush(TODAY_MARK));
    for (int index = 0; index < 7 * WEEKS; ++index) {
        const Day day = start + index;
        const RECT cell = CellRect(layout, index);
        COLORREF color = day < m_view || day > last || Clamp(day) != day ? Color(MCSC_TRAILINGTEXT) : Color(MCSC_TEXT);
        if (day == m_selection) {
            (void)FillRect(dc, &cell, selectionBrush.Get());
            color = Color(MCSC_TITLETEXT);
        }
        int year = 0;
        int month = 0;
        int dayOfMonth = 0;
        Decode(day, year, month, dayOfMonth);
        Text(dc, std::to_string(dayOfMonth), cell, color);
        if (day == Today() && !HasStyle(MCS_NOTODAYCIRCLE))
            (void)FrameRect(dc, &cell, todayBrush.Get());
        if (day == m_selection && GetFocus() == Window()) {
            RECT focus = cell;
            (void)InflateRect(&focus, -1, -1);
            (void)DrawFocusRect(dc, &focus);
        }
    }
}

void MonthCal::PaintToday(HDC dc, const Layout& layout) const
{
    if (HasStyle(MCS_NOTODAY))
        return;
    RECT mark{layout.today.left + 2, layout.today.top + 3, layout.today.left + layout.cellWidth - 2,
              layout.today.bottom - MARGIN - 1};
    (void)FrameRect(dc, &mark, GdiObject<HBRUSH>(CreateSolidBrush(TODAY_MARK)).Get());
    RECT text = layout.today;
    text.left += layout.cellWidth + 2;
    text.bottom -= MARGIN;
    const GdiObject<HFONT> bold = BoldFont();
    const SelectionGuard font(dc, bold.Get());
    Text(dc, "Today: " + DateToStr(Today()), text, Color(MCSC_TEXT), DT_LEFT);
}

void MonthCal::Paint(HDC dc) const
{
    const Layout layout = Measure();
    RECT client{};
    (void)GetClientRect(Window(), &client);
    (void)FillRect(dc, &client, GdiObject<HBRUSH>(CreateSolidBrush(Color(MCSC_MONTHBK))).Get());
    const SelectionGuard font(dc, Font());
    (void)SetBkMode(dc, TRANSPARENT);
    PaintTitle(dc, layout);
    PaintDays(dc, layout);
    PaintToday(dc, layout);
}

LRESULT MonthCal::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* times = reinterpret_cast<SYSTEMTIME*>(lParam);
    switch (message) {
    case MCM_GETCURSEL:
        if (times == nullptr)
            return FALSE;
        *times = DateTimeToSystemTime(m_selection);
        return TRUE;
    case MCM_SETCURSEL: {
        if (times == nullptr || !IsValidSystemTime(*times))
            return FALSE;
        const Day day = DayOf(SystemTimeToDateTime(*times));
        if (Clamp(day) != day)
            return FALSE;
        (void)Select(day);
        return TRUE;
    }
    case MCM_GETMINREQRECT:
        if (lParam == 0)
            return FALSE;
    {
        const SIZE minimum = Measure().minimum;
        *reinterpret_cast<RECT*>(lParam) = RECT{0, 0, minimum.cx, minimum.cy};
        return TRUE;
    }
    case MCM_HITTEST: {
        auto* info = reinterpret_cast<MCHITTESTINFO*>(lParam);
        if (info == nullptr)
            return static_cast<LRESULT>(MCHT_NOWHERE);
        Day day = 0;
        info->uHit = HitTest(info->pt, day);
        if ((info->uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && (info->uHit & MCHT_TITLE) == 0)
            info->st = DateTimeToSystemTime(day);
        else if (info->uHit == MCHT_CALENDARDAY)
            info->st.wDayOfWeek = static_cast<WORD>(day);
        return static_cast<LRESULT>(info->uHit);
    }
    case MCM_SETTODAY:
        m_todaySet = times != nullptr && IsValidSystemTime(*times);
        m_today = m_todaySet ? DayOf(SystemTimeToDateTime(*times)) : 0;
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
    case MCM_GETTODAY:
        if (times == nullptr)
            return FALSE;
        *times = DateTimeToSystemTime(Today());
        return TRUE;
    case MCM_SETRANGE:
        return SetRange(static_cast<DWORD>(wParam), times);
    case MCM_GETRANGE:
        if (times != nullptr) {
            times[0] = (m_rangeFlags & GDTR_MIN) != 0 ? DateTimeToSystemTime(m_min) : SYSTEMTIME{};
            times[1] = (m_rangeFlags & GDTR_MAX) != 0 ? DateTimeToSystemTime(m_max) : SYSTEMTIME{};
        }
        return static_cast<LRESULT>(m_rangeFlags);
    case MCM_GETMONTHRANGE:
        return GetMonthRange(static_cast<DWORD>(wParam), times);
    case MCM_SETFIRSTDAYOFWEEK:
        return SetFirstDayOfWeek(static_cast<int>(lParam));
    case MCM_GETFIRSTDAYOFWEEK:
        return MAKELONG(static_cast<WORD>(m_firstDay), m_firstDay != LOCALE_FIRST_DAY ? 1 : 0);
    case MCM_SETCOLOR:
    case MCM_GETCOLOR: {
        if (wParam >= m_colors.size())
            return static_cast<LRESULT>(CLR_NONE);
        const COLORREF previous = Color(static_cast<int>(wParam));
        if (message == MCM_SETCOLOR) {
            m_colors[wParam] = static_cast<COLORREF>(lParam);
            (void)InvalidateRect(Window(), nullptr, FALSE);
        }
        return static_cast<LRESULT>(previous);
    }
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0)
            (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_GETDLGCODE:
        return WANT_ARROWS;
    case WM_MOUSEACTIVATE:
        // A drop-down calendar is used without taking activation from the window it serves.
        return HasStyle(WS_CHILD) ? DefWindowProcA(Window(), message, wParam, lParam) : MA_NOACTIVATE;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        TrackHeldArrow(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        m_clickedDate = false;
        if (std::exchange(m_heldArrow, 0) != 0)
            (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return DefWindowProcA(Window(), message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    default:
        return DefWindowProcA(Window(), message, wParam, lParam);
    }
}

} // namespace

bool IsValidSystemTime(const SYSTEMTIME& time)
{
    return time.wYear >= 1 && time.wYear <= 9999 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= DaysInAMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time)
{
    const TDateTime date = EncodeDate(time.wYear, time.wMonth, time.wDay);
    const TDateTime clock = EncodeTime(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return date >= 0 ? date + clock : date - clock;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime value)
{
    SYSTEMTIME time{};
    DecodeDate(value, time.wYear, time.wMonth, time.wDay);
    DecodeTime(value, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    time.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    return time;
}

void RegisterMonthCalClass()
{
    (void)RegisterControlInstanceClass<MonthCal>(MONTHCAL_CLASSA, CS_DBLCLKS);
}
