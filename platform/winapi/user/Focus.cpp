#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Hooks.h"
#include "platform/winapi/user/WindowInternals.h"

#include <mutex>

namespace detail = winapi_user::detail;

// Focus, activation and capture, with Win32's messages in Win32's order. The state is the
// program's (one GUI thread in practice); each call answers only about the caller's windows.

namespace {

struct InputOwners {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};

std::mutex g_mutex;
InputOwners g_owners;

HWND Read(HWND InputOwners::*field)
{
    std::lock_guard lock(g_mutex);
    return g_owners.*field;
}

HWND Exchange(HWND InputOwners::*field, HWND value)
{
    std::lock_guard lock(g_mutex);
    const HWND previous = g_owners.*field;
    g_owners.*field = value;
    return previous;
}

// The window if it still exists and belongs to the calling thread.
HWND OwnOrNull(HWND hwnd)
{
    const auto window = hwnd ? detail::FindWindowObject(hwnd) : nullptr;
    return window && window->threadId == GetCurrentThreadId() ? hwnd : nullptr;
}

bool Within(HWND ancestor, HWND hwnd)
{
    return hwnd && (hwnd == ancestor || IsChild(ancestor, hwnd));
}

WPARAM ActivateState(WORD state, HWND hwnd)
{
    return MAKEWPARAM(state, static_cast<WORD>(IsIconic(hwnd) ? 1 : 0));
}

void SendActivateApp(HWND anyWindowOfThread, bool active, DWORD otherThread)
{
    const DWORD thread = GetWindowThreadProcessId(anyWindowOfThread, nullptr);
    std::vector<HWND> windows;
    for (HWND top : detail::Desktop().children)
        if (const auto window = detail::FindWindowObject(top); window && window->threadId == thread)
            windows.push_back(top);
    for (HWND top : windows)
        (void)SendMessageA(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, static_cast<LPARAM>(otherThread));
}

bool CanBeActivated(const detail::Window& window)
{
    return (window.style & WS_VISIBLE) && !(window.style & WS_DISABLED) && !(window.exStyle & WS_EX_NOACTIVATE) &&
           !window.destroying;
}

void BringToTop(HWND hwnd)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (window && !detail::Desktop().children.empty() && detail::Desktop().children.front() != hwnd &&
        !(window->exStyle & WS_EX_TOPMOST))
        (void)SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND Activate(HWND hwnd, bool byMouse)
{
    const HWND previous = OwnOrNull(Read(&InputOwners::active));
    if (hwnd == previous)
        return previous;
    CBTACTIVATESTRUCT info{byMouse ? TRUE : FALSE, previous};
    if (hwnd && detail::CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd),
                                  reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    if (previous) {
        (void)SendMessageA(previous, WM_NCACTIVATE, FALSE, 0);
        (void)SendMessageA(previous, WM_ACTIVATE, ActivateState(WA_INACTIVE, previous),
                           reinterpret_cast<LPARAM>(hwnd));
    }
    (void)Exchange(&InputOwners::active, hwnd);
    if (previous && !hwnd && IsWindow(previous))
        SendActivateApp(previous, false, 0);
    if (!hwnd) {
        (void)SetFocus(nullptr);
        return previous;
    }
    if (!previous)
        SendActivateApp(hwnd, true, 0);
    BringToTop(hwnd);
    detail::MirrorActivation(hwnd);
    (void)SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    (void)SendMessageA(hwnd, WM_ACTIVATE, ActivateState(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, hwnd),
                       reinterpret_cast<LPARAM>(previous));
    return previous;
}

} // namespace

namespace winapi_user::detail {

HWND ActivateByMouse(HWND topLevel)
{
    return Activate(topLevel, true);
}

void ForgetWindow(HWND hwnd)
{
    if (Within(hwnd, Read(&InputOwners::capture))) {
        const HWND capture = Exchange(&InputOwners::capture, nullptr);
        (void)SendMessageA(capture, WM_CAPTURECHANGED, 0, 0);
    }
    if (Within(hwnd, Read(&InputOwners::focus))) {
        const HWND focus = Exchange(&InputOwners::focus, nullptr);
        (void)SendMessageA(focus, WM_KILLFOCUS, 0, 0);
    }
    if (Read(&InputOwners::active) == hwnd)
        (void)Exchange(&InputOwners::active, nullptr);
    ForgetMouseTracking(hwnd);
}

void ActivateOtherWindow(HWND leaving)
{
    const auto window = FindWindowObject(leaving);
    HWND next = nullptr;
    if (const auto owner = window ? FindWindowObject(window->owner) : nullptr; owner && CanBeActivated(*owner))
        next = owner->handle;
    for (auto top = Desktop().children.begin(); !next && top != Desktop().children.end(); ++top) {
        const auto candidate = FindWindowObject(*top);
        if (*top != leaving && candidate && candidate->threadId == GetCurrentThreadId() && CanBeActivated(*candidate) &&
            !(candidate->exStyle & WS_EX_TOOLWINDOW))
            next = *top;
    }
    (void)Activate(next, false);
}

} // namespace winapi_user::detail

HWND SetActiveWindow(HWND hWnd)
{
    if (hWnd) {
        const auto window = detail::FindOwnWindow(hWnd);
        if (!window)
            return nullptr;
        hWnd = GetAncestor(hWnd, GA_ROOT);
    }
    return Activate(hWnd, false);
}

HWND GetActiveWindow()
{
    return OwnOrNull(Read(&InputOwners::active));
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!detail::FindOwnWindow(hWnd))
        return FALSE;
    (void)SetActiveWindow(hWnd);
    return GetActiveWindow() == GetAncestor(hWnd, GA_ROOT) ? TRUE : FALSE;
}

HWND GetForegroundWindow()
{
    return Read(&InputOwners::active);
}

HWND SetFocus(HWND hWnd)
{
    const HWND previous = OwnOrNull(Read(&InputOwners::focus));
    if (hWnd && !detail::FindOwnWindow(hWnd))
        return nullptr;
    if (hWnd == previous)
        return previous;
    if (hWnd) {
        if (detail::CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hWnd),
                              reinterpret_cast<LPARAM>(previous)))
            return nullptr;
        const HWND root = GetAncestor(hWnd, GA_ROOT);
        if (root != GetActiveWindow()) {
            (void)Activate(root, false);
            if (GetActiveWindow() != root)
                return nullptr;
        }
        if (!IsWindow(hWnd) || Read(&InputOwners::focus) == hWnd)
            return previous;
    }
    const HWND old = Exchange(&InputOwners::focus, hWnd);
    if (OwnOrNull(old))
        (void)SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && Read(&InputOwners::focus) == hWnd)
        (void)SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(OwnOrNull(old)), 0);
    return previous;
}

HWND GetFocus()
{
    return OwnOrNull(Read(&InputOwners::focus));
}

HWND SetCapture(HWND hWnd)
{
    if (!detail::FindOwnWindow(hWnd))
        return nullptr;
    const HWND previous = Exchange(&InputOwners::capture, hWnd);
    if (previous && previous != hWnd && OwnOrNull(previous))
        (void)SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return OwnOrNull(previous);
}

BOOL ReleaseCapture()
{
    const HWND previous = Exchange(&InputOwners::capture, nullptr);
    if (OwnOrNull(previous))
        (void)SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return OwnOrNull(Read(&InputOwners::capture));
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return FALSE;
    const bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (bEnable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        (void)SendMessageA(hWnd, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && !wasDisabled) {
        (void)SendMessageA(hWnd, WM_CANCELMODE, 0, 0);
        window->style |= WS_DISABLED;
        if (Within(hWnd, GetFocus()))
            (void)SetFocus(nullptr);
        (void)SendMessageA(hWnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}
