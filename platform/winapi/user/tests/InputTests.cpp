#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        RegisterLoggedClass();
        m_main = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
        m_edit = CreateWindowExA(0, LOGGED_DBLCLK_CLASS, "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, m_main, nullptr,
                                 nullptr, nullptr);
        Pump();
        MessageLog::Instance().Clear();
    }

    void TearDown() override
    {
        (void)ReleaseCapture();
        for (HWND hwnd : m_windows)
            (void)DestroyWindow(hwnd);
        Pump();
    }

    HWND Top(DWORD style, RECT rect, DWORD exStyle = 0, const char* className = LOGGED_CLASS)
    {
        const HWND hwnd = CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                          rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(hwnd);
        return hwnd;
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    }

    // A point inside a window's client area, relative to its top-level window (as the display
    // reports pointer positions).
    static POINT InTopLevel(HWND hwnd, POINT client)
    {
        (void)ClientToScreen(hwnd, &client);
        RECT top{};
        (void)GetWindowRect(GetAncestor(hwnd, GA_ROOT), &top);
        return POINT{client.x - top.left, client.y - top.top};
    }

    static WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }

    void Click(HWND hwnd, POINT client)
    {
        m_display->InjectClick(Id(hwnd), InTopLevel(hwnd, client));
        Pump();
    }

    static std::vector<std::string> Log(HWND hwnd = nullptr) { return MessageLog::Instance().Names(hwnd); }

    HeadlessDisplay* m_display = nullptr;
    std::vector<HWND> m_windows;
    HWND m_main = nullptr;
    HWND m_edit = nullptr;
};

TEST_F(InputTest, FocusMovesWithKillFocusBeforeSetFocus)
{
    ASSERT_EQ(GetFocus(), m_main);
    EXPECT_EQ(SetFocus(m_edit), m_main);
    EXPECT_SEQUENCE(MessageLog::Instance().Labelled({{m_main, "main"}, {m_edit, "edit"}}), "WM_KILLFOCUS@main",
                    "WM_SETFOCUS@edit");
    EXPECT_EQ(MessageLog::Instance().Entries()[0].wParam, reinterpret_cast<WPARAM>(m_edit));
    EXPECT_EQ(GetFocus(), m_edit);
    MessageLog::Instance().Clear();
    EXPECT_EQ(SetFocus(m_edit), m_edit);
    EXPECT_TRUE(Log().empty()) << "focusing the focus again sends nothing";
    (void)EnableWindow(m_edit, FALSE);
    EXPECT_SEQUENCE(Log(m_edit), "WM_CANCELMODE", "WM_KILLFOCUS", "WM_ENABLE");
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, ActivatingAnotherWindowDeactivatesTheFirstInWin32Order)
{
    const HWND other = Top(WS_OVERLAPPEDWINDOW, {500, 100, 700, 300});
    (void)ShowWindow(other, SW_SHOWNOACTIVATE);
    (void)SetWindowPos(other, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MessageLog::Instance().Clear();
    // Activation brings the window to the top first.
    EXPECT_EQ(SetActiveWindow(other), m_main);
    EXPECT_SEQUENCE(MessageLog::Instance().Labelled({{m_main, "main"}, {other, "other"}}), "WM_NCACTIVATE@main",
                    "WM_ACTIVATE@main", "WM_WINDOWPOSCHANGING@other", "WM_WINDOWPOSCHANGED@other",
                    "WM_NCACTIVATE@other", "WM_ACTIVATE@other", "WM_KILLFOCUS@main", "WM_SETFOCUS@other");
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(m_display->ActiveWindow(), reinterpret_cast<WindowId>(other));
    EXPECT_EQ(GetTopWindow(nullptr), other);
}

TEST_F(InputTest, CbtHookCanRefuseActivation)
{
    const HWND other = Top(WS_OVERLAPPEDWINDOW, {500, 100, 700, 300});
    (void)ShowWindow(other, SW_SHOWNOACTIVATE);
    static HWND refused = nullptr;
    refused = other;
    const HHOOK hook = SetWindowsHookExA(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == refused)
                return 1;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    (void)SetActiveWindow(other);
    EXPECT_EQ(GetActiveWindow(), m_main);
    (void)UnhookWindowsHookEx(hook);
    (void)SetActiveWindow(other);
    EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(InputTest, AClickActivatesButAnMaNoActivatePopupNeverStealsActivation)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        MessageLog::Instance().Add(hwnd, message, wParam, lParam);
        return message == WM_MOUSEACTIVATE ? MA_NOACTIVATE : DefWindowProcA(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = "DropDown";
    (void)RegisterClassA(&wc);
    const HWND popup = Top(WS_POPUP | WS_BORDER, {150, 320, 250, 400}, WS_EX_TOOLWINDOW, "DropDown");
    (void)SetWindowPos(popup, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    (void)SetFocus(m_edit);
    Pump();
    MessageLog::Instance().Clear();
    Click(popup, POINT{5, 5});
    EXPECT_SEQUENCE(Log(popup), "WM_MOUSEACTIVATE", "WM_MOUSEMOVE", "WM_LBUTTONDOWN", "WM_LBUTTONUP");
    EXPECT_EQ(GetActiveWindow(), m_main);
    EXPECT_EQ(GetFocus(), m_edit);

    const HWND other = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 300});
    ASSERT_EQ(GetActiveWindow(), other);
    MessageLog::Instance().Clear();
    Click(m_edit, POINT{3, 3});
    EXPECT_EQ(GetActiveWindow(), m_main);
    const auto& entries = MessageLog::Instance().Entries();
    const auto activate = std::find_if(entries.begin(), entries.end(), [&](const LoggedMessage& entry) {
        return entry.hwnd == m_main && entry.message == WM_ACTIVATE;
    });
    ASSERT_NE(activate, entries.end());
    EXPECT_EQ(LOWORD(activate->wParam), WA_CLICKACTIVE);
}

TEST_F(InputTest, CaptureTakesTheMouseAndItsLossIsAnnounced)
{
    EXPECT_EQ(SetCapture(m_edit), nullptr);
    EXPECT_EQ(GetCapture(), m_edit);
    MessageLog::Instance().Clear();
    // Far outside the edit, over the frame: still the edit's, in its client coordinates.
    m_display->InjectMouseMove(Id(m_main), POINT{250, 150});
    Pump();
    ASSERT_EQ(Log(m_edit), (std::vector<std::string>{"WM_MOUSEMOVE"}));
    const LPARAM where = MessageLog::Instance().Entries().back().lParam;
    POINT expected{250, 150};
    RECT top{};
    (void)GetWindowRect(m_main, &top);
    expected.x += top.left;
    expected.y += top.top;
    (void)ScreenToClient(m_edit, &expected);
    EXPECT_EQ(GET_X_LPARAM(where), expected.x);
    EXPECT_EQ(GET_Y_LPARAM(where), expected.y);

    MessageLog::Instance().Clear();
    EXPECT_EQ(SetCapture(m_main), m_edit);
    EXPECT_SEQUENCE(Log(m_edit), "WM_CAPTURECHANGED");
    EXPECT_EQ(MessageLog::Instance().Entries()[0].lParam, reinterpret_cast<LPARAM>(m_main));
    MessageLog::Instance().Clear();
    (void)SendMessageA(m_main, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "the default cancel mode releases the capture";
    EXPECT_SEQUENCE(Log(m_main), "WM_CANCELMODE", "WM_CAPTURECHANGED");
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance)
{
    FakeClock clock;
    const HWND plain = CreateWindowExA(0, LOGGED_CLASS, "", WS_CHILD | WS_VISIBLE, 150, 10, 100, 50, m_main, nullptr,
                                       nullptr, nullptr);
    struct Case {
        HWND hwnd;
        DWORD pause;
        POINT second;
        const char* expected;
    };
    const Case cases[] = {
        {m_edit, 100, {5, 5}, "WM_LBUTTONDBLCLK"},
        {m_edit, GetDoubleClickTime() + 1, {5, 5}, "WM_LBUTTONDOWN"},
        {m_edit, 100, {5 + GetSystemMetrics(SM_CXDOUBLECLK), 5}, "WM_LBUTTONDOWN"},
        {plain, 100, {5, 5}, "WM_LBUTTONDOWN"},
    };
    for (const Case& test : cases) {
        clock.Advance(10'000);
        Click(test.hwnd, POINT{5, 5});
        clock.Advance(test.pause);
        MessageLog::Instance().Clear();
        m_display->InjectMouseButton(Id(test.hwnd), InTopLevel(test.hwnd, test.second), MouseButton::Left, true);
        Pump();
        const auto names = Log(test.hwnd);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.back(), test.expected) << Describe(names);
        m_display->InjectMouseButton(Id(test.hwnd), InTopLevel(test.hwnd, test.second), MouseButton::Left, false);
        Pump();
    }
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateIntoCharacters)
{
    (void)SetFocus(m_edit);
    MessageLog::Instance().Clear();
    m_display->InjectKeyPress(Id(m_main), 'Q', "q");
    m_display->InjectKey(Id(m_main), VK_SHIFT, true);
    Pump();
    EXPECT_SEQUENCE(Log(), "WM_KEYDOWN", "WM_CHAR", "WM_KEYUP", "WM_KEYDOWN");
    EXPECT_EQ(MessageLog::Instance().Entries()[1].hwnd, m_edit);
    EXPECT_EQ(MessageLog::Instance().Entries()[1].wParam, static_cast<WPARAM>('q'));
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    m_display->InjectKey(Id(m_main), VK_SHIFT, false);
    Pump();
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);

    MessageLog::Instance().Clear();
    m_display->InjectWheel(Id(m_main), POINT{250, 150}, -120);
    Pump();
    EXPECT_SEQUENCE(MessageLog::Instance().Labelled({{m_main, "main"}, {m_edit, "edit"}}), "WM_MOUSEWHEEL@edit",
                    "WM_MOUSEWHEEL@main");
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(MessageLog::Instance().Entries()[0].wParam), -120);
}

TEST_F(InputTest, TrackMouseEventReportsTheLeaveOnce)
{
    m_display->InjectMouseMove(Id(m_main), InTopLevel(m_edit, POINT{5, 5}));
    Pump();
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_edit, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&track));
    MessageLog::Instance().Clear();
    m_display->InjectMouseMove(Id(m_main), InTopLevel(m_edit, POINT{6, 6}));
    m_display->InjectMouseMove(Id(m_main), POINT{250, 150});
    m_display->InjectMouseMove(Id(m_main), POINT{251, 150});
    Pump();
    EXPECT_SEQUENCE(Log(m_edit), "WM_MOUSEMOVE", "WM_MOUSELEAVE");
}

TEST_F(InputTest, TheCloseButtonOfTheDisplayRoutesThroughWmClose)
{
    DisplayEvent close;
    close.kind = DisplayEvent::Kind::CloseRequest;
    close.window = Id(m_main);
    m_display->InjectEvent(close);
    Pump();
    EXPECT_SEQUENCE(Log(m_main), "WM_SYSCOMMAND", "WM_CLOSE", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_NCACTIVATE",
                    "WM_ACTIVATE", "WM_ACTIVATEAPP", "WM_KILLFOCUS", "WM_DESTROY", "WM_NCDESTROY");
    EXPECT_FALSE(IsWindow(m_main));
}

} // namespace
