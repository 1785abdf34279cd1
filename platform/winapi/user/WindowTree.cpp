#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/WindowClasses.h"
#include "platform/winapi/user/WindowInternals.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace detail = winapi_user::detail;

namespace {

std::vector<HWND> SiblingsOf(const detail::Window& window)
{
    const auto parent = detail::FindWindowObject(window.parent);
    return parent ? parent->children : std::vector<HWND>{};
}

bool EqualNoCase(const std::string& a, LPCSTR b)
{
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Matches(const detail::Window& window, const std::shared_ptr<detail::WindowClass>& windowClass, LPCSTR title)
{
    return (!windowClass || window.windowClass == windowClass) && (!title || EqualNoCase(window.text, title));
}

// Enumerates a snapshot, so that windows created or destroyed by the callback do no harm.
BOOL EnumList(const std::vector<HWND>& windows, WNDENUMPROC proc, LPARAM lParam, bool descend)
{
    for (HWND hwnd : windows) {
        const auto window = detail::FindWindowObject(hwnd);
        if (!window)
            continue;
        if (!proc(hwnd, lParam))
            return FALSE;
        if (descend && !EnumList(window->children, proc, lParam, true))
            return FALSE;
    }
    return TRUE;
}

} // namespace

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return nullptr;
    switch (uCmd) {
    case GW_CHILD:
        return window->children.empty() ? nullptr : window->children.front();
    case GW_OWNER:
        return window->owner;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        const auto siblings = SiblingsOf(*window);
        const auto self = std::find(siblings.begin(), siblings.end(), hWnd);
        if (siblings.empty() || self == siblings.end())
            return nullptr;
        if (uCmd == GW_HWNDFIRST)
            return siblings.front();
        if (uCmd == GW_HWNDLAST)
            return siblings.back();
        if (uCmd == GW_HWNDNEXT)
            return self + 1 == siblings.end() ? nullptr : *(self + 1);
        return self == siblings.begin() ? nullptr : *(self - 1);
    }
    case GW_ENABLEDPOPUP:
        for (HWND top : detail::Desktop().children)
            if (const auto other = detail::FindWindowObject(top);
                other && other->owner == hWnd && (other->style & WS_VISIBLE) && !(other->style & WS_DISABLED))
                return top;
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hWnd)
{
    return GetWindow(hWnd ? hWnd : GetDesktopWindow(), GW_CHILD);
}

HWND GetNextWindow(HWND hWnd, UINT wCmd)
{
    return GetWindow(hWnd, wCmd);
}

HWND GetParent(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return nullptr;
    if (window->style & WS_CHILD)
        return window->parent;
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT gaFlags)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || window.get() == &detail::Desktop())
        return nullptr;
    switch (gaFlags) {
    case GA_PARENT:
        return window->parent;
    case GA_ROOT: {
        auto current = window;
        while (current && !detail::IsTopLevel(*current))
            current = detail::FindWindowObject(current->parent);
        return current ? current->handle : nullptr;
    }
    case GA_ROOTOWNER: {
        HWND root = GetAncestor(hwnd, GA_ROOT);
        for (HWND owner = GetWindow(root, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
            root = owner;
        return root;
    }
    default:
        return nullptr;
    }
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    auto window = detail::FindWindowObject(hWnd);
    while (window && (window->style & WS_CHILD)) {
        if (window->parent == hWndParent)
            return TRUE;
        window = detail::FindWindowObject(window->parent);
    }
    return FALSE;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    const auto window = detail::FindOwnWindow(hWndChild);
    const HWND newParent = hWndNewParent ? hWndNewParent : GetDesktopWindow();
    const auto parent = detail::FindWindowObject(newParent);
    if (!window || !parent || window.get() == &detail::Desktop())
        return nullptr;
    if (newParent == hWndChild || IsChild(hWndChild, newParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND previous = window->parent;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    if (wasVisible)
        (void)ShowWindow(hWndChild, SW_HIDE);
    const RECT screen = detail::ScreenWindowRect(*window);
    detail::UnlinkWindow(*window);
    window->parent = newParent;
    if (window->announced && newParent != GetDesktopWindow())
        detail::WithdrawTopLevel(*window);
    detail::LinkWindow(*window, HWND_TOP);
    // The window keeps its place relative to the new parent's client origin, as in Win32.
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const RECT oldWindow = window->windowRect;
    window->windowRect = RECT{oldWindow.left, oldWindow.top, oldWindow.left + width, oldWindow.top + height};
    detail::RecalculateClient(*window);
    if (newParent == GetDesktopWindow() && !window->announced) {
        if (!window->surface)
            window->surface = std::make_shared<Surface>(std::max(width, 1), std::max(height, 1));
        detail::AnnounceTopLevel(*window);
    }
    (void)SetWindowPos(hWndChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (wasVisible)
        (void)ShowWindow(hWndChild, SW_SHOWNA);
    return previous;
}

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    const auto parent = detail::FindWindowObject(hWndParent ? hWndParent : GetDesktopWindow());
    if (!parent || !lpEnumFunc)
        return FALSE;
    return EnumList(parent->children, lpEnumFunc, lParam, true);
}

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (!lpEnumFunc)
        return FALSE;
    return EnumList(detail::Desktop().children, lpEnumFunc, lParam, false);
}

BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam)
{
    if (!lpfn)
        return FALSE;
    std::vector<HWND> windows;
    for (HWND top : detail::Desktop().children)
        if (const auto window = detail::FindWindowObject(top); window && window->threadId == dwThreadId)
            windows.push_back(top);
    return EnumList(windows, lpfn, lParam, false);
}

HWND FindWindowExA(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow)
{
    std::shared_ptr<detail::WindowClass> windowClass;
    if (lpszClass && !(windowClass = detail::FindClass(lpszClass)))
        return nullptr;
    const auto parent = detail::FindWindowObject(hWndParent ? hWndParent : GetDesktopWindow());
    if (!parent)
        return nullptr;
    const auto& children = parent->children;
    auto start = children.begin();
    if (hWndChildAfter) {
        start = std::find(children.begin(), children.end(), hWndChildAfter);
        if (start == children.end())
            return nullptr;
        ++start;
    }
    for (auto current = start; current != children.end(); ++current)
        if (const auto window = detail::FindWindowObject(*current); window && Matches(*window, windowClass, lpszWindow))
            return *current;
    return nullptr;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    return FindWindowExA(nullptr, nullptr, lpClassName, lpWindowName);
}
