#include "controls/KvBorder.h"

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/ControlsMessages.h"

namespace {

void DescribeBorder(TClassBuilder& c)
{
    using C = TKvBorder;
    using P = TKvFramedBorderProperty;
    c.String("About", &C::About, &C::SetAbout).Stored(false);
    PublishFramedBorders<C>(c, {P::BorderOuter, P::BorderInner}, fsGroove);
    c.Integer("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0);
    c.Integer("BevelWidth", &C::BevelWidth, &C::SetBevelWidth).Default(1);
    PublishFramedBorders<C>(c, {P::BorderSides});
    c.Ordinal("BorderColor", ColorTypeInfo(), &C::BorderColor, &C::SetBorderColor).Default(clBtnFace);
    PublishFramedBorders<C>(c, {P::BorderHighlight, P::BorderShadow, P::FlatColor, P::FlatColorAdjustment,
                                P::FrameController, P::FrameControllerNotifications});
    c.Event("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
    c.Event("OnMouseLeave", &C::OnMouseLeave, &C::SetOnMouseLeave);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvBorder, TGraphicControl, ComponentCreator<TKvBorder>, DescribeBorder)

TKvBorder::TKvBorder(TComponent* owner) : TGraphicControl(owner), TKvFramedBorders(*this, fsGroove)
{
    SetBounds(0, 0, 50, 50);
}

void TKvBorder::SetBorderWidth(int width) { ChangeAndRepaint(m_borderWidth, width); }
void TKvBorder::SetBevelWidth(int width) { ChangeAndRepaint(m_bevelWidth, width); }
void TKvBorder::SetBorderColor(TColor color) { ChangeAndRepaint(m_borderColor, color); }
void TKvBorder::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    FrameControllerNotification(component, operation);
}

bool TKvBorder::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TGraphicControl::GetInterface(iid, object);
}

void TKvBorder::FramedBordersChanged(TKvFramedBorderChange change)
{
    if (change == TKvFramedBorderChange::Flat)
        Invalidate();
    else
        Repaint();
}

TRect TKvBorder::ClientRect() const
{
    TRect rect = TGraphicControl::ClientRect();
    AdjustForBorders(rect);
    return rect;
}

void TKvBorder::AdjustForBorders(TRect& rect) const
{
    rect.left += m_borderWidth;
    rect.top += m_borderWidth;
    rect.right -= m_borderWidth;
    rect.bottom -= m_borderWidth;
    ShrinkSides(rect, BorderSides(), FrameStyleWidth(BorderOuter(), m_bevelWidth));
    ShrinkSides(rect, BorderSides(), FrameStyleWidth(BorderInner(), m_bevelWidth));
    if (rect.right < rect.left || rect.bottom < rect.top)
        rect = Rect(0, 0, 0, 0);
}

TColor TKvBorder::GetInteriorColor() const { return clYellow; }

void TKvBorder::Paint()
{
    TFramedBorders borders;
    borders.BorderOuter = BorderOuter();
    borders.BorderInner = BorderInner();
    borders.BorderWidth = m_borderWidth;
    borders.BorderSides = BorderSides();
    borders.BevelWidth = m_bevelWidth;
    borders.BorderColor = m_borderColor;
    borders.BorderHighlight = BorderHighlight();
    borders.BorderShadow = BorderShadow();
    borders.FlatColor = FlatColor();
    borders.FlatColorAdjustment = FlatColorAdjustment();
    borders.Color = GetInteriorColor();
    borders.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    borders.Transparent = !ControlStyle().Contains(csOpaque);
    TRect rect = Rect(0, 0, Width(), Height());
    DrawFramedBorders(*Canvas(), rect, borders);
}

void TKvBorder::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(message);
        m_onMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(message);
        m_onMouseLeave(this);
        return;
    default:
        TGraphicControl::Dispatch(message);
        return;
    }
}
