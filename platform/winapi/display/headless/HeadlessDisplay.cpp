#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/display/VirtualKeys.h"
#include "platform/winapi/kernel/Clock.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool Contains(const RECT& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool ShapeCovers(const std::optional<std::vector<RECT>>& shape, int x, int y)
{
    if (!shape)
        return true;
    return std::any_of(shape->begin(), shape->end(), [&](const RECT& r) { return Contains(r, x, y); });
}

// Copies `dirty` (clipped to both images) from the surface into the kept image.
void CopyDirty(HeadlessDisplay::WindowState& window, const Surface& surface,
               const std::vector<RECT>& dirty)
{
    for (RECT r : dirty) {
        r.left = std::max<LONG>(r.left, 0);
        r.top = std::max<LONG>(r.top, 0);
        r.right = std::min<LONG>(r.right, std::min(window.width, surface.Width()));
        r.bottom = std::min<LONG>(r.bottom, std::min(window.height, surface.Height()));
        if (r.left >= r.right)
            continue;
        for (LONG y = r.top; y < r.bottom; ++y)
            std::copy_n(surface.Row(y) + r.left, r.right - r.left,
                        window.pixels.data() + static_cast<std::size_t>(y) * window.width + r.left);
    }
}

// Keeps the common top-left part, as a screen does while a window changes size.
void ResizeImage(HeadlessDisplay::WindowState& window, int width, int height)
{
    if (width == window.width && height == window.height)
        return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < std::min(height, window.height); ++y)
        std::copy_n(window.pixels.data() + static_cast<std::size_t>(y) * window.width,
                    std::min(width, window.width), pixels.data() + static_cast<std::size_t>(y) * width);
    window.pixels = std::move(pixels);
    window.width = width;
    window.height = height;
}

std::uint32_t Now()
{
    return static_cast<std::uint32_t>(CurrentKernelClock().NowMs());
}

} // namespace

HeadlessDisplay::HeadlessDisplay() : m_eventFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (m_eventFd < 0)
        throw EDisplayError(std::string("Cannot create the headless display's event descriptor: ") +
                            std::strerror(errno));
}

HeadlessDisplay::~HeadlessDisplay()
{
    close(m_eventFd);
}

HeadlessDisplay::WindowState* HeadlessDisplay::Find(WindowId id)
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

const HeadlessDisplay::WindowState* HeadlessDisplay::Find(WindowId id) const
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

void HeadlessDisplay::CreateTopLevel(WindowId id, const TopLevelDesc& desc)
{
    std::lock_guard lock(m_mutex);
    if (id == 0 || Find(id))
        return;
    m_windows[id].desc = desc;
    m_stacking.push_back(id);
}

void HeadlessDisplay::DestroyTopLevel(WindowId id)
{
    std::lock_guard lock(m_mutex);
    if (!m_windows.erase(id))
        return;
    std::erase(m_stacking, id);
    if (m_active == id)
        m_active = 0;
    if (m_grab == id)
        m_grab = 0;
}

void HeadlessDisplay::MoveTopLevel(WindowId id, const RECT& screenRect)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* window = Find(id))
        window->desc.screenRect = screenRect;
}

void HeadlessDisplay::ShowTopLevel(WindowId id, bool visible)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* window = Find(id)) {
        window->visible = visible;
        if (visible)
            RaiseLocked(id);
    }
}

void HeadlessDisplay::SetTitle(WindowId id, const std::string& title)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* window = Find(id))
        window->desc.title = title;
}

void HeadlessDisplay::SetShape(WindowId id, const std::optional<std::vector<RECT>>& rects)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* window = Find(id))
        window->shape = rects;
}

// Like a window manager, the display reports the focus change it made, so that the window
// system hears of activation the same way whichever backend is in use.
void HeadlessDisplay::Activate(WindowId id)
{
    std::lock_guard lock(m_mutex);
    const WindowState* window = Find(id);
    if (!window || window->desc.kind == TopLevelKind::Popup || m_active == id)
        return;
    DisplayEvent event;
    event.timeMs = Now();
    if (m_active) {
        event.kind = DisplayEvent::Kind::FocusLost;
        event.window = m_active;
        Enqueue(event);
    }
    m_active = id;
    event.kind = DisplayEvent::Kind::FocusGained;
    event.window = id;
    Enqueue(event);
}

void HeadlessDisplay::Raise(WindowId id)
{
    std::lock_guard lock(m_mutex);
    RaiseLocked(id);
}

void HeadlessDisplay::RaiseLocked(WindowId id)
{
    auto it = std::find(m_stacking.begin(), m_stacking.end(), id);
    if (it != m_stacking.end())
        std::rotate(it, it + 1, m_stacking.end());
}

void HeadlessDisplay::Iconify(WindowId id)
{
    std::lock_guard lock(m_mutex);
    WindowState* window = Find(id);
    if (!window || window->iconic)
        return;
    window->iconic = true;
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::Iconify;
    event.window = id;
    event.timeMs = Now();
    Enqueue(event);
}

void HeadlessDisplay::Present(WindowId id, const Surface& surface, const std::vector<RECT>& dirty)
{
    std::lock_guard lock(m_mutex);
    WindowState* window = Find(id);
    if (!window)
        return;
    ResizeImage(*window, surface.Width(), surface.Height());
    CopyDirty(*window, surface, dirty);
}

bool HeadlessDisplay::NextEvent(DisplayEvent& event)
{
    std::lock_guard lock(m_mutex);
    if (m_events.empty())
        return false;
    event = std::move(m_events.front());
    m_events.pop_front();
    if (m_events.empty()) {
        // The descriptor stays readable exactly while events wait.
        std::uint64_t count = 0;
        [[maybe_unused]] auto got = read(m_eventFd, &count, sizeof count);
    }
    return true;
}

void HeadlessDisplay::Enqueue(DisplayEvent event)
{
    if (event.timeMs == 0)
        event.timeMs = Now();
    m_events.push_back(std::move(event));
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = write(m_eventFd, &one, sizeof one);
}

RECT HeadlessDisplay::ScreenRect() const
{
    std::lock_guard lock(m_mutex);
    return m_screen;
}

RECT HeadlessDisplay::WorkArea() const
{
    std::lock_guard lock(m_mutex);
    return m_workArea;
}

std::optional<POINT> HeadlessDisplay::PointerPosition() const
{
    std::lock_guard lock(m_mutex);
    return m_pointer;
}

void HeadlessDisplay::GrabPointer(WindowId id)
{
    std::lock_guard lock(m_mutex);
    if (Find(id))
        m_grab = id;
}

void HeadlessDisplay::ReleasePointer()
{
    std::lock_guard lock(m_mutex);
    m_grab = 0;
}

void HeadlessDisplay::SetCursor(WindowId id, StandardCursor cursor)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* window = Find(id))
        window->cursor = cursor;
}

void HeadlessDisplay::OfferClipboard(const std::vector<ClipboardItem>& items)
{
    std::lock_guard lock(m_mutex);
    m_clipboard = items;
}

std::vector<std::string> HeadlessDisplay::ClipboardFormats()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> formats;
    for (const ClipboardItem& item : m_clipboard)
        formats.push_back(item.format);
    return formats;
}

std::optional<std::string> HeadlessDisplay::ClipboardData(const std::string& format)
{
    std::lock_guard lock(m_mutex);
    for (const ClipboardItem& item : m_clipboard)
        if (item.format == format)
            return item.data;
    return std::nullopt;
}

void HeadlessDisplay::InjectEvent(DisplayEvent event)
{
    std::lock_guard lock(m_mutex);
    if (event.kind == DisplayEvent::Kind::Iconify || event.kind == DisplayEvent::Kind::Restore)
        if (WindowState* window = Find(event.window))
            window->iconic = event.kind == DisplayEvent::Kind::Iconify;
    Enqueue(std::move(event));
}

void HeadlessDisplay::InjectKey(WindowId id, unsigned virtualKey, bool down, std::string text,
                                unsigned modifiers)
{
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::Key;
    event.window = id;
    event.virtualKey = virtualKey;
    event.down = down;
    event.text = down ? std::move(text) : std::string();
    event.modifiers = modifiers;
    InjectEvent(std::move(event));
}

void HeadlessDisplay::InjectKeyPress(WindowId id, unsigned virtualKey, std::string text,
                                     unsigned modifiers)
{
    InjectKey(id, virtualKey, true, std::move(text), modifiers);
    InjectKey(id, virtualKey, false, {}, modifiers);
}

void HeadlessDisplay::InjectKeyChord(WindowId id, unsigned virtualKey, unsigned modifiers, std::string text)
{
    constexpr std::pair<DisplayModifier, unsigned> ModifierKeys[] = {
        {ModShift, VK_SHIFT}, {ModControl, VK_CONTROL}, {ModAlt, VK_MENU}};
    unsigned held = 0;
    for (const auto& [bit, key] : ModifierKeys) {
        if ((modifiers & bit) != 0) {
            InjectKey(id, key, true, {}, held);
            held |= bit;
        }
    }
    InjectKeyPress(id, virtualKey, std::move(text), held);
    // A modifier's own release still reports it held, as the X server does.
    for (const auto& [bit, key] : ModifierKeys) {
        if ((held & bit) != 0) {
            InjectKey(id, key, false, {}, held);
            held &= ~static_cast<unsigned>(bit);
        }
    }
}

void HeadlessDisplay::InjectText(WindowId id, std::string text)
{
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::Text;
    event.window = id;
    event.text = std::move(text);
    InjectEvent(std::move(event));
}

DisplayEvent HeadlessDisplay::PointerEvent(DisplayEvent::Kind kind, WindowId id, POINT windowPoint,
                                           unsigned modifiers)
{
    std::lock_guard lock(m_mutex);
    DisplayEvent event;
    event.kind = kind;
    event.window = id;
    event.x = windowPoint.x;
    event.y = windowPoint.y;
    event.modifiers = modifiers;
    const WindowState* window = Find(id);
    const RECT origin = window ? window->desc.screenRect : RECT{};
    event.screenX = origin.left + windowPoint.x;
    event.screenY = origin.top + windowPoint.y;
    m_pointer = POINT{event.screenX, event.screenY};
    return event;
}

void HeadlessDisplay::InjectMouseMove(WindowId id, POINT windowPoint, unsigned modifiers)
{
    InjectEvent(PointerEvent(DisplayEvent::Kind::MouseMove, id, windowPoint, modifiers));
}

void HeadlessDisplay::InjectMouseButton(WindowId id, POINT windowPoint, MouseButton button,
                                        bool down, unsigned modifiers)
{
    DisplayEvent event = PointerEvent(DisplayEvent::Kind::MouseButton, id, windowPoint, modifiers);
    event.button = button;
    event.down = down;
    InjectEvent(std::move(event));
}

void HeadlessDisplay::InjectClick(WindowId id, POINT windowPoint, MouseButton button)
{
    unsigned held = 0; // the release reports the button as held, as X and Win32 do
    if (button == MouseButton::Left)
        held = ModLeftButton;
    else if (button == MouseButton::Right)
        held = ModRightButton;
    else if (button == MouseButton::Middle)
        held = ModMiddleButton;
    InjectMouseMove(id, windowPoint);
    InjectMouseButton(id, windowPoint, button, true);
    InjectMouseButton(id, windowPoint, button, false, held);
}

void HeadlessDisplay::InjectWheel(WindowId id, POINT windowPoint, int delta)
{
    DisplayEvent event = PointerEvent(DisplayEvent::Kind::Wheel, id, windowPoint, 0);
    event.wheelDelta = delta;
    InjectEvent(std::move(event));
}

void HeadlessDisplay::InjectForeignClipboard(const std::vector<ClipboardItem>& items)
{
    std::lock_guard lock(m_mutex);
    m_clipboard = items;
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::ClipboardLost;
    Enqueue(std::move(event));
}

std::optional<HeadlessDisplay::WindowState> HeadlessDisplay::Window(WindowId id) const
{
    std::lock_guard lock(m_mutex);
    const WindowState* window = Find(id);
    return window ? std::optional(*window) : std::nullopt;
}

std::vector<WindowId> HeadlessDisplay::StackingOrder() const
{
    std::lock_guard lock(m_mutex);
    return m_stacking;
}

WindowId HeadlessDisplay::ActiveWindow() const
{
    std::lock_guard lock(m_mutex);
    return m_active;
}

WindowId HeadlessDisplay::PointerGrabWindow() const
{
    std::lock_guard lock(m_mutex);
    return m_grab;
}

std::optional<std::uint32_t> HeadlessDisplay::WindowPixel(WindowId id, int x, int y) const
{
    std::lock_guard lock(m_mutex);
    const WindowState* window = Find(id);
    if (!window || x < 0 || y < 0 || x >= window->width || y >= window->height)
        return std::nullopt;
    return window->pixels[static_cast<std::size_t>(y) * window->width + x];
}

std::uint32_t HeadlessDisplay::ScreenPixel(int x, int y) const
{
    std::lock_guard lock(m_mutex);
    return ScreenPixelLocked(x, y);
}

std::uint32_t HeadlessDisplay::ScreenPixelLocked(int x, int y) const
{
    for (auto it = m_stacking.rbegin(); it != m_stacking.rend(); ++it) {
        const WindowState& window = m_windows.at(*it);
        const RECT& r = window.desc.screenRect;
        if (!window.visible || window.iconic || !Contains(r, x, y))
            continue;
        const int wx = x - r.left, wy = y - r.top;
        if (!ShapeCovers(window.shape, wx, wy))
            continue;
        if (wx < window.width && wy < window.height)
            return window.pixels[static_cast<std::size_t>(wy) * window.width + wx];
        return 0; // a window's area that was never presented
    }
    return DESKTOP_COLOR;
}

void HeadlessDisplay::SetScreenRect(const RECT& screen, const RECT& workArea)
{
    std::lock_guard lock(m_mutex);
    m_screen = screen;
    m_workArea = workArea;
}

bool HeadlessDisplay::SaveWindowPng(WindowId id, const std::filesystem::path& path) const
{
    std::lock_guard lock(m_mutex);
    const WindowState* window = Find(id);
    if (!window || window->width <= 0 || window->height <= 0)
        return false;
    return WritePngFile(path, window->width, window->height, window->pixels.data(),
                        static_cast<std::ptrdiff_t>(window->width * sizeof(std::uint32_t)));
}

bool HeadlessDisplay::SaveScreenPng(const std::filesystem::path& path) const
{
    std::lock_guard lock(m_mutex);
    const int width = m_screen.right - m_screen.left, height = m_screen.bottom - m_screen.top;
    if (width <= 0 || height <= 0)
        return false;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] =
                ScreenPixelLocked(m_screen.left + x, m_screen.top + y);
    return WritePngFile(path, width, height, pixels.data(),
                        static_cast<std::ptrdiff_t>(width * sizeof(std::uint32_t)));
}

HeadlessDisplay& SelectHeadlessDisplay()
{
    return static_cast<HeadlessDisplay&>(SelectDisplay("headless"));
}
