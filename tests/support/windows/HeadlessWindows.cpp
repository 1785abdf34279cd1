#include "HeadlessWindows.h"

HWND MakeHostWindow(const char* className, WNDPROC procedure, int backgroundColor, DWORD style, RECT rect,
                    const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColor + 1));
    wc.lpszClassName = className;
    (void)RegisterClassA(&wc);
    return CreateWindowExA(0, className, title, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
}

HWND MakeChild(HWND parent, const char* className, const char* text, DWORD style, RECT rect, int id, DWORD exStyle)
{
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

POINT InTopLevel(HWND hwnd, POINT client)
{
    (void)ClientToScreen(hwnd, &client);
    RECT top{};
    (void)GetWindowRect(GetAncestor(hwnd, GA_ROOT), &top);
    return POINT{client.x - top.left, client.y - top.top};
}

WindowId TopLevelId(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }

std::uint32_t ShownPixel(HeadlessDisplay& display, HWND hwnd, POINT client)
{
    const POINT at = InTopLevel(hwnd, client);
    return display.WindowPixel(TopLevelId(hwnd), at.x, at.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

std::uint32_t RgbOf(COLORREF color)
{
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) | (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

void MouseInput::Click(HWND hwnd, POINT client, MouseButton button) const
{
    m_display.InjectClick(TopLevelId(hwnd), InTopLevel(hwnd, client), button);
    PumpMessages();
}

void MouseInput::Press(HWND hwnd, POINT client, bool down) const
{
    m_display.InjectMouseButton(TopLevelId(hwnd), InTopLevel(hwnd, client), MouseButton::Left, down,
                                down ? 0U : static_cast<unsigned>(ModLeftButton));
    PumpMessages();
}

void MouseInput::MoveHeld(HWND hwnd, POINT client) const
{
    m_display.InjectMouseMove(TopLevelId(hwnd), InTopLevel(hwnd, client), ModLeftButton);
    PumpMessages();
}

void MouseInput::Drag(HWND hwnd, POINT from, POINT to) const
{
    const WindowId id = TopLevelId(hwnd);
    m_display.InjectMouseMove(id, InTopLevel(hwnd, from));
    m_display.InjectMouseButton(id, InTopLevel(hwnd, from), MouseButton::Left, true);
    m_display.InjectMouseMove(id, InTopLevel(hwnd, to), ModLeftButton);
    m_display.InjectMouseButton(id, InTopLevel(hwnd, to), MouseButton::Left, false, ModLeftButton);
    PumpMessages();
}
