#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Painting.h"

#include <algorithm>

namespace winapi_user::detail {

namespace {

bool HasCaption(DWORD style)
{
    return (style & WS_CAPTION) == WS_CAPTION;
}

bool Inside(const RECT& rect, POINT pt)
{
    return pt.x >= rect.left && pt.x < rect.right && pt.y >= rect.top && pt.y < rect.bottom;
}

int BorderThickness(DWORD style, DWORD exStyle)
{
    if (style & WS_THICKFRAME)
        return GetSystemMetrics(SM_CXFRAME);
    if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
        return GetSystemMetrics(SM_CXDLGFRAME);
    if (style & WS_BORDER)
        return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

int EdgeThickness(DWORD exStyle)
{
    return ((exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
           ((exStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0);
}

RECT Inset(const RECT& rect, int by)
{
    return RECT{rect.left + by, rect.top + by, std::max(rect.right - by, rect.left + by),
                std::max(rect.bottom - by, rect.top + by)};
}

// The system buttons, right to left: close, then maximise and minimise side by side.
void LayoutButtons(NonClientLayout& layout, DWORD style, DWORD exStyle)
{
    if (!(style & WS_SYSMENU))
        return;
    const RECT& bar = layout.caption;
    const int height = bar.bottom - bar.top - 5;
    const int width = height + 2;
    const int top = bar.top + 2;
    layout.closeButton = RECT{bar.right - 2 - width, top, bar.right - 2, top + height};
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        layout.maxButton = RECT{layout.closeButton.left - 2 - width, top, layout.closeButton.left - 2, top + height};
        layout.minButton = RECT{layout.maxButton.left - width, top, layout.maxButton.left, top + height};
    }
    if (!tool && !(exStyle & WS_EX_DLGMODALFRAME)) {
        const int icon = GetSystemMetrics(SM_CXSMICON);
        const int iconTop = bar.top + (bar.bottom - bar.top - 1 - icon) / 2;
        layout.icon = RECT{bar.left + 2, iconTop, bar.left + 2 + icon, iconTop + icon};
    }
}

void LayoutScrollBars(NonClientLayout& layout, DWORD style, DWORD exStyle)
{
    RECT& client = layout.client;
    const int vertical = GetSystemMetrics(SM_CXVSCROLL), horizontal = GetSystemMetrics(SM_CYHSCROLL);
    const bool hasV = (style & WS_VSCROLL) && client.right - client.left >= vertical;
    const bool hasH = (style & WS_HSCROLL) && client.bottom - client.top >= horizontal;
    if (hasH) {
        layout.hscroll = RECT{client.left, client.bottom - horizontal, client.right, client.bottom};
        client.bottom -= horizontal;
    }
    if (hasV) {
        const bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
        layout.vscroll = left ? RECT{client.left, client.top, client.left + vertical, client.bottom}
                              : RECT{client.right - vertical, client.top, client.right, client.bottom};
        (left ? client.left : client.right) += left ? vertical : -vertical;
        if (hasH) {
            layout.sizeBox = RECT{layout.vscroll.left, layout.hscroll.top, layout.vscroll.right, layout.hscroll.bottom};
            (left ? layout.hscroll.left : layout.hscroll.right) = left ? layout.vscroll.right : layout.vscroll.left;
        }
    }
}

LRESULT FrameHit(const NonClientLayout& layout, POINT pt)
{
    const RECT& outer = layout.outer;
    const int frame = layout.border;
    // The corners reach along the edges as far as a caption is high, as Win32's do.
    const int corner = GetSystemMetrics(SM_CYCAPTION) + frame;
    const bool left = pt.x < outer.left + frame, right = pt.x >= outer.right - frame;
    const bool top = pt.y < outer.top + frame, bottom = pt.y >= outer.bottom - frame;
    const bool nearLeft = pt.x < outer.left + corner, nearRight = pt.x >= outer.right - corner;
    const bool nearTop = pt.y < outer.top + corner, nearBottom = pt.y >= outer.bottom - corner;
    if (top)
        return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (bottom)
        return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left)
        return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (right)
        return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    return HTNOWHERE;
}

} // namespace

NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, const RECT& outer, int menuBarHeight)
{
    NonClientLayout layout;
    layout.outer = outer;
    if (style & WS_MINIMIZE) {
        layout.client = RECT{outer.left, outer.top, outer.left, outer.top};
        return layout;
    }
    layout.border = BorderThickness(style, exStyle);
    RECT inner = Inset(outer, layout.border);
    const int caption = CaptionHeight(style, exStyle);
    if (caption) {
        layout.caption = RECT{inner.left, inner.top, inner.right, std::min(inner.top + caption, inner.bottom)};
        inner.top = layout.caption.bottom;
        LayoutButtons(layout, style, exStyle);
    }
    if (menuBarHeight > 0) {
        layout.menuBar = RECT{inner.left, inner.top, inner.right, std::min<LONG>(inner.top + menuBarHeight, inner.bottom)};
        inner.top = layout.menuBar.bottom;
    }
    layout.edged = inner;
    layout.client = Inset(inner, EdgeThickness(exStyle));
    LayoutScrollBars(layout, style, exStyle);
    return layout;
}

NonClientLayout LayoutNonClient(const Window& window, const RECT& outer)
{
    return LayoutNonClient(window.style, window.exStyle, outer, MenuBarHeight(window));
}

int MenuBarHeight(const Window& window)
{
    if ((window.style & WS_CHILD) || !window.menu || !IsMenu(window.menu))
        return 0;
    return GetSystemMetrics(SM_CYMENU);
}

int FrameThickness(DWORD style, DWORD exStyle)
{
    return BorderThickness(style, exStyle) + EdgeThickness(exStyle);
}

int CaptionHeight(DWORD style, DWORD exStyle)
{
    if (!HasCaption(style))
        return 0;
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

RECT DefaultClientRect(const Window& window, const RECT& windowRect)
{
    return LayoutNonClient(window, windowRect).client;
}

LRESULT DefaultHitTest(const Window& window, POINT pt)
{
    const NonClientLayout layout = LayoutNonClient(window, ScreenWindowRect(window));
    if (!Inside(layout.outer, pt) || !ShapeContains(window, pt))
        return HTNOWHERE;
    if (Inside(ScreenClientRect(window), pt))
        return HTCLIENT;
    if ((window.style & WS_THICKFRAME) && !(window.style & (WS_MINIMIZE | WS_MAXIMIZE)))
        if (const LRESULT frame = FrameHit(layout, pt); frame != HTNOWHERE)
            return frame;
    if (Inside(layout.caption, pt)) {
        if (Inside(layout.closeButton, pt))
            return HTCLOSE;
        if (Inside(layout.maxButton, pt))
            return HTMAXBUTTON;
        if (Inside(layout.minButton, pt))
            return HTMINBUTTON;
        if (Inside(layout.icon, pt))
            return HTSYSMENU;
        return HTCAPTION;
    }
    if (Inside(layout.menuBar, pt))
        return HTMENU;
    if (Inside(layout.vscroll, pt))
        return HTVSCROLL;
    if (Inside(layout.hscroll, pt))
        return HTHSCROLL;
    if (Inside(layout.sizeBox, pt) && (window.style & WS_THICKFRAME))
        return HTBOTTOMRIGHT;
    return HTBORDER;
}

} // namespace winapi_user::detail
