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
