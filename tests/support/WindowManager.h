#pragma once

#include "tests/support/ChildProgram.h"

#include <filesystem>
#include <memory>
#include <string>

// A real window manager (openbox) on a test's private X server: it reparents the program's
// windows into frames, places them, sends synthetic configure events and may refuse what a
// program asks. Stopped when the object goes.
class WindowManager {
public:
    // False when openbox is not installed (Debian package openbox).
    [[nodiscard]] static bool Installed();

    // Returns once the manager has taken the screen; raises std::runtime_error when it does not.
    // Its settings and its error output are kept in `folder`.
    WindowManager(const std::string& display, const std::filesystem::path& folder);

private:
    std::unique_ptr<ChildProgram> m_program;
};

// The desktops the programs' X tests run on: the bare server, and the server with a window
// manager. A parameterised test names its rows with DesktopName.
enum class Desktop { Bare, Managed };
[[nodiscard]] std::string DesktopName(Desktop desktop);

// Whether the tools a desktop needs are installed (a test on it skips otherwise).
[[nodiscard]] bool DesktopAvailable(Desktop desktop);

// The window manager of a desktop, started on `display`; null for the bare one.
[[nodiscard]] std::unique_ptr<WindowManager> StartDesktop(Desktop desktop, const std::string& display,
                                                          const std::filesystem::path& folder);
