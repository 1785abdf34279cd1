#pragma once

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

    // Each returns whether xdotool did it.
    [[nodiscard]] bool Click(int screenX, int screenY) const;
    // Two clicks closer together than the window system's double-click time.
    [[nodiscard]] bool DoubleClick(int screenX, int screenY) const;
    [[nodiscard]] bool Key(const std::string& keyName) const;
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
