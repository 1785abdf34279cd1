#include "ComCtlTestHost.h"

#include <utility>

namespace {

constexpr const char* HOST_CLASS = "ComCtlHost";

POINT InTopLevel(HWND hwnd, POINT client)
{
    (void)ClientToScreen(hwnd, &client);
    RECT top{};
    (void)GetWindowRect(GetAncestor(hwnd, GA_ROOT), &top);
    return POINT{client.x - top.left, client.y - top.top};
}

WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }

LRESULT HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        ComCtlTest::s_notifications.push_back(header->code);
        return ComCtlTest::s_answer ? ComCtlTest::s_answer(header) : 0;
    }
    if (message == WM_DRAWITEM) {
        ComCtlTest::s_drawItems.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void ComCtlTest::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = HOST_CLASS;
    (void)RegisterClassA(&wc);
    m_host = CreateWindowExA(0, HOST_CLASS, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 420,
                             320, nullptr, nullptr, nullptr, nullptr);
    s_notifications.clear();
    s_drawItems.clear();
    s_answer = nullptr;
}

void ComCtlTest::TearDown()
{
    (void)ReleaseCapture();
    (void)DestroyWindow(m_host);
    s_answer = nullptr;
    Pump();
}

HWND ComCtlTest::Control(const char* className, DWORD style, RECT rect, const char* text)
{
    const HWND control =
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, m_host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr, nullptr);
    Pump();
    return control;
}

void ComCtlTest::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

void ComCtlTest::Click(HWND control, POINT client, MouseButton button)
{
    m_display->InjectClick(Id(control), InTopLevel(control, client), button);
    Pump();
}

void ComCtlTest::Key(unsigned virtualKey, unsigned modifiers)
{
    // The modifier keys go down as keys of their own, so that GetKeyState sees them.
    const WindowId id = Id(m_host);
    unsigned held = 0;
    for (const auto& [bit, key] : {std::pair{ModControl, VK_CONTROL}, std::pair{ModShift, VK_SHIFT}}) {
        if ((modifiers & bit) != 0) {
            m_display->InjectKey(id, key, true, {}, held);
            held |= bit;
        }
    }
    m_display->InjectKeyPress(id, virtualKey, {}, held);
    for (const auto& [bit, key] : {std::pair{ModControl, VK_CONTROL}, std::pair{ModShift, VK_SHIFT}}) {
        if ((held & bit) != 0) {
            held &= ~static_cast<unsigned>(bit);
            m_display->InjectKey(id, key, false, {}, held | bit);
        }
    }
    Pump();
}

void ComCtlTest::Drag(HWND control, POINT from, POINT to)
{
    const WindowId id = Id(control);
    m_display->InjectMouseMove(id, InTopLevel(control, from));
    m_display->InjectMouseButton(id, InTopLevel(control, from), MouseButton::Left, true);
    m_display->InjectMouseMove(id, InTopLevel(control, to), ModLeftButton);
    m_display->InjectMouseButton(id, InTopLevel(control, to), MouseButton::Left, false, ModLeftButton);
    Pump();
}

std::uint32_t ComCtlTest::Shown(HWND control, POINT client) const
{
    const POINT point = InTopLevel(control, client);
    return m_display->WindowPixel(Id(control), point.x, point.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

std::uint32_t ComCtlTest::Rgb(COLORREF color)
{
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}
