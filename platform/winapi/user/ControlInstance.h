#pragma once

#include "platform/winapi/user/WinUser.h"

#include <type_traits>

// Registers a built-in (CS_GLOBALCLASS) control class unless it is there already, so it is safe to
// call before every window is made and from any thread; false only if the class could not be made.
bool RegisterControlClass(const char* className, WNDPROC procedure, UINT style, int extraBytes,
                          LPCSTR cursor = IDC_ARROW);

// Sends WM_COMMAND with the notification code in the high word and the control's id in the low.
void CommandParent(HWND control, WORD notification);

// The window procedure of a control class that keeps one T per window in the window's first extra
// bytes (register the class with cbWndExtra = sizeof(T*)): made on WM_NCCREATE with the window,
// deleted on WM_NCDESTROY; every message in between goes to T::Handle. T is made from the window
// alone, or from the window and its CREATESTRUCTA when it needs what the creator passed.
template <class T>
LRESULT ControlInstanceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* instance = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
    if (message == WM_NCCREATE) {
        if constexpr (std::is_constructible_v<T, HWND, const CREATESTRUCTA&>)
            instance = new T(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
        else
            instance = new T(hwnd);
        (void)SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(instance));
    }
    if (instance == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        (void)SetWindowLongPtrA(hwnd, 0, 0);
        delete instance;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return instance->Handle(message, wParam, lParam);
}

// Whether `instance` still serves `hwnd`. Whoever hears a control's notification may destroy the
// control, and with the window its instance: after such a call the control must touch nothing of
// its own, so it remembers its handle first and asks this.
inline bool StillServes(HWND hwnd, const void* instance)
{
    return IsWindow(hwnd) && GetWindowLongPtrA(hwnd, 0) == reinterpret_cast<LONG_PTR>(instance);
}

// Registers T's control class with that procedure; see RegisterControlClass.
template <class T>
bool RegisterControlInstanceClass(const char* className, UINT style)
{
    return RegisterControlClass(className, &ControlInstanceProc<T>, style, sizeof(T*));
}
