#pragma once

#include "platform/winapi/user/WinUser.h"

// The window procedure of a control class that keeps one T per window in the window's first extra
// bytes (register the class with cbWndExtra = sizeof(T*)): made on WM_NCCREATE with the window,
// deleted on WM_NCDESTROY; every message in between goes to T::Handle.
template <class T>
LRESULT ControlInstanceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* instance = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
    if (message == WM_NCCREATE) {
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

// Registers a control class once (safe from any thread) with that procedure.
template <class T>
void RegisterControlInstanceClass(const char* className, UINT style, HBRUSH background = nullptr)
{
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS | style;
    wc.lpfnWndProc = &ControlInstanceProc<T>;
    wc.cbWndExtra = sizeof(T*);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    (void)RegisterClassA(&wc);
}
