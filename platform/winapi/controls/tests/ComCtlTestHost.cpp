#include "ComCtlTestHost.h"

#include "ControlHost.h"

#include <utility>

namespace {

constexpr const char* HOST_CLASS = "ComCtlHost";

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
    m_host = MakeHostWindow(HOST_CLASS, HostProc, COLOR_BTNFACE, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                            {50, 50, 470, 370}, "Host");
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
    const HWND control = MakeChild(m_host, className, text, style, rect, 7);
    Pump();
    return control;
}

void ComCtlTest::Pump() { PumpMessages(); }

void ComCtlTest::Click(HWND control, POINT client, MouseButton button)
{
    m_display->InjectClick(TopLevelId(control), InTopLevel(control, client), button);
    Pump();
}

void ComCtlTest::Key(unsigned virtualKey, unsigned modifiers)
{
    // The modifier keys go down as keys of their own, so that GetKeyState sees them.
    const WindowId id = TopLevelId(m_host);
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
    const WindowId id = TopLevelId(control);
    m_display->InjectMouseMove(id, InTopLevel(control, from));
    m_display->InjectMouseButton(id, InTopLevel(control, from), MouseButton::Left, true);
    m_display->InjectMouseMove(id, InTopLevel(control, to), ModLeftButton);
    m_display->InjectMouseButton(id, InTopLevel(control, to), MouseButton::Left, false, ModLeftButton);
    Pump();
}

std::uint32_t ComCtlTest::Shown(HWND control, POINT client) const { return ShownPixel(*m_display, control, client); }

std::uint32_t ComCtlTest::Rgb(COLORREF color) { return RgbOf(color); }
