#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/ScrollBars.h"

#include <algorithm>
#include <mutex>

namespace detail = winapi_user::detail;

// Drawing of a window's scroll bar, and the modal loop that tracks the mouse on it: arrows and
// page areas repeat on a timer while held, the thumb follows the mouse with SB_THUMBTRACK, and
// the release sends SB_THUMBPOSITION (for the thumb) and SB_ENDSCROLL.

namespace {

constexpr UINT_PTR REPEAT_TIMER = 0xFFFF5C01;
constexpr UINT FIRST_REPEAT_MS = 400;
constexpr UINT REPEAT_MS = 50;

struct Tracking {
    HWND hwnd = nullptr;
    int bar = SB_VERT;
    detail::ScrollPart part = detail::ScrollPart::None;
};

std::mutex g_trackMutex;
Tracking g_tracking;

void SetTracking(const Tracking& tracking)
{
    std::lock_guard lock(g_trackMutex);
    g_tracking = tracking;
}

// A checkerboard of the highlight and face colours, the classic scroll bar track.
HBRUSH TrackBrush()
{
    static const HBRUSH brush = [] {
        const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        const GdiObject pattern(CreateBitmap(8, 8, 1, 1, rows));
        return CreatePatternBrush(pattern.Get());
    }();
    return brush;
}

RECT PartRect(const detail::ScrollBarGeometry& g, int from, int to)
{
    return g.vertical ? RECT{g.bar.left, g.bar.top + from, g.bar.right, g.bar.top + to}
                      : RECT{g.bar.left + from, g.bar.top, g.bar.left + to, g.bar.bottom};
}

int Length(const detail::ScrollBarGeometry& g)
{
    return g.vertical ? g.bar.bottom - g.bar.top : g.bar.right - g.bar.left;
}

void DrawArrow(HDC dc, RECT rect, UINT kind, bool disabled, bool pressed)
{
    (void)DrawFrameControl(dc, &rect, DFC_SCROLL,
                           kind | (disabled ? DFCS_INACTIVE : 0) | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
}

void DrawTrack(HDC dc, const RECT& rect, bool pressed)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (pressed) {
        (void)FillRect(dc, &rect, GetSysColorBrush(COLOR_3DDKSHADOW));
        return;
    }
    const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_3DFACE));
    const COLORREF back = SetBkColor(dc, GetSysColor(COLOR_3DHILIGHT));
    (void)FillRect(dc, &rect, TrackBrush());
    (void)SetTextColor(dc, text);
    (void)SetBkColor(dc, back);
}

WORD CodeOf(detail::ScrollPart part)
{
    switch (part) {
    case detail::ScrollPart::LineUp:
        return SB_LINEUP;
    case detail::ScrollPart::LineDown:
        return SB_LINEDOWN;
    case detail::ScrollPart::PageUp:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

class ScrollTracker {
public:
    ScrollTracker(HWND hwnd, int bar, int position) : m_hwnd(hwnd), m_bar(bar), m_lastTrack(position) {}

    void Run(POINT screenPoint)
    {
        const auto window = detail::FindWindowObject(m_hwnd);
        const auto rect = window ? detail::ScrollBarRect(*window, m_bar) : std::nullopt;
        if (!rect || !detail::BarEnabled(*window, m_bar))
            return;
        const detail::ScrollBarGeometry geometry = detail::GeometryOf(*window, m_bar, *rect);
        const POINT point = ToWindow(screenPoint);
        m_part = detail::PartAt(geometry, point);
        if (m_part == detail::ScrollPart::None || ArrowDisabled(*window))
            return;
        m_grabOffset = (geometry.vertical ? point.y - geometry.bar.top : point.x - geometry.bar.left) - geometry.thumbTop;
        detail::BarState(*window, m_bar).trackPos = detail::BarState(*window, m_bar).pos;
        SetTracking(Tracking{m_hwnd, m_bar, m_part});
        (void)SetCapture(m_hwnd);
        Redraw();
        if (m_part != detail::ScrollPart::Thumb) {
            Step(point);
            (void)SetTimer(m_hwnd, REPEAT_TIMER, FIRST_REPEAT_MS, nullptr);
        }
        Loop(point);
        (void)KillTimer(m_hwnd, REPEAT_TIMER);
        SetTracking(Tracking{});
        if (GetCapture() == m_hwnd)
            (void)ReleaseCapture();
        if (!IsWindow(m_hwnd))
            return;
        if (m_part == detail::ScrollPart::Thumb)
            Send(SB_THUMBPOSITION, m_lastTrack);
        Send(SB_ENDSCROLL, 0);
        Redraw();
    }

private:
    bool ArrowDisabled(const detail::Window& window) const
    {
        const UINT disabled = detail::BarState(window, m_bar).disabledArrows;
        return (m_part == detail::ScrollPart::LineUp && (disabled & ESB_DISABLE_LTUP)) ||
               (m_part == detail::ScrollPart::LineDown && (disabled & ESB_DISABLE_RTDN));
    }

    POINT ToWindow(POINT screen) const
    {
        RECT rect{};
        (void)GetWindowRect(m_hwnd, &rect);
        return POINT{screen.x - rect.left, screen.y - rect.top};
    }

    void Loop(POINT point)
    {
        MSG msg{};
        while (IsWindow(m_hwnd) && GetCapture() == m_hwnd) {
            if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
                if (msg.message == WM_QUIT)
                    PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP)
                return;
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
                point = ToWindow(msg.pt);
                if (m_part == detail::ScrollPart::Thumb)
                    DragThumb(point);
                continue;
            }
            if (msg.message == WM_TIMER && msg.hwnd == m_hwnd && msg.wParam == REPEAT_TIMER) {
                (void)SetTimer(m_hwnd, REPEAT_TIMER, REPEAT_MS, nullptr);
                Step(point);
                continue;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                return;
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    }

    // An arrow or page area repeats only while the mouse is over it (a page area: until the
    // thumb reaches the mouse).
    void Step(POINT point)
    {
        const auto window = detail::FindWindowObject(m_hwnd);
        const auto rect = window ? detail::ScrollBarRect(*window, m_bar) : std::nullopt;
        if (!rect)
            return;
        if (detail::PartAt(detail::GeometryOf(*window, m_bar, *rect), point) == m_part)
            Send(CodeOf(m_part), 0);
    }

    void DragThumb(POINT point)
    {
        const auto window = detail::FindWindowObject(m_hwnd);
        const auto rect = window ? detail::ScrollBarRect(*window, m_bar) : std::nullopt;
        if (!rect)
            return;
        const detail::ScrollBarGeometry geometry = detail::GeometryOf(*window, m_bar, *rect);
        const int along = geometry.vertical ? point.y - geometry.bar.top : point.x - geometry.bar.left;
        const int position = detail::PositionForThumb(*window, m_bar, geometry, along - m_grabOffset);
        detail::ScrollBarState& state = detail::BarState(*window, m_bar);
        if (position == m_lastTrack)
            return;
        m_lastTrack = position;
        state.trackPos = position;
        Redraw();
        Send(SB_THUMBTRACK, position);
    }

    // A window hears of its own bars; a scroll bar control's parent hears, with the control's handle.
    void Send(WORD code, int position)
    {
        const auto window = detail::FindWindowObject(m_hwnd);
        const bool control = window && detail::BarState(*window, m_bar).control;
        const HWND target = control ? GetParent(m_hwnd) : m_hwnd;
        const LPARAM from = control ? reinterpret_cast<LPARAM>(m_hwnd) : 0;
        if (target)
            (void)SendMessageA(target, m_bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                               MAKEWPARAM(code, static_cast<WORD>(position)), from);
    }

    void Redraw() const
    {
        (void)RedrawWindow(m_hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    }

    HWND m_hwnd;
    int m_bar;
    detail::ScrollPart m_part = detail::ScrollPart::None;
    int m_grabOffset = 0;
    int m_lastTrack = 0;
};

} // namespace

namespace winapi_user::detail {

ScrollPart PressedPart(HWND hwnd, int bar)
{
    std::lock_guard lock(g_trackMutex);
    return g_tracking.hwnd == hwnd && g_tracking.bar == bar ? g_tracking.part : ScrollPart::None;
}

void DrawScrollBar(HDC dc, const Window& window, int bar, ScrollPart pressed)
{
    const auto rect = ScrollBarRect(window, bar);
    if (!rect)
        return;
    const ScrollBarGeometry g = GeometryOf(window, bar, *rect);
    const int length = Length(g);
    const bool enabled = BarEnabled(window, bar);
    const UINT disabled = BarState(window, bar).disabledArrows;
    DrawArrow(dc, PartRect(g, 0, g.arrow), g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT,
              !enabled || (disabled & ESB_DISABLE_LTUP), pressed == ScrollPart::LineUp);
    DrawArrow(dc, PartRect(g, length - g.arrow, length), g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT,
              !enabled || (disabled & ESB_DISABLE_RTDN), pressed == ScrollPart::LineDown);
    if (g.thumbBottom <= g.thumbTop) {
        DrawTrack(dc, PartRect(g, g.arrow, length - g.arrow), false);
        return;
    }
    DrawTrack(dc, PartRect(g, g.arrow, g.thumbTop), pressed == ScrollPart::PageUp);
    DrawTrack(dc, PartRect(g, g.thumbBottom, length - g.arrow), pressed == ScrollPart::PageDown);
    RECT thumb = PartRect(g, g.thumbTop, g.thumbBottom);
    (void)DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void TrackScrollBar(HWND hwnd, int bar, POINT screenPoint)
{
    const auto window = FindWindowObject(hwnd);
    if (!window)
        return;
    ScrollTracker(hwnd, bar, BarState(*window, bar).pos).Run(screenPoint);
}

} // namespace winapi_user::detail
