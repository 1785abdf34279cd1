#include "platform/classlib/forms/ComCtrlsCalendar.h"

#include "platform/winapi/controls/DateTimePick.h"

#include <cmath>

namespace detail = classlib_forms::detail;

namespace {

void DescribeDateTimePicker(TClassBuilder& c)
{
    c.Float("Date", &TDateTimePicker::Date, &TDateTimePicker::SetDate);
    c.Float("Time", &TDateTimePicker::Time, &TDateTimePicker::SetTime);
    c.Enum("DateFormat", DTDateFormatTypeInfo(), &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat)
        .Default(dfShort);
    c.Enum("DateMode", DTDateModeTypeInfo(), &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode)
        .Default(dmComboBox);
    c.Enum("Kind", DateTimeKindTypeInfo(), &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(dtkDate);
    c.Float("MaxDate", &TDateTimePicker::MaxDate, &TDateTimePicker::SetMaxDate);
    c.Float("MinDate", &TDateTimePicker::MinDate, &TDateTimePicker::SetMinDate);
    c.Event("OnChange", &TDateTimePicker::OnChange, &TDateTimePicker::SetOnChange);
    c.Event("OnCloseUp", &TDateTimePicker::OnCloseUp, &TDateTimePicker::SetOnCloseUp);
    c.Event("OnDropDown", &TDateTimePicker::OnDropDown, &TDateTimePicker::SetOnDropDown);
}

// The day and the time of day of a value; before 1899-12-30 the days count back while the time
// still runs forward, so the time is the distance from the whole day.
TDateTime DayPart(TDateTime value) { return std::trunc(value); }
TDateTime TimePart(TDateTime value) { return std::fabs(value - DayPart(value)); }
TDateTime Combine(TDateTime day, TDateTime time) { return day >= 0 ? day + time : day - time; }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TDateTimePicker, TWinControl, ComponentCreator<TDateTimePicker>, DescribeDateTimePicker)

const TTypeInfo& DateTimeKindTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDateTimeKind", {"dtkDate", "dtkTime"});
    return info;
}

const TTypeInfo& DTDateFormatTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDTDateFormat", {"dfShort", "dfLong"});
    return info;
}

const TTypeInfo& DTDateModeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDTDateMode", {"dmComboBox", "dmUpDown"});
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner), m_dateTime(Now())
{
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
}

TDateTime TDateTimePicker::Date() const { return DayPart(m_dateTime); }

TDateTime TDateTimePicker::Time() const { return TimePart(m_dateTime); }

void TDateTimePicker::SetDateTime(TDateTime value)
{
    m_dateTime = value;
    SendValue();
}

void TDateTimePicker::SetDate(TDateTime value) { SetDateTime(Combine(DayPart(value), Time())); }

void TDateTimePicker::SetTime(TDateTime value) { SetDateTime(Combine(Date(), TimePart(value))); }

void TDateTimePicker::SendValue()
{
    if (!HandleAllocated())
        return;
    const SYSTEMTIME time = DateTimeToSystemTime(m_dateTime);
    (void)SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TDateTimePicker::SetMinDate(TDateTime value)
{
    m_minDate = value;
    SendRange();
}

void TDateTimePicker::SetMaxDate(TDateTime value)
{
    m_maxDate = value;
    SendRange();
}

void TDateTimePicker::SendRange()
{
    if (!HandleAllocated())
        return;
    detail::SendDateRange(Handle(), DTM_SETRANGE, m_minDate, m_maxDate);
    SYSTEMTIME time{};
    if (SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID)
        m_dateTime = SystemTimeToDateTime(time);
}

void TDateTimePicker::SetKind(TDateTimeKind value)
{
    m_kind = value;
    Recreate();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value)
{
    m_dateFormat = value;
    Recreate();
}

void TDateTimePicker::SetDateMode(TDTDateMode value)
{
    m_dateMode = value;
    Recreate();
}

void TDateTimePicker::Recreate()
{
    if (HandleAllocated())
        RecreateWnd();
}

bool TDateTimePicker::DroppedDown() const
{
    return HandleAllocated() &&
           SendMessageA(const_cast<TDateTimePicker*>(this)->Handle(), DTM_GETMONTHCAL, 0, 0) != 0;
}

void TDateTimePicker::CreateParams(TCreateParams& params)
{
    RegisterDateTimePickClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, DATETIMEPICK_CLASSA);
    const DWORD format = m_kind == dtkTime ? DTS_TIMEFORMAT
                                           : (m_dateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT);
    params.Style |= format | (m_dateMode == dmUpDown ? DTS_UPDOWN : 0U);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    SendRange();
    SendValue();
}

void TDateTimePicker::Dispatch(TMessage& message)
{
    if (message.Msg == CN_NOTIFY && !Outlives([&] { Notified(*reinterpret_cast<NMHDR*>(message.LParam)); }))
        return;
    TWinControl::Dispatch(message);
}

void TDateTimePicker::Notified(const NMHDR& header)
{
    if (header.code == DTN_DATETIMECHANGE) {
        m_dateTime = SystemTimeToDateTime(reinterpret_cast<const NMDATETIMECHANGE&>(header).st);
        Change();
    } else if (header.code == DTN_DROPDOWN) {
        m_onDropDown(this);
    } else if (header.code == DTN_CLOSEUP) {
        m_onCloseUp(this);
    }
}

void TDateTimePicker::Change() { m_onChange(this); }
