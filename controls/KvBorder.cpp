#include "controls/KvBorder.h"

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/ControlsMessages.h"

namespace {

void DescribeBorder(TClassBuilder& c)
{
    using C = TKvBorder;
    c.String("About", &C::About, &C::SetAbout).Stored(false);
    c.Enum("BorderOuter", FrameStyleExTypeInfo(), &C::BorderOuter, &C::SetBorderOuter).Default(fsGroove);
    c.Enum("BorderInner", FrameStyleExTypeInfo(), &C::BorderInner, &C::SetBorderInner).Default(fsNone);
    c.Integer("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0);
    c.Integer("BevelWidth", &C::BevelWidth, &C::SetBevelWidth).Default(1);
    c.Set("BorderSides", SidesTypeInfo(), &C::BorderSides, &C::SetBorderSides).Default(AllSides);
    c.Ordinal("BorderColor", ColorTypeInfo(), &C::BorderColor, &C::SetBorderColor).Default(clBtnFace);
    c.Ordinal("BorderHighlight", ColorTypeInfo(), &C::BorderHighlight, &C::SetBorderHighlight).Default(clBtnHighlight);
    c.Ordinal("BorderShadow", ColorTypeInfo(), &C::BorderShadow, &C::SetBorderShadow).Default(clBtnShadow);
    c.Ordinal("FlatColor", ColorTypeInfo(), &C::FlatColor, &C::SetFlatColor).Default(clBtnShadow);
    c.Integer("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
    c.Object("FrameController", &C::FrameController, &C::SetFrameController);
    c.Set("FrameControllerNotifications", FrameControllerNotificationsTypeInfo(), &C::FrameControllerNotifications,
          &C::SetFrameControllerNotifications)
        .Default(AllFrameControllerNotifications);
    c.Event("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
    c.Event("OnMouseLeave", &C::OnMouseLeave, &C::SetOnMouseLeave);
}

// How far a frame style reaches into the control on each of its sides.
[[nodiscard]] int FrameStyleWidth(TFrameStyleEx style, int bevelWidth)
{
    switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
    }
}

void ShrinkSides(TRect& rect, int by, TSides sides)
{
    if (sides.Contains(sdLeft))
        rect.left += by;
    if (sides.Contains(sdTop))
        rect.top += by;
    if (sides.Contains(sdRight))
        rect.right -= by;
    if (sides.Contains(sdBottom))
        rect.bottom -= by;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvBorder, TGraphicControl, ComponentCreator<TKvBorder>, DescribeBorder)

TKvBorder::TKvBorder(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TKvBorder::SetBorderOuter(TFrameStyleEx style) { ChangeAndRepaint(m_borderOuter, style); }
void TKvBorder::SetBorderInner(TFrameStyleEx style) { ChangeAndRepaint(m_borderInner, style); }
void TKvBorder::SetBorderWidth(int width) { ChangeAndRepaint(m_borderWidth, width); }
void TKvBorder::SetBevelWidth(int width) { ChangeAndRepaint(m_bevelWidth, width); }
void TKvBorder::SetBorderSides(TSides sides) { ChangeAndRepaint(m_borderSides, sides); }
void TKvBorder::SetBorderColor(TColor color) { ChangeAndRepaint(m_borderColor, color); }
void TKvBorder::SetBorderHighlight(TColor color) { ChangeAndRepaint(m_borderHighlight, color); }
void TKvBorder::SetBorderShadow(TColor color) { ChangeAndRepaint(m_borderShadow, color); }

void TKvBorder::SetFlatColor(TColor color)
{
    if (color == m_flatColor)
        return;
    m_flatColor = color;
    Invalidate();
}

void TKvBorder::SetFlatColorAdjustment(int adjustment)
{
    if (adjustment == m_flatColorAdjustment)
        return;
    m_flatColorAdjustment = adjustment;
    Invalidate();
}

void TKvBorder::SetFrameController(TKvFrameController* controller) { m_frameController.Set(controller); }

void TKvBorder::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    m_frameController.Notification(component, operation);
}

bool TKvBorder::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TGraphicControl::GetInterface(iid, object);
}

void TKvBorder::FrameControllerChanged()
{
    const TKvFrameController* controller = m_frameController.Controller();
    if (controller && TakeFramedBorderSettings(*this, *controller, m_notifications,
                                               {m_borderOuter, m_borderSides, m_flatColor, m_flatColorAdjustment,
                                                m_borderHighlight, m_borderShadow}))
        Invalidate();
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
    ShrinkSides(rect, FrameStyleWidth(m_borderOuter, m_bevelWidth), m_borderSides);
    ShrinkSides(rect, FrameStyleWidth(m_borderInner, m_bevelWidth), m_borderSides);
    if (rect.right < rect.left || rect.bottom < rect.top)
        rect = Rect(0, 0, 0, 0);
}

TColor TKvBorder::GetInteriorColor() const { return clYellow; }

void TKvBorder::Paint()
{
    TFramedBorders borders;
    borders.BorderOuter = m_borderOuter;
    borders.BorderInner = m_borderInner;
    borders.BorderWidth = m_borderWidth;
    borders.BorderSides = m_borderSides;
    borders.BevelWidth = m_bevelWidth;
    borders.BorderColor = m_borderColor;
    borders.BorderHighlight = m_borderHighlight;
    borders.BorderShadow = m_borderShadow;
    borders.FlatColor = m_flatColor;
    borders.FlatColorAdjustment = m_flatColorAdjustment;
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
