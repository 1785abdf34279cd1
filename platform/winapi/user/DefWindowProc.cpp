#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/user/Cursors.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/NonClientTrack.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/WindowInternals.h"

#include <algorithm>
#include <cstring>

namespace detail = winapi_user::detail;

// The default answers of a window.

namespace {

bool HasCaption(const detail::Window& window)
{
    return (window.style & WS_CAPTION) == WS_CAPTION;
}

// The frame is drawn at once, not through WM_NCPAINT, as Win32's default does for activation and
// title changes.
void DrawFrameNow(const detail::Window& window)
{
    if (!detail::IsVisibleChain(window))
        return;
    const HDC dc = GetWindowDC(window.handle);
    detail::DrawNonClient(window, dc, detail::IsCaptionActive(window));
    (void)ReleaseDC(window.handle, dc);
}

LRESULT SetText(detail::Window& window, LPCSTR text)
{
    window.text = text ? text : "";
    if (window.announced)
        detail::MirrorTitle(window);
    if (HasCaption(window))
        DrawFrameNow(window);
    return TRUE;
}

LRESULT NcActivate(detail::Window& window, WPARAM active)
{
    detail::SetCaptionActive(window.handle, active != 0);
    if (HasCaption(window))
        DrawFrameNow(window);
    return TRUE;
}

void NcPaint(const detail::Window& window, WPARAM region)
{
    const bool all = region <= 1;
    const HDC dc = GetDCEx(window.handle, all ? nullptr : reinterpret_cast<HRGN>(region),
                           DCX_WINDOW | DCX_USESTYLE | (all ? 0 : DCX_INTERSECTRGN));
    detail::DrawNonClient(window, dc, detail::IsCaptionActive(window));
    (void)ReleaseDC(window.handle, dc);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    if (BeginPaint(hwnd, &ps))
        (void)EndPaint(hwnd, &ps);
}

LRESULT EraseBackground(const detail::Window& window, HDC dc)
{
    const HBRUSH brush = BrushFromSysColorValue(window.windowClass->background);
    if (!brush || !dc)
        return 0;
    RECT rect{};
    (void)GetClipBox(dc, &rect);
    (void)FillRect(dc, &rect, brush);
    return 1;
}

LRESULT GetIcon(const detail::Window& window, WPARAM kind)
{
    return reinterpret_cast<LRESULT>(kind == ICON_BIG ? window.bigIcon : window.smallIcon);
}

LRESULT SetIcon(detail::Window& window, WPARAM kind, LPARAM icon)
{
    HICON& slot = kind == ICON_BIG ? window.bigIcon : window.smallIcon;
    const HICON previous = slot;
    slot = reinterpret_cast<HICON>(icon);
    if (HasCaption(window))
        DrawFrameNow(window);
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT GetText(const detail::Window& window, WPARAM size, LPSTR buffer)
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t count = std::min(window.text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, window.text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT CalcSize(const detail::Window& window, WPARAM calcValidRects, LPARAM lParam)
{
    RECT* rect = calcValidRects ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    if (rect)
        *rect = detail::DefaultClientRect(window, *rect);
    return 0;
}

void ClampToTrackSize(detail::Window& window, WINDOWPOS& pos)
{
    if (pos.flags & SWP_NOSIZE)
        return;
    if (!(window.style & WS_THICKFRAME) && (window.style & (WS_POPUP | WS_CHILD)))
        return;
    MINMAXINFO info = detail::DefaultMinMaxInfo(window.style, window.exStyle);
    (void)SendMessageA(window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (window.style & (WS_MINIMIZE | WS_MAXIMIZE))
        return;
    pos.cx = std::clamp<int>(pos.cx, std::min<int>(info.ptMinTrackSize.x, info.ptMaxTrackSize.x), info.ptMaxTrackSize.x);
    pos.cy = std::clamp<int>(pos.cy, std::min<int>(info.ptMinTrackSize.y, info.ptMaxTrackSize.y), info.ptMaxTrackSize.y);
}

void PositionChanged(detail::Window& window, const WINDOWPOS& pos)
{
    const HWND hwnd = window.handle;
    const RECT client = window.clientRect;
    if (!(pos.flags & SWP_NOCLIENTMOVE))
        (void)SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
    if (!(pos.flags & SWP_NOCLIENTSIZE) || (pos.flags & SWP_STATECHANGED)) {
        const WPARAM kind = (window.style & WS_MINIMIZE) ? SIZE_MINIMIZED
                            : (window.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
        (void)SendMessageA(hwnd, WM_SIZE, kind,
                           MAKELPARAM(static_cast<WORD>(client.right - client.left),
                                      static_cast<WORD>(client.bottom - client.top)));
    }
}

// Whether the last system key down was Alt itself (so that its release enters the menu bar).
thread_local bool t_altAlone = false;

// SC_KEYMENU: a blank opens the system menu; 0 (Alt or F10 alone) the first item of the menu bar;
// a letter the bar item whose mnemonic it is.
void KeyMenu(HWND hwnd, LPARAM key)
{
    if (key == ' ') {
        detail::TrackSystemMenu(hwnd);
        return;
    }
    if (!GetMenu(hwnd) || GetMenuItemCount(GetMenu(hwnd)) <= 0)
        return;
    const int item = key == 0 ? 0 : detail::MenuBarMnemonic(hwnd, static_cast<char>(key));
    if (item >= 0)
        detail::TrackMenuBar(hwnd, item);
}

LRESULT SystemCommand(HWND hwnd, WPARAM command, LPARAM lParam)
{
    switch (command & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE:
        detail::MoveOrSize(hwnd, command, lParam);
        return 0;
    case SC_CLOSE:
        return SendMessageA(hwnd, WM_CLOSE, 0, 0);
    case SC_MINIMIZE:
        return ShowWindow(hwnd, SW_MINIMIZE);
    case SC_MAXIMIZE:
        return ShowWindow(hwnd, SW_MAXIMIZE);
    case SC_RESTORE:
        return ShowWindow(hwnd, SW_RESTORE);
    case SC_MOUSEMENU:
        detail::TrackSystemMenu(hwnd);
        return 0;
    case SC_KEYMENU:
        KeyMenu(hwnd, lParam);
        return 0;
    default:
        return 0;
    }
}

// A child passes some questions to its parent first, as Win32's default does.
LRESULT AskParent(const detail::Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!(window.style & WS_CHILD))
        return 0;
    return SendMessageA(window.parent, message, wParam, lParam);
}

} // namespace

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            window->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE:
        return CalcSize(*window, wParam, lParam);
    case WM_NCHITTEST:
        return detail::DefaultHitTest(*window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCACTIVATE:
        return NcActivate(*window, wParam);
    case WM_NCPAINT:
        NcPaint(*window, wParam);
        return 0;
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return EraseBackground(*window, reinterpret_cast<HDC>(wParam));
    case WM_PRINT:
        detail::DefaultPrint(hWnd, reinterpret_cast<HDC>(wParam), lParam);
        return 0;
    // A press queued before the window was disabled (a modal box opened meanwhile) moves,
    // sizes or closes nothing.
    case WM_NCLBUTTONDOWN:
        return IsWindowEnabled(hWnd) ? detail::NonClientButtonDown(hWnd, wParam, lParam) : 0;
    case WM_NCLBUTTONDBLCLK:
        return IsWindowEnabled(hWnd) ? detail::NonClientDoubleClick(hWnd, wParam, lParam) : 0;
    case WM_GETICON:
        return GetIcon(*window, wParam);
    case WM_SETICON:
        return SetIcon(*window, wParam, lParam);
    case WM_SETTEXT:
        return SetText(*window, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
        return GetText(*window, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_CLOSE:
        (void)DestroyWindow(hWnd);
        return 0;
    case WM_WINDOWPOSCHANGING:
        ClampToTrackSize(*window, *reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        PositionChanged(*window, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !(window->style & WS_MINIMIZE))
            (void)SetFocus(hWnd);
        return 0;
    case WM_MOUSEACTIVATE: {
        const LRESULT parentAnswer = AskParent(*window, Msg, wParam, lParam);
        return parentAnswer ? parentAnswer : MA_ACTIVATE;
    }
    case WM_SETCURSOR:
        if (AskParent(*window, Msg, wParam, lParam))
            return TRUE;
        detail::SetCursorForHit(*window, static_cast<SHORT>(LOWORD(lParam)), HIWORD(lParam));
        return FALSE;
    case WM_MOUSEWHEEL:
        return AskParent(*window, Msg, wParam, lParam);
    case WM_CANCELMODE:
        if (GetCapture() == hWnd)
            (void)ReleaseCapture();
        return 0;
    case WM_SYSCOMMAND:
        return SystemCommand(hWnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        t_altAlone = wParam == VK_MENU;
        if (wParam == VK_F4 && (GetKeyState(VK_MENU) & 0x8000))
            (void)SendMessageA(GetAncestor(hWnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSKEYUP:
        // Alt pressed and released with no key between, or F10: the keyboard enters the menu bar.
        if ((wParam == VK_MENU && t_altAlone) || wParam == VK_F10)
            (void)SendMessageA(GetAncestor(hWnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
        t_altAlone = false;
        return 0;
    case WM_SYSCHAR:
        (void)SendMessageA(GetAncestor(hWnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return 0;
    case WM_QUERYOPEN:
        return TRUE;
    default:
        return 0;
    }
}
