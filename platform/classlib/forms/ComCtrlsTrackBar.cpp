#include "platform/classlib/forms/ComCtrlsTrackBar.h"

#include "platform/winapi/controls/TrackBar.h"

#include <algorithm>

namespace {

void DescribeTrackBar(TClassBuilder& c)
{
    c.Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0);
    c.Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10);
    c.Enum("Orientation", TrackBarOrientationTypeInfo(), &TTrackBar::Orientation, &TTrackBar::SetOrientation)
        .Default(trHorizontal);
    c.Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1);
    c.Integer("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1);
    c.Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2);
    c.Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0);
    c.Integer("SelEnd", &TTrackBar::SelEnd, &TTrackBar::SetSelEnd).Default(0);
    c.Integer("SelStart", &TTrackBar::SelStart, &TTrackBar::SetSelStart).Default(0);
    c.Boolean("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible).Default(true);
    c.Integer("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength).Default(20);
    c.Enum("TickMarks", TickMarkTypeInfo(), &TTrackBar::TickMarks, &TTrackBar::SetTickMarks).Default(tmBottomRight);
    c.Enum("TickStyle", TickStyleTypeInfo(), &TTrackBar::TickStyle, &TTrackBar::SetTickStyle).Default(tsAuto);
    c.Event("OnChange", &TTrackBar::OnChange, &TTrackBar::SetOnChange);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTrackBar, TWinControl, ComponentCreator<TTrackBar>, DescribeTrackBar)

const TTypeInfo& TrackBarOrientationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTrackBarOrientation", {"trHorizontal", "trVertical"});
    return info;
}

const TTypeInfo& TickMarkTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"});
    return info;
}

const TTypeInfo& TickStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTickStyle", {"tsNone", "tsAuto", "tsManual"});
    return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

LRESULT TTrackBar::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleAllocated() ? SendMessageA(Handle(), message, wParam, lParam) : 0;
}

void TTrackBar::SetPosition(int value)
{
    (void)Send(TBM_SETPOS, TRUE, value);
    ApplyPosition(HandleAllocated() ? static_cast<int>(Send(TBM_GETPOS, 0, 0)) : value);
}

void TTrackBar::SetRange(int min, int max)
{
    m_min = min;
    m_max = max;
    (void)Send(TBM_SETRANGEMIN, FALSE, min);
    (void)Send(TBM_SETRANGEMAX, TRUE, max);
    SyncPosition();
}

void TTrackBar::SyncPosition()
{
    ApplyPosition(HandleAllocated() ? static_cast<int>(Send(TBM_GETPOS, 0, 0)) : m_position);
}

void TTrackBar::ApplyPosition(int value)
{
    value = std::clamp(value, m_min, std::max(m_min, m_max));
    if (value == m_position)
        return;
    m_position = value;
    Changed();
}

void TTrackBar::SetFrequency(int value)
{
    m_frequency = value;
    (void)Send(TBM_SETTICFREQ, static_cast<WPARAM>(value), 0);
}

void TTrackBar::SetPageSize(int value)
{
    m_pageSize = value;
    (void)Send(TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetLineSize(int value)
{
    m_lineSize = value;
    (void)Send(TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    if (value == m_orientation)
        return;
    m_orientation = value;
    // The long side follows the orientation, as the class library turned the control.
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated())
        RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value)
{
    m_tickMarks = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value)
{
    m_tickStyle = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TTrackBar::SetSliderVisible(bool value)
{
    m_sliderVisible = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TTrackBar::SetThumbLength(int value)
{
    m_thumbLength = value;
    (void)Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(value), 0);
}

void TTrackBar::SetSelStart(int value)
{
    m_selStart = value;
    (void)Send(TBM_SETSELSTART, TRUE, value);
}

void TTrackBar::SetSelEnd(int value)
{
    m_selEnd = value;
    (void)Send(TBM_SETSELEND, TRUE, value);
}

void TTrackBar::SetTick(int value) { (void)Send(TBM_SETTIC, 0, value); }

void TTrackBar::CreateParams(TCreateParams& params)
{
    RegisterTrackBarClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, TRACKBAR_CLASSA);
    static constexpr DWORD TICK_STYLES[] = {TBS_NOTICKS, TBS_AUTOTICKS, 0};
    static constexpr DWORD TICK_MARKS[] = {TBS_BOTTOM, TBS_TOP, TBS_BOTH};
    params.Style |= (m_orientation == trVertical ? TBS_VERT : TBS_HORZ) | TICK_STYLES[m_tickStyle] |
                    TICK_MARKS[m_tickMarks] | TBS_FIXEDLENGTH | TBS_ENABLESELRANGE |
                    (m_sliderVisible ? 0U : TBS_NOTHUMB);
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    (void)Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(m_thumbLength), 0);
    (void)Send(TBM_SETLINESIZE, 0, m_lineSize);
    (void)Send(TBM_SETPAGESIZE, 0, m_pageSize);
    (void)Send(TBM_SETRANGEMIN, FALSE, m_min);
    (void)Send(TBM_SETRANGEMAX, FALSE, m_max);
    (void)Send(TBM_SETSELSTART, FALSE, m_selStart);
    (void)Send(TBM_SETSELEND, FALSE, m_selEnd);
    (void)Send(TBM_SETTICFREQ, static_cast<WPARAM>(m_frequency), 0);
    (void)Send(TBM_SETPOS, TRUE, m_position);
    m_position = static_cast<int>(Send(TBM_GETPOS, 0, 0));
}

void TTrackBar::Dispatch(TMessage& message)
{
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        SyncPosition();
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

void TTrackBar::Changed() { m_onChange(this); }
