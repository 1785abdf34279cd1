#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiObjects.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/gdi/SurfaceDC.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Painting.h"

#include <map>
#include <mutex>

namespace detail = winapi_user::detail;

// Device contexts on window surfaces. A DC sees the part of its window that is visible: inside
// every ancestor's client area, outside higher siblings (WS_CLIPSIBLINGS) and children
// (WS_CLIPCHILDREN), and inside window regions. What a DC could have drawn is marked for
// presenting when it is released.

namespace {

struct OpenDC {
    HWND hwnd = nullptr;
    HWND top = nullptr;
    Region surfaceArea;
};

std::mutex g_dcMutex;
// Never destroyed, like the surface below: windows freed at program exit (the class library's
// Application and its forms) still paint and open DCs after static destructors have begun.
std::map<HDC, OpenDC>& g_openDCs = *new std::map<HDC, OpenDC>;

std::shared_ptr<Surface> DesktopSurface()
{
    static const auto& surface = *new std::shared_ptr<Surface>([] {
        const RECT screen = Display().ScreenRect();
        return std::make_shared<Surface>(std::max<int>(screen.right - screen.left, 1),
                                         std::max<int>(screen.bottom - screen.top, 1));
    }());
    return surface;
}

Region ChildShapes(const detail::Window& window)
{
    Region shapes;
    for (HWND child : window.children)
        if (const auto other = detail::FindWindowObject(child); other && (other->style & WS_VISIBLE))
            shapes = detail::Unite(shapes, detail::ScreenShape(*other));
    return shapes;
}

// The shapes of the visible siblings above the window.
Region HigherSiblingShapes(const detail::Window& window)
{
    Region shapes;
    const auto parent = detail::FindWindowObject(window.parent);
    if (!parent)
        return shapes;
    for (HWND sibling : parent->children) {
        if (sibling == window.handle)
            break;
        if (const auto other = detail::FindWindowObject(sibling); other && (other->style & WS_VISIBLE))
            shapes = detail::Unite(shapes, detail::ScreenShape(*other));
    }
    return shapes;
}

bool ClipsChildren(const detail::Window& window, DWORD flags)
{
    return (flags & DCX_CLIPCHILDREN) || ((flags & DCX_USESTYLE) && (window.style & WS_CLIPCHILDREN));
}

bool ClipsSiblings(const detail::Window& window, DWORD flags)
{
    return (flags & DCX_CLIPSIBLINGS) || (window.style & WS_CLIPSIBLINGS);
}

// Screen coordinates.
Region VisibleRegion(const detail::Window& window, DWORD flags)
{
    if (!detail::IsVisibleChain(window))
        return Region{};
    const bool whole = (flags & DCX_WINDOW) != 0;
    Region visible = detail::Intersect(Region(whole ? detail::ScreenWindowRect(window) : detail::ScreenClientRect(window)),
                                       detail::ScreenShape(window));
    if (ClipsChildren(window, flags))
        visible = detail::Subtract(visible, ChildShapes(window));
    if (!detail::IsTopLevel(window) && ClipsSiblings(window, flags) && !(flags & DCX_PARENTCLIP))
        visible = detail::Subtract(visible, HigherSiblingShapes(window));
    for (auto child = detail::FindWindowObject(window.handle); child && !detail::IsTopLevel(*child);) {
        const auto parent = detail::FindWindowObject(child->parent);
        if (!parent)
            break;
        visible = detail::Intersect(visible, detail::Intersect(Region(detail::ScreenClientRect(*parent)),
                                                               detail::ScreenShape(*parent)));
        if (!detail::IsTopLevel(*parent) && (parent->style & WS_CLIPSIBLINGS))
            visible = detail::Subtract(visible, HigherSiblingShapes(*parent));
        child = parent;
    }
    return visible;
}

HDC Register(HDC dc, HWND hwnd, HWND top, Region surfaceArea)
{
    if (dc) {
        std::lock_guard lock(g_dcMutex);
        g_openDCs[dc] = OpenDC{hwnd, top, std::move(surfaceArea)};
    }
    return dc;
}

} // namespace

namespace winapi_user::detail {

HDC OpenWindowDC(HWND hwnd, DWORD flags, const std::optional<Region>& intersect, const std::optional<Region>& exclude)
{
    if (!hwnd || hwnd == GetDesktopWindow())
        return Register(CreateSurfaceDC(DesktopSurface(), POINT{0, 0}, nullptr), hwnd, nullptr, Region{});
    const auto window = FindWindowObject(hwnd);
    const auto top = window ? TopLevelOf(*window) : nullptr;
    if (!window || !top || !top->surface)
        return nullptr;
    const RECT topRect = ScreenWindowRect(*top);
    const RECT area = (flags & DCX_WINDOW) ? ScreenWindowRect(*window) : ScreenClientRect(*window);
    Region visible = VisibleRegion(*window, flags);
    if (intersect)
        visible = Intersect(visible, *intersect);
    if (exclude)
        visible = Subtract(visible, *exclude);
    visible = Offset(std::move(visible), -topRect.left, -topRect.top);
    const GdiObject clip(NewRegionHandle(visible));
    const HDC dc = CreateSurfaceDC(top->surface, POINT{area.left - topRect.left, area.top - topRect.top}, clip.Get());
    return Register(dc, hwnd, top->handle, std::move(visible));
}

Region VisibleClientRegion(const Window& window)
{
    const RECT client = ScreenClientRect(window);
    return Offset(VisibleRegion(window, DCX_USESTYLE), -client.left, -client.top);
}

void MarkDirty(Window& top, const Region& surfaceArea)
{
    if (!surfaceArea.IsEmpty())
        top.dirty = Unite(top.dirty, surfaceArea);
}

void PresentDirtySurfaces()
{
    std::vector<std::pair<HWND, Region>> held;
    {
        std::lock_guard lock(g_dcMutex);
        for (const auto& [dc, open] : g_openDCs)
            if (open.top)
                held.emplace_back(open.top, open.surfaceArea);
    }
    // A DC kept for long (CS_OWNDC style) shows what it draws at each turn.
    for (const auto& [top, area] : held)
        if (const auto window = FindWindowObject(top); window && window->threadId == GetCurrentThreadId())
            MarkDirty(*window, area);
    for (HWND hwnd : Desktop().children) {
        const auto window = FindWindowObject(hwnd);
        if (!window || window->threadId != GetCurrentThreadId() || window->dirty.IsEmpty() || !window->surface)
            continue;
        const RECT bounds{0, 0, window->surface->Width(), window->surface->Height()};
        const Region dirty = Intersect(window->dirty, Region(bounds));
        window->dirty = Region{};
        if (window->announced && !dirty.IsEmpty())
            Display().Present(WindowIdOf(hwnd), *window->surface, dirty.Rects());
    }
}

} // namespace winapi_user::detail

HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags)
{
    if (hWnd && !detail::FindWindowObject(hWnd))
        return nullptr;
    std::optional<Region> intersect, exclude;
    if (hrgnClip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        auto region = detail::RegionOfHandle(hrgnClip);
        // WM_NCPAINT's wParam 1 means "everything": no region to apply.
        if (region)
            ((flags & DCX_INTERSECTRGN) ? intersect : exclude) = std::move(region);
    }
    return detail::OpenWindowDC(hWnd, flags, intersect, exclude);
}

HDC GetDC(HWND hWnd)
{
    return GetDCEx(hWnd, nullptr, DCX_USESTYLE);
}

HDC GetWindowDC(HWND hWnd)
{
    return GetDCEx(hWnd, nullptr, DCX_WINDOW | DCX_USESTYLE);
}

int ReleaseDC(HWND /*hWnd*/, HDC hDC)
{
    OpenDC open;
    {
        std::lock_guard lock(g_dcMutex);
        const auto found = g_openDCs.find(hDC);
        if (found == g_openDCs.end())
            return 0;
        open = std::move(found->second);
        g_openDCs.erase(found);
    }
    (void)DeleteSurfaceDC(hDC);
    if (const auto top = detail::FindWindowObject(open.top))
        detail::MarkDirty(*top, open.surfaceArea);
    return 1;
}

HWND WindowFromDC(HDC hDC)
{
    std::lock_guard lock(g_dcMutex);
    const auto found = g_openDCs.find(hDC);
    return found == g_openDCs.end() ? nullptr : found->second.hwnd;
}
