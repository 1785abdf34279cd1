#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Hooks.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/WindowInternals.h"

#include <algorithm>

namespace detail = winapi_user::detail;

// SetWindowPos and ShowWindow own the order of the messages of moving, sizing, showing, hiding
// and z-ordering: WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, activation,
// WM_WINDOWPOSCHANGED (whose default handling sends WM_MOVE and WM_SIZE).

namespace {

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

RECT Moved(const RECT& rect, int dx, int dy)
{
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

void ApplyZOrder(detail::Window& window, HWND insertAfter)
{
    if (insertAfter == HWND_TOPMOST)
        window.exStyle |= WS_EX_TOPMOST;
    else if (insertAfter == HWND_NOTOPMOST)
        window.exStyle &= ~WS_EX_TOPMOST;
    detail::LinkWindow(window, insertAfter);
}

void MirrorOnDisplay(detail::Window& window, bool sized, bool moved, bool visibilityChanged, bool raised)
{
    if (!window.announced)
        return;
    if (sized && window.surface)
        window.surface->Resize(std::max(Width(window.windowRect), 1), std::max(Height(window.windowRect), 1));
    if (sized || moved)
        detail::MirrorPlacement(window);
    if (visibilityChanged)
        detail::MirrorVisibility(window);
    if (raised && !visibilityChanged)
        Display().Raise(detail::WindowIdOf(window.handle));
}

MINMAXINFO MinMaxInfo(detail::Window& window)
{
    MINMAXINFO info = detail::DefaultMinMaxInfo(window.style, window.exStyle);
    (void)SendMessageA(window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

struct Placement {
    RECT rect{};
    UINT flags = 0;
};

// The new place of a window being minimised, maximised or restored, with its style updated.
Placement ChangeState(detail::Window& window, int command)
{
    const bool normal = !(window.style & (WS_MINIMIZE | WS_MAXIMIZE));
    if (normal)
        window.normalRect = window.windowRect;
    Placement placement{window.windowRect, SWP_FRAMECHANGED | SWP_STATECHANGED};
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        window.restoreMaximized = (window.style & WS_MAXIMIZE) != 0;
        window.style = (window.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        placement.rect = RECT{-32000, -32000, -32000 + GetSystemMetrics(SM_CXMINIMIZED),
                              -32000 + GetSystemMetrics(SM_CYMINIMIZED)};
        break;
    case SW_SHOWMAXIMIZED: {
        const MINMAXINFO info = MinMaxInfo(window);
        window.style = (window.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        placement.rect = RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                              info.ptMaxPosition.y + info.ptMaxSize.y};
        break;
    }
    default:
        window.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        placement.rect = window.normalRect;
        break;
    }
    return placement;
}

// A minimised window that was maximised goes back to maximised when restored.
int RestoreTarget(const detail::Window& window, int command)
{
    const bool restoresMaximized = (window.style & WS_MINIMIZE) && window.restoreMaximized;
    return command == SW_RESTORE && restoresMaximized ? SW_SHOWMAXIMIZED : command;
}

bool ChangesState(const detail::Window& window, int command)
{
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        return !(window.style & WS_MINIMIZE);
    case SW_SHOWMAXIMIZED:
        return !(window.style & WS_MAXIMIZE);
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        return (window.style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
    default:
        return false;
    }
}

UINT ShowFlags(int command, bool isActive)
{
    switch (command) {
    case SW_HIDE:
        return SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | (isActive ? 0 : SWP_NOACTIVATE | SWP_NOZORDER);
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWMINNOACTIVE:
        return SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
    case SW_MINIMIZE:
        return SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    default:
        return SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
    }
}

bool HasFocusWithin(HWND hwnd)
{
    const HWND focus = GetFocus();
    return focus && (focus == hwnd || IsChild(hwnd, focus));
}

} // namespace

namespace winapi_user::detail {

MINMAXINFO DefaultMinMaxInfo(DWORD style, DWORD exStyle)
{
    const RECT work = Display().WorkArea();
    const int frame = FrameThickness(style, exStyle);
    MINMAXINFO info{};
    info.ptMaxSize = POINT{Width(work) + 2 * frame, Height(work) + 2 * frame};
    info.ptMaxPosition = POINT{work.left - frame, work.top - frame};
    const bool framed = (style & WS_THICKFRAME) || (style & WS_CAPTION) == WS_CAPTION;
    if (framed)
        info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return info;
}

void RecalculateClient(Window& window)
{
    RECT rect = window.windowRect;
    (void)SendMessageA(window.handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    window.clientRect = rect;
}

void SendSizeAndMove(Window& window)
{
    const HWND hwnd = window.handle;
    const WPARAM kind = (window.style & WS_MINIMIZE) ? SIZE_MINIMIZED
                        : (window.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                       : SIZE_RESTORED;
    const RECT client = window.clientRect;
    (void)SendMessageA(hwnd, WM_SIZE, kind,
                       MAKELPARAM(static_cast<WORD>(Width(client)), static_cast<WORD>(Height(client))));
    (void)SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
}

} // namespace winapi_user::detail

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || window.get() == &detail::Desktop())
        return FALSE;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    if (wasVisible)
        uFlags &= ~SWP_SHOWWINDOW;
    else
        uFlags &= ~SWP_HIDEWINDOW;
    if (!detail::IsTopLevel(*window))
        uFlags |= SWP_NOACTIVATE;
    if (hWndInsertAfter == hWnd)
        uFlags |= SWP_NOZORDER;
    WINDOWPOS pos{hWnd,
                  hWndInsertAfter,
                  (uFlags & SWP_NOMOVE) ? window->windowRect.left : X,
                  (uFlags & SWP_NOMOVE) ? window->windowRect.top : Y,
                  (uFlags & SWP_NOSIZE) ? Width(window->windowRect) : std::max(cx, 0),
                  (uFlags & SWP_NOSIZE) ? Height(window->windowRect) : std::max(cy, 0),
                  uFlags};
    if (!(uFlags & SWP_NOSENDCHANGING))
        (void)SendMessageA(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!IsWindow(hWnd))
        return FALSE;

    const RECT oldWindow = window->windowRect;
    const RECT oldClient = window->clientRect;
    const RECT newWindow{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    const bool sized = Width(newWindow) != Width(oldWindow) || Height(newWindow) != Height(oldWindow);
    const bool moved = newWindow.left != oldWindow.left || newWindow.top != oldWindow.top;
    RECT newClient = Moved(oldClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
    if (sized || (pos.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params{{newWindow, oldWindow, oldClient}, &pos};
        (void)SendMessageA(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        newClient = params.rgrc[0];
    }
    if (!IsWindow(hWnd))
        return FALSE;
    window->windowRect = newWindow;
    window->clientRect = newClient;
    const bool raised = !(pos.flags & SWP_NOZORDER);
    if (raised)
        ApplyZOrder(*window, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW)
        window->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW)
        window->style &= ~WS_VISIBLE;
    const bool visibilityChanged = (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
    MirrorOnDisplay(*window, sized, moved, visibilityChanged, raised);
    detail::RepaintAfterPositionChange(*window, oldWindow, wasVisible, pos.flags);

    if (!(pos.flags & SWP_NOACTIVATE) && (window->style & WS_VISIBLE) && !(pos.flags & SWP_HIDEWINDOW))
        (void)SetActiveWindow(hWnd);
    if (!IsWindow(hWnd))
        return FALSE;
    if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient))
        pos.flags |= SWP_NOCLIENTSIZE;
    if (newClient.left == oldClient.left && newClient.top == oldClient.top)
        pos.flags |= SWP_NOCLIENTMOVE;
    (void)SendMessageA(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hWnd)
{
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || window.get() == &detail::Desktop())
        return FALSE;
    nCmdShow = RestoreTarget(*window, nCmdShow);
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = nCmdShow != SW_HIDE;
    const bool stateChange = ChangesState(*window, nCmdShow);
    if (show == wasVisible && !stateChange)
        return wasVisible ? TRUE : FALSE;
    if (stateChange && detail::CallHooks(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hWnd), nCmdShow))
        return wasVisible ? TRUE : FALSE;
    const bool wasActive = GetActiveWindow() == hWnd;
    UINT flags = ShowFlags(nCmdShow, wasActive);
    if (window->style & WS_CHILD)
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    if (show != wasVisible)
        (void)SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(hWnd))
        return wasVisible ? TRUE : FALSE;
    RECT rect = window->windowRect;
    if (stateChange) {
        const Placement placement = ChangeState(*window, nCmdShow);
        rect = placement.rect;
        flags = (flags & ~(SWP_NOSIZE | SWP_NOMOVE)) | placement.flags;
    }
    const bool focusInside = !show && HasFocusWithin(hWnd);
    (void)SetWindowPos(hWnd, HWND_TOP, rect.left, rect.top, Width(rect), Height(rect), flags);
    if (!IsWindow(hWnd))
        return wasVisible ? TRUE : FALSE;
    if (window->announced && stateChange && (window->style & WS_MINIMIZE))
        Display().Iconify(detail::WindowIdOf(hWnd));
    if (focusInside)
        (void)SetFocus((window->style & WS_CHILD) ? window->parent : nullptr);
    if ((!show || nCmdShow == SW_MINIMIZE) && wasActive)
        detail::ActivateOtherWindow(hWnd);
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window && detail::IsVisibleChain(*window) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpwndpl)
        return FALSE;
    const bool normal = !(window->style & (WS_MINIMIZE | WS_MAXIMIZE));
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = 0;
    lpwndpl->showCmd = (window->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (window->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                       : SW_SHOWNORMAL;
    lpwndpl->ptMinPosition = POINT{-1, -1};
    lpwndpl->ptMaxPosition = POINT{-1, -1};
    lpwndpl->rcNormalPosition = normal ? window->windowRect : window->normalRect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || !lpwndpl)
        return FALSE;
    const RECT& rect = lpwndpl->rcNormalPosition;
    window->normalRect = rect;
    if (!(window->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        (void)SetWindowPos(hWnd, nullptr, rect.left, rect.top, Width(rect), Height(rect),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    (void)ShowWindow(hWnd, static_cast<int>(lpwndpl->showCmd));
    return TRUE;
}
