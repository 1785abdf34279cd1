#include "ListBoxFixture.h"

#include "platform/winapi/controls/CommCtrl.h"

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

WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }

POINT InTopLevel(HWND hwnd, POINT client)
{
    (void)ClientToScreen(hwnd, &client);
    RECT top{};
    (void)GetWindowRect(GetAncestor(hwnd, GA_ROOT), &top);
    return POINT{client.x - top.left, client.y - top.top};
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
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "ListHost";
    (void)RegisterClassA(&wc);
    m_host = CreateWindowExA(0, "ListHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 320, nullptr,
                             nullptr, nullptr, nullptr);
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

HWND ListTest::MakeList(DWORD style, RECT rect) const
{
    return CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, m_host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CONTROL_ID)),
                           nullptr, nullptr);
}

HWND ListTest::MakeCombo(DWORD style, RECT rect) const
{
    return CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, m_host,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(CONTROL_ID)), nullptr, nullptr);
}

void ListTest::Fill(HWND control, UINT message, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        (void)SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text));
}

void ListTest::Click(HWND hwnd, POINT client)
{
    m_display->InjectClick(Id(hwnd), InTopLevel(hwnd, client));
    Pump();
}

void ListTest::Button(HWND hwnd, POINT client, bool down)
{
    m_display->InjectMouseButton(Id(hwnd), InTopLevel(hwnd, client), MouseButton::Left, down);
    Pump();
}

void ListTest::MoveMouse(HWND hwnd, POINT client)
{
    m_display->InjectMouseMove(Id(hwnd), InTopLevel(hwnd, client));
    Pump();
}

void ListTest::Key(unsigned virtualKey, unsigned modifiers)
{
    m_display->InjectKeyPress(Id(m_host), virtualKey, {}, modifiers);
    Pump();
}

void ListTest::Type(const std::string& text)
{
    m_display->InjectText(Id(m_host), text);
    Pump();
}

void ListTest::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

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
