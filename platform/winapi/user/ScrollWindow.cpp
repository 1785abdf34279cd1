#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/Painting.h"

namespace detail = winapi_user::detail;

// Scrolling moves the pixels that stay visible and invalidates what the move uncovered (and
// what came from places that were not visible), shifting a pending update region with them.

namespace {

RECT ClientBounds(const detail::Window& window)
{
    return RECT{0, 0, window.clientRect.right - window.clientRect.left, window.clientRect.bottom - window.clientRect.top};
}

// The part of `area` to repaint after moving its pixels by (dx, dy) inside `clip`, given the
// pixels that were really there (`valid`).
Region Uncovered(const Region& area, const Region& clip, const Region& valid, int dx, int dy)
{
    const Region source = detail::Intersect(area, clip);
    const Region moved = detail::Intersect(detail::Offset(detail::Intersect(source, valid), dx, dy), clip);
    const Region touched = detail::Unite(source, detail::Intersect(detail::Offset(source, dx, dy), clip));
    return detail::Subtract(touched, moved);
}

void ReturnUpdate(const Region& update, HRGN hrgnUpdate, LPRECT prcUpdate)
{
    if (hrgnUpdate) {
        const GdiObject copy(detail::NewRegionHandle(update));
        (void)CombineRgn(hrgnUpdate, copy.Get(), nullptr, RGN_COPY);
    }
    if (prcUpdate)
        *prcUpdate = update.IsEmpty() ? RECT{} : update.Bounds();
}

void ScrollChildren(detail::Window& window, const RECT* prcScroll, int dx, int dy)
{
    const std::vector<HWND> children = window.children;
    for (HWND hwnd : children) {
        const auto child = detail::FindWindowObject(hwnd);
        if (!child)
            continue;
        RECT common{};
        if (prcScroll && !IntersectRect(&common, prcScroll, &child->windowRect))
            continue;
        (void)SetWindowPos(hwnd, nullptr, child->windowRect.left + dx, child->windowRect.top + dy, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   LPRECT prcUpdate, UINT flags)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return ERROR;
    const Region client(ClientBounds(*window));
    const Region area = prcScroll ? detail::Intersect(Region(*prcScroll), client) : client;
    const Region clip = prcClip ? detail::Intersect(Region(*prcClip), client) : client;
    HideCaret(hWnd);
    const Region visible = detail::VisibleClientRegion(*window);
    const HDC dc = GetDCEx(hWnd, nullptr, DCX_CACHE | DCX_USESTYLE);
    const Region moved = detail::Intersect(detail::Offset(detail::Intersect(area, clip), dx, dy), clip);
    if (!moved.IsEmpty()) {
        const GdiObject destination(detail::NewRegionHandle(moved));
        (void)ExtSelectClipRgn(dc, destination.Get(), RGN_AND);
        const RECT box = detail::Intersect(area, clip).Bounds();
        (void)BitBlt(dc, box.left + dx, box.top + dy, box.right - box.left, box.bottom - box.top, dc, box.left,
                     box.top, SRCCOPY);
    }
    (void)ReleaseDC(hWnd, dc);
    const Region update = Uncovered(area, clip, visible, dx, dy);
    // A pending update inside the scrolled area moves with the pixels.
    const Region pending = detail::Intersect(window->paint.update, area);
    window->paint.update = detail::Unite(detail::Subtract(window->paint.update, pending),
                                         detail::Intersect(detail::Offset(pending, dx, dy), clip));
    if (flags & SW_SCROLLCHILDREN)
        ScrollChildren(*window, prcScroll, dx, dy);
    if (flags & SW_INVALIDATE) {
        const GdiObject invalid(detail::NewRegionHandle(update));
        (void)RedrawWindow(hWnd, nullptr, invalid.Get(),
                           RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                               ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : RDW_NOCHILDREN));
    }
    ShowCaret(hWnd);
    ReturnUpdate(update, hrgnUpdate, prcUpdate);
    return update.Kind();
}

BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect)
{
    return ScrollWindowEx(hWnd, XAmount, YAmount, lpRect, lpClipRect, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (lpRect ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}

BOOL ScrollDC(HDC hDC, int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip, HRGN hrgnUpdate,
              LPRECT lprcUpdate)
{
    RECT bounds{};
    if (GetClipBox(hDC, &bounds) == ERROR)
        return FALSE;
    const Region area(lprcScroll ? *lprcScroll : bounds);
    const Region clip = lprcClip ? detail::Intersect(Region(*lprcClip), Region(bounds)) : Region(bounds);
    const RECT box = detail::Intersect(area, clip).Bounds();
    const Region moved = detail::Intersect(detail::Offset(detail::Intersect(area, clip), dx, dy), clip);
    if (!moved.IsEmpty()) {
        const SavedDC saved(hDC);
        const RECT target = moved.Bounds();
        (void)IntersectClipRect(hDC, target.left, target.top, target.right, target.bottom);
        (void)BitBlt(hDC, box.left + dx, box.top + dy, box.right - box.left, box.bottom - box.top, hDC, box.left,
                     box.top, SRCCOPY);
    }
    ReturnUpdate(Uncovered(area, clip, Region(bounds), dx, dy), hrgnUpdate, lprcUpdate);
    return TRUE;
}
