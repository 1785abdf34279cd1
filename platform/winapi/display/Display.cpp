#include "platform/winapi/display/DisplayBackend.h"

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/x11/X11Display.h"

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_mutex;
std::unique_ptr<DisplayBackend> g_display;

std::unique_ptr<DisplayBackend> CreateDisplay(const std::string& name)
{
    if (name == "headless")
        return std::make_unique<HeadlessDisplay>();
    if (name == "x11")
        return OpenX11Display("");
    throw EDisplayError("Unknown display \"" + name + "\": use \"headless\" or \"x11\"");
}

// The environment's choice: MODEM_DISPLAY names a backend; without it the X display is used.
std::string ChosenName(const std::string& name)
{
    if (!name.empty())
        return name;
    const char* chosen = std::getenv("MODEM_DISPLAY");
    return chosen && *chosen ? chosen : "x11";
}

} // namespace

DisplayBackend& Display()
{
    std::lock_guard lock(g_mutex);
    if (!g_display)
        g_display = CreateDisplay(ChosenName(""));
    return *g_display;
}

DisplayBackend& SelectDisplay(const std::string& name)
{
    auto backend = CreateDisplay(ChosenName(name));
    std::lock_guard lock(g_mutex);
    g_display = std::move(backend);
    return *g_display;
}

DisplayBackend& InstallDisplay(std::unique_ptr<DisplayBackend> backend)
{
    std::lock_guard lock(g_mutex);
    g_display = std::move(backend);
    return *g_display;
}
