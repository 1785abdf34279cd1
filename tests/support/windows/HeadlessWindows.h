#pragma once

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"

#include <cstdint>

// What every test host window shares: its top-level window on the headless display, its
// children, the message pump, and reading back what the display shows.
HWND MakeHostWindow(const char* className, WNDPROC procedure, int backgroundColor, DWORD style, RECT rect,
                    const char* title = "");
HWND MakeChild(HWND parent, const char* className, const char* text, DWORD style, RECT rect, int id,
               DWORD exStyle = 0);
void PumpMessages();
// A client point of a window in its top-level window's coordinates, as the display takes them.
[[nodiscard]] POINT InTopLevel(HWND hwnd, POINT client);
[[nodiscard]] WindowId TopLevelId(HWND hwnd);
// The presented colour (0xRRGGBB) at a client point of a window.
[[nodiscard]] std::uint32_t ShownPixel(HeadlessDisplay& display, HWND hwnd, POINT client);
[[nodiscard]] std::uint32_t RgbOf(COLORREF color);

// The mouse as a user's hand moves it over a window on the headless display, at client points of
// that window; every call pumps the messages it causes.
class MouseInput {
public:
    explicit MouseInput(HeadlessDisplay& display) : m_display(display) {}

    void Click(HWND hwnd, POINT client, MouseButton button = MouseButton::Left) const;
    // The left button goes down or comes up at `client`.
    void Press(HWND hwnd, POINT client, bool down) const;
    // Moves the mouse with the left button held.
    void MoveHeld(HWND hwnd, POINT client) const;
    // Moves to `from`, presses the left button, moves to `to` and releases there.
    void Drag(HWND hwnd, POINT from, POINT to) const;

private:
    HeadlessDisplay& m_display;
};
