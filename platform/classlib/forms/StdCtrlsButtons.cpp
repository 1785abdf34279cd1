#include "platform/classlib/forms/StdCtrlsButtons.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/user/Button.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

namespace {

void DescribeButtonControl(TClassBuilder& c)
{
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
}

void DescribeButton(TClassBuilder& c)
{
    c.Boolean("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    c.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    c.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
    c.Boolean("WordWrap", &TButton::WordWrap, &TButton::SetWordWrap).Default(false);
}

void DescribeCheckBox(TClassBuilder& c)
{
    c.Enum("Alignment", LeftRightTypeInfo(), &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    c.Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    c.Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    c.Enum("State", CheckBoxStateTypeInfo(), &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    c.Boolean("WordWrap", &TCheckBox::WordWrap, &TCheckBox::SetWordWrap).Default(false);
}

void DescribeRadioButton(TClassBuilder& c)
{
    c.Enum("Alignment", LeftRightTypeInfo(), &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Default(taRightJustify);
    c.Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    c.Boolean("WordWrap", &TRadioButton::WordWrap, &TRadioButton::SetWordWrap).Default(false);
}

void DescribeGroupBox(TClassBuilder& c) { c.String("Caption", &TControl::Caption, &TControl::SetCaption); }

DWORD LeftTextStyle(TLeftRight alignment) { return alignment == taLeftJustify ? BS_LEFTTEXT : 0; }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TButtonControl, TWinControl, nullptr, DescribeButtonControl)
CLASSLIB_IMPLEMENT_CLASS(TButton, TButtonControl, ComponentCreator<TButton>, DescribeButton)
CLASSLIB_IMPLEMENT_CLASS(TCheckBox, TButtonControl, ComponentCreator<TCheckBox>, DescribeCheckBox)
CLASSLIB_IMPLEMENT_CLASS(TRadioButton, TButtonControl, ComponentCreator<TRadioButton>, DescribeRadioButton)
CLASSLIB_IMPLEMENT_CLASS(TCustomGroupBox, TCustomControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TGroupBox, TCustomGroupBox, ComponentCreator<TGroupBox>, DescribeGroupBox)

const TTypeInfo& CheckBoxStateTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
    return info;
}

const TTypeInfo& LeftRightTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TLeftRight", {"taLeftJustify", "taRightJustify"});
    return info;
}

// ---- TButtonControl -----------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
}

TButtonControl::~TButtonControl() = default;

void TButtonControl::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    if (HandleAllocated())
        RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& params)
{
    RegisterButtonClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_BUTTONA);
    if (m_wordWrap)
        params.Style |= BS_MULTILINE;
}

void TButtonControl::CreateWnd()
{
    TWinControl::CreateWnd();
    (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TButtonControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        AnswerColor(message);
        return;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        break;
    case WM_ERASEBKGND:
        // The button paints all of itself; erasing first would only flicker.
        message.Result = 1;
        return;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

bool TButtonControl::TakesAccelerator(TMessage& message)
{
    if (!IsAccel(MessageKey(message), Caption()) || !CanFocus())
        return false;
    SetFocus();
    message.Result = 1;
    return Focused();
}

// The brush is kept until the colour changes: the window paints with it after the answer.
void TButtonControl::AnswerColor(TMessage& message)
{
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    const COLORREF color = ColorToRGB(Color());
    if (!m_brush || m_brushColor != color) {
        m_brush.Reset(CreateSolidBrush(color));
        m_brushColor = color;
    }
    (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
    (void)SetBkColor(dc, color);
    message.Result = reinterpret_cast<LRESULT>(m_brush.Get());
}

// ---- TButton ------------------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
    SetParentColor(false);
}

void TButton::SetDefault(bool value)
{
    m_default = value;
    if (!HandleAllocated())
        return;
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(m_modalResult);
    TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.Style |= m_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    m_active = m_default;
}

void TButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED)
            Click();
        return;
    case CM_FOCUSCHANGED:
        FocusChanged(message);
        break;
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
    default:
        break;
    }
    TButtonControl::Dispatch(message);
}

// A focused button takes Enter from the default one; focus elsewhere gives it back.
void TButton::FocusChanged(TMessage& message)
{
    auto* sender = reinterpret_cast<TWinControl*>(message.LParam);
    m_active = dynamic_cast<TButton*>(sender) ? sender == this : m_default;
    SetButtonStyle(m_active);
}

bool TButton::DialogKey(TMessage& message)
{
    const WORD key = MessageKey(message);
    if (!((key == VK_RETURN && m_active) || (key == VK_ESCAPE && m_cancel)))
        return false;
    if (!KeyDataToShiftState(message.LParam).Empty() || !CanFocus())
        return false;
    Click();
    message.Result = 1;
    return true;
}

void TButton::SetButtonStyle(bool isDefault)
{
    if (!HandleAllocated())
        return;
    const DWORD style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & BS_TYPEMASK) != style)
        (void)SendMessageA(Handle(), BM_SETSTYLE, style, TRUE);
}

// ---- TCheckBox ----------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::SetState(TCheckBoxState state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(m_state), 0);
    if (!ClicksDisabled())
        Click();
}

void TCheckBox::SetAlignment(TLeftRight alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    if (HandleAllocated())
        RecreateWnd();
}

void TCheckBox::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.Style |= BS_3STATE | LeftTextStyle(m_alignment);
}

void TCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    (void)SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(m_state), 0);
}

void TCheckBox::Dispatch(TMessage& message)
{
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED)
            Toggle();
        return;
    }
    if (message.Msg == CM_DIALOGCHAR && TakesAccelerator(message)) {
        Toggle();
        return;
    }
    TButtonControl::Dispatch(message);
}

void TCheckBox::Toggle()
{
    switch (m_state) {
    case cbUnchecked:
        SetState(m_allowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

// ---- TRadioButton -------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    SetTabStop(checked);
    if (HandleAllocated())
        (void)SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked)
        return;
    TurnSiblingsOff();
    if (!ClicksDisabled())
        Click();
}

void TRadioButton::SetAlignment(TLeftRight alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    if (HandleAllocated())
        RecreateWnd();
}

void TRadioButton::TurnSiblingsOff()
{
    if (!Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); sibling && sibling != this)
            sibling->SetChecked(false);
}

void TRadioButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON | LeftTextStyle(m_alignment);
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    (void)SendMessageA(Handle(), BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Dispatch(TMessage& message)
{
    if (message.Msg == CM_DIALOGCHAR && TakesAccelerator(message)) {
        SetChecked(true);
        return;
    }
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED)
            SetChecked(true);
        else if (HIWORD(message.WParam) == BN_DOUBLECLICKED)
            DblClick();
        return;
    }
    TButtonControl::Dispatch(message);
}

// ---- TCustomGroupBox ----------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 185, 105);
}

// Children sit below the caption and inside the frame.
void TCustomGroupBox::AdjustClientRect(TRect& rect) const
{
    const HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
        const SelectionGuard selectFont(dc, Font()->Handle());
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    rect.top += metrics.tmHeight;
    (void)InflateRect(&rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const std::string caption = Caption();
    const int textHeight = canvas->TextHeight("0");
    RECT frame = ClientRect();
    frame.top += textHeight / 2 - 1;
    (void)DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty())
        return;
    RECT label{8, 0, 8, textHeight};
    (void)DrawTextA(canvas->Handle(), caption.c_str(), -1, &label, DT_SINGLELINE | DT_CALCRECT);
    label.right = std::min<LONG>(label.right + 2, ClientWidth() - 8);
    label.left = 6;
    canvas->FillRect(label);
    (void)SetBkMode(canvas->Handle(), TRANSPARENT);
    (void)SetTextColor(canvas->Handle(), ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    label.left = 8;
    (void)DrawTextA(canvas->Handle(), caption.c_str(), -1, &label, DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        Realign();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(MessageKey(message), Caption()) && CanFocus()) {
            SelectFirst();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}
