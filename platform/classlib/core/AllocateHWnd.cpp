#include "platform/classlib/core/AllocateHWnd.h"

#include <memory>

namespace {

constexpr const char* UtilWindowClass = "TPUtilWindow";

// The method lives in the window's user data from just after creation until DeallocateHWnd;
// messages outside that span (creation, destruction) get the default answer.
TWndMethod* MethodOf(HWND wnd)
{
    return reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

LRESULT UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWndMethod* method = MethodOf(wnd);
    if (!method)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    (*method)(message);
    return message.Result;
}

bool RegisterUtilWindowClass()
{
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &UtilWindowProc;
        windowClass.lpszClassName = UtilWindowClass;
        return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

} // namespace

HWND AllocateHWnd(TWndMethod method)
{
    if (!RegisterUtilWindowClass())
        return nullptr;
    const HWND wnd = CreateWindowExA(0, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!wnd)
        return nullptr;
    auto owned = std::make_unique<TWndMethod>(std::move(method));
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
    return wnd;
}

void DeallocateHWnd(HWND wnd)
{
    std::unique_ptr<TWndMethod> method(MethodOf(wnd));
    if (method)
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    DestroyWindow(wnd);
}
