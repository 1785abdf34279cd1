#include "platform/winapi/user/Window.h"

#include <algorithm>
#include <optional>

namespace detail = winapi_user::detail;

namespace {

// One message on its way down a window's chain: the chain as it stood when the message came (a
// procedure added meanwhile joins at the next message) and the next of its procedures to run.
struct ChainWalk {
    HWND window = nullptr;
    std::vector<detail::Subclass> chain;
    WNDPROC below = nullptr;
    std::size_t next = 0;
};

// The walks under way on this thread, innermost last: a subclass procedure may send its own
// window another message before it passes the first one on.
thread_local std::vector<ChainWalk*> t_walks;

class WalkScope {
public:
    explicit WalkScope(ChainWalk& walk) { t_walks.push_back(&walk); }
    ~WalkScope() { t_walks.pop_back(); }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;
};

ChainWalk* InnermostWalk(HWND window)
{
    const auto found = std::find_if(t_walks.rbegin(), t_walks.rend(), [&](const ChainWalk* walk) {
        return walk->window == window;
    });
    return found == t_walks.rend() ? nullptr : *found;
}

auto FindSubclass(std::vector<detail::Subclass>& subclasses, SUBCLASSPROC proc, UINT_PTR id)
{
    return std::find_if(subclasses.begin(), subclasses.end(),
                        [&](const detail::Subclass& subclass) { return subclass.proc == proc && subclass.id == id; });
}

// The subclass as it stands now: gone when it was removed since the message came.
std::optional<detail::Subclass> InstalledSubclass(HWND hwnd, const detail::Subclass& subclass)
{
    const auto window = detail::FindWindowObject(hwnd);
    if (!window || !window->subclassing)
        return std::nullopt;
    auto& subclasses = window->subclassing->subclasses;
    const auto found = FindSubclass(subclasses, subclass.proc, subclass.id);
    return found == subclasses.end() ? std::nullopt : std::optional(*found);
}

// Outside any message of the window: straight to the procedure beneath its chain.
LRESULT CallBelowChain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC below = nullptr;
    if (const auto window = detail::FindWindowObject(hwnd); window && window->subclassing)
        below = window->subclassing->below;
    return CallWindowProcA(below, hwnd, message, wParam, lParam);
}

// The window's procedure while it has a chain.
LRESULT ChainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChainWalk walk;
    walk.window = hwnd;
    {
        const auto window = detail::FindWindowObject(hwnd);
        if (!window || !window->subclassing)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        walk.chain = window->subclassing->subclasses;
        walk.below = window->subclassing->below;
    }
    const WalkScope scope(walk);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A procedure that passed the message on may pass it on again: the walk's place comes back.
class PlaceKeeper {
public:
    explicit PlaceKeeper(ChainWalk& walk) : m_walk(walk), m_place(walk.next) {}
    ~PlaceKeeper() { m_walk.next = m_place; }
    PlaceKeeper(const PlaceKeeper&) = delete;
    PlaceKeeper& operator=(const PlaceKeeper&) = delete;

private:
    ChainWalk& m_walk;
    std::size_t m_place;
};

} // namespace

BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR dwRefData)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window)
        return FALSE;
    if (!pfnSubclass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!window->subclassing) {
        window->subclassing = detail::SubclassChain{window->proc, {}};
        window->proc = &ChainProc;
    }
    auto& subclasses = window->subclassing->subclasses;
    if (const auto found = FindSubclass(subclasses, pfnSubclass, uIdSubclass); found != subclasses.end())
        found->refData = dwRefData;
    else
        subclasses.insert(subclasses.begin(), detail::Subclass{pfnSubclass, uIdSubclass, dwRefData});
    return TRUE;
}

BOOL GetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR* pdwRefData)
{
    const auto subclass = InstalledSubclass(hWnd, detail::Subclass{pfnSubclass, uIdSubclass, 0});
    if (pdwRefData)
        *pdwRefData = subclass ? subclass->refData : 0;
    return subclass ? TRUE : FALSE;
}

BOOL RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass)
{
    const auto window = detail::FindOwnWindow(hWnd);
    if (!window || !window->subclassing)
        return FALSE;
    auto& subclasses = window->subclassing->subclasses;
    const auto found = FindSubclass(subclasses, pfnSubclass, uIdSubclass);
    if (found == subclasses.end())
        return FALSE;
    subclasses.erase(found);
    if (subclasses.empty() && window->proc == &ChainProc) {
        window->proc = window->subclassing->below;
        window->subclassing.reset();
    }
    return TRUE;
}

LRESULT DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ChainWalk* walk = InnermostWalk(hWnd);
    if (!walk)
        return CallBelowChain(hWnd, uMsg, wParam, lParam);
    const PlaceKeeper keeper(*walk);
    while (walk->next < walk->chain.size()) {
        const detail::Subclass next = walk->chain[walk->next++];
        if (const auto installed = InstalledSubclass(hWnd, next))
            return installed->proc(hWnd, uMsg, wParam, lParam, installed->id, installed->refData);
    }
    return CallWindowProcA(walk->below, hWnd, uMsg, wParam, lParam);
}
