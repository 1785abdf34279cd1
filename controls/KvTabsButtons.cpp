#include "controls/KvTabsControl.h"

namespace controls::detail {

void DrawTabButtonFace(TCanvas& canvas, const TRect& rect, TKvCustomTabControl& tabs, bool pressed)
{
    const TColor frame = LightenLuminance(tabs.FrameColor(), 30);
    TColor near = tabs.TabColors()->Unselected();
    TColor far = tabs.TabColors()->Shadow();
    canvas.Pen()->SetColor(frame);
    if (!tabs.UseGradients()) {
        canvas.Brush()->SetColor(near);
        canvas.Rectangle(rect);
        return;
    }
    if (pressed)
        std::swap(near, far);
    DrawGradientRect(canvas, TRect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, gdHorizontalEnd,
                     near, far, 1);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(rect);
    canvas.Brush()->SetStyle(bsSolid);
}

void MakeStripChild(TCustomControl& child)
{
    TControlStyle style = child.ControlStyle();
    style.Include(csNoDesignVisible);
    child.SetControlStyle(style);
    child.SetTabStop(false);
}

bool AnswerEraseBackground(TMessage& message)
{
    if (message.Msg != WM_ERASEBKGND)
        return false;
    message.Result = 1;
    return true;
}

} // namespace controls::detail

CLASSLIB_IMPLEMENT_CLASS(TKvTabButton, TCustomControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvTabCloseButton, TKvTabButton, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvTabMenuButton, TKvTabButton, nullptr, nullptr)

// ---- Press and release ---------------------------------------------------------------------------

TKvTabButton::TKvTabButton(TKvCustomTabControl& tabs) : TCustomControl(&tabs), m_tabs(tabs)
{
    controls::detail::MakeStripChild(*this);
}

void TKvTabButton::Dispatch(TMessage& message)
{
    if (!controls::detail::AnswerEraseBackground(message))
        TCustomControl::Dispatch(message);
}

void TKvTabButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    m_mouseDown = true;
    (void)SetCapture(Handle());
    m_pressedLook = true;
    Invalidate();
}

void TKvTabButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!m_mouseDown)
        return;
    const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
    if (inside != m_pressedLook) {
        m_pressedLook = inside;
        Invalidate();
    }
}

void TKvTabButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    (void)ReleaseCapture();
    m_mouseDown = false;
    if (!m_pressedLook)
        return;
    m_pressedLook = false;
    Repaint();
    Released();
}

void TKvTabButton::Paint()
{
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas& canvas = *image.Canvas();
    const TRect rect{0, 0, Width(), Height()};
    controls::detail::DrawTabButtonFace(canvas, rect, m_tabs, m_pressedLook);
    PaintSign(canvas, rect, m_pressedLook);
    Canvas()->Draw(0, 0, &image);
}

// ---- Close button --------------------------------------------------------------------------------

TKvTabCloseButton::TKvTabCloseButton(TKvCustomTabControl& tabs) : TKvTabButton(tabs)
{
    m_onClose = TNotifyEvent::FromFunction([&tabs](TObject*) { tabs.CloseRequest(); });
}

void TKvTabCloseButton::PaintSign(TCanvas& canvas, const TRect& rect, bool pressed)
{
    DrawCloseCross(canvas, rect, false, m_tabs.TabIndex() >= 0, pressed);
}

// ---- Menu button ---------------------------------------------------------------------------------

TKvTabMenuButton::TKvTabMenuButton(TKvCustomTabControl& tabs) : TKvTabButton(tabs), m_menu(nullptr) {}

void TKvTabMenuButton::PaintSign(TCanvas& canvas, const TRect& rect, bool pressed)
{
    // The arrow points at the card.
    static constexpr TArrowDirection TowardCard[] = {adDown, adRight, adUp, adLeft};
    DrawScrollArrow(canvas, rect, false, m_tabs.Tabs().Count() > 0, pressed, TowardCard[m_tabs.TabOrientation()]);
}

void TKvTabMenuButton::FillMenu()
{
    TMenuItem* items = m_menu.Items();
    items->Clear();
    m_menu.SetImages(m_tabs.Images());
    TKvTabDataList& tabs = m_tabs.Tabs();
    for (int i = 0; i < tabs.Count(); ++i) {
        const TKvTabData& tab = *tabs.Item(i);
        if (!tab.Visible)
            continue;
        auto* item = new TMenuItem(m_tabs.Owner());
        item->SetCaption(tab.Caption);
        item->SetEnabled(tab.Enabled);
        item->SetChecked(i == m_tabs.TabIndex());
        item->SetImageIndex(!tab.Enabled && tab.DisabledImageIndex != -1 ? tab.DisabledImageIndex : tab.ImageIndex);
        item->SetTag(i);
        TKvCustomTabControl& control = m_tabs;
        item->SetOnClick(TNotifyEvent::FromFunction(
            [&control](TObject* sender) { control.SetTabIndex(static_cast<TMenuItem*>(sender)->Tag()); }));
        items->Add(item);
    }
}

void TKvTabMenuButton::Released()
{
    FillMenu();
    // The menu hangs from the button's corner on the card side, toward the strip's start.
    const bool reverse = m_tabs.TabSequence() == tsReverse;
    TPoint corner{};
    TPopupAlignment alignment = paLeft;
    switch (m_tabs.TabOrientation()) {
    case toTop:
        corner = reverse ? TPoint{0, Height()} : TPoint{Width(), Height()};
        alignment = reverse ? paLeft : paRight;
        break;
    case toLeft:
        corner = TPoint{Width(), 0};
        break;
    case toBottom:
        corner = reverse ? TPoint{0, 0} : TPoint{Width(), 0};
        alignment = reverse ? paLeft : paRight;
        break;
    case toRight:
        corner = TPoint{0, 0};
        alignment = paRight;
        break;
    }
    const TPoint screen = ClientToScreen(corner);
    m_menu.SetAlignment(alignment);
    m_menu.Popup(screen.x, screen.y);
}
