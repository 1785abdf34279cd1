#pragma once

#include <sys/types.h>

#include <string>

// A private X server for a test program: Xvfb on a display number it picks itself (so parallel
// test runs never meet), a black root window, a 24-bit screen. Stopped when the object goes.
class XvfbServer {
public:
    // False when Xvfb is not installed (the tests that need it skip).
    [[nodiscard]] static bool Installed();

    // Raises std::runtime_error when the server does not come up.
    explicit XvfbServer(int width = 640, int height = 480);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N"
    [[nodiscard]] const std::string& Name() const { return m_name; }

private:
    pid_t m_pid = -1;
    std::string m_name;
};
