#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/MessageSources.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/WindowInternals.h"

#include <cstdlib>
#include <mutex>

namespace detail = winapi_user::detail;

// The display's events become input messages here, on the display's thread, the way Win32's
// input thread makes them: the target window (capture, else the window under the pointer; the
// focus for keys and the wheel), WM_MOUSEACTIVATE and activation for a click, WM_NCHITTEST and
// WM_SETCURSOR before a mouse message, double clicks for classes with CS_DBLCLKS, and
// WM_MOUSELEAVE for TrackMouseEvent.

namespace {

struct LastClick {
    HWND hwnd = nullptr;
    UINT message = 0;
    DWORD time = 0;
    POINT screen{};
};

struct MouseState {
    HWND tracked = nullptr; // TrackMouseEvent(TME_LEAVE)
    LastClick lastClick;
};

std::mutex g_mutex;
MouseState g_mouse;

WPARAM MouseKeys(unsigned modifiers)
{
    WPARAM keys = 0;
    if (modifiers & ModLeftButton)
        keys |= MK_LBUTTON;
    if (modifiers & ModRightButton)
        keys |= MK_RBUTTON;
    if (modifiers & ModMiddleButton)
        keys |= MK_MBUTTON;
    if (modifiers & ModShift)
        keys |= MK_SHIFT;
    if (modifiers & ModControl)
        keys |= MK_CONTROL;
    return keys;
}

WPARAM ButtonKey(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return MK_LBUTTON;
    case MouseButton::Right:
        return MK_RBUTTON;
    case MouseButton::Middle:
        return MK_MBUTTON;
    default:
        return 0;
    }
}

unsigned ButtonVirtualKey(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return VK_LBUTTON;
    case MouseButton::Right:
        return VK_RBUTTON;
    case MouseButton::Middle:
        return VK_MBUTTON;
    default:
        return 0;
    }
}

// The client message of a button event; the NC one is 0x0161 lower (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN).
UINT ButtonMessage(MouseButton button, bool down)
{
    switch (button) {
    case MouseButton::Left:
        return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right:
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case MouseButton::Middle:
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
        return 0;
    }
}

constexpr UINT CLIENT_TO_NC = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;

LPARAM PointParam(POINT pt)
{
    return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const DisplayEvent& event,
               std::string text = {})
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window)
        return;
    const auto queue = detail::QueueOfThread(window->threadId);
    POINT pt{};
    (void)GetCursorPos(&pt);
    if (queue)
        (void)queue->PostInput(detail::InputMessage{MSG{hwnd, message, wParam, lParam, event.timeMs, pt}, std::move(text)});
}

bool IsDoubleClick(HWND hwnd, UINT message, const DisplayEvent& event, POINT screen)
{
    std::lock_guard lock(g_mutex);
    LastClick& last = g_mouse.lastClick;
    const bool isDouble = last.hwnd == hwnd && last.message == message &&
                          event.timeMs - last.time <= GetDoubleClickTime() &&
                          std::abs(screen.x - last.screen.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                          std::abs(screen.y - last.screen.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    // A third click starts over, as in Win32.
    last = isDouble ? LastClick{} : LastClick{hwnd, message, event.timeMs, screen};
    return isDouble;
}

// The leave goes into the input queue behind the moves made inside the window, so that it comes
// after them.
void EndMouseTrackingUnless(HWND target, const DisplayEvent& event)
{
    HWND tracked = nullptr;
    {
        std::lock_guard lock(g_mutex);
        if (!g_mouse.tracked || g_mouse.tracked == target)
            return;
        tracked = g_mouse.tracked;
        g_mouse.tracked = nullptr;
    }
    PostInput(tracked, WM_MOUSELEAVE, 0, 0, event);
}

// A click on an inactive window asks it (WM_MOUSEACTIVATE) whether to activate; MA_NOACTIVATE
// pop-ups and WS_EX_NOACTIVATE windows never take the activation. True when the click is eaten.
bool MouseActivate(HWND target, LRESULT hit, UINT message)
{
    const HWND top = GetAncestor(target, GA_ROOT);
    if (!top || top == GetActiveWindow())
        return false;
    const LRESULT answer =
        SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    const auto topWindow = detail::FindWindowObject(top);
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && topWindow &&
        !(topWindow->exStyle & WS_EX_NOACTIVATE))
        (void)detail::ActivateByMouse(top);
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

// The window that stands in for a disabled top-level window (the owner of a modal box): its
// enabled pop-up, which a click on the owner brings forward, as in Win32.
void ActivateEnabledPopup(HWND disabled)
{
    if (const HWND popup = GetWindow(GetAncestor(disabled, GA_ROOT), GW_ENABLEDPOPUP))
        (void)SetActiveWindow(popup);
}

// Where the pointer is over the window: a disabled window is never asked, it is all HTERROR (the
// pointer only ever finds a disabled window at the top level: a disabled child counts as its
// parent), so that it takes no click, not even on its caption buttons.
LRESULT HitTest(HWND target, HWND capture, POINT screen)
{
    if (capture)
        return HTCLIENT;
    if (!IsWindowEnabled(target))
        return HTERROR;
    return SendMessageA(target, WM_NCHITTEST, 0, PointParam(screen));
}

void MouseEvent(const DisplayEvent& event, UINT clientMessage, WPARAM keys)
{
    const POINT screen{event.screenX, event.screenY};
    const HWND capture = GetCapture();
    const HWND target = capture ? capture : WindowFromPoint(screen);
    if (!target)
        return;
    if (clientMessage == WM_MOUSEMOVE)
        EndMouseTrackingUnless(target, event);
    const LRESULT hit = HitTest(target, capture, screen);
    const bool buttonDown = clientMessage != WM_MOUSEMOVE && ButtonKey(event.button) && event.down;
    if (hit == HTERROR && buttonDown)
        ActivateEnabledPopup(target);
    else if (!capture && buttonDown && MouseActivate(target, hit, clientMessage))
        return;
    if (!capture && IsWindow(target))
        (void)SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                           MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(clientMessage)));
    if (!IsWindow(target) || hit == HTNOWHERE || hit == HTERROR || hit == HTTRANSPARENT)
        return;
    const bool client = hit == HTCLIENT;
    UINT message = client ? clientMessage : clientMessage - CLIENT_TO_NC;
    if (buttonDown) {
        const auto window = detail::FindWindowObject(target);
        const bool wantsDouble = !client || (window && (window->windowClass->style & CS_DBLCLKS));
        if (IsDoubleClick(target, message, event, screen) && wantsDouble)
            message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    }
    POINT point = screen;
    if (client)
        (void)ScreenToClient(target, &point);
    PostInput(target, message, client ? keys : static_cast<WPARAM>(hit), PointParam(point), event);
}

void ButtonEvent(const DisplayEvent& event)
{
    const unsigned key = ButtonVirtualKey(event.button);
    if (!key)
        return;
    detail::NoteAsyncKey(key, event.down);
    WPARAM keys = MouseKeys(event.modifiers);
    keys = event.down ? keys | ButtonKey(event.button) : keys & ~ButtonKey(event.button);
    MouseEvent(event, ButtonMessage(event.button, event.down), keys);
}

void WheelEvent(const DisplayEvent& event)
{
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (!target)
        return;
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(MouseKeys(event.modifiers)), static_cast<WORD>(event.wheelDelta));
    PostInput(target, WM_MOUSEWHEEL, wParam, PointParam(POINT{event.screenX, event.screenY}), event);
}

// Keys never reach a disabled window, nor one inside a disabled window: Alt+F4 on the owner of
// a modal box would close it from under the box.
bool TakesKeyboard(HWND target)
{
    return target && IsWindowEnabled(GetAncestor(target, GA_ROOT));
}

void KeyEvent(const DisplayEvent& event)
{
    detail::NoteAsyncKey(event.virtualKey, event.down);
    const HWND focus = GetFocus();
    const HWND target = focus ? focus : GetActiveWindow();
    if (!TakesKeyboard(target))
        return;
    const bool alt = (event.modifiers & ModAlt) || event.virtualKey == VK_MENU;
    const bool control = (event.modifiers & ModControl) != 0;
    // Alt combinations (and keys while no window has the focus) are system keys, as in Win32.
    const bool system = (alt && !control) || !focus || event.virtualKey == VK_F10;
    const UINT message = event.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    DWORD flags = 1 | ((event.scanCode & 0xFF) << 16);
    if (alt)
        flags |= 1u << 29;
    if (event.repeat || !event.down)
        flags |= 1u << 30;
    if (!event.down)
        flags |= 1u << 31;
    PostInput(target, message, event.virtualKey, static_cast<LPARAM>(flags), event, event.down ? event.text : "");
}

void TextEvent(const DisplayEvent& event)
{
    const HWND target = GetFocus();
    if (!TakesKeyboard(target))
        return;
    for (const char byte : event.text)
        PostInput(target, WM_CHAR, static_cast<BYTE>(byte), 1, event);
}

} // namespace

namespace winapi_user::detail {

void TranslateDisplayEvent(const DisplayEvent& event)
{
    const HWND window = WindowOfId(event.window);
    switch (event.kind) {
    case DisplayEvent::Kind::Key:
        KeyEvent(event);
        break;
    case DisplayEvent::Kind::Text:
        TextEvent(event);
        break;
    case DisplayEvent::Kind::MouseMove:
        NoteCursorPos(POINT{event.screenX, event.screenY});
        MouseEvent(event, WM_MOUSEMOVE, MouseKeys(event.modifiers));
        break;
    case DisplayEvent::Kind::MouseButton:
        NoteCursorPos(POINT{event.screenX, event.screenY});
        ButtonEvent(event);
        break;
    case DisplayEvent::Kind::Wheel:
        WheelEvent(event);
        break;
    case DisplayEvent::Kind::MouseLeave:
        EndMouseTrackingUnless(nullptr, event);
        break;
    case DisplayEvent::Kind::FocusGained:
        // A disabled window (the owner of a modal box) passes the activation on to its enabled
        // pop-up, as in Win32. Activating it anyway would also bounce with the display's late
        // reports of the box's own activation, for ever.
        if (IsWindow(window)) {
            const HWND target = IsWindowEnabled(window) ? window : GetWindow(window, GW_ENABLEDPOPUP);
            if (target)
                (void)SetActiveWindow(target);
        }
        break;
    case DisplayEvent::Kind::FocusLost:
        if (GetActiveWindow() == window)
            (void)SetActiveWindow(nullptr);
        break;
    case DisplayEvent::Kind::CloseRequest:
        // A disabled window is not closed from outside either: its modal box is shown instead.
        if (IsWindowEnabled(window))
            (void)PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            ActivateEnabledPopup(window);
        break;
    case DisplayEvent::Kind::Iconify:
        if (!IsIconic(window))
            (void)ShowWindow(window, SW_MINIMIZE);
        break;
    case DisplayEvent::Kind::Restore:
        if (IsIconic(window))
            (void)ShowWindow(window, SW_RESTORE);
        break;
    case DisplayEvent::Kind::Moved:
        // A minimised window's place is the window system's (-32000, -32000), wherever the
        // display keeps its icon; the place it comes back to is its normal one.
        if (IsIconic(window))
            break;
        (void)SetWindowPos(window, nullptr, event.rect.left, event.rect.top, event.rect.right - event.rect.left,
                           event.rect.bottom - event.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case DisplayEvent::Kind::Exposed:
        // The surface still holds the pixels: they are only shown again.
        if (const auto top = FindWindowObject(window))
            MarkDirty(*top, Region(event.rect));
        break;
    default:
        // Clipboard loss is answered by the clipboard.
        break;
    }
}

void ForgetMouseTracking(HWND hwnd)
{
    std::lock_guard lock(g_mutex);
    if (g_mouse.tracked == hwnd)
        g_mouse.tracked = nullptr;
    if (g_mouse.lastClick.hwnd == hwnd)
        g_mouse.lastClick = LastClick{};
}

} // namespace winapi_user::detail

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack)
{
    if (!lpEventTrack || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TRACKMOUSEEVENT& track = *lpEventTrack;
    if (track.dwFlags & TME_QUERY) {
        std::lock_guard lock(g_mutex);
        track.dwFlags = g_mouse.tracked ? TME_LEAVE : 0;
        track.hwndTrack = g_mouse.tracked;
        return TRUE;
    }
    if (!detail::FindOwnWindow(track.hwndTrack))
        return FALSE;
    if (!(track.dwFlags & TME_LEAVE))
        return TRUE;
    if (track.dwFlags & TME_CANCEL) {
        detail::ForgetMouseTracking(track.hwndTrack);
        return TRUE;
    }
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != track.hwndTrack) {
        // Win32 reports the leave at once when the pointer is not over the window.
        (void)PostMessageA(track.hwndTrack, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    std::lock_guard lock(g_mutex);
    g_mouse.tracked = track.hwndTrack;
    return TRUE;
}
