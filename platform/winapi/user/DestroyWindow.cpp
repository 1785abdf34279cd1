#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Hooks.h"
#include "platform/winapi/user/MessageQueue.h"
#include "platform/winapi/user/MessageSources.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/WindowInternals.h"

#include <vector>

#include <unistd.h>

namespace detail = winapi_user::detail;

namespace {

std::vector<HWND> OwnedWindows(HWND owner)
{
    std::vector<HWND> owned;
    for (HWND top : detail::Desktop().children)
        if (const auto window = detail::FindWindowObject(top); window && window->owner == owner)
            owned.push_back(top);
    return owned;
}

void MarkDestroying(detail::Window& window)
{
    window.destroying = true;
    for (HWND child : window.children)
        if (const auto descendant = detail::FindWindowObject(child))
            MarkDestroying(*descendant);
}

// WM_DESTROY goes to the window first, then to its children.
void SendDestroy(HWND hwnd)
{
    (void)SendMessageA(hwnd, WM_DESTROY, 0, 0);
    const auto window = detail::FindWindowObject(hwnd);
    if (!window)
        return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children)
        SendDestroy(child);
}

void Release(detail::Window& window)
{
    detail::KillWindowTimers(window.handle);
    detail::ForgetCaret(window.handle);
    detail::ForgetCaptionState(window.handle);
    if (const auto queue = detail::QueueOfThread(window.threadId))
        queue->PurgeWindow(window.handle);
    if (window.announced)
        detail::WithdrawTopLevel(window);
    detail::UnlinkWindow(window);
    window.props.clear();
    window.surface.reset();
    --window.windowClass->windowCount;
    detail::RemoveWindow(window.handle);
}

} // namespace

namespace winapi_user::detail {

void FinishDestruction(HWND hwnd)
{
    const auto window = FindWindowObject(hwnd);
    if (!window)
        return;
    window->destroying = true;
    const std::vector<HWND> children = window->children;
    for (HWND child : children)
        FinishDestruction(child);
    if (window->created)
        (void)SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    Release(*window);
}

} // namespace winapi_user::detail

BOOL DestroyWindow(HWND hWnd)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || window.get() == &detail::Desktop()) {
        if (window)
            SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying)
        return TRUE;
    if (detail::CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hWnd), 0))
        return FALSE;
    const bool wasActive = GetActiveWindow() == hWnd;
    detail::NotifyParentsOfChild(*window, WM_DESTROY);
    if (window->style & WS_VISIBLE)
        (void)SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MarkDestroying(*window);
    for (HWND owned : OwnedWindows(hWnd))
        (void)DestroyWindow(owned);
    if (wasActive)
        detail::ActivateOtherWindow(hWnd);
    detail::ForgetWindow(hWnd);
    SendDestroy(hWnd);
    detail::FinishDestruction(hWnd);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window ? TRUE : FALSE;
}

HWND GetDesktopWindow()
{
    return detail::Desktop().handle;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    if (lpdwProcessId)
        *lpdwProcessId = static_cast<DWORD>(getpid());
    return window->threadId;
}
