#include "tests/support/Xdotool.h"

#include "tests/support/ChildProgram.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <mutex>
#include <utility>
#include <vector>

namespace {

// Windows come and go while they are looked at: asking about one that has just gone is no error
// (Xlib's default handler would end the test program).
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

std::vector<Window> Children(Display* connection, Window parent)
{
    Window root = 0, parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> list;
    if (XQueryTree(connection, parent, &root, &parentOfParent, &children, &count)) {
        list.assign(children, children + count);
        XFree(children);
    }
    return list;
}

// The root's children, and theirs: a window manager's frames hold the programs' windows.
std::vector<Window> ClientWindows(Display* connection, Window root)
{
    std::vector<Window> windows;
    for (const Window top : Children(connection, root)) {
        windows.push_back(top);
        for (const Window inner : Children(connection, top)) {
            windows.push_back(inner);
            for (const Window client : Children(connection, inner))
                windows.push_back(client);
        }
    }
    return windows;
}

Display* Connect(const std::string& display)
{
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, [] { XSetErrorHandler(IgnoreXError); });
    return XOpenDisplay(display.c_str());
}

std::string WindowTitle(Display* connection, Window window)
{
    XTextProperty property{};
    if (!XGetWMName(connection, window, &property) || !property.value)
        return {};
    std::string title(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
    return title;
}

} // namespace

std::optional<Xdotool> Xdotool::Find(const std::string& display, std::filesystem::path errorFile)
{
    for (const char* path : {"/usr/bin/xdotool", "/usr/local/bin/xdotool"})
        if (std::filesystem::exists(path))
            return Xdotool(path, display, std::move(errorFile));
    return std::nullopt;
}

Xdotool::Xdotool(std::string program, std::string display, std::filesystem::path errorFile)
    : m_program(std::move(program)), m_display(std::move(display)), m_errorFile(std::move(errorFile))
{
}

bool Xdotool::Click(int screenX, int screenY, int button) const
{
    return Run({"mousemove", std::to_string(screenX), std::to_string(screenY), "click", std::to_string(button)});
}

bool Xdotool::DoubleClick(int screenX, int screenY) const
{
    return Run({"mousemove", std::to_string(screenX), std::to_string(screenY), "click", "--repeat", "2", "--delay",
                "80", "1"});
}

bool Xdotool::Key(const std::string& keyName) const
{
    return Run({"key", keyName});
}

bool Xdotool::Type(const std::string& text) const
{
    return Run({"type", "--delay", "20", text});
}

bool Xdotool::MoveWindow(const std::string& title, int screenX, int screenY) const
{
    return Run({"search", "--name", "^" + title + "$", "windowmove", "%1", std::to_string(screenX), std::to_string(screenY)});
}

bool Xdotool::ActivateWindow(const std::string& title) const
{
    return Run({"search", "--name", "^" + title + "$", "windowactivate", "--sync", "%1"});
}

std::vector<Xdotool::Place> Xdotool::ShownWindows(const std::string& title) const
{
    Display* connection = Connect(m_display);
    if (!connection)
        return {};
    std::vector<Place> found;
    for (const Window window : ClientWindows(connection, DefaultRootWindow(connection))) {
        XWindowAttributes attributes{};
        if (WindowTitle(connection, window) != title || !XGetWindowAttributes(connection, window, &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(connection, window, DefaultRootWindow(connection), 0, 0, &x, &y, &child);
        found.push_back(Place{x, y, attributes.width, attributes.height});
    }
    XCloseDisplay(connection);
    return found;
}

std::optional<std::uint32_t> Xdotool::ScreenPixel(int screenX, int screenY) const
{
    Display* connection = Connect(m_display);
    if (!connection)
        return std::nullopt;
    std::optional<std::uint32_t> pixel;
    if (XImage* image = XGetImage(connection, DefaultRootWindow(connection), screenX, screenY, 1, 1, AllPlanes, ZPixmap)) {
        pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
        XDestroyImage(image);
    }
    XCloseDisplay(connection);
    return pixel;
}

bool Xdotool::ClickMessageBoxButton(const Place& box, int index, int count, int bottomFrame) const
{
    constexpr int ButtonWidth = 75, ButtonHeight = 23, ButtonGap = 6, Margin = 12;
    const int row = count * ButtonWidth + (count - 1) * ButtonGap;
    const int x = box.left + box.width / 2 - row / 2 + index * (ButtonWidth + ButtonGap) + ButtonWidth / 2;
    const int y = box.top + box.height - bottomFrame - Margin - ButtonHeight / 2;
    return Click(x, y);
}

bool Xdotool::Drag(int fromX, int fromY, int toX, int toY) const
{
    const auto at = [](int value) { return std::to_string(value); };
    // At a hand's pace: each step is its own burst of events for the program.
    return Run({"mousemove", at(fromX), at(fromY), "sleep", "0.2", "mousedown", "1", "sleep", "0.2", "mousemove",
                at((fromX + toX) / 2), at((fromY + toY) / 2), "sleep", "0.2", "mousemove", at(toX), at(toY), "sleep",
                "0.2", "mouseup", "1"});
}

bool Xdotool::WindowShown(const std::string& name) const
{
    return !ShownWindows(name).empty();
}

bool Xdotool::Run(const std::vector<std::string>& args) const
{
    ChildProgram xdotool(m_program, args, {{"DISPLAY", m_display}}, m_errorFile);
    return xdotool.AwaitExit() == 0;
}
