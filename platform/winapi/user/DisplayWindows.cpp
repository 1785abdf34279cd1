#include "platform/winapi/user/DisplayLink.h"

namespace winapi_user::detail {

namespace {

TopLevelKind KindOf(const Window& window)
{
    // Windows that must never take the focus from the window the user types in: pop-ups and
    // tool windows that are not activated (menus, drop-downs, hints).
    const bool popup = (window.style & WS_POPUP) && !(window.style & WS_CAPTION);
    return popup || (window.exStyle & WS_EX_NOACTIVATE) ? TopLevelKind::Popup : TopLevelKind::Normal;
}

} // namespace

WindowId WindowIdOf(HWND hwnd)
{
    return static_cast<WindowId>(reinterpret_cast<ULONG_PTR>(hwnd));
}

HWND WindowOfId(WindowId id)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(id));
}

void AnnounceTopLevel(Window& window)
{
    UseDisplayOnThisThread();
    TopLevelDesc desc;
    desc.screenRect = window.windowRect;
    desc.kind = KindOf(window);
    desc.title = window.text;
    desc.owner = WindowIdOf(window.owner);
    Display().CreateTopLevel(WindowIdOf(window.handle), desc);
    window.announced = true;
    if (window.shape)
        MirrorShape(window);
}

void MirrorPlacement(Window& window)
{
    Display().MoveTopLevel(WindowIdOf(window.handle), window.windowRect);
}

void MirrorVisibility(Window& window)
{
    Display().ShowTopLevel(WindowIdOf(window.handle), (window.style & WS_VISIBLE) != 0);
}

void MirrorTitle(Window& window)
{
    Display().SetTitle(WindowIdOf(window.handle), window.text);
}

void MirrorActivation(HWND hwnd)
{
    const auto window = FindWindowObject(hwnd);
    if (window && window->announced)
        Display().Activate(WindowIdOf(hwnd));
}

void WithdrawTopLevel(Window& window)
{
    Display().DestroyTopLevel(WindowIdOf(window.handle));
    window.announced = false;
}

} // namespace winapi_user::detail
