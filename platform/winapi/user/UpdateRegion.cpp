#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/user/Painting.h"

#include <cstring>

namespace detail = winapi_user::detail;

// Update regions: invalidation and validation down the window tree, WM_PAINT made from them, and
// the painting of windows now (RDW_UPDATENOW, UpdateWindow).

namespace {

RECT ClientBounds(const detail::Window& window)
{
    return RECT{0, 0, window.clientRect.right - window.clientRect.left, window.clientRect.bottom - window.clientRect.top};
}

// Whether the change reaches the window's children (the RDW_ALLCHILDREN / RDW_NOCHILDREN rule).
bool ReachesChildren(const detail::Window& window, UINT flags)
{
    if (flags & RDW_ALLCHILDREN)
        return true;
    return !(flags & RDW_NOCHILDREN) && !(window.style & WS_CLIPCHILDREN);
}

void Invalidate(detail::Window& window, const Region& area, bool touchesFrame, UINT flags)
{
    detail::PaintState& paint = window.paint;
    if (flags & RDW_INVALIDATE) {
        const Region inside = detail::Intersect(area, Region(ClientBounds(window)));
        paint.update = detail::Unite(paint.update, inside);
        if ((flags & RDW_ERASE) && !inside.IsEmpty())
            paint.erase = true;
        if ((flags & RDW_FRAME) && touchesFrame)
            paint.frame = true;
    }
    if (flags & RDW_INTERNALPAINT)
        paint.internalPaint = true;
}

void Validate(detail::Window& window, const Region& area, UINT flags)
{
    detail::PaintState& paint = window.paint;
    if (flags & RDW_VALIDATE) {
        paint.update = detail::Subtract(paint.update, area);
        if (flags & RDW_NOFRAME)
            paint.frame = false;
    }
    if ((flags & RDW_NOERASE) || paint.update.IsEmpty())
        paint.erase = false;
    if (flags & RDW_NOINTERNALPAINT)
        paint.internalPaint = false;
}

// `area` is in the window's client coordinates; null means the whole window, frame included.
void ApplyRedraw(detail::Window& window, const std::optional<Region>& area, UINT flags)
{
    if (!(window.style & WS_VISIBLE))
        return;
    const RECT client = window.clientRect;
    const RECT whole{window.windowRect.left - client.left, window.windowRect.top - client.top,
                     window.windowRect.right - client.left, window.windowRect.bottom - client.top};
    const Region target = area ? *area : Region(whole);
    const bool touchesFrame = !detail::Subtract(target, Region(ClientBounds(window))).IsEmpty();
    Invalidate(window, target, touchesFrame, flags);
    Validate(window, target, flags);
    if (!ReachesChildren(window, flags))
        return;
    const std::vector<HWND> children = window.children;
    for (HWND hwnd : children) {
        const auto child = detail::FindWindowObject(hwnd);
        if (!child || !(child->style & WS_VISIBLE))
            continue;
        const Region inChild = detail::Offset(detail::Intersect(target, Region(child->windowRect)),
                                              -child->clientRect.left, -child->clientRect.top);
        if (!inChild.IsEmpty())
            ApplyRedraw(*child, inChild, (flags & RDW_ALLCHILDREN) ? flags : flags & ~RDW_NOCHILDREN);
    }
}

void SendFrame(detail::Window& window)
{
    if (!window.paint.frame)
        return;
    window.paint.frame = false;
    (void)SendMessageA(window.handle, WM_NCPAINT, 1, 0);
}

void SendErase(detail::Window& window)
{
    if (!window.paint.erase || window.paint.update.IsEmpty())
        return;
    window.paint.erase = false;
    const HDC dc = detail::OpenWindowDC(window.handle, DCX_USESTYLE,
                                        detail::ClientToScreenRegion(window, window.paint.update), std::nullopt);
    (void)SendMessageA(window.handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    (void)ReleaseDC(window.handle, dc);
}

// RDW_UPDATENOW and RDW_ERASENOW: the window first, then its children.
void PaintNow(HWND hwnd, UINT flags)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || !detail::IsVisibleChain(*window))
        return;
    if (flags & RDW_UPDATENOW) {
        if (!window->paint.update.IsEmpty() || window->paint.internalPaint) {
            window->paint.internalPaint = false;
            (void)SendMessageA(hwnd, WM_PAINT, 0, 0);
        } else {
            SendFrame(*window);
        }
    } else {
        SendFrame(*window);
        SendErase(*window);
    }
    if (!IsWindow(hwnd) || !ReachesChildren(*window, flags))
        return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children)
        PaintNow(child, (flags & RDW_ALLCHILDREN) ? flags : flags & ~RDW_NOCHILDREN);
}

// The first window below `window` (itself included), parents first, that has something to paint.
HWND FindPainter(const detail::Window& window, const detail::MessageFilter& filter)
{
    if (&window != &detail::Desktop()) {
        if (!(window.style & WS_VISIBLE))
            return nullptr;
        if (window.threadId == GetCurrentThreadId() && detail::NeedsPaint(window) && filter.AdmitsWindow(window.handle))
            return window.handle;
    }
    for (HWND hwnd : window.children)
        if (const auto child = detail::FindWindowObject(hwnd))
            if (const HWND found = FindPainter(*child, filter))
                return found;
    return nullptr;
}

std::optional<Region> AreaOf(const RECT* rect, HRGN rgn)
{
    if (rgn)
        return detail::RegionOfHandle(rgn);
    if (rect)
        return Region(*rect);
    return std::nullopt;
}

} // namespace

namespace winapi_user::detail {

bool NeedsPaint(const Window& window)
{
    return !window.paint.update.IsEmpty() || window.paint.frame || window.paint.internalPaint;
}

bool TakeUpdatePaint(const MessageFilter& filter, MSG& out)
{
    const HWND hwnd = FindPainter(Desktop(), filter);
    if (!hwnd)
        return false;
    if (const auto window = FindWindowObject(hwnd))
        window->paint.internalPaint = false;
    POINT pt{};
    (void)GetCursorPos(&pt);
    out = MSG{hwnd, WM_PAINT, 0, 0, GetTickCount(), pt};
    return true;
}

void RepaintAfterPositionChange(Window& window, const RECT& oldWindowRect, bool wasVisible, UINT flags)
{
    if (flags & SWP_NOREDRAW)
        return;
    const bool visible = (window.style & WS_VISIBLE) != 0;
    const bool moved = oldWindowRect.left != window.windowRect.left || oldWindowRect.top != window.windowRect.top;
    const bool sized = oldWindowRect.right - oldWindowRect.left != window.windowRect.right - window.windowRect.left ||
                       oldWindowRect.bottom - oldWindowRect.top != window.windowRect.bottom - window.windowRect.top;
    const bool topLevel = IsTopLevel(window);
    const bool restacked = !(flags & SWP_NOZORDER) && !topLevel;
    const bool changed = (visible && !wasVisible) || sized || (moved && !topLevel) || restacked ||
                         (flags & SWP_FRAMECHANGED);
    if (visible && changed)
        ApplyRedraw(window, std::nullopt, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    // What the window uncovered in its parent.
    const bool uncovered = wasVisible && (!visible || moved || sized);
    if (topLevel || !uncovered)
        return;
    // A child's rectangles are in its parent's client coordinates already.
    if (const auto parent = FindWindowObject(window.parent)) {
        const Region exposed = Subtract(Region(oldWindowRect), visible ? Region(window.windowRect) : Region{});
        // The windows it covered paint what it uncovered, their frames included.
        ApplyRedraw(*parent, exposed, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

} // namespace winapi_user::detail

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags)
{
    if (!hWnd) {
        for (HWND top : detail::Desktop().children)
            if (const auto window = detail::FindWindowObject(top); window && window->threadId == GetCurrentThreadId())
                (void)RedrawWindow(top, lprcUpdate, hrgnUpdate, flags | RDW_ALLCHILDREN);
        return TRUE;
    }
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return FALSE;
    std::optional<Region> area = AreaOf(lprcUpdate, hrgnUpdate);
    if (hrgnUpdate && !area)
        return FALSE;
    if (!area && !(flags & RDW_FRAME))
        area = Region(ClientBounds(*window));
    ApplyRedraw(*window, area, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        PaintNow(hWnd, flags);
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return FALSE;
    const bool any = !window->paint.update.IsEmpty();
    if (lpRect)
        *lpRect = any ? window->paint.update.Bounds() : RECT{};
    if (any && bErase)
        SendErase(*window);
    return any ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return ERROR;
    const Region update = window->paint.update;
    const GdiObject copy(detail::NewRegionHandle(update));
    const int kind = CombineRgn(hRgn, copy.Get(), nullptr, RGN_COPY);
    if (bErase)
        SendErase(*window);
    return kind;
}

BOOL UpdateWindow(HWND hWnd)
{
    if (!RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN))
        return FALSE;
    detail::PresentDirtySurfaces();
    return TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || !lpPaint)
        return nullptr;
    std::memset(lpPaint, 0, sizeof *lpPaint);
    detail::HideCaretForPaint(hWnd);
    SendFrame(*window);
    if (!IsWindow(hWnd))
        return nullptr;
    const Region update = window->paint.update;
    const bool erase = window->paint.erase;
    window->paint.update = Region{};
    window->paint.erase = false;
    window->paint.internalPaint = false;
    const HDC dc = detail::OpenWindowDC(hWnd, DCX_USESTYLE, detail::ClientToScreenRegion(*window, update), std::nullopt);
    lpPaint->hdc = dc;
    lpPaint->rcPaint = update.IsEmpty() ? RECT{} : update.Bounds();
    // fErase tells the window that the background is still to be erased.
    if (erase && !update.IsEmpty())
        lpPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (!lpPaint)
        return FALSE;
    (void)ReleaseDC(hWnd, lpPaint->hdc);
    detail::ShowCaretAfterPaint(hWnd);
    return TRUE;
}
