#include "platform/winapi/user/NonClient.h"

#include <algorithm>

namespace detail {

namespace {

bool HasCaption(DWORD style)
{
    return (style & WS_CAPTION) == WS_CAPTION;
}

bool Inside(const RECT& rect, POINT pt)
{
    return pt.x >= rect.left && pt.x < rect.right && pt.y >= rect.top && pt.y < rect.bottom;
}

} // namespace

int FrameThickness(DWORD style, DWORD exStyle)
{
    int thickness = 0;
    if (style & WS_THICKFRAME)
        thickness = GetSystemMetrics(SM_CXFRAME);
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
        thickness = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        thickness = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE)
        thickness += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE)
        thickness += GetSystemMetrics(SM_CXBORDER);
    return thickness;
}

int CaptionHeight(DWORD style, DWORD exStyle)
{
    if (!HasCaption(style))
        return 0;
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

RECT DefaultClientRect(const Window& window, const RECT& windowRect)
{
    RECT client = windowRect;
    if (window.style & WS_MINIMIZE)
        return RECT{client.left, client.top, client.left, client.top};
    const int frame = FrameThickness(window.style, window.exStyle);
    client.left += frame;
    client.right -= frame;
    client.top += frame + CaptionHeight(window.style, window.exStyle);
    client.bottom -= frame;
    // A menu bar, once windows have menus, takes its height here.
    if (window.style & WS_VSCROLL) {
        if (window.exStyle & WS_EX_LEFTSCROLLBAR)
            client.left += GetSystemMetrics(SM_CXVSCROLL);
        else
            client.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    if (window.style & WS_HSCROLL)
        client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

LRESULT DefaultHitTest(const Window& window, POINT pt)
{
    const RECT outer = ScreenWindowRect(window);
    if (!Inside(outer, pt))
        return HTNOWHERE;
    const RECT client = ScreenClientRect(window);
    if (Inside(client, pt))
        return HTCLIENT;
    const int frame = FrameThickness(window.style, window.exStyle);
    if ((window.style & WS_THICKFRAME) && !(window.style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        const bool left = pt.x < outer.left + frame, right = pt.x >= outer.right - frame;
        const bool top = pt.y < outer.top + frame, bottom = pt.y >= outer.bottom - frame;
        if (top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }
    const int caption = CaptionHeight(window.style, window.exStyle);
    const RECT captionRect{outer.left + frame, outer.top + frame, outer.right - frame, outer.top + frame + caption};
    if (caption && Inside(captionRect, pt)) {
        const int button = caption - 2;
        if ((window.style & WS_SYSMENU) && pt.x >= captionRect.right - button - 2)
            return HTCLOSE;
        if ((window.style & WS_SYSMENU) && !(window.exStyle & WS_EX_TOOLWINDOW) && pt.x < captionRect.left + button)
            return HTSYSMENU;
        return HTCAPTION;
    }
    if ((window.style & WS_VSCROLL) && pt.y < client.bottom && pt.y >= client.top)
        return HTVSCROLL;
    if ((window.style & WS_HSCROLL) && pt.x < client.right && pt.x >= client.left)
        return HTHSCROLL;
    return HTBORDER;
}

} // namespace detail
