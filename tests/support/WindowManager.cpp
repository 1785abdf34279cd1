#include "tests/support/WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

constexpr char Program[] = "/usr/bin/openbox";

// A window manager that follows the EWMH publishes a check window on the root once it manages
// the screen.
bool ManagerRunning(const std::string& display)
{
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection)
        return false;
    const Atom check = XInternAtom(connection, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const bool running = XGetWindowProperty(connection, DefaultRootWindow(connection), check, 0, 1, False,
                                            XA_WINDOW, &type, &format, &count, &remaining, &data) == Success &&
                         count == 1;
    if (data)
        XFree(data);
    XCloseDisplay(connection);
    return running;
}

} // namespace

bool WindowManager::Installed()
{
    return std::filesystem::exists(Program);
}

WindowManager::WindowManager(const std::string& display, const std::filesystem::path& folder)
{
    // Its own home, so that the user's settings never change what a test sees.
    const std::filesystem::path home = folder / "window-manager";
    std::filesystem::create_directories(home);
    m_program = std::make_unique<ChildProgram>(
        Program, std::vector<std::string>{"--sm-disable"},
        ChildProgram::Environment{{"DISPLAY", display}, {"HOME", home.string()}, {"XDG_CONFIG_HOME", ""}},
        home / "stderr.txt");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!ManagerRunning(display)) {
        if (!m_program->Running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("openbox did not take the screen: " + ReadWholeFile(home / "stderr.txt"));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string DesktopName(Desktop desktop)
{
    return desktop == Desktop::Bare ? "NoWindowManager" : "Openbox";
}

bool DesktopAvailable(Desktop desktop)
{
    return desktop == Desktop::Bare || WindowManager::Installed();
}

std::unique_ptr<WindowManager> StartDesktop(Desktop desktop, const std::string& display,
                                            const std::filesystem::path& folder)
{
    return desktop == Desktop::Bare ? nullptr : std::make_unique<WindowManager>(display, folder);
}
