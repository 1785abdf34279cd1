#include "platform/winapi/user/Window.h"
#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/kernel/HandleTable.h"
#include "platform/winapi/user/ProcedureBarrier.h"

#include <algorithm>

namespace winapi_user::detail {

namespace {

// Window handles fit in 31 bits (16 of index, 15 of generation), as some callers keep them in an
// int; a handle of a destroyed window is recognised even when its slot has been reused.
using WindowHandles = winapi_kernel::HandleTable<Window, HWND>;

WindowHandles& Windows()
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static WindowHandles& table =
        *new WindowHandles(winapi_kernel::HandleLayout{.indexShift = 0, .indexBits = 16, .generationBits = 15});
    return table;
}

HWND AddToTable(std::shared_ptr<Window> window)
{
    Window& added = *window;
    // Set once Add has let go of the table's lock, which is safe: no other thread can know the
    // handle before Add returns it.
    added.handle = Windows().Add(std::move(window));
    return added.handle;
}

std::shared_ptr<Window> MakeDesktop()
{
    auto desktop = std::make_shared<Window>();
    desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    desktop->windowClass = std::make_shared<WindowClass>();
    desktop->windowClass->name = "#32769";
    desktop->windowClass->proc = DefWindowProcA;
    desktop->proc = DefWindowProcA;
    desktop->created = true;
    (void)AddToTable(desktop);
    return desktop;
}

} // namespace

std::shared_ptr<Window> FindWindowObject(HWND hwnd)
{
    auto window = Windows().Find(hwnd);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

std::shared_ptr<Window> FindOwnWindow(HWND hwnd)
{
    auto window = FindWindowObject(hwnd);
    if (window && window->threadId != GetCurrentThreadId() && window.get() != &Desktop()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return window;
}

HWND AddWindow(std::shared_ptr<Window> window)
{
    (void)Desktop();
    return AddToTable(std::move(window));
}

void RemoveWindow(HWND hwnd)
{
    (void)Windows().Remove(hwnd);
}

std::vector<HWND> AllWindows()
{
    return Windows().Handles();
}

Window& Desktop()
{
    static const std::shared_ptr<Window> desktop = MakeDesktop();
    return *desktop;
}

bool IsTopLevel(const Window& window)
{
    return window.parent == Desktop().handle;
}

LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto window = FindWindowObject(hwnd);
    if (!window || !window->proc)
        return 0;
    const WNDPROC proc = window->proc;
    return CallShielded(hwnd, [&] { return proc(hwnd, message, wParam, lParam); });
}

POINT ClientOrigin(const Window& window)
{
    POINT origin{window.clientRect.left, window.clientRect.top};
    for (auto parent = FindWindowObject(window.parent); parent && parent->parent;
         parent = FindWindowObject(parent->parent)) {
        origin.x += parent->clientRect.left;
        origin.y += parent->clientRect.top;
    }
    return origin;
}

namespace {

POINT ParentClientOrigin(const Window& window)
{
    const auto parent = FindWindowObject(window.parent);
    if (!parent || !parent->parent)
        return POINT{0, 0};
    return ClientOrigin(*parent);
}

RECT Offset(RECT rect, POINT by)
{
    return RECT{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

} // namespace

RECT ScreenWindowRect(const Window& window)
{
    if (&window == &Desktop())
        return Display().ScreenRect();
    return Offset(window.windowRect, ParentClientOrigin(window));
}

RECT ScreenClientRect(const Window& window)
{
    if (&window == &Desktop())
        return Display().ScreenRect();
    return Offset(window.clientRect, ParentClientOrigin(window));
}

void UnlinkWindow(Window& window)
{
    if (const auto parent = FindWindowObject(window.parent))
        std::erase(parent->children, window.handle);
}

void LinkWindow(Window& window, HWND insertAfter)
{
    const auto parent = FindWindowObject(window.parent);
    if (!parent)
        return;
    auto& siblings = parent->children;
    std::erase(siblings, window.handle);
    if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(window.handle);
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        // Topmost windows stay above the others: a plain window goes to the top of the plain ones.
        auto position = siblings.begin();
        if (!(window.exStyle & WS_EX_TOPMOST))
            position = std::find_if(siblings.begin(), siblings.end(), [](HWND sibling) {
                const auto other = FindWindowObject(sibling);
                return !other || !(other->exStyle & WS_EX_TOPMOST);
            });
        siblings.insert(position, window.handle);
        return;
    }
    const auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, window.handle);
}

bool IsVisibleChain(const Window& window)
{
    for (const Window* current = &window; current && current != &Desktop();) {
        if (!(current->style & WS_VISIBLE))
            return false;
        const auto parent = FindWindowObject(current->parent);
        current = parent.get();
    }
    return true;
}

} // namespace winapi_user::detail
