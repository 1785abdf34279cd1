#include "platform/winapi/display/DisplayBackend.h"

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/x11/X11Display.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

namespace {

// The display in use. Never destroyed: windows freed at program exit (the class library's
// Application and its forms, from a static destructor) still tell the display they are gone,
// whichever of the exit handlers runs first. Replacing the display frees the old one.
struct CurrentDisplay {
    std::mutex mutex;
    std::unique_ptr<DisplayBackend> backend;
};

CurrentDisplay& Current()
{
    static CurrentDisplay& current = *new CurrentDisplay;
    return current;
}

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
    CurrentDisplay& current = Current();
    std::lock_guard lock(current.mutex);
    if (!current.backend)
        current.backend = CreateDisplay(ChosenName(""));
    return *current.backend;
}

DisplayBackend& SelectDisplay(const std::string& name)
{
    return InstallDisplay(CreateDisplay(ChosenName(name)));
}

DisplayBackend* SelectProgramDisplay(const std::string& program)
{
    try {
        return &SelectDisplay("");
    } catch (const EDisplayError& error) {
        std::cerr << program << ": " << error.Message() << "\n";
        return nullptr;
    }
}

DisplayBackend& InstallDisplay(std::unique_ptr<DisplayBackend> backend)
{
    CurrentDisplay& current = Current();
    std::lock_guard lock(current.mutex);
    current.backend = std::move(backend);
    return *current.backend;
}
