#include "ListBoxFixture.h"

#include "platform/winapi/controls/CommCtrl.h"
#include "tests/support/windows/HeadlessWindows.h"

namespace {

LRESULT HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& host = ListTest::Host();
    switch (message) {
    case WM_COMMAND:
        host.commands.emplace_back(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        if (host.react)
            host.react(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (host.colours)
            return reinterpret_cast<LRESULT>(host.colours(reinterpret_cast<HDC>(wParam)));
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_DRAWITEM:
        host.draws.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (host.heights)
            measure->itemHeight = host.heights(measure->itemID);
        host.measures.push_back(*measure);
        return TRUE;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

ListTest::Recorded& ListTest::Host()
{
    static Recorded recorded;
    return recorded;
}

void ListTest::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    InitCommonControls();
    m_host = MakeHostWindow("ListHost", HostProc, COLOR_BTNFACE, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 420},
                            "Host");
    Pump();
    Host() = Recorded{};
}

void ListTest::TearDown()
{
    (void)ReleaseCapture();
    (void)DestroyWindow(m_host);
    Pump();
    Host() = Recorded{};
}

HWND ListTest::MakeList(DWORD style, RECT rect) const { return MakeChild(m_host, "ListBox", "", style, rect, CONTROL_ID); }

HWND ListTest::MakeCombo(DWORD style, RECT rect) const
{
    return MakeChild(m_host, "ComboBox", "", style, rect, CONTROL_ID);
}

void ListTest::Fill(HWND control, UINT message, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        (void)SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text));
}

void ListTest::Click(HWND hwnd, POINT client)
{
    m_display->InjectClick(TopLevelId(hwnd), InTopLevel(hwnd, client));
    Pump();
}

void ListTest::Button(HWND hwnd, POINT client, bool down)
{
    m_display->InjectMouseButton(TopLevelId(hwnd), InTopLevel(hwnd, client), MouseButton::Left, down);
    Pump();
}

void ListTest::MoveMouse(HWND hwnd, POINT client)
{
    m_display->InjectMouseMove(TopLevelId(hwnd), InTopLevel(hwnd, client));
    Pump();
}

void ListTest::Key(unsigned virtualKey, unsigned modifiers)
{
    m_display->InjectKeyPress(TopLevelId(m_host), virtualKey, {}, modifiers);
    Pump();
}

void ListTest::Type(const std::string& text)
{
    m_display->InjectText(TopLevelId(m_host), text);
    Pump();
}

void ListTest::Pump() { PumpMessages(); }

std::vector<WORD> ListTest::Notifications(HWND from)
{
    std::vector<WORD> codes;
    for (const auto& [hwnd, code] : Host().commands)
        if (hwnd == from)
            codes.push_back(code);
    return codes;
}

void ListTest::Forget()
{
    auto heights = Host().heights;
    Host() = Recorded{};
    Host().heights = std::move(heights);
}

std::string ItemText(HWND control, UINT message, int index)
{
    char buffer[256] = {};
    (void)SendMessageA(control, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}
