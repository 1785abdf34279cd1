#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/ScrollBars.h"

#include <algorithm>

namespace detail = winapi_user::detail;

// Window scroll bars: their data, clamping, showing and hiding, and GetScrollBarInfo. SB_CTL
// calls go to the scroll bar control as SBM_* messages.

// The skin engine checks these sizes, as Win32 does.
static_assert(sizeof(SCROLLINFO) == 28);
static_assert(sizeof(SCROLLBARINFO) == 60);

namespace {

DWORD StyleBit(int bar)
{
    return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

int MaxPosition(const detail::ScrollBarState& state)
{
    return std::max(state.min, state.max - std::max(static_cast<int>(state.page) - 1, 0));
}

bool Scrollable(const detail::ScrollBarState& state)
{
    return state.max > state.min && static_cast<long long>(state.page) <= static_cast<long long>(state.max) - state.min;
}

void Clamp(detail::ScrollBarState& state)
{
    const long long range = static_cast<long long>(state.max) - state.min + 1;
    state.page = static_cast<UINT>(std::clamp<long long>(state.page, 0, std::max<long long>(range, 0)));
    state.pos = std::clamp(state.pos, state.min, MaxPosition(state));
}

void RedrawFrame(HWND hwnd)
{
    (void)RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// Shows or hides the bar by its style bit; the frame is recalculated and repainted.
bool SetBarVisible(HWND hwnd, detail::Window& window, int bar, bool show)
{
    const DWORD bit = StyleBit(bar);
    const DWORD style = show ? window.style | bit : window.style & ~bit;
    if (style == window.style)
        return false;
    window.style = style;
    (void)SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

bool ValidBar(int bar)
{
    return bar == SB_HORZ || bar == SB_VERT;
}

// Only the pixel geometry of the thumb; the caller checks that there is room.
int ThumbLength(const detail::ScrollBarState& state, int track)
{
    if (state.page == 0)
        return std::min(GetSystemMetrics(SM_CYVTHUMB), track);
    const long long range = static_cast<long long>(state.max) - state.min + 1;
    const int length = static_cast<int>(static_cast<long long>(track) * state.page / std::max<long long>(range, 1));
    return std::clamp(length, std::min(8, track), track);
}

} // namespace

namespace winapi_user::detail {

ScrollBarState& BarState(Window& window, int bar)
{
    return bar == SB_VERT ? window.vertical : window.horizontal;
}

const ScrollBarState& BarState(const Window& window, int bar)
{
    return bar == SB_VERT ? window.vertical : window.horizontal;
}

std::optional<RECT> ScrollBarRect(const Window& window, int bar)
{
    if (BarState(window, bar).control) {
        const RECT& w = window.windowRect;
        const RECT& c = window.clientRect;
        return RECT{c.left - w.left, c.top - w.top, c.right - w.left, c.bottom - w.top};
    }
    const RECT outer{0, 0, window.windowRect.right - window.windowRect.left,
                     window.windowRect.bottom - window.windowRect.top};
    const NonClientLayout layout = LayoutNonClient(window, outer);
    const RECT rect = bar == SB_VERT ? layout.vscroll : layout.hscroll;
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return std::nullopt;
    return rect;
}

bool BarEnabled(const Window& window, int bar)
{
    const ScrollBarState& state = BarState(window, bar);
    return !(window.style & WS_DISABLED) && Scrollable(state) && state.disabledArrows != ESB_DISABLE_BOTH;
}

ScrollBarGeometry GeometryOf(const Window& window, int bar, const RECT& barRect)
{
    ScrollBarGeometry geometry;
    geometry.bar = barRect;
    geometry.vertical = bar == SB_VERT;
    const int length = geometry.vertical ? barRect.bottom - barRect.top : barRect.right - barRect.left;
    const int breadth = geometry.vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    geometry.arrow = std::min(breadth, length / 2);
    const int track = length - 2 * geometry.arrow;
    const ScrollBarState& state = BarState(window, bar);
    if (!BarEnabled(window, bar) || track <= 0)
        return geometry;
    const int thumb = ThumbLength(state, track);
    if (thumb >= track || thumb <= 0)
        return geometry;
    const int span = MaxPosition(state) - state.min;
    const int pos = PressedPart(window.handle, bar) == ScrollPart::Thumb ? state.trackPos : state.pos;
    const int offset = span > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * (pos - state.min) / span) : 0;
    geometry.thumbTop = geometry.arrow + offset;
    geometry.thumbBottom = geometry.thumbTop + thumb;
    return geometry;
}

ScrollPart PartAt(const ScrollBarGeometry& geometry, POINT pt)
{
    const RECT& bar = geometry.bar;
    if (pt.x < bar.left || pt.x >= bar.right || pt.y < bar.top || pt.y >= bar.bottom)
        return ScrollPart::None;
    const int along = geometry.vertical ? pt.y - bar.top : pt.x - bar.left;
    const int length = geometry.vertical ? bar.bottom - bar.top : bar.right - bar.left;
    if (along < geometry.arrow)
        return ScrollPart::LineUp;
    if (along >= length - geometry.arrow)
        return ScrollPart::LineDown;
    if (geometry.thumbBottom > geometry.thumbTop) {
        if (along < geometry.thumbTop)
            return ScrollPart::PageUp;
        if (along >= geometry.thumbBottom)
            return ScrollPart::PageDown;
        return ScrollPart::Thumb;
    }
    return ScrollPart::None;
}

int PositionForThumb(const Window& window, int bar, const ScrollBarGeometry& geometry, int thumbOffset)
{
    const ScrollBarState& state = BarState(window, bar);
    const int length = geometry.vertical ? geometry.bar.bottom - geometry.bar.top : geometry.bar.right - geometry.bar.left;
    const int free = length - 2 * geometry.arrow - (geometry.thumbBottom - geometry.thumbTop);
    const int span = MaxPosition(state) - state.min;
    if (free <= 0)
        return state.min;
    const int offset = std::clamp(thumbOffset - geometry.arrow, 0, free);
    // Rounded to the nearest position, so that the thumb lands where the mouse put it.
    return state.min + static_cast<int>((static_cast<long long>(offset) * span + free / 2) / free);
}

void SetBarInfo(ScrollBarState& state, const SCROLLINFO& info)
{
    state.used = true;
    if (info.fMask & SIF_RANGE) {
        state.min = info.nMin;
        state.max = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE)
        state.page = info.nPage;
    if (info.fMask & SIF_POS)
        state.pos = info.nPos;
    Clamp(state);
}

void GetBarInfo(HWND hwnd, int bar, const ScrollBarState& state, SCROLLINFO& info)
{
    if (info.fMask & SIF_RANGE) {
        info.nMin = state.min;
        info.nMax = state.max;
    }
    if (info.fMask & SIF_PAGE)
        info.nPage = state.page;
    if (info.fMask & SIF_POS)
        info.nPos = state.pos;
    if (info.fMask & SIF_TRACKPOS)
        info.nTrackPos = PressedPart(hwnd, bar) == ScrollPart::Thumb ? state.trackPos : state.pos;
}

void FillScrollBarInfo(const Window& window, int bar, const RECT& rect, SCROLLBARINFO& info)
{
    const ScrollBarGeometry geometry = GeometryOf(window, bar, rect);
    const RECT screen = ScreenWindowRect(window);
    info.rcScrollBar = RECT{screen.left + rect.left, screen.top + rect.top, screen.left + rect.right,
                            screen.top + rect.bottom};
    info.dxyLineButton = geometry.arrow;
    info.xyThumbTop = geometry.thumbTop;
    info.xyThumbBottom = geometry.thumbBottom;
    const ScrollBarState& state = BarState(window, bar);
    if (!BarEnabled(window, bar))
        info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
    if (state.disabledArrows & ESB_DISABLE_LTUP)
        info.rgstate[1] = STATE_SYSTEM_UNAVAILABLE;
    if (state.disabledArrows & ESB_DISABLE_RTDN)
        info.rgstate[5] = STATE_SYSTEM_UNAVAILABLE;
    if (const auto pressed = PressedPart(window.handle, bar); pressed != ScrollPart::None)
        info.rgstate[static_cast<int>(pressed)] |= STATE_SYSTEM_PRESSED;
}

} // namespace winapi_user::detail

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw)
{
    if (!lpsi || lpsi->cbSize != sizeof(SCROLLINFO))
        return 0;
    if (nBar == SB_CTL) {
        (void)SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(lpsi));
        return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
    }
    const auto window = detail::FindOwnWindow(hwnd);
    if (!window || !ValidBar(nBar))
        return 0;
    detail::ScrollBarState& state = detail::BarState(*window, nBar);
    detail::SetBarInfo(state, *lpsi);
    bool frameChanged = false;
    if (lpsi->fMask & (SIF_RANGE | SIF_PAGE)) {
        const bool scrollable = Scrollable(state);
        if (lpsi->fMask & SIF_DISABLENOSCROLL)
            frameChanged = SetBarVisible(hwnd, *window, nBar, true);
        else
            frameChanged = SetBarVisible(hwnd, *window, nBar, scrollable);
    }
    if (redraw && !frameChanged && IsWindow(hwnd))
        RedrawFrame(hwnd);
    return state.pos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi)
{
    if (!lpsi || lpsi->cbSize != sizeof(SCROLLINFO))
        return FALSE;
    if (nBar == SB_CTL)
        return SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpsi)) ? TRUE : FALSE;
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || !ValidBar(nBar))
        return FALSE;
    const detail::ScrollBarState& state = detail::BarState(*window, nBar);
    if (!state.used && !(window->style & StyleBit(nBar)))
        return FALSE;
    detail::GetBarInfo(hwnd, nBar, state, *lpsi);
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    int previous = GetScrollPos(hWnd, nBar);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    (void)SetScrollInfo(hWnd, nBar, &info, bRedraw);
    return previous;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hWnd, nBar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (!IsWindow(hWnd))
        return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    (void)SetScrollInfo(hWnd, nBar, &info, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, int* lpMinPos, int* lpMaxPos)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!lpMinPos || !lpMaxPos || !GetScrollInfo(hWnd, nBar, &info))
        return FALSE;
    *lpMinPos = info.nMin;
    *lpMaxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return FALSE;
    if (wBar == SB_CTL)
        return ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE), TRUE;
    const DWORD bits = wBar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL : StyleBit(wBar);
    const DWORD style = bShow ? window->style | bits : window->style & ~bits;
    if (style != window->style) {
        window->style = style;
        (void)SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    if (static_cast<int>(wSBflags) == SB_CTL)
        return SendMessageA(hWnd, SBM_ENABLE_ARROWS, wArrows, 0) ? TRUE : FALSE;
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return FALSE;
    bool changed = false;
    for (const int bar : {SB_HORZ, SB_VERT}) {
        if (static_cast<int>(wSBflags) != bar && static_cast<int>(wSBflags) != SB_BOTH)
            continue;
        detail::ScrollBarState& state = detail::BarState(*window, bar);
        changed = changed || state.disabledArrows != (wArrows & ESB_DISABLE_BOTH);
        state.disabledArrows = wArrows & ESB_DISABLE_BOTH;
    }
    if (changed)
        RedrawFrame(hWnd);
    return changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi)
{
    if (!psbi || psbi->cbSize != sizeof(SCROLLBARINFO))
        return FALSE;
    if (idObject == OBJID_CLIENT)
        return SendMessageA(hwnd, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(psbi)) ? TRUE : FALSE;
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || (idObject != OBJID_VSCROLL && idObject != OBJID_HSCROLL))
        return FALSE;
    const int bar = idObject == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    const DWORD size = psbi->cbSize;
    *psbi = SCROLLBARINFO{};
    psbi->cbSize = size;
    const auto rect = detail::ScrollBarRect(*window, bar);
    if (!rect) {
        psbi->rgstate[0] = STATE_SYSTEM_INVISIBLE;
        return TRUE;
    }
    detail::FillScrollBarInfo(*window, bar, *rect, *psbi);
    return TRUE;
}
