#include "platform/winapi/user/Window.h"
#include "platform/winapi/display/DisplayBackend.h"

#include <algorithm>
#include <mutex>

namespace winapi_user::detail {

namespace {

// Handles are an index plus a generation, so a handle of a destroyed window is recognised even
// when its slot has been reused.
constexpr unsigned INDEX_BITS = 16;
constexpr ULONG_PTR INDEX_MASK = (1u << INDEX_BITS) - 1;

struct Slot {
    unsigned generation = 1;
    std::shared_ptr<Window> window;
};

class WindowTable {
public:
    static WindowTable& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static WindowTable& table = *new WindowTable;
        return table;
    }

    HWND Add(std::shared_ptr<Window> window)
    {
        std::lock_guard lock(m_mutex);
        std::size_t index = 0;
        while (index < m_slots.size() && m_slots[index].window)
            ++index;
        if (index == m_slots.size()) {
            if (index > INDEX_MASK - 1)
                return nullptr;
            m_slots.emplace_back();
        }
        Slot& slot = m_slots[index];
        slot.window = std::move(window);
        const auto value = ((static_cast<ULONG_PTR>(slot.generation) & 0x7FFF) << INDEX_BITS) | (index + 1);
        const auto hwnd = reinterpret_cast<HWND>(value);
        slot.window->handle = hwnd;
        return hwnd;
    }

    std::shared_ptr<Window> Find(HWND hwnd)
    {
        const auto value = reinterpret_cast<ULONG_PTR>(hwnd);
        const auto index = static_cast<std::size_t>(value & INDEX_MASK);
        std::lock_guard lock(m_mutex);
        if (index == 0 || index > m_slots.size() || (value >> 31) != 0)
            return nullptr;
        const Slot& slot = m_slots[index - 1];
        if (!slot.window || slot.window->handle != hwnd)
            return nullptr;
        return slot.window;
    }

    void Remove(HWND hwnd)
    {
        const auto index = static_cast<std::size_t>(reinterpret_cast<ULONG_PTR>(hwnd) & INDEX_MASK);
        std::lock_guard lock(m_mutex);
        if (index == 0 || index > m_slots.size())
            return;
        Slot& slot = m_slots[index - 1];
        if (slot.window && slot.window->handle == hwnd) {
            slot.window.reset();
            ++slot.generation;
        }
    }

    std::vector<HWND> All()
    {
        std::lock_guard lock(m_mutex);
        std::vector<HWND> all;
        for (const Slot& slot : m_slots)
            if (slot.window)
                all.push_back(slot.window->handle);
        return all;
    }

private:
    std::mutex m_mutex;
    std::vector<Slot> m_slots;
};

std::shared_ptr<Window> MakeDesktop()
{
    auto desktop = std::make_shared<Window>();
    desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    desktop->windowClass = std::make_shared<WindowClass>();
    desktop->windowClass->name = "#32769";
    desktop->windowClass->proc = DefWindowProcA;
    desktop->proc = DefWindowProcA;
    desktop->created = true;
    (void)WindowTable::Instance().Add(desktop);
    return desktop;
}

} // namespace

std::shared_ptr<Window> FindWindowObject(HWND hwnd)
{
    auto window = WindowTable::Instance().Find(hwnd);
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
    return WindowTable::Instance().Add(std::move(window));
}

void RemoveWindow(HWND hwnd)
{
    WindowTable::Instance().Remove(hwnd);
}

std::vector<HWND> AllWindows()
{
    return WindowTable::Instance().All();
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
    return window->proc(hwnd, message, wParam, lParam);
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
