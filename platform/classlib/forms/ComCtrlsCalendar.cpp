#include "platform/classlib/forms/ComCtrlsCalendar.h"

#include "platform/winapi/controls/MonthCal.h"

#include <cmath>

namespace detail = classlib_forms::detail;

namespace {

void DescribeMonthCalendar(TClassBuilder& c)
{
    c.Boolean("AutoSize", &TMonthCalendar::AutoSize, &TMonthCalendar::SetAutoSize).Default(false);
    c.Float("Date", &TMonthCalendar::Date, &TMonthCalendar::SetDate);
    c.Enum("FirstDayOfWeek", CalDayOfWeekTypeInfo(), &TMonthCalendar::FirstDayOfWeek,
           &TMonthCalendar::SetFirstDayOfWeek)
        .Default(dowLocaleDefault);
    c.Float("MaxDate", &TMonthCalendar::MaxDate, &TMonthCalendar::SetMaxDate);
    c.Float("MinDate", &TMonthCalendar::MinDate, &TMonthCalendar::SetMinDate);
}

TDateTime WholeDays(TDateTime value) { return std::trunc(value); }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TMonthCalendar, TWinControl, ComponentCreator<TMonthCalendar>, DescribeMonthCalendar)

const TTypeInfo& CalDayOfWeekTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TCalDayOfWeek", {"dowMonday", "dowTuesday", "dowWednesday", "dowThursday", "dowFriday",
                                              "dowSaturday", "dowSunday", "dowLocaleDefault"});
    return info;
}

void detail::SendDateRange(HWND window, UINT message, TDateTime minDate, TDateTime maxDate)
{
    SYSTEMTIME limits[2] = {DateTimeToSystemTime(minDate), DateTimeToSystemTime(maxDate)};
    const DWORD flags = (minDate != 0 ? GDTR_MIN : 0U) | (maxDate != 0 ? GDTR_MAX : 0U);
    (void)SendMessageA(window, message, flags, reinterpret_cast<LPARAM>(limits));
}

TMonthCalendar::TMonthCalendar(TComponent* owner) : TWinControl(owner), m_date(WholeDays(::Date()))
{
    SetBounds(0, 0, 191, 154);
    SetTabStop(true);
}

void TMonthCalendar::SetDate(TDateTime value)
{
    m_date = WholeDays(value);
    if (!HandleAllocated())
        return;
    const SYSTEMTIME time = DateTimeToSystemTime(m_date);
    (void)SendMessageA(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
}

void TMonthCalendar::SetMinDate(TDateTime value)
{
    m_minDate = WholeDays(value);
    SendRange();
}

void TMonthCalendar::SetMaxDate(TDateTime value)
{
    m_maxDate = WholeDays(value);
    SendRange();
}

void TMonthCalendar::SendRange()
{
    if (HandleAllocated())
        detail::SendDateRange(Handle(), MCM_SETRANGE, m_minDate, m_maxDate);
}

void TMonthCalendar::SetFirstDayOfWeek(TCalDayOfWeek value)
{
    m_firstDayOfWeek = value;
    if (HandleAllocated() && value != dowLocaleDefault)
        (void)SendMessageA(Handle(), MCM_SETFIRSTDAYOFWEEK, 0, static_cast<LPARAM>(value));
}

void TMonthCalendar::SetAutoSize(bool value)
{
    m_autoSize = value;
    AdjustSize();
}

void TMonthCalendar::AdjustSize()
{
    if (!m_autoSize || !HandleAllocated())
        return;
    RECT rect{};
    (void)SendMessageA(Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rect));
    RECT window{};
    RECT client{};
    (void)GetWindowRect(Handle(), &window);
    (void)GetClientRect(Handle(), &client);
    SetBounds(Left(), Top(), rect.right + (window.right - window.left) - client.right,
              rect.bottom + (window.bottom - window.top) - client.bottom);
}

void TMonthCalendar::CreateParams(TCreateParams& params)
{
    RegisterMonthCalClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, MONTHCAL_CLASSA);
}

void TMonthCalendar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendRange();
    SetFirstDayOfWeek(m_firstDayOfWeek);
    SetDate(m_date);
    AdjustSize();
}

void TMonthCalendar::Dispatch(TMessage& message)
{
    if (message.Msg == CN_NOTIFY) {
        const auto* change = reinterpret_cast<NMSELCHANGE*>(message.LParam);
        if (change->nmhdr.code == MCN_SELCHANGE || change->nmhdr.code == MCN_SELECT)
            m_date = WholeDays(SystemTimeToDateTime(change->stSelStart));
    }
    TWinControl::Dispatch(message);
}
