#include "controls/KvTabsControl.h"

namespace {

constexpr unsigned FirstRepeat = 400;
constexpr unsigned NextRepeat = 100;

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvTabScroller, TCustomControl, nullptr, nullptr)

TKvTabScroller::TKvTabScroller(TKvCustomTabControl& tabs) : TCustomControl(&tabs), m_tabs(tabs)
{
    controls::detail::MakeStripChild(*this);
    // The tabs scroll toward the higher indexes with the up/right half, except on the right side
    // in standard order and on the other sides in reverse order.
    const auto scroll = [&tabs](bool upRight) {
        const bool standard = tabs.TabSequence() == tsStandard;
        const bool upRightForward = (tabs.TabOrientation() == toRight) != standard;
        tabs.ScrollTabs(upRight == upRightForward);
    };
    m_onClick[0] = TNotifyEvent::FromFunction([scroll](TObject*) { scroll(false); });
    m_onClick[1] = TNotifyEvent::FromFunction([scroll](TObject*) { scroll(true); });
}

TKvTabScroller::~TKvTabScroller() = default;

void TKvTabScroller::SetOrientation(TOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    Invalidate();
}

int TKvTabScroller::HalfAt(int x, int y) const
{
    if (m_orientation == orHorizontal)
        return x >= Width() / 2 ? 1 : 0;
    return y <= Height() / 2 ? 1 : 0;
}

TRect TKvTabScroller::HalfRect(int half) const
{
    if (m_orientation == orHorizontal)
        return half == 1 ? TRect{Width() / 2, 0, Width(), Height()} : TRect{0, 0, Width() / 2 + 1, Height()};
    return half == 1 ? TRect{0, 0, Width(), Height() / 2 + 1} : TRect{0, Height() / 2, Width(), Height()};
}

void TKvTabScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    m_mouseDown = true;
    m_pressedHalf = HalfAt(x, y);
    (void)SetCapture(Handle());
    m_pressedLook = true;
    if (!m_timer) {
        m_timer = std::make_unique<TTimer>(nullptr);
        m_timer->SetOnTimer(TNotifyEvent(this, &TKvTabScroller::Repeat));
    }
    m_timer->SetInterval(FirstRepeat);
    m_timer->SetEnabled(true);
    Invalidate();
}

void TKvTabScroller::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!m_mouseDown)
        return;
    const TRect half = HalfRect(m_pressedHalf);
    const bool inside = x >= half.left && x < half.right && y >= half.top && y < half.bottom;
    if (inside != m_pressedLook) {
        m_pressedLook = inside;
        Invalidate();
    }
}

void TKvTabScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    StopTimer();
    (void)ReleaseCapture();
    m_mouseDown = false;
    if (!m_pressedLook)
        return;
    m_pressedLook = false;
    // Scrolling tells the tab control's OnScrolledTabs, which may free it and this scroller.
    if (Outlives([this] { m_onClick[m_pressedHalf](this); }))
        Repaint();
}

void TKvTabScroller::Repeat(TObject* /*sender*/)
{
    m_timer->SetInterval(NextRepeat);
    if (!m_pressedLook || GetCapture() != Handle())
        return;
    try {
        m_onClick[m_pressedHalf](this);
    } catch (...) {
        StopTimer();
        throw;
    }
}

void TKvTabScroller::StopTimer()
{
    if (m_timer)
        m_timer->SetEnabled(false);
}

void TKvTabScroller::Dispatch(TMessage& message)
{
    if (!controls::detail::AnswerEraseBackground(message))
        TCustomControl::Dispatch(message);
}

void TKvTabScroller::Paint()
{
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas& canvas = *image.Canvas();
    const int first = m_tabs.FirstShownTab();
    int firstVisible = -1;
    int lastVisible = -1;
    TKvTabDataList& tabs = m_tabs.Tabs();
    for (int i = 0; i < tabs.Count(); ++i) {
        if (tabs.Item(i)->Visible) {
            firstVisible = firstVisible < 0 ? i : firstVisible;
            lastVisible = i;
        }
    }
    const bool canBack = first > firstVisible;
    const bool canForward = lastVisible >= 0 && !m_tabs.CanScrollTo(lastVisible);
    const bool standard = m_tabs.TabSequence() == tsStandard;
    const bool upRightForward = (m_tabs.TabOrientation() == toRight) != standard;
    for (int half = 0; half < 2; ++half) {
        const TRect rect = HalfRect(half);
        const bool pressed = m_pressedLook && m_pressedHalf == half;
        controls::detail::DrawTabButtonFace(canvas, rect, m_tabs, pressed);
        const bool forward = (half == 1) == upRightForward;
        const TArrowDirection direction =
            m_orientation == orHorizontal ? (half == 1 ? adRight : adLeft) : (half == 1 ? adUp : adDown);
        DrawScrollArrow(canvas, rect, false, forward ? canForward : canBack, pressed, direction);
    }
    Canvas()->Draw(0, 0, &image);
}
