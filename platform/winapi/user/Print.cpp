#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/Painting.h"


// DefWindowProc's WM_PRINT: the window renders itself into any DC (a memory DC, usually) with
// its window's top-left corner at the DC's origin: frame, background, client, then its children
// at their places, bottom of the z-order first.

namespace winapi_user::detail {

namespace {

POINT ClientOffset(const Window& window)
{
    return POINT{window.clientRect.left - window.windowRect.left, window.clientRect.top - window.windowRect.top};
}

void PrintChildren(const Window& window, HDC dc, LPARAM flags)
{
    const POINT client = ClientOffset(window);
    const std::vector<HWND> children = window.children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const HWND hwnd = *it;
        const auto child = FindWindowObject(hwnd);
        if (!child || !(child->style & WS_VISIBLE))
            continue;
        const SavedDC saved(dc);
        const POINT at{client.x + child->windowRect.left, client.y + child->windowRect.top};
        (void)IntersectClipRect(dc, at.x, at.y, at.x + (child->windowRect.right - child->windowRect.left),
                                at.y + (child->windowRect.bottom - child->windowRect.top));
        (void)OffsetViewportOrgEx(dc, at.x, at.y, nullptr);
        (void)SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
    }
}

} // namespace

void DefaultPrint(HWND hwnd, HDC dc, LPARAM flags)
{
    const auto window = FindWindowObject(hwnd);
    if (!window || !dc)
        return;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))
        return;
    if (flags & PRF_NONCLIENT)
        DrawNonClient(*window, dc, IsCaptionActive(*window));
    {
        const POINT client = ClientOffset(*window);
        const SavedDC saved(dc);
        const int width = window->clientRect.right - window->clientRect.left;
        const int height = window->clientRect.bottom - window->clientRect.top;
        (void)IntersectClipRect(dc, client.x, client.y, client.x + width, client.y + height);
        (void)OffsetViewportOrgEx(dc, client.x, client.y, nullptr);
        if (flags & PRF_ERASEBKGND)
            (void)SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        if (flags & PRF_CLIENT)
            (void)SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    }
    if ((flags & PRF_CHILDREN) && IsWindow(hwnd))
        PrintChildren(*window, dc, flags);
}

} // namespace winapi_user::detail
