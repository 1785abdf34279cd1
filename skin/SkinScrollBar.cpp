#include "skin/SkinScrollBar.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysMath.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProps.h"
#include "skin/SkinRoutines.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Frames of the skin's 23-frame Scrollbar picture.
enum : int { LeftArrowFrame = 1, RightArrowFrame = 5, UpArrowFrame = 9, DownArrowFrame = 13 };
enum : int { HorzGripFrame = 17, VertGripFrame = 20, ScrollbarFrames = 23 };
// A scroll bar control's range of nothing stands for this many positions.
constexpr int EmptyRange = 9999999;
constexpr int MinimumThumb = 8;

RECT AlongAxis(bool vertical, int thickness, int from, int to)
{
    return vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
}

int ArrowFrame(int base, bool hot, bool pressed)
{
    return hot ? base + (pressed ? 1 : 3) : base;
}

void DrawThumb(TSkinData& data, HDC dc, const TBarPicture& bar, int thickness)
{
    TDataSkinObject* thumb = data.Elements().Element(bar.vertical ? "VertScrollThumb" : "HorzScrollThumb");
    const int limit = bar.vertical ? bar.surface.cy : bar.surface.cx;
    if (!bar.enabled || !thumb || bar.thumbStart >= limit || bar.thumbEnd >= limit)
        return;
    const bool hot = bar.hotPart == SB_THUMBTRACK;
    const int frame = hot ? (bar.pressed ? 2 : 3) : 1;
    DrawSkinElement(dc, AlongAxis(bar.vertical, thickness, bar.thumbStart, bar.thumbEnd), thumb->Frame, frame, *thumb);
    TBitmap& arrows = data.Elements().Element("Scrollbar")->Image;
    const int grip = arrows.Height();
    const int length = bar.thumbEnd - bar.thumbStart;
    if (grip >= length + 2)
        return;
    const int start = bar.thumbStart + (length - grip) / 2;
    if (start < 0 || start + grip > limit)
        return;
    const int gripFrame = (bar.vertical ? VertGripFrame : HorzGripFrame) + (hot ? (bar.pressed ? 1 : 2) : 0);
    BlitStripFrame(dc, AlongAxis(bar.vertical, thickness, start, start + grip), ScrollbarFrames, gripFrame, arrows);
}

} // namespace

bool HasBarPicture(TSkinData& data)
{
    const TDataSkinObject* arrows = data.Elements().Element("Scrollbar");
    return arrows && !arrows->Image.Empty();
}

bool DrawBarPicture(TSkinData& data, const TBarPicture& bar, TBitmap& picture)
{
    if (!HasBarPicture(data))
        return false;
    TDataSkinObject* arrows = data.Elements().Element("Scrollbar");
    RECT r = bar.bar;
    OffsetRect(&r, -r.left, -r.top);
    if (r.right < 0 || r.bottom < 0 || r.right > bar.surface.cx || r.bottom > bar.surface.cy)
        return false;
    const int length = bar.vertical ? r.bottom : r.right;
    int thickness = arrows->Image.Height();
    if (std::abs(thickness - bar.arrow) > 2)
        thickness = bar.arrow;
    // A window's picture keeps the bar's own size; a control's is as thick as the skin's bar.
    const auto crossToThickness = [&] { (bar.vertical ? r.right : r.bottom) = thickness; };
    if (bar.stretched)
        crossToThickness();
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(r.right, r.bottom);
    if (picture.Empty())
        return false;
    crossToThickness();
    const HDC dc = picture.Canvas()->Handle();
    (void)SetStretchBltMode(dc, HALFTONE);
    FillRectColor(dc, RECT{0, 0, picture.Width(), picture.Height()}, data.Elements().Colours().ButtonFace);

    if (TDataSkinObject* track = data.Elements().Element(bar.vertical ? "VertScroll" : "HorzScroll"))
        DrawSkinElement(dc, AlongAxis(bar.vertical, thickness, bar.arrow, length - bar.arrow), 4,
                        bar.enabled ? 1 : 3, *track);

    const int arrow = length < 2 * bar.arrow ? length / 2 : bar.arrow;
    const int first = ArrowFrame(bar.vertical ? UpArrowFrame : LeftArrowFrame, bar.hotPart == SB_LINEUP, bar.pressed);
    const int second =
        ArrowFrame(bar.vertical ? DownArrowFrame : RightArrowFrame, bar.hotPart == SB_LINEDOWN, bar.pressed);
    BlitStripFrame(dc, AlongAxis(bar.vertical, thickness, 0, arrow), ScrollbarFrames, first, arrows->Image);
    BlitStripFrame(dc, AlongAxis(bar.vertical, thickness, length - arrow, length), ScrollbarFrames, second,
                   arrows->Image);
    DrawThumb(data, dc, bar, thickness);
    return true;
}

SCROLLBARINFO ScrollControlBarInfo(const RECT& bounds, const SCROLLINFO& info, bool vertical, int arrow)
{
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(SCROLLBARINFO);
    bar.rcScrollBar = bounds;
    bar.dxyLineButton = arrow;
    const int length = vertical ? bounds.bottom - bounds.top : bounds.right - bounds.left;
    const int range = info.nMax == info.nMin ? EmptyRange : info.nMax - info.nMin;
    const int offset = info.nPos - info.nMin;
    int thumb = 0;
    int start = 0;
    if (info.nPage != 0) {
        thumb = MulDiv(length - 2 * arrow, static_cast<int>(info.nPage) - 1, range);
        if (thumb >= MinimumThumb) {
            start = arrow + MulDiv(length - 2 * arrow, offset, range);
        } else {
            thumb = MinimumThumb;
            start = arrow + MulDiv(length - 2 * arrow - MinimumThumb, offset, range);
        }
    } else {
        thumb = arrow;
        start = arrow + MulDiv(length - 3 * arrow, offset, range);
    }
    if (info.nPos == info.nMin)
        start = arrow;
    bar.xyThumbTop = start;
    bar.xyThumbBottom = start + thumb;
    return bar;
}

int ScrollPartAt(int along, int length, int arrow, int thumbStart, int thumbEnd)
{
    if (along < arrow)
        return SB_LINEUP;
    if (along < thumbStart)
        return SB_PAGEUP;
    if (along < thumbEnd)
        return SB_THUMBTRACK;
    if (along < length - arrow)
        return SB_PAGEDOWN;
    return SB_LINEDOWN;
}

TWScrollbar::TWScrollbar(TSkinData& data) : TCustomPanel(nullptr), m_data(data), m_arrow(GetSystemMetrics(SM_CXHSCROLL))
{
    SetTabStop(false);
    SetBevelOuter(bvNone);
    SetVisible(false);
}

void TWScrollbar::CreateParams(TCreateParams& params)
{
    TCustomPanel::CreateParams(params);
    params.ExStyle = WS_EX_TOOLWINDOW;
}

void TWScrollbar::AttachControl(TWinControl& control, TKind kind)
{
    m_control = &control;
    SetColor(::ParentColor(&control, m_data.Elements().Colours().ButtonFace));
    m_vertical = kind != WindowHorizontal;
    if (kind == ScrollControl) {
        m_vertical = LowerCase(GetEnumPropByName(&control, "Kind")) != "sbhorizontal";
    }
    m_kind = kind;
    AttachWindow(control.Handle(), kind);
}

void TWScrollbar::AttachWindow(HWND target, TKind kind)
{
    m_target = target;
    m_kind = kind;
    if (kind != ScrollControl)
        m_vertical = kind == WindowVertical;
    SetParentWindow(GetParent(target));
    Place();
}

bool TWScrollbar::ReadInfo(SCROLLBARINFO& info) const
{
    if (!m_target || !IsWindow(m_target))
        return false;
    if (m_kind != ScrollControl) {
        info = SCROLLBARINFO{};
        info.cbSize = sizeof(SCROLLBARINFO);
        return ScrollBarInfo(m_target, m_kind == WindowVertical ? OBJID_VSCROLL : OBJID_HSCROLL, info) != FALSE;
    }
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(SCROLLINFO);
    scroll.fMask = SIF_ALL;
    if (!GetScrollInfo(m_target, SB_CTL, &scroll))
        return false;
    RECT bounds{};
    (void)GetWindowRect(m_target, &bounds);
    (void)MapWindowPoints(nullptr, GetParent(m_target), reinterpret_cast<POINT*>(&bounds), 2);
    info = ScrollControlBarInfo(bounds, scroll, m_vertical, m_arrow);
    // A disabled control shows its bar disabled.
    if (!IsWindowEnabled(m_target))
        info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
    return true;
}

void TWScrollbar::Place()
{
    if (m_control)
        m_target = m_control->HandleAllocated() ? m_control->Handle() : nullptr;
    SCROLLBARINFO info{};
    m_shown = ReadInfo(info);
    if (!m_shown)
        return;
    if (!(GetWindowLongA(m_target, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) ||
        !HasBarPicture(m_data)) {
        HideBar();
        return;
    }
    const RECT bar = info.rcScrollBar;
    POINT origin{bar.left, bar.top};
    if (m_kind != ScrollControl) {
        m_barRect = bar;
        (void)MapWindowPoints(nullptr, m_target, reinterpret_cast<POINT*>(&m_barRect), 2);
        (void)::ScreenToClient(GetParent(m_target), &origin);
    }
    m_barLength = m_vertical ? bar.bottom - bar.top : bar.right - bar.left;
    if (const HWND parent = GetParent(m_target); parent != ParentWindow())
        SetParentWindow(parent);
    m_shown = true;
    const RECT wanted{origin.x, origin.y, origin.x + bar.right - bar.left, origin.y + bar.bottom - bar.top};
    // A panel already in place is left alone: moving or showing it repaints its parent, whose
    // paint places the panel again.
    if (!InPlace(wanted)) {
        SetBounds(wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top);
        SetVisible(true);
        // Just above the target, so that the panel covers the target's own bar. A window without
        // a parent control is shown and hidden here: the class library does so only for its
        // children.
        const HWND above = GetWindow(m_target, GW_HWNDPREV);
        const UINT order = above == Handle() ? SWP_NOZORDER : 0;
        (void)SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | order);
    }
    Refresh();
}

bool TWScrollbar::InPlace(const RECT& wanted)
{
    if (!HandleAllocated() || !IsWindowVisible(Handle()) || GetWindow(Handle(), GW_HWNDNEXT) != m_target)
        return false;
    RECT now{};
    (void)GetWindowRect(Handle(), &now);
    (void)MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&now), 2);
    return EqualRect(&now, &wanted) != FALSE;
}

void TWScrollbar::HideBar()
{
    m_shown = false;
    SetVisible(false);
    // Hiding a hidden panel would only repaint what lies under it, over and over from paints.
    if (HandleAllocated() && IsWindowVisible(Handle()))
        (void)ShowWindow(Handle(), SW_HIDE);
}

void TWScrollbar::Refresh()
{
    if (!HandleAllocated() || !IsWindowVisible(Handle()))
        return;
    // Drawn straight into the window: invalidating it would repaint what lies under it, whose
    // paint refreshes the panel again.
    const HDC dc = GetDC(Handle());
    DrawBar(dc);
    (void)ReleaseDC(Handle(), dc);
}

int TWScrollbar::HitTest(POINT client) const
{
    SCROLLBARINFO info{};
    if (!ReadInfo(info))
        return NoScrollPart;
    return ScrollPartAt(m_vertical ? client.y : client.x, m_barLength, m_arrow, info.xyThumbTop, info.xyThumbBottom);
}

LPARAM TWScrollbar::ForwardedPoint(const SCROLLBARINFO& info, POINT client) const
{
    if (m_kind != ScrollControl) {
        client.x += info.rcScrollBar.left;
        client.y += info.rcScrollBar.top;
    }
    return MAKELPARAM(client.x, client.y);
}

void TWScrollbar::Press(POINT client)
{
    (void)GetCursorPos(&m_pressCursor);
    SCROLLBARINFO info{};
    if (ReadInfo(info))
        m_pressThumbStart = info.xyThumbTop;
    m_hotPart = HitTest(client);
    const LPARAM at = ForwardedPoint(info, client);
    m_pressed = true;
    Refresh();
    (void)ReleaseCapture();
    // The system tracks the mouse on the real bar inside this call, until the button goes up.
    const HWND target = m_target;
    if (m_kind == ScrollControl)
        (void)SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    else
        (void)SendMessageA(target, WM_NCLBUTTONDOWN, m_kind == WindowVertical ? HTVSCROLL : HTHSCROLL, at);
    m_pressed = false;
    (void)ReleaseCapture();
    Refresh();
}

void TWScrollbar::Release(POINT client)
{
    SCROLLBARINFO info{};
    (void)ReadInfo(info);
    const LPARAM at = ForwardedPoint(info, client);
    m_pressed = false;
    (void)ReleaseCapture();
    if (m_kind == ScrollControl)
        (void)PostMessageA(m_target, WM_LBUTTONUP, MK_LBUTTON, at);
    else
        (void)PostMessageA(m_target, WM_NCLBUTTONUP, m_kind == WindowVertical ? HTVSCROLL : HTHSCROLL, at);
    Refresh();
}

void TWScrollbar::WndProc(TMessage& message)
{
    const POINT client{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        TCustomPanel::WndProc(message);
        Press(client);
        return;
    case WM_LBUTTONUP:
        TCustomPanel::WndProc(message);
        Release(client);
        return;
    case WM_MOUSEMOVE: {
        TCustomPanel::WndProc(message);
        const int part = HitTest(client);
        if (part != m_hotPart) {
            m_hotPart = part;
            Refresh();
        }
        TrackMouseLeave(Handle());
        return;
    }
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(message);
        if (!m_pressed) {
            m_hotPart = NoScrollPart;
            Refresh();
        }
        return;
    default:
        TCustomPanel::WndProc(message);
        return;
    }
}

void TWScrollbar::ThumbNow(const SCROLLBARINFO& info, int length, int& start, int& end) const
{
    start = info.xyThumbTop;
    end = info.xyThumbBottom;
    if (!m_pressed || m_hotPart != SB_THUMBTRACK || m_kind == ScrollControl)
        return;
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    const int thumb = end - start;
    const int moved = m_vertical ? cursor.y - m_pressCursor.y : cursor.x - m_pressCursor.x;
    start = std::max(m_arrow, std::min(m_pressThumbStart + moved, length - m_arrow - thumb));
    end = start + thumb;
}

void TWScrollbar::Paint()
{
    DrawBar(Canvas()->Handle());
}

void TWScrollbar::DrawBar(HDC dc)
{
    SCROLLBARINFO info{};
    if (!ReadInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return;
    TBarPicture bar;
    bar.vertical = m_vertical;
    bar.bar = info.rcScrollBar;
    bar.enabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    const int length = m_vertical ? bar.bar.bottom - bar.bar.top : bar.bar.right - bar.bar.left;
    ThumbNow(info, length, bar.thumbStart, bar.thumbEnd);
    bar.hotPart = m_hotPart;
    bar.pressed = m_pressed;
    bar.arrow = m_arrow;
    bar.surface = SIZE{ClientWidth(), ClientHeight()};
    bar.stretched = m_kind == ScrollControl;
    if (!DrawBarPicture(m_data, bar, m_picture))
        return;
    if (bar.stretched)
        (void)StretchBlt(dc, 0, 0, ClientWidth(), ClientHeight(), m_picture.Canvas()->Handle(), 0, 0, m_picture.Width(),
                         m_picture.Height(), SRCCOPY);
    else
        (void)BitBlt(dc, 0, 0, m_picture.Width(), m_picture.Height(), m_picture.Canvas()->Handle(), 0, 0, SRCCOPY);
}
