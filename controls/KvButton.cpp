#include "controls/KvButton.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/winapi/gdi/Text.h"

namespace {

void DescribeKvCustomButton(TClassBuilder& c)
{
    c.String("About", &TKvCustomButton::About, &TKvCustomButton::SetAbout).Stored(false);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Enum("AlignmentVertical", AlignmentVerticalTypeInfo(), &TKvCustomButton::AlignmentVertical,
           &TKvCustomButton::SetAlignmentVertical)
        .Default(avCenter);
    c.Ordinal("HighlightColor", ColorTypeInfo(), &TKvCustomButton::HighlightColor, &TKvCustomButton::SetHighlightColor)
        .Default(clHighlight);
    c.Boolean("HotTrack", &TKvCustomButton::HotTrack, &TKvCustomButton::SetHotTrack).Default(false);
    c.Ordinal("HotTrackColor", ColorTypeInfo(), &TKvCustomButton::HotTrackColor, &TKvCustomButton::SetHotTrackColor)
        .Default(0x149BF0);
    c.Enum("HotTrackColorType", KvHotTrackColorTypeTypeInfo(), &TKvCustomButton::HotTrackColorType,
           &TKvCustomButton::SetHotTrackColorType)
        .Default(htctActual);
    c.Boolean("LightTextStyle", &TKvCustomButton::LightTextStyle, &TKvCustomButton::SetLightTextStyle).Default(false);
    c.Ordinal("TextHighlightColor", ColorTypeInfo(), &TKvCustomButton::TextHighlightColor,
              &TKvCustomButton::SetTextHighlightColor)
        .Default(clBtnHighlight);
    c.Ordinal("TextShadowColor", ColorTypeInfo(), &TKvCustomButton::TextShadowColor,
              &TKvCustomButton::SetTextShadowColor)
        .Default(clBtnShadow);
    c.Integer("TextShadowDepth", &TKvCustomButton::TextShadowDepth, &TKvCustomButton::SetTextShadowDepth).Default(2);
    c.Enum("TextStyle", TextStyleTypeInfo(), &TKvCustomButton::TextStyle, &TKvCustomButton::SetTextStyle)
        .Default(tsNormal);
    c.Boolean("ThemeAware", &TKvCustomButton::ThemeAware, &TKvCustomButton::SetThemeAware).Default(true);
    c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    c.Event("OnMouseEnter", &TKvCustomButton::OnMouseEnter, &TKvCustomButton::SetOnMouseEnter);
    c.Event("OnMouseLeave", &TKvCustomButton::OnMouseLeave, &TKvCustomButton::SetOnMouseLeave);
}

void DescribeKvButton(TClassBuilder& c)
{
    c.Object("Action", &TKvCustomButton::Action, &TKvCustomButton::SetAction);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TKvButton::Alignment, &TKvButton::SetAlignment)
        .Default(taCenter);
    c.Boolean("AllowAllUp", &TKvButton::AllowAllUp, &TKvButton::SetAllowAllUp).Default(false);
    c.Boolean("Cancel", &TKvButton::Cancel, &TKvButton::SetCancel).Default(false);
    c.Boolean("Default", &TKvButton::Default, &TKvButton::SetDefault).Default(false);
    c.Boolean("DropDownOnEnter", &TKvButton::DropDownOnEnter, &TKvButton::SetDropDownOnEnter).Default(true);
    c.Integer("GroupIndex", &TKvButton::GroupIndex, &TKvButton::SetGroupIndex).Default(0);
    c.Boolean("Down", &TKvButton::Down, &TKvButton::SetDown).Default(false);
    c.Ordinal("FrameColor", ColorTypeInfo(), &TKvButton::FrameColor, &TKvButton::SetFrameColor).Default(cl3DDkShadow);
    c.Integer("ModalResult", &TKvButton::ModalResult, &TKvButton::SetModalResult).Default(mrNone);
    c.Boolean("ShowDownPattern", &TKvButton::ShowDownPattern, &TKvButton::SetShowDownPattern).Default(true);
    c.Boolean("ShowFocusRect", &TKvButton::ShowFocusRect, &TKvButton::SetShowFocusRect).Default(true);
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor)
        .Default(clBtnFace)
        .StoredWhen(&TControl::IsColorStored);
    c.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomButton, TCustomControl, nullptr, DescribeKvCustomButton)
CLASSLIB_IMPLEMENT_CLASS(TKvButton, TKvCustomButton, ComponentCreator<TKvButton>, DescribeKvButton)

// ---- TKvCustomButton ----------------------------------------------------------------------------

TKvCustomButton::TKvCustomButton(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector});
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

void TKvCustomButton::SetAlignmentVertical(TAlignmentVertical value)
{
    if (value == m_alignmentVertical)
        return;
    m_alignmentVertical = value;
    Invalidate();
}

void TKvCustomButton::SetHotTrack(bool value)
{
    if (value == m_hotTrack)
        return;
    m_hotTrack = value;
    Invalidate();
}

void TKvCustomButton::SetHighlightColor(TColor value)
{
    if (value == m_highlightColor)
        return;
    m_highlightColor = value;
    Invalidate();
}

void TKvCustomButton::SetLightTextStyle(bool value)
{
    if (value == m_lightTextStyle)
        return;
    m_lightTextStyle = value;
    Invalidate();
}

void TKvCustomButton::SetTextStyle(TTextStyle value)
{
    if (value == m_textStyle)
        return;
    m_textStyle = value;
    Invalidate();
}

void TKvCustomButton::SetTextHighlightColor(TColor value)
{
    if (value == m_textHighlightColor)
        return;
    m_textHighlightColor = value;
    Invalidate();
}

void TKvCustomButton::SetTextShadowColor(TColor value)
{
    if (value == m_textShadowColor)
        return;
    m_textShadowColor = value;
    Invalidate();
}

void TKvCustomButton::SetTextShadowDepth(int value)
{
    if (value == m_textShadowDepth)
        return;
    m_textShadowDepth = value;
    Invalidate();
}

void TKvCustomButton::SetThemeAware(bool value)
{
    if (value == m_themeAware)
        return;
    m_themeAware = value;
    Invalidate();
}

void TKvCustomButton::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    Invalidate();
}

TColor TKvCustomButton::HotDarkColor() const
{
    if (m_hotTrackColorType == htctActual)
        return m_hotTrackColor;
    return DarkenLuminance(OppositeHueColor(m_hotTrackColor, 180), 30);
}

TColor TKvCustomButton::HotLightColor() const
{
    if (m_hotTrackColorType == htctActual)
        return MixColors(clWhite, m_hotTrackColor, 190);
    return OppositeHueColor(m_hotTrackColor, 180);
}

int TKvCustomButton::CaptionHeight(TCanvas& canvas, const TRect& rect)
{
    TRect measured = rect;
    const std::string text = Caption();
    return DrawTextA(canvas.Handle(), text.c_str(), -1, &measured,
                     DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
}

void TKvCustomButton::DrawCaption(TCanvas& canvas, TRect rect, UINT flags)
{
    canvas.Brush()->SetStyle(bsClear);
    canvas.SetFont(Font());
    const int height = CaptionHeight(canvas, rect);
    switch (m_alignmentVertical) {
    case avTop:
        rect.bottom = rect.top + height;
        break;
    case avCenter:
        rect.top = (rect.top + rect.bottom - height) / 2;
        rect.bottom = rect.top + height;
        break;
    case avBottom:
        rect.top = rect.bottom - height - 1;
        break;
    }
    const std::string text = Caption();
    const auto drawAt = [&](const TRect& at, TColor colour) {
        TRect box = at;
        canvas.Font()->SetColor(colour);
        (void)DrawTextA(canvas.Handle(), text.c_str(), -1, &box, flags);
    };
    const auto moved = [&](int dx, int dy) { return Rect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy); };
    if (Enabled()) {
        switch (m_textStyle) {
        case tsRaised:
            if (!m_lightTextStyle)
                drawAt(moved(1, 1), m_textShadowColor);
            drawAt(moved(-1, -1), m_textHighlightColor);
            break;
        case tsRecessed:
            drawAt(moved(1, 1), m_textHighlightColor);
            if (!m_lightTextStyle)
                drawAt(moved(-1, -1), m_textShadowColor);
            break;
        case tsShadow:
            drawAt((flags & DT_RIGHT) ? moved(0, m_textShadowDepth) : moved(m_textShadowDepth, m_textShadowDepth),
                   m_textShadowColor);
            break;
        case tsNormal:
            break;
        }
        // Right-aligned text makes room for a shadow whatever the style, as the library always did.
        if (flags & DT_RIGHT)
            rect = moved(-m_textShadowDepth, 0);
        drawAt(rect, Font()->Color());
    } else {
        drawAt(rect, clGrayText);
    }
    canvas.Brush()->SetStyle(bsSolid);
}

void TKvCustomButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (Outlives([&] { TCustomControl::Dispatch(message); }))
            FocusStateChanged();
        return;
    case WM_ERASEBKGND:
        if (m_transparent) {
            EraseTransparent(reinterpret_cast<HDC>(message.WParam));
            message.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
        MouseEnterLeave(message, true);
        return;
    case CM_MOUSELEAVE:
        MouseEnterLeave(message, false);
        return;
    case CM_ENABLEDCHANGED:
        if (!Enabled() && Parent())
            if (TCustomForm* form = GetParentForm(this))
                form->DefocusControl(this, false);
        TCustomControl::Dispatch(message);
        return;
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(message);
        Repaint();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

void TKvCustomButton::MouseEnterLeave(TMessage& message, bool entering)
{
    m_mouseOver = entering;
    if (!Outlives([&] { TCustomControl::Dispatch(message); }))
        return;
    const TNotifyEvent& handler = entering ? m_onMouseEnter : m_onMouseLeave;
    if (!Outlives([&] { handler(this); }))
        return;
    // With no visual styles, only the hot-track look changes under the mouse.
    if (m_hotTrack)
        RepaintHotTrackRect();
}

void TKvCustomButton::RepaintHotTrackRect()
{
    if (!HandleAllocated())
        return;
    TRect rect{};
    GetHotTrackRect(rect);
    (void)InvalidateRect(Handle(), &rect, FALSE);
}

void TKvCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TCustomControl::MouseDown(button, shift, x, y); }))
        return;
    if (button != mbLeft || !Enabled())
        return;
    if (!Outlives([this] { (void)::SetFocus(Handle()); }) || !Focused())
        return;
    m_pressedDisplay = true;
    UpdateDisplay();
    m_dragging = true;
}

void TKvCustomButton::MouseMove(TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TCustomControl::MouseMove(shift, x, y); }))
        return;
    if (!m_dragging)
        return;
    // The bottom edge is outside, as it is for the release: a button never shows pressed where
    // letting go would not click it.
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (inside == m_pressedDisplay)
        return;
    m_pressedDisplay = inside;
    UpdateDisplay();
}

void TKvCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TCustomControl::MouseUp(button, shift, x, y); }))
        return;
    if (button != mbLeft || !m_dragging)
        return;
    m_dragging = false;
    m_pressedDisplay = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    // The display is brought up to date first: the click may free the button.
    UpdateDisplay();
    if (inside)
        ButtonClicked();
}

// ---- TKvButton ----------------------------------------------------------------------------------

TKvButton::TKvButton(TComponent* owner) : TKvCustomButton(owner)
{
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(0, 0, 75, 25);
}

void TKvButton::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    Invalidate();
}

void TKvButton::SetAllowAllUp(bool value)
{
    if (value == m_allowAllUp)
        return;
    m_allowAllUp = value;
    BroadcastGroup();
}

void TKvButton::SetDefault(bool value)
{
    m_default = value;
    if (!HandleAllocated())
        return;
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TKvButton::SetGroupIndex(int value)
{
    if (value == m_groupIndex)
        return;
    m_groupIndex = value;
    BroadcastGroup();
}

void TKvButton::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down)
        return;
    // The last button down in a group stays down unless the group allows all up.
    if (m_down && !m_allowAllUp && m_groupIndex != 0)
        return;
    m_down = value;
    Invalidate();
    if (value)
        BroadcastGroup();
}

void TKvButton::SetFrameColor(TColor value)
{
    if (value == m_frameColor)
        return;
    m_frameColor = value;
    Invalidate();
}

void TKvButton::SetShowDownPattern(bool value)
{
    if (value == m_showDownPattern)
        return;
    m_showDownPattern = value;
    Invalidate();
}

void TKvButton::SetShowFocusRect(bool value)
{
    if (value == m_showFocusRect)
        return;
    m_showFocusRect = value;
    Invalidate();
}

void TKvButton::SetHotTrack(bool value)
{
    TKvCustomButton::SetHotTrack(value);
    SetTransparent(value);
    if (HandleAllocated()) {
        const TRect client = ClientRect();
        (void)InvalidateRect(Handle(), &client, TRUE);
    }
}

bool TKvButton::ShownDown() const { return m_down || PressedDisplay(); }

void TKvButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(m_modalResult);
    TKvCustomButton::Click();
}

void TKvButton::ButtonClicked()
{
    if (m_groupIndex != 0)
        SetDown(!m_down);
    else
        UpdateDisplay();
    controls::detail::WithFlag(*this, m_clicking, [this] { Click(); });
}

void TKvButton::CreateWnd()
{
    TKvCustomButton::CreateWnd();
    m_active = m_default;
}

void TKvButton::DefineProperties(TFiler& filer)
{
    TKvCustomButton::DefineProperties(filer);
    // Older form data called HotTrack "FrameFlat".
    filer.DefineProperty("FrameFlat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); }, nullptr, false);
}

void TKvButton::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_SPACE && !shift.Contains(ssAlt)) {
        m_keyToggle = true;
        SetPressedDisplay(true);
        UpdateDisplay();
    }
    TKvCustomButton::KeyDown(key, shift);
}

void TKvButton::KeyUp(WORD& key, TShiftState shift)
{
    if (key == VK_SPACE) {
        SetPressedDisplay(false);
        UpdateDisplay();
        if (m_keyToggle) {
            m_keyToggle = false;
            if (!Outlives([this] { ButtonClicked(); }))
                return;
        }
    }
    TKvCustomButton::KeyUp(key, shift);
}

void TKvButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGKEY:
        if (DialogKey(message))
            return;
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(MessageKey(message), Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED:
        FocusChanged(message);
        break;
    case WM_KILLFOCUS:
        TKvCustomButton::Dispatch(message);
        m_keyToggle = false;
        SetPressedDisplay(false);
        UpdateDisplay();
        return;
    case KV_BUTTON_GROUP_MESSAGE:
        GroupMessage(message);
        return;
    default:
        break;
    }
    TKvCustomButton::Dispatch(message);
}

bool TKvButton::DialogKey(TMessage& message)
{
    const WORD key = MessageKey(message);
    if (!((key == VK_RETURN && m_active) || (key == VK_ESCAPE && m_cancel)))
        return false;
    if (!KeyDataToShiftState(message.LParam).Empty() || !CanFocus())
        return false;
    message.Result = 1;
    if (m_dropDownOnEnter)
        Click();
    else
        controls::detail::WithFlag(*this, m_noDropDown, [this] { Click(); });
    return true;
}

// A focused push button takes Enter from the default one; focus anywhere else gives it back.
void TKvButton::FocusChanged(const TMessage& message)
{
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    const bool isButton = dynamic_cast<TKvButton*>(focused) != nullptr || dynamic_cast<TButton*>(focused) != nullptr;
    const bool active = isButton ? focused == this : m_default;
    if (active == m_active)
        return;
    m_active = active;
    Repaint();
}

void TKvButton::BroadcastGroup()
{
    if (m_groupIndex == 0 || !Parent())
        return;
    TMessage message{KV_BUTTON_GROUP_MESSAGE, static_cast<WPARAM>(m_groupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TKvButton::GroupMessage(const TMessage& message)
{
    auto* sender = reinterpret_cast<TKvButton*>(message.LParam);
    if (static_cast<int>(message.WParam) != m_groupIndex || sender == this)
        return;
    if (sender->Down() && m_down) {
        m_down = false;
        Invalidate();
    }
    m_allowAllUp = sender->AllowAllUp();
}

void RegisterKvButtonClasses()
{
    RegisterClasses({TKvButton::StaticClass(), TKvBitBtn::StaticClass()});
}
