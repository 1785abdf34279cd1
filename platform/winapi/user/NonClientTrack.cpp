#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/NonClientTrack.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/ScrollBars.h"

namespace detail = winapi_user::detail;

// The mouse on the non-client area: the caption moves the window (SC_MOVE), the sizing frame
// sizes it (SC_SIZE), the system buttons track their pressed look and send their command when
// released over them, and the scroll bars track. Moving and sizing are modal loops on the mouse
// messages, which reach the window through its capture.

namespace {

constexpr WPARAM WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5,
                 WMSZ_BOTTOM = 6, WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8;

WPARAM SizingEdge(LRESULT hit)
{
    switch (hit) {
    case HTLEFT:
        return WMSZ_LEFT;
    case HTRIGHT:
        return WMSZ_RIGHT;
    case HTTOP:
        return WMSZ_TOP;
    case HTTOPLEFT:
        return WMSZ_TOPLEFT;
    case HTTOPRIGHT:
        return WMSZ_TOPRIGHT;
    case HTBOTTOM:
        return WMSZ_BOTTOM;
    case HTBOTTOMLEFT:
        return WMSZ_BOTTOMLEFT;
    default:
        return WMSZ_BOTTOMRIGHT;
    }
}

// The rectangle after the mouse moved by (dx, dy) from where the drag began.
RECT Dragged(const RECT& start, WPARAM edge, int dx, int dy)
{
    RECT rect = start;
    if (edge == 0) {
        OffsetRect(&rect, dx, dy);
        return rect;
    }
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
        rect.left += dx;
    if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT)
        rect.right += dx;
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
        rect.top += dy;
    if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT)
        rect.bottom += dy;
    return rect;
}

// Moves (edge 0) or sizes the window until the button goes up; Escape puts it back.
void MoveSizeLoop(HWND hwnd, WPARAM edge, POINT start)
{
    RECT origin{};
    (void)GetWindowRect(hwnd, &origin);
    const HWND parent = GetAncestor(hwnd, GA_PARENT);
    if (parent && parent != GetDesktopWindow())
        (void)MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&origin), 2);
    (void)SetCapture(hwnd);
    (void)SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    RECT last = origin;
    MSG msg{};
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            if (msg.message == WM_QUIT)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP)
            break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            last = origin;
            (void)SetWindowPos(hwnd, nullptr, last.left, last.top, last.right - last.left, last.bottom - last.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
            continue;
        }
        RECT wanted = Dragged(origin, edge, msg.pt.x - start.x, msg.pt.y - start.y);
        (void)SendMessageA(hwnd, edge ? WM_SIZING : WM_MOVING, edge, reinterpret_cast<LPARAM>(&wanted));
        if (EqualRect(&wanted, &last))
            continue;
        last = wanted;
        (void)SetWindowPos(hwnd, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                           wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE | (edge ? 0 : SWP_NOSIZE));
    }
    if (GetCapture() == hwnd)
        (void)ReleaseCapture();
    if (IsWindow(hwnd))
        (void)SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

RECT ButtonRect(const detail::Window& window, LRESULT hit)
{
    const RECT outer{0, 0, window.windowRect.right - window.windowRect.left,
                     window.windowRect.bottom - window.windowRect.top};
    const detail::NonClientLayout layout = detail::LayoutNonClient(window, outer);
    return hit == HTCLOSE ? layout.closeButton : hit == HTMAXBUTTON ? layout.maxButton : layout.minButton;
}

UINT ButtonKind(const detail::Window& window, LRESULT hit)
{
    if (hit == HTCLOSE)
        return DFCS_CAPTIONCLOSE;
    if (hit == HTMAXBUTTON)
        return (window.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    return (window.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
}

void DrawButtonState(HWND hwnd, LRESULT hit, bool pressed)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window)
        return;
    RECT rect = ButtonRect(*window, hit);
    const HDC dc = GetWindowDC(hwnd);
    (void)DrawFrameControl(dc, &rect, DFC_CAPTION, ButtonKind(*window, hit) | (pressed ? DFCS_PUSHED : 0));
    (void)ReleaseDC(hwnd, dc);
}

bool ButtonAllowed(const detail::Window& window, LRESULT hit)
{
    if (hit == HTMAXBUTTON)
        return (window.style & WS_MAXIMIZEBOX) != 0;
    if (hit == HTMINBUTTON)
        return (window.style & WS_MINIMIZEBOX) != 0;
    return !(window.windowClass->style & CS_NOCLOSE);
}

WPARAM ButtonCommand(const detail::Window& window, LRESULT hit)
{
    if (hit == HTCLOSE)
        return SC_CLOSE;
    if (hit == HTMAXBUTTON)
        return (window.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    return (window.style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
}

// The button shows pressed while the mouse is over it; released over it, its command goes.
void TrackButton(HWND hwnd, LRESULT hit)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || !ButtonAllowed(*window, hit))
        return;
    bool over = true;
    DrawButtonState(hwnd, hit, true);
    (void)SetCapture(hwnd);
    MSG msg{};
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            if (msg.message == WM_QUIT)
                PostQuitMessage(static_cast<int>(msg.wParam));
            over = false;
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            const bool now = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(msg.pt.x),
                                                                           static_cast<WORD>(msg.pt.y))) == hit;
            if (now != over)
                DrawButtonState(hwnd, hit, now);
            over = now;
            continue;
        }
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
    if (GetCapture() == hwnd)
        (void)ReleaseCapture();
    if (!IsWindow(hwnd))
        return;
    DrawButtonState(hwnd, hit, false);
    // A window disabled while the button was held (a modal box opened meanwhile) is left alone.
    if (over && IsWindowEnabled(hwnd))
        (void)SendMessageA(hwnd, WM_SYSCOMMAND, ButtonCommand(*window, hit), 0);
}

} // namespace

namespace winapi_user::detail {

LRESULT NonClientButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (static_cast<LRESULT>(hit)) {
    case HTCAPTION:
        return SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | SizingEdge(static_cast<LRESULT>(hit)), lParam);
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
        TrackButton(hwnd, static_cast<LRESULT>(hit));
        return 0;
    case HTVSCROLL:
        TrackScrollBar(hwnd, SB_VERT, pt);
        return 0;
    case HTHSCROLL:
        TrackScrollBar(hwnd, SB_HORZ, pt);
        return 0;
    case HTSYSMENU:
        return SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, lParam);
    case HTMENU:
        if (const int item = detail::MenuBarItemAt(hwnd, pt); item >= 0)
            detail::TrackMenuBar(hwnd, item);
        return 0;
    default:
        return 0;
    }
}

LRESULT NonClientDoubleClick(HWND hwnd, WPARAM hit, LPARAM lParam)
{
    const auto window = FindWindowObject(hwnd);
    if (!window)
        return 0;
    switch (static_cast<LRESULT>(hit)) {
    case HTCAPTION:
        if (window->style & WS_MAXIMIZEBOX)
            return SendMessageA(hwnd, WM_SYSCOMMAND, (window->style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE,
                                lParam);
        return 0;
    case HTSYSMENU:
        if (!(window->windowClass->style & CS_NOCLOSE))
            return SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    default:
        // The non-client area always gets double clicks: on a button or a scroll bar the second
        // press is a press like the first.
        return NonClientButtonDown(hwnd, hit, lParam);
    }
}

void MoveOrSize(HWND hwnd, WPARAM command, LPARAM lParam)
{
    const auto window = FindWindowObject(hwnd);
    if (!window || (window->style & WS_MAXIMIZE))
        return;
    POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == 0)
        (void)GetCursorPos(&start);
    const WPARAM edge = (command & 0xFFF0) == SC_SIZE ? (command & 0x000F) : 0;
    if ((command & 0xFFF0) == SC_SIZE && (edge == 0 || !(window->style & WS_THICKFRAME)))
        return;
    MoveSizeLoop(hwnd, edge, start);
}

} // namespace winapi_user::detail
