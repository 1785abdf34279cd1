#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/rtl/DateTime.h"

enum TCalDayOfWeek { dowMonday, dowTuesday, dowWednesday, dowThursday, dowFriday, dowSaturday, dowSunday,
                     dowLocaleDefault };

[[nodiscard]] const TTypeInfo& CalDayOfWeekTypeInfo();

// The class library's month calendar over a "SysMonthCal32" window. Date follows the user's
// choice; MinDate / MaxDate of 0 leave that end open.
class TMonthCalendar : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TMonthCalendar(TComponent* owner);

    [[nodiscard]] TDateTime Date() const { return m_date; }
    void SetDate(TDateTime value);
    [[nodiscard]] TDateTime MinDate() const { return m_minDate; }
    void SetMinDate(TDateTime value);
    [[nodiscard]] TDateTime MaxDate() const { return m_maxDate; }
    void SetMaxDate(TDateTime value);
    [[nodiscard]] TCalDayOfWeek FirstDayOfWeek() const { return m_firstDayOfWeek; }
    void SetFirstDayOfWeek(TCalDayOfWeek value);
    [[nodiscard]] bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    void SendRange();
    void AdjustSize();

    TDateTime m_date;
    TDateTime m_minDate = 0;
    TDateTime m_maxDate = 0;
    TCalDayOfWeek m_firstDayOfWeek = dowLocaleDefault;
    bool m_autoSize = false;
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
enum TDTDateMode { dmComboBox, dmUpDown };

[[nodiscard]] const TTypeInfo& DateTimeKindTypeInfo();
[[nodiscard]] const TTypeInfo& DTDateFormatTypeInfo();
[[nodiscard]] const TTypeInfo& DTDateModeTypeInfo();

// The class library's date and time picker over a "SysDateTimePick32" window. OnChange fires when
// the user changes the value (typing, arrows, the drop-down calendar), not when the program sets it.
class TDateTimePicker : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TDateTimePicker(TComponent* owner);

    [[nodiscard]] TDateTime DateTime() const { return m_dateTime; }
    void SetDateTime(TDateTime value);
    // The whole days of DateTime; setting it keeps the time of day.
    [[nodiscard]] TDateTime Date() const;
    void SetDate(TDateTime value);
    // The time of day of DateTime; setting it keeps the day.
    [[nodiscard]] TDateTime Time() const;
    void SetTime(TDateTime value);
    [[nodiscard]] TDateTimeKind Kind() const { return m_kind; }
    void SetKind(TDateTimeKind value);
    [[nodiscard]] TDTDateFormat DateFormat() const { return m_dateFormat; }
    void SetDateFormat(TDTDateFormat value);
    [[nodiscard]] TDTDateMode DateMode() const { return m_dateMode; }
    void SetDateMode(TDTDateMode value);
    [[nodiscard]] TDateTime MinDate() const { return m_minDate; }
    void SetMinDate(TDateTime value);
    [[nodiscard]] TDateTime MaxDate() const { return m_maxDate; }
    void SetMaxDate(TDateTime value);
    [[nodiscard]] bool DroppedDown() const;

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnDropDown() const { return m_onDropDown; }
    void SetOnDropDown(const TNotifyEvent& handler) { m_onDropDown = handler; }
    [[nodiscard]] const TNotifyEvent& OnCloseUp() const { return m_onCloseUp; }
    void SetOnCloseUp(const TNotifyEvent& handler) { m_onCloseUp = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();

private:
    void SendValue();
    void SendRange();
    void Recreate();
    // The picker's notification: the new value, or the calendar dropped down or closed.
    void Notified(const NMHDR& header);

    TDateTime m_dateTime;
    TDateTimeKind m_kind = dtkDate;
    TDTDateFormat m_dateFormat = dfShort;
    TDTDateMode m_dateMode = dmComboBox;
    TDateTime m_minDate = 0;
    TDateTime m_maxDate = 0;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onDropDown;
    TNotifyEvent m_onCloseUp;
};

namespace classlib_forms::detail {

// Sends a calendar's or picker's range message: MinDate / MaxDate of 0 leave that end open.
void SendDateRange(HWND window, UINT message, TDateTime minDate, TDateTime maxDate);

} // namespace classlib_forms::detail
