#include "platform/winapi/user/WindowClasses.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <vector>

namespace detail = winapi_user::detail;

namespace {

constexpr int MAX_EXTRA_BYTES = 40000;

std::mutex g_classMutex;
std::vector<std::shared_ptr<detail::WindowClass>> g_classes;

bool SameName(const std::string& a, LPCSTR b)
{
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::shared_ptr<detail::WindowClass> FindLocked(LPCSTR name)
{
    for (const auto& windowClass : g_classes) {
        if (IS_INTRESOURCE(name) ? windowClass->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))
                                 : SameName(windowClass->name, name))
            return windowClass;
    }
    return nullptr;
}

ATOM Register(const WNDCLASSEXA& wc)
{
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !*wc.lpszClassName || !wc.lpfnWndProc ||
        wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > MAX_EXTRA_BYTES ||
        wc.cbWndExtra > MAX_EXTRA_BYTES) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard lock(g_classMutex);
    if (FindLocked(wc.lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto windowClass = std::make_shared<detail::WindowClass>();
    windowClass->name = wc.lpszClassName;
    windowClass->atom = GlobalAddAtomA(wc.lpszClassName);
    windowClass->style = wc.style;
    windowClass->proc = wc.lpfnWndProc;
    windowClass->instance = wc.hInstance;
    windowClass->icon = wc.hIcon;
    windowClass->smallIcon = wc.hIconSm;
    windowClass->cursor = wc.hCursor;
    windowClass->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName))
        windowClass->menuName = wc.lpszMenuName;
    windowClass->windowExtraBytes = wc.cbWndExtra;
    windowClass->extra.assign(static_cast<std::size_t>(wc.cbClsExtra), 0);
    g_classes.push_back(windowClass);
    return windowClass->atom;
}

bool ExtraIndexValid(const std::vector<BYTE>& extra, int index, std::size_t width)
{
    return index >= 0 && static_cast<std::size_t>(index) + width <= extra.size();
}

} // namespace

namespace winapi_user::detail {

std::shared_ptr<WindowClass> FindClass(LPCSTR name)
{
    if (!name) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    std::lock_guard lock(g_classMutex);
    auto windowClass = FindLocked(name);
    if (!windowClass)
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return windowClass;
}

} // namespace winapi_user::detail

ATOM RegisterClassA(const WNDCLASSA* lpWndClass)
{
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WNDCLASSA& wc = *lpWndClass;
    return Register(WNDCLASSEXA{sizeof(WNDCLASSEXA), wc.style, wc.lpfnWndProc, wc.cbClsExtra, wc.cbWndExtra,
                                wc.hInstance, wc.hIcon, wc.hCursor, wc.hbrBackground, wc.lpszMenuName,
                                wc.lpszClassName, nullptr});
}

ATOM RegisterClassExA(const WNDCLASSEXA* lpWndClass)
{
    if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*lpWndClass);
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    std::lock_guard lock(g_classMutex);
    const auto windowClass = lpClassName ? FindLocked(lpClassName) : nullptr;
    if (!windowClass) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (windowClass->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(g_classes, windowClass);
    (void)GlobalDeleteAtom(windowClass->atom);
    return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR lpszClass, WNDCLASSEXA* lpwcx)
{
    const auto windowClass = detail::FindClass(lpszClass);
    if (!windowClass || !lpwcx)
        return FALSE;
    *lpwcx = WNDCLASSEXA{sizeof(WNDCLASSEXA),
                         windowClass->style,
                         windowClass->proc,
                         static_cast<int>(windowClass->extra.size()),
                         windowClass->windowExtraBytes,
                         windowClass->instance,
                         windowClass->icon,
                         windowClass->cursor,
                         windowClass->background,
                         windowClass->menuName.empty() ? nullptr : windowClass->menuName.c_str(),
                         windowClass->name.c_str(),
                         windowClass->smallIcon};
    return windowClass->atom;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, WNDCLASSA* lpWndClass)
{
    WNDCLASSEXA wc{};
    const BOOL atom = GetClassInfoExA(hInstance, lpClassName, &wc);
    if (!atom || !lpWndClass)
        return FALSE;
    *lpWndClass = WNDCLASSA{wc.style,  wc.lpfnWndProc, wc.cbClsExtra,    wc.cbWndExtra,    wc.hInstance,
                            wc.hIcon, wc.hCursor,     wc.hbrBackground, wc.lpszMenuName, wc.lpszClassName};
    return atom;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpClassName || nMaxCount <= 0)
        return 0;
    const std::string& name = window->windowClass->name;
    const std::size_t count = std::min(name.size(), static_cast<std::size_t>(nMaxCount - 1));
    std::memcpy(lpClassName, name.data(), count);
    lpClassName[count] = '\0';
    return static_cast<int>(count);
}

ULONG_PTR GetClassLongPtrA(HWND hWnd, int nIndex)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    const detail::WindowClass& wc = *window->windowClass;
    switch (nIndex) {
    case GCLP_MENUNAME:
        return reinterpret_cast<ULONG_PTR>(wc.menuName.empty() ? nullptr : wc.menuName.c_str());
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(wc.background);
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(wc.cursor);
    case GCLP_HICON:
        return reinterpret_cast<ULONG_PTR>(wc.icon);
    case GCLP_HICONSM:
        return reinterpret_cast<ULONG_PTR>(wc.smallIcon);
    case GCLP_HMODULE:
        return reinterpret_cast<ULONG_PTR>(wc.instance);
    case GCL_CBWNDEXTRA:
        return static_cast<ULONG_PTR>(wc.windowExtraBytes);
    case GCL_CBCLSEXTRA:
        return wc.extra.size();
    case GCLP_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(wc.proc);
    case GCL_STYLE:
        return wc.style;
    case GCW_ATOM:
        return wc.atom;
    default:
        break;
    }
    if (!ExtraIndexValid(wc.extra, nIndex, sizeof(ULONG_PTR))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    ULONG_PTR value = 0;
    std::memcpy(&value, wc.extra.data() + nIndex, sizeof value);
    return value;
}

ULONG_PTR SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return 0;
    const ULONG_PTR previous = GetClassLongPtrA(hWnd, nIndex);
    detail::WindowClass& wc = *window->windowClass;
    switch (nIndex) {
    case GCLP_HBRBACKGROUND:
        wc.background = reinterpret_cast<HBRUSH>(dwNewLong);
        return previous;
    case GCLP_HCURSOR:
        wc.cursor = reinterpret_cast<HCURSOR>(dwNewLong);
        return previous;
    case GCLP_HICON:
        wc.icon = reinterpret_cast<HICON>(dwNewLong);
        return previous;
    case GCLP_HICONSM:
        wc.smallIcon = reinterpret_cast<HICON>(dwNewLong);
        return previous;
    case GCLP_WNDPROC:
        // Only windows created afterwards use the new procedure, as in Win32.
        wc.proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return previous;
    case GCL_STYLE:
        wc.style = static_cast<UINT>(dwNewLong);
        return previous;
    default:
        break;
    }
    if (!ExtraIndexValid(wc.extra, nIndex, sizeof(LONG_PTR))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    std::memcpy(wc.extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
    return previous;
}
