#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Painting.h"

#include <algorithm>

namespace detail = winapi_user::detail;

namespace {

bool Inside(const RECT& rect, POINT pt)
{
    return pt.x >= rect.left && pt.x < rect.right && pt.y >= rect.top && pt.y < rect.bottom;
}

// The deepest visible, enabled window under a screen point below `parent`, or null.
HWND ChildUnder(const detail::Window& parent, POINT screenPoint)
{
    for (HWND child : parent.children) {
        const auto window = detail::FindWindowObject(child);
        if (!window || !(window->style & WS_VISIBLE) || !Inside(detail::ScreenWindowRect(*window), screenPoint) ||
            !detail::ShapeContains(*window, screenPoint))
            continue;
        if (window->threadId == GetCurrentThreadId() &&
            SendMessageA(child, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screenPoint.x),
                                                           static_cast<WORD>(screenPoint.y))) == HTTRANSPARENT)
            continue;
        if (window->style & WS_DISABLED)
            return &parent == &detail::Desktop() ? child : parent.handle;
        if (Inside(detail::ScreenClientRect(*window), screenPoint))
            if (const HWND deeper = ChildUnder(*window, screenPoint))
                return deeper;
        return child;
    }
    return nullptr;
}

} // namespace

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom)
{
    if (!lprc)
        return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc)
{
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc)
{
    if (!lprcDst || !lprcSrc)
        return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc)
{
    return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL PtInRect(const RECT* lprc, POINT pt)
{
    return lprc && Inside(*lprc, pt);
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    *lprc = RECT{lprc->left + dx, lprc->top + dy, lprc->right + dx, lprc->bottom + dy};
    return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    *lprc = RECT{lprc->left - dx, lprc->top - dy, lprc->right + dx, lprc->bottom + dy};
    return TRUE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* a, const RECT* b)
{
    if (!lprcDst || !a || !b)
        return FALSE;
    const RECT result{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                      std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&result)) {
        *lprcDst = RECT{};
        return FALSE;
    }
    *lprcDst = result;
    return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* a, const RECT* b)
{
    if (!lprcDst || !a || !b)
        return FALSE;
    if (IsRectEmpty(a) || IsRectEmpty(b)) {
        *lprcDst = IsRectEmpty(a) ? (IsRectEmpty(b) ? RECT{} : *b) : *a;
        return !IsRectEmpty(lprcDst);
    }
    *lprcDst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                    std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpRect)
        return FALSE;
    *lpRect = detail::ScreenWindowRect(*window);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpRect)
        return FALSE;
    const RECT client = detail::ScreenClientRect(*window);
    *lpRect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpPoint)
        return FALSE;
    const POINT origin = window.get() == &detail::Desktop() ? POINT{0, 0} : detail::ClientOrigin(*window);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpPoint)
        return FALSE;
    const POINT origin = window.get() == &detail::Desktop() ? POINT{0, 0} : detail::ClientOrigin(*window);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from{0, 0}, to{0, 0};
    if ((hWndFrom && !ClientToScreen(hWndFrom, &from)) || (hWndTo && !ClientToScreen(hWndTo, &to)))
        return 0;
    const LONG dx = from.x - to.x, dy = from.y - to.y;
    SetLastError(ERROR_SUCCESS);
    for (UINT index = 0; lpPoints && index < cPoints; ++index) {
        lpPoints[index].x += dx;
        lpPoints[index].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT Point)
{
    return ChildUnder(detail::Desktop(), Point);
}

HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags)
{
    const auto parent = detail::FindWindowObject(hwnd);
    if (!parent)
        return nullptr;
    const RECT client = detail::ScreenClientRect(*parent);
    POINT screen{pt.x, pt.y};
    if (parent.get() != &detail::Desktop()) {
        (void)ClientToScreen(hwnd, &screen);
        if (!Inside(client, screen))
            return nullptr;
    }
    for (HWND child : parent->children) {
        const auto window = detail::FindWindowObject(child);
        if (!window || !Inside(detail::ScreenWindowRect(*window), screen))
            continue;
        if (((flags & CWP_SKIPINVISIBLE) && !(window->style & WS_VISIBLE)) ||
            ((flags & CWP_SKIPDISABLED) && (window->style & WS_DISABLED)) ||
            ((flags & CWP_SKIPTRANSPARENT) && (window->exStyle & WS_EX_TRANSPARENT)))
            continue;
        return child;
    }
    return hwnd;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point)
{
    return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL);
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    if (!lpRect)
        return FALSE;
    const int frame = detail::FrameThickness(dwStyle, dwExStyle);
    lpRect->left -= frame;
    lpRect->right += frame;
    lpRect->bottom += frame;
    lpRect->top -= frame + detail::CaptionHeight(dwStyle, dwExStyle) + (bMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}
