#include "grid/tools/ToolCtrlsGxButtons.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TEditButtonControlGx, TSpeedButton, ComponentCreator<TEditButtonControlGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TSpeedButtonGx, TEditButtonControlGx, ComponentCreator<TSpeedButtonGx>, nullptr)

namespace {

constexpr unsigned FirstRepeatDelay = 400;
constexpr unsigned RepeatInterval = 100;

} // namespace

TEditButtonFaceKind FaceKindOfStyle(TEditButtonStyleGx style)
{
    switch (style) {
    case ebsEllipsisGx:
        return ebfEllipsis;
    case ebsGlyphGx:
    case ebsUpDownGx:
        return ebfUpDown;
    case ebsPlusGx:
        return ebfPlus;
    case ebsMinusGx:
        return ebfMinus;
    case ebsDropDownGx:
        break;
    }
    return ebfDropDown;
}

// ---- TEditButtonControlGx

TEditButtonControlGx::TEditButtonControlGx(TComponent* owner) : TSpeedButton(owner) {}

TEditButtonControlGx::~TEditButtonControlGx() = default;

void TEditButtonControlGx::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    Invalidate();
}

void TEditButtonControlGx::SetAlwaysDown(bool alwaysDown)
{
    m_alwaysDown = alwaysDown;
    if (alwaysDown) {
        SetGroupIndex(1);
        SetDown(true);
        SetAllowAllUp(false);
        m_pressedPart = ppUpperOrWhole;
    } else {
        SetAllowAllUp(true);
        SetDown(false);
        SetGroupIndex(0);
        m_pressedPart = ppNone;
    }
    Invalidate();
}

void TEditButtonControlGx::SetStyle(TEditButtonStyleGx style)
{
    if (style == m_style)
        return;
    m_style = style;
    Invalidate();
}

void TEditButtonControlGx::Click()
{
    if (!m_suppressClick)
        TSpeedButton::Click();
}

void TEditButtonControlGx::UpdatePressedPart(int y)
{
    TPressedPart part = ppNone;
    if (IsDown()) {
        if (m_style != ebsUpDownGx)
            part = ppUpperOrWhole;
        else if (y < Height() / 2)
            part = ppUpperOrWhole;
        else if (y > Height() - Height() / 2)
            part = ppLower;
    }
    if (part == m_pressedPart)
        return;
    m_pressedPart = part;
    Invalidate();
}

void TEditButtonControlGx::FireDown(bool& autoRepeat)
{
    bool handled = false;
    m_onDown(this, m_pressedPart == ppUpperOrWhole, autoRepeat, handled);
}

void TEditButtonControlGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    bool autoRepeat = m_style == ebsUpDownGx;
    TSpeedButton::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    m_tracking = true;
    UpdatePressedPart(y);
    if (m_pressedPart == ppNone)
        return;
    FireDown(autoRepeat);
    if (autoRepeat)
        StartTimer(FirstRepeatDelay);
}

void TEditButtonControlGx::MouseMove(TShiftState shift, int x, int y)
{
    TSpeedButton::MouseMove(shift, x, y);
    if (!m_tracking || m_style != ebsUpDownGx || !IsDown())
        return;
    const bool leftUpper = m_pressedPart == ppUpperOrWhole && y > Height() - Height() / 2;
    const bool leftLower = m_pressedPart == ppLower && y < Height() / 2;
    if (leftUpper || leftLower)
        SetState(bsUp);
}

void TEditButtonControlGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    m_suppressClick = m_style == ebsUpDownGx && !IsDown();
    TSpeedButton::MouseUp(button, shift, x, y);
    m_suppressClick = false;
    if (button == mbLeft)
        m_tracking = false;
    UpdatePressedPart(y);
    StopTimer();
}

void TEditButtonControlGx::StartTimer(unsigned interval)
{
    if (!m_timer) {
        m_timer = new TTimer(this);
        m_timer->SetEnabled(false);
        m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject* sender) { TimerTick(sender); }));
    }
    if (m_timer->Enabled() && m_timer->Interval() == interval)
        return;
    m_timer->SetEnabled(false);
    m_timer->SetInterval(interval);
    m_timer->SetEnabled(true);
}

void TEditButtonControlGx::StopTimer()
{
    if (m_timer)
        m_timer->SetEnabled(false);
}

void TEditButtonControlGx::TimerTick(TObject* /*sender*/)
{
    if (!IsDown())
        return;
    if (m_timer->Interval() == FirstRepeatDelay)
        StartTimer(RepeatInterval);
    bool autoRepeat = m_style == ebsUpDownGx;
    FireDown(autoRepeat);
    if (!autoRepeat)
        StopTimer();
}

void TEditButtonControlGx::Paint()
{
    if (m_style == ebsGlyphGx) {
        PaintGlyphButton();
        return;
    }
    const COLORREF parentColor = ColorToRGB(Parent() ? Parent()->Color() : clBtnFace);
    PaintEditButtonFace(Canvas()->Handle(), RECT{0, 0, Width(), Height()}, parentColor, FaceKindOfStyle(m_style),
                        IsDown() ? m_pressedPart : ppNone, {Flat(), m_active, Enabled()});
}

// A flat glyph button keeps a thin edge while active, and a frame in the parent's colour otherwise.
void TEditButtonControlGx::PaintGlyphButton()
{
    if (!Flat()) {
        TSpeedButton::Paint();
        return;
    }
    const HDC dc = Canvas()->Handle();
    {
        const SavedDC saved(dc);
        (void)IntersectClipRect(dc, 1, 1, Width() - 1, Height() - 1);
        TSpeedButton::Paint();
    }
    RECT edge{0, 0, Width(), Height()};
    if (m_active) {
        (void)DrawEdge(dc, &edge, IsDown() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        return;
    }
    const GdiObject<HBRUSH> frame(CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : clBtnFace)));
    (void)FrameRect(dc, &edge, frame.Get());
}

TEditButtonControlGx* NewEditButtonControl(const TEditButtonGx& button)
{
    auto* control = new TEditButtonControlGx(button.Editor());
    control->SetControlStyle(control->ControlStyle() + TControlStyle{csReplicatable});
    control->SetParent(button.Editor());
    control->SetBounds(0, 0, 10, 17);
    control->SetVisible(true);
    return control;
}
