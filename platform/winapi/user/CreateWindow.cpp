#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Hooks.h"
#include "platform/winapi/user/MessageQueue.h"
#include "platform/winapi/user/WindowClasses.h"
#include "platform/winapi/user/WindowInternals.h"

#include <algorithm>
#include <atomic>

namespace detail = winapi_user::detail;

namespace {

std::atomic<int> g_cascade{0};

// The Win32 style adjustments: an overlapped window always has a caption and clips its siblings;
// a framed top-level window gets the window edge.
void NormaliseStyles(DWORD& style, DWORD& exStyle)
{
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (!(style & WS_CHILD) && (style & (WS_DLGFRAME | WS_THICKFRAME))))
        exStyle |= WS_EX_WINDOWEDGE;
}

void PlaceDefault(CREATESTRUCTA& cs, bool topLevelOverlapped)
{
    const RECT work = Display().WorkArea();
    if (cs.x == CW_USEDEFAULT) {
        if (topLevelOverlapped) {
            const int step = (g_cascade++ % 8) * (GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
            cs.x = work.left + step;
            cs.y = work.top + step;
        } else {
            cs.x = cs.y = 0;
        }
    }
    if (cs.cx == CW_USEDEFAULT) {
        cs.cx = topLevelOverlapped ? (work.right - work.left) * 3 / 4 : 0;
        cs.cy = topLevelOverlapped ? (work.bottom - work.top) * 3 / 4 : 0;
    }
}

bool WantsMinMaxInfo(DWORD style)
{
    return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));
}

void ApplyMinMaxInfo(HWND hwnd, CREATESTRUCTA& cs)
{
    MINMAXINFO info = detail::DefaultMinMaxInfo(cs.style, cs.dwExStyle);
    (void)SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    cs.cx = std::clamp<int>(cs.cx, std::min<int>(info.ptMinTrackSize.x, info.ptMaxTrackSize.x), info.ptMaxTrackSize.x);
    cs.cy = std::clamp<int>(cs.cy, std::min<int>(info.ptMinTrackSize.y, info.ptMaxTrackSize.y), info.ptMaxTrackSize.y);
}

void NotifyParents(const detail::Window& window, UINT event)
{
    if (!(window.style & WS_CHILD))
        return;
    for (auto current = detail::FindWindowObject(window.handle); current && (current->style & WS_CHILD) &&
                                                                  !(current->exStyle & WS_EX_NOPARENTNOTIFY);) {
        const HWND parent = current->parent;
        (void)SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(window.id)),
                           reinterpret_cast<LPARAM>(window.handle));
        current = detail::FindWindowObject(parent);
    }
}

// A window whose creation failed before WM_NCCREATE: it simply goes.
void Discard(detail::Window& window)
{
    detail::UnlinkWindow(window);
    --window.windowClass->windowCount;
    detail::RemoveWindow(window.handle);
}

} // namespace

namespace winapi_user::detail {

void NotifyParentsOfChild(const Window& window, UINT event)
{
    NotifyParents(window, event);
}

} // namespace winapi_user::detail

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    const auto windowClass = detail::FindClass(lpClassName);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    std::shared_ptr<detail::Window> parent;
    if (hWndParent && !(parent = detail::FindWindowObject(hWndParent)))
        return nullptr;
    if ((dwStyle & WS_CHILD) && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    const bool child = (dwStyle & WS_CHILD) != 0;
    NormaliseStyles(dwStyle, dwExStyle);

    auto window = std::make_shared<detail::Window>();
    window->threadId = GetCurrentThreadId();
    window->windowClass = windowClass;
    window->style = dwStyle & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    window->exStyle = dwExStyle;
    window->proc = windowClass->proc;
    window->instance = hInstance;
    window->extra.assign(static_cast<std::size_t>(windowClass->windowExtraBytes), 0);
    window->parent = child ? hWndParent : detail::Desktop().handle;
    if (!child && parent && parent.get() != &detail::Desktop())
        window->owner = GetAncestor(hWndParent, GA_ROOT);
    if (child)
        window->id = reinterpret_cast<LONG_PTR>(hMenu);
    else if (hMenu && IsMenu(hMenu))
        window->menu = hMenu; // the menu bar
    const HWND hwnd = detail::AddWindow(window);
    if (!hwnd) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    ++windowClass->windowCount;
    (void)detail::CurrentQueue();
    // Child windows follow their siblings in creation order (the dialog tab order); a new
    // top-level window comes to the top.
    detail::LinkWindow(*window, child ? HWND_BOTTOM : HWND_TOP);

    CREATESTRUCTA cs{lpParam, hInstance,     hMenu,         hWndParent,       nHeight, nWidth,
                     Y,       X,             static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    PlaceDefault(cs, !child && !(dwStyle & WS_POPUP));
    CBT_CREATEWNDA cbt{&cs, child ? HWND_BOTTOM : HWND_TOP};
    if (detail::CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
        Discard(*window);
        return nullptr;
    }
    if (WantsMinMaxInfo(dwStyle))
        ApplyMinMaxInfo(hwnd, cs);
    cs.cx = std::max(cs.cx, 0);
    cs.cy = std::max(cs.cy, 0);
    window->windowRect = RECT{cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    window->clientRect = window->windowRect;
    window->normalRect = window->windowRect;
    if (!child)
        window->surface = std::make_shared<Surface>(std::max(cs.cx, 1), std::max(cs.cy, 1));

    window->created = true;
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        detail::FinishDestruction(hwnd);
        return nullptr;
    }
    detail::RecalculateClient(*window);
    if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        (void)DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    detail::SendSizeAndMove(*window);
    NotifyParents(*window, WM_CREATE);
    if (!child)
        detail::AnnounceTopLevel(*window);
    if (!IsWindow(hwnd))
        return nullptr;
    if (dwStyle & WS_MINIMIZE)
        (void)ShowWindow(hwnd, SW_SHOWMINIMIZED);
    else if (dwStyle & WS_MAXIMIZE)
        (void)ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    else if (dwStyle & WS_VISIBLE)
        (void)ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}
