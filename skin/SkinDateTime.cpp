#include "skin/SkinDateTime.h"

#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"

#include <algorithm>

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner), m_arrowSize(GetSystemMetrics(SM_CXHSCROLL))
{
    SetTabStop(false);
}

void TArrowButton::LayOver(TSkinDateTime& skinner, TControl& picker)
{
    m_skinner = &skinner;
    m_picker = &picker;
    auto* windowed = dynamic_cast<TWinControl*>(&picker);
    if (!windowed)
        return;
    m_pickerWindow = windowed->Handle();
    SetParentWindow(m_pickerWindow);
    RECT window{};
    (void)GetWindowRect(m_pickerWindow, &window);
    const bool leftButton = (GetWindowLongA(m_pickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    const int left = leftButton ? 2 : window.right - window.left - m_arrowSize - 4;
    // As high as the picker's client area, so that none of the picker's own button shows below.
    RECT client{};
    (void)GetClientRect(m_pickerWindow, &client);
    SetBounds(left, 0, m_arrowSize, std::max<int>(m_arrowSize + 1, client.bottom));
    (void)SetWindowLongA(m_pickerWindow, GWL_STYLE, GetWindowLongA(m_pickerWindow, GWL_STYLE) | WS_CLIPCHILDREN);
    HandleNeeded();
}

bool TArrowButton::PickerEnabled() const
{
    return m_picker && m_picker->Enabled();
}

void TArrowButton::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(message);
        if (PickerEnabled()) {
            m_state = message.Msg == CM_MOUSEENTER ? (m_state | 1) : (m_state & ~1);
            Invalidate();
        }
        return;
    case WM_LBUTTONDOWN: {
        TCustomControl::Dispatch(message);
        // The press and its release go to the picker's button beneath, in the picker's terms.
        const int x = static_cast<short>(LOWORD(message.LParam)) + Left();
        const int y = static_cast<short>(HIWORD(message.LParam)) + Top();
        const LPARAM at = MAKELPARAM(x, y);
        (void)PostMessageA(m_pickerWindow, WM_LBUTTONDOWN, message.WParam, at);
        (void)PostMessageA(m_pickerWindow, WM_LBUTTONUP, message.WParam, at);
        Invalidate();
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::Dispatch(message);
        (void)::SetFocus(m_pickerWindow);
        return;
    default:
        TCustomControl::Dispatch(message);
        return;
    }
}

void TArrowButton::Paint()
{
    if (!m_skinner || !m_skinner->Data())
        return;
    const RECT client = ClientRect();
    TSkinElements& elements = m_skinner->Data()->Elements();
    FillRectColor(Canvas()->Handle(), client, elements.Colours().ButtonFace);
    TDataSkinObject* arrow = elements.Element("ComboxArrow");
    if (arrow && !arrow->Image.Empty())
        DrawElementFrame(Canvas()->Handle(), client, arrow->Image, false, arrow->Frame, Hot() ? 4 : 1);
}

TSkinDateTime::TSkinDateTime() = default;

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::ControlAttached()
{
    m_button = std::make_unique<TArrowButton>(nullptr);
    m_button->LayOver(*this, *m_control);
}

void TSkinDateTime::PaintSkin(HDC dc, const RECT& rect)
{
    // A recreated picker has lost the button with its old window.
    if (m_button && m_control && m_button->ParentWindow() != m_handle)
        m_button->LayOver(*this, *m_control);
    RECT client{};
    (void)GetClientRect(m_handle, &client);
    if (client.right == rect.right || client.bottom == rect.bottom)
        return;
    const GdiObject<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(m_data->Elements().Colours().ButtonShadow)));
    const GdiObject<HBRUSH> white(CreateSolidBrush(ColorToRGB(clWhite)));
    (void)FrameRect(dc, &rect, shadow.Get());
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    (void)FrameRect(dc, &inner, white.Get());
}
