#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// xdotool drives a program on a private X server as a user would: the pointer and the keys go
// through the X server, not through a test hook. Tests that need it skip when it is missing.
class Xdotool {
public:
    // Null when xdotool is not installed (Debian package xdotool).
    [[nodiscard]] static std::optional<Xdotool> Find(const std::string& display, std::filesystem::path errorFile);

    // Each returns whether xdotool did it. Buttons: 1 left, 3 right.
    [[nodiscard]] bool Click(int screenX, int screenY, int button = 1) const;
    // Two clicks closer together than the window system's double-click time.
    [[nodiscard]] bool DoubleClick(int screenX, int screenY) const;
    [[nodiscard]] bool Key(const std::string& keyName) const;
    [[nodiscard]] bool Type(const std::string& text) const;
    // What a window manager does for the user (or the server itself when there is none): moves
    // the window titled `title`, or activates it (restoring it when minimised).
    [[nodiscard]] bool MoveWindow(const std::string& title, int screenX, int screenY) const;
    [[nodiscard]] bool ActivateWindow(const std::string& title) const;

    // Where the shown top-level windows titled `title` are on the screen, as a user sees them
    // (inside a window manager's frame, when there is one).
    struct Place {
        int left = 0, top = 0, width = 0, height = 0;
    };
    [[nodiscard]] std::vector<Place> ShownWindows(const std::string& title) const;

    // The colour (0xRRGGBB) the screen shows at a point; nullopt when it cannot be read.
    [[nodiscard]] std::optional<std::uint32_t> ScreenPixel(int screenX, int screenY) const;

    // Clicks button `index` of the `count` buttons of the message box at `box`, whose frame is
    // `bottomFrame` pixels thick along its bottom. The window system lays them out 75 by 23
    // pixels, 6 apart, centred, 12 pixels above the bottom of the client area.
    [[nodiscard]] bool ClickMessageBoxButton(const Place& box, int index, int count, int bottomFrame) const;

    // Presses the left button at one point, moves with it held (through the middle), releases at
    // the other.
    [[nodiscard]] bool Drag(int fromX, int fromY, int toX, int toY) const;
    // Whether a window of the screen has exactly this name.
    [[nodiscard]] bool WindowShown(const std::string& name) const;

private:
    Xdotool(std::string program, std::string display, std::filesystem::path errorFile);
    [[nodiscard]] bool Run(const std::vector<std::string>& args) const;

    std::string m_program;
    std::string m_display;
    std::filesystem::path m_errorFile;
};
