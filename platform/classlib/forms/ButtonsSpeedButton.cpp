#include "platform/classlib/forms/ButtonsSpeedButton.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"

namespace {

void DescribeSpeedButton(TClassBuilder& c)
{
    c.Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
    c.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    c.Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    c.Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
    c.Enum("Layout", ButtonLayoutTypeInfo(), &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
    c.Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
    c.Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
    c.Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
}

bool Pressed(TButtonState state) { return state == bsDown || state == bsExclusive; }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSpeedButton, TGraphicControl, ComponentCreator<TSpeedButton>, DescribeSpeedButton)

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), m_glyph(TNotifyEvent::FromFunction([this](TObject*) { Invalidate(); }))
{
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGroupIndex(int groupIndex)
{
    if (groupIndex == m_groupIndex)
        return;
    m_groupIndex = groupIndex;
    TellGroup();
}

void TSpeedButton::SetDown(bool down)
{
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = down;
    SetState(down ? bsExclusive : bsUp);
    if (down)
        TellGroup();
}

void TSpeedButton::SetAllowAllUp(bool allowAllUp)
{
    if (allowAllUp == m_allowAllUp)
        return;
    m_allowAllUp = allowAllUp;
    TellGroup();
}

void TSpeedButton::SetFlat(bool flat)
{
    m_flat = flat;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout)
{
    m_params.layout = layout;
    Invalidate();
}

void TSpeedButton::SetMargin(int margin)
{
    m_params.margin = std::max(margin, -1);
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing)
{
    m_params.spacing = std::max(spacing, -1);
    Invalidate();
}

void TSpeedButton::SetState(TButtonState state)
{
    if (state == m_state)
        return;
    m_state = state;
    Invalidate();
}

// The others of the group let go when this one is down; they all share its AllowAllUp.
void TSpeedButton::TellGroup()
{
    if (m_groupIndex == 0 || !Parent())
        return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(m_groupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TSpeedButton::ButtonPressed(TMessage& message)
{
    auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
    if (static_cast<int>(message.WParam) != m_groupIndex || sender == this)
        return;
    if (sender->Down() && m_down) {
        m_down = false;
        SetState(bsUp);
    }
    m_allowAllUp = sender->AllowAllUp();
}

void TSpeedButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(message);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        m_mouseInControl = message.Msg == CM_MOUSEENTER;
        if (m_flat && Enabled())
            Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(MessageKey(message), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TGraphicControl::MouseDown(button, shift, x, y); }) || button != mbLeft || !Enabled())
        return;
    if (!m_down)
        SetState(bsDown);
    m_dragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TGraphicControl::MouseMove(shift, x, y); }) || !m_dragging)
        return;
    if (m_down)
        SetState(bsExclusive);
    else
        SetState(Inside(x, y) ? bsDown : bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TGraphicControl::MouseUp(button, shift, x, y); }) || !m_dragging || button != mbLeft)
        return;
    m_dragging = false;
    const bool click = Inside(x, y);
    if (m_groupIndex == 0)
        SetState(bsUp);
    else if (click)
        SetDown(!m_down);
    else
        SetState(m_down ? bsExclusive : bsUp);
    if (click)
        Click();
}

void TSpeedButton::Paint()
{
    const HDC dc = Canvas()->Handle();
    const SavedDC saved(dc);
    const TButtonState state = !Enabled() ? bsDisabled : m_state;
    RECT face = ClientRect();
    (void)FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    // A button latched down shows the half-tone face; one held down by the mouse keeps the plain face.
    if (!m_flat)
        (void)DrawFrameControl(dc, &face, DFC_BUTTON,
                               DFCS_BUTTONPUSH | (state == bsDown ? DFCS_PUSHED : 0) | (state == bsExclusive ? DFCS_CHECKED : 0));
    else if (Pressed(state) || (m_mouseInControl && Enabled()))
        (void)DrawEdge(dc, &face, Pressed(state) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    RECT content = face;
    (void)InflateRect(&content, -2, -2);
    if (Pressed(state))
        (void)OffsetRect(&content, 1, 1);
    (void)SelectObject(dc, Font()->Handle());
    (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
    m_glyph.Draw(dc, content, Caption(), m_params, state);
}
