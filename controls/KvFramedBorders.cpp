#include "controls/KvFramedBorders.h"

TKvFramedBorders::TKvFramedBorders(TControl& control, TFrameStyleEx borderOuter)
    : m_control(control), m_borderOuter(borderOuter), m_frameController(control)
{
}

template <class T>
void TKvFramedBorders::Change(T& field, T value, TKvFramedBorderChange change)
{
    if (value == field)
        return;
    field = value;
    FramedBordersChanged(change);
}

void TKvFramedBorders::SetBorderOuter(TFrameStyleEx style)
{
    Change(m_borderOuter, style, TKvFramedBorderChange::Frames);
}

void TKvFramedBorders::SetBorderInner(TFrameStyleEx style)
{
    Change(m_borderInner, style, TKvFramedBorderChange::Frames);
}

void TKvFramedBorders::SetBorderSides(TSides sides) { Change(m_borderSides, sides, TKvFramedBorderChange::Frames); }

void TKvFramedBorders::SetBorderHighlight(TColor color)
{
    Change(m_borderHighlight, color, TKvFramedBorderChange::Shades);
}

void TKvFramedBorders::SetBorderShadow(TColor color) { Change(m_borderShadow, color, TKvFramedBorderChange::Shades); }

void TKvFramedBorders::SetFlatColor(TColor color) { Change(m_flatColor, color, TKvFramedBorderChange::Flat); }

void TKvFramedBorders::SetFlatColorAdjustment(int adjustment)
{
    Change(m_flatColorAdjustment, adjustment, TKvFramedBorderChange::Flat);
}

void TKvFramedBorders::SetFrameController(TKvFrameController* controller) { m_frameController.Set(controller); }

void TKvFramedBorders::FrameControllerChanged()
{
    const TKvFrameController* controller = m_frameController.Controller();
    if (controller && TakeFramedBorderSettings(m_control, *controller, m_notifications, ControllerFields()))
        m_control.Invalidate();
}
