#include "platform/winapi/user/WindowInternals.h"

#include <algorithm>
#include <cstring>

namespace detail = winapi_user::detail;

namespace {

bool ExtraIndexValid(const detail::Window& window, int index, std::size_t width)
{
    if (index >= 0 && static_cast<std::size_t>(index) + width <= window.extra.size())
        return true;
    SetLastError(ERROR_INVALID_INDEX);
    return false;
}

template <class T>
T ReadExtra(const detail::Window& window, int index)
{
    T value{};
    if (ExtraIndexValid(window, index, sizeof(T)))
        std::memcpy(&value, window.extra.data() + index, sizeof(T));
    return value;
}

template <class T>
T WriteExtra(detail::Window& window, int index, T value)
{
    if (!ExtraIndexValid(window, index, sizeof(T)))
        return 0;
    T previous{};
    std::memcpy(&previous, window.extra.data() + index, sizeof(T));
    std::memcpy(window.extra.data() + index, &value, sizeof(T));
    return previous;
}

// Style changes are announced with WM_STYLECHANGING (which may adjust them) and
// WM_STYLECHANGED; the frame follows only at SetWindowPos(SWP_FRAMECHANGED), as in Win32.
LONG_PTR ChangeStyle(detail::Window& window, int index, LONG_PTR value)
{
    DWORD& field = index == GWL_STYLE ? window.style : window.exStyle;
    const DWORD previous = field;
    STYLESTRUCT change{previous, static_cast<DWORD>(value)};
    (void)SendMessageA(window.handle, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    if (!IsWindow(window.handle))
        return 0;
    field = change.styleNew;
    (void)SendMessageA(window.handle, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG_PTR>(previous);
}

ATOM PropAtom(LPCSTR name, bool add)
{
    if (IS_INTRESOURCE(name))
        return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return add ? GlobalAddAtomA(name) : GlobalFindAtomA(name);
}

} // namespace

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    switch (nIndex) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>((window->style & WS_CHILD) ? window->parent : window->owner);
    case GWLP_ID:
        return window->id;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA:
        return window->userData;
    default:
        return ReadExtra<LONG_PTR>(*window, nIndex);
    }
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return 0;
    const LONG_PTR previous = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
    case GWLP_WNDPROC:
        if (!dwNewLong) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        window->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return previous;
    case GWLP_HINSTANCE:
        window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return previous;
    case GWLP_HWNDPARENT:
        if (window->style & WS_CHILD)
            return reinterpret_cast<LONG_PTR>(SetParent(hWnd, reinterpret_cast<HWND>(dwNewLong)));
        window->owner = dwNewLong ? GetAncestor(reinterpret_cast<HWND>(dwNewLong), GA_ROOT) : nullptr;
        return previous;
    case GWLP_ID:
        window->id = dwNewLong;
        return previous;
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return ChangeStyle(*window, nIndex, dwNewLong);
    case GWLP_USERDATA:
        window->userData = dwNewLong;
        return previous;
    default:
        return WriteExtra<LONG_PTR>(*window, nIndex, dwNewLong);
    }
}

LONG GetWindowLongA(HWND hWnd, int nIndex)
{
    if (nIndex < 0)
        return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
    const auto window = detail::FindWindowObject(hWnd);
    return window ? ReadExtra<LONG>(*window, nIndex) : 0;
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    if (nIndex < 0)
        return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
    const auto window = detail::FindOwnWindow(hWnd);
    return window ? WriteExtra<LONG>(*window, nIndex, dwNewLong) : 0;
}

WORD GetWindowWord(HWND hWnd, int nIndex)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window ? ReadExtra<WORD>(*window, nIndex) : 0;
}

BOOL IsWindowUnicode(HWND hWnd)
{
    (void)detail::FindWindowObject(hWnd);
    return FALSE;
}

int GetDlgCtrlID(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    return window && (window->style & WS_CHILD) ? static_cast<int>(window->id) : 0;
}

LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    if (!detail::FindWindowObject(hWnd))
        return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpString || nMaxCount <= 0)
        return 0;
    if (window->threadId == GetCurrentThreadId())
        return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                             reinterpret_cast<LPARAM>(lpString)));
    // Another thread's window: its text is read without a message, so a busy or hung thread
    // cannot block the caller (as in Win32).
    const std::size_t count = std::min(window->text.size(), static_cast<std::size_t>(nMaxCount - 1));
    std::memcpy(lpString, window->text.data(), count);
    lpString[count] = '\0';
    return static_cast<int>(count);
}

int GetWindowTextLengthA(HWND hWnd)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window)
        return 0;
    if (window->threadId == GetCurrentThreadId())
        return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
    return static_cast<int>(window->text.size());
}

BOOL SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpString)
        return FALSE;
    const ATOM atom = PropAtom(lpString, !window->props.contains(PropAtom(lpString, false)));
    if (!atom)
        return FALSE;
    window->props[atom] = hData;
    return TRUE;
}

HANDLE GetPropA(HWND hWnd, LPCSTR lpString)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !lpString)
        return nullptr;
    const ATOM atom = PropAtom(lpString, false);
    const auto found = window->props.find(atom);
    return atom && found != window->props.end() ? found->second : nullptr;
}

HANDLE RemovePropA(HWND hWnd, LPCSTR lpString)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || !lpString)
        return nullptr;
    const ATOM atom = PropAtom(lpString, false);
    const auto found = window->props.find(atom);
    if (!atom || found == window->props.end())
        return nullptr;
    const HANDLE data = found->second;
    window->props.erase(found);
    return data;
}
