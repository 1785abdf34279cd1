#include "grid/tools/CalculatorGx.h"


CLASSLIB_IMPLEMENT_CLASS(TPopupCalculatorGx, TCalculatorGx, ComponentCreator<TPopupCalculatorGx>, nullptr)

TPopupCalculatorGx::TPopupCalculatorGx(TComponent* owner) : TCalculatorGx(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetTabStop(false);
    SetVisible(false);
    SetBounds(0, 0, Width() + 2 * FrameWidth, Height() + 2 * FrameWidth);
}

void TPopupCalculatorGx::CreateParams(TCreateParams& params)
{
    TCalculatorGx::CreateParams(params);
    params.Style = WS_POPUP | WS_CLIPCHILDREN;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
}

bool TPopupCalculatorGx::AcceptOnEnter() const { return EqualButton()->Caption() == "Ok"; }

Variant TPopupCalculatorGx::GetPopupValue() const
{
    return InError() ? Variant::FromError(0) : Variant(DisplayValue());
}

// The key buttons stay as the form made them: flat.
void TPopupCalculatorGx::SetPopupFlat(bool flat) { m_popupFlat = flat; }

void TPopupCalculatorGx::SetPopupValue(const Variant& value)
{
    ResetCalculator();
    SetDisplayValue(VarIsNull(value) ? 0.0 : value.ToDouble());
}

void TPopupCalculatorGx::CloseUp(bool accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerGx*>(Owner()))
        owner->ClosePopup(accept);
}

void TPopupCalculatorGx::HandleKey(char key)
{
    if ((key == 13 || key == '=') && AcceptOnEnter()) {
        CloseUp(true);
        return;
    }
    TCalculatorGx::HandleKey(key);
}

void TPopupCalculatorGx::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_ESCAPE) {
        key = 0;
        CloseUp(false);
        return;
    }
    TCalculatorGx::KeyDown(key, shift);
}

void TPopupCalculatorGx::Dispatch(TMessage& message)
{
    if (AnswerClosingDropDownMessage(message, [this](bool accept) { CloseUp(accept); }))
        return;
    switch (message.Msg) {
    case WM_NCCALCSIZE: {
        auto* rect = reinterpret_cast<RECT*>(message.LParam);
        InflateRect(rect, -FrameWidth, -FrameWidth);
        message.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintDropDownFrame(Handle(), true);
        return;
    default:
        break;
    }
    TCalculatorGx::Dispatch(message);
}
