#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Threads.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        RegisterLoggedClass();
        MessageLog::Instance().Clear();
    }

    void TearDown() override
    {
        for (HWND hwnd : m_windows)
            (void)DestroyWindow(hwnd);
    }

    HWND Create(DWORD style, HWND parent = nullptr, RECT rect = {10, 20, 110, 220}, DWORD exStyle = 0,
                const char* className = LOGGED_CLASS)
    {
        const HWND hwnd = CreateWindowExA(exStyle, className, "title", style, rect.left, rect.top,
                                          rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr,
                                          nullptr);
        if (!parent)
            m_windows.push_back(hwnd);
        return hwnd;
    }

    static std::vector<std::string> Log(HWND hwnd = nullptr) { return MessageLog::Instance().Names(hwnd); }

    HeadlessDisplay* m_display = nullptr;
    std::vector<HWND> m_windows;
};

TEST_F(WindowTest, CreatingAVisibleChildSendsTheCreationSequence)
{
    const HWND parent = Create(WS_POPUP);
    MessageLog::Instance().Clear();
    const HWND child = Create(WS_CHILD | WS_VISIBLE | WS_BORDER, parent, {5, 6, 45, 36});
    ASSERT_NE(child, nullptr);
    EXPECT_SEQUENCE(MessageLog::Instance().Labelled({{parent, "parent"}, {child, "child"}}), "WM_NCCREATE@child",
                    "WM_NCCALCSIZE@child", "WM_CREATE@child", "WM_SIZE@child", "WM_MOVE@child",
                    "WM_PARENTNOTIFY@parent", "WM_SHOWWINDOW@child", "WM_WINDOWPOSCHANGING@child",
                    "WM_WINDOWPOSCHANGED@child");
    RECT client{};
    ASSERT_TRUE(GetClientRect(child, &client));
    EXPECT_EQ(client.right, 38);
    EXPECT_EQ(client.bottom, 28);
}

TEST_F(WindowTest, CreatingAVisibleOverlappedWindowActivatesIt)
{
    const HWND hwnd = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_SEQUENCE(Log(hwnd), "WM_GETMINMAXINFO", "WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE", "WM_MOVE",
                    "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_ACTIVATEAPP", "WM_NCACTIVATE", "WM_ACTIVATE",
                    "WM_SETFOCUS", "WM_WINDOWPOSCHANGED");
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_EQ(GetFocus(), hwnd);
    const auto shown = m_display->Window(reinterpret_cast<WindowId>(hwnd));
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->visible);
    EXPECT_EQ(shown->desc.title, "title");
}

TEST_F(WindowTest, CreationParamsReachWmCreateAndAFailedCreationLeavesNoWindow)
{
    struct Case {
        UINT failingMessage;
        LRESULT failure;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {WM_NCCREATE, FALSE, {"WM_NCCREATE", "WM_NCDESTROY"}},
        {WM_CREATE, -1, {"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_DESTROY", "WM_NCDESTROY"}},
    };
    static UINT failing = 0;
    static LRESULT failure = 0;
    static LPVOID params = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        MessageLog::Instance().Add(hwnd, message, wParam, lParam);
        if (message == WM_CREATE)
            params = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
        if (message == failing)
            return failure;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = "FailingCreation";
    ASSERT_NE(RegisterClassA(&wc), 0);
    int marker = 0;
    for (const Case& test : cases) {
        MessageLog::Instance().Clear();
        failing = test.failingMessage;
        failure = test.failure;
        EXPECT_EQ(CreateWindowExA(0, "FailingCreation", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, &marker),
                  nullptr);
        EXPECT_EQ(Log(), test.expected);
    }
    failing = 0;
    const HWND hwnd = CreateWindowExA(0, "FailingCreation", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, &marker);
    EXPECT_EQ(params, &marker);
    EXPECT_FALSE(UnregisterClassA("FailingCreation", nullptr)) << "a class with windows stays";
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(UnregisterClassA("FailingCreation", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "FailingCreation", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(WindowTest, DestroyingSendsWmDestroyParentFirstAndWmNcDestroyChildrenFirst)
{
    const HWND owner = Create(WS_POPUP);
    const HWND parent = Create(WS_POPUP, owner);
    const HWND child = Create(WS_CHILD | WS_VISIBLE, parent);
    const HWND grandChild = Create(WS_CHILD | WS_VISIBLE, child);
    MessageLog::Instance().Clear();
    ASSERT_TRUE(DestroyWindow(owner));
    EXPECT_SEQUENCE(MessageLog::Instance().Labelled(
                        {{owner, "owner"}, {parent, "owned"}, {child, "child"}, {grandChild, "grandchild"}}),
                    "WM_DESTROY@owned", "WM_DESTROY@child", "WM_DESTROY@grandchild", "WM_NCDESTROY@grandchild",
                    "WM_NCDESTROY@child", "WM_NCDESTROY@owned", "WM_DESTROY@owner", "WM_NCDESTROY@owner");
    for (HWND hwnd : {owner, parent, child, grandChild})
        EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowTest, AWindowThatDestroysItselfInItsOwnHandlerIsSafe)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER) {
            (void)DestroyWindow(hwnd);
            // The handle is stale now: calls on it fail cleanly.
            (void)SetWindowTextA(hwnd, "gone");
            (void)DestroyWindow(hwnd);
            return 5;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = "SelfDestroying";
    (void)RegisterClassA(&wc);
    const HWND hwnd = CreateWindowExA(0, "SelfDestroying", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 5);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowTest, CbtHookCancelsCreationAndSeesTheCreationParameters)
{
    static DWORD seenStyle = 0;
    static std::string seenClass;
    const HHOOK hook = SetWindowsHookExA(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_CREATEWND) {
                const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
                seenStyle = static_cast<DWORD>(cs->style);
                seenClass = cs->lpszClass;
                return std::strcmp(cs->lpszName, "cancel") == 0;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(CreateWindowExA(0, LOGGED_CLASS, "cancel", WS_POPUP | WS_BORDER, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_TRUE(Log().empty()) << Describe(Log());
    EXPECT_EQ(seenStyle, WS_POPUP | WS_BORDER);
    EXPECT_EQ(seenClass, LOGGED_CLASS);
    EXPECT_NE(Create(WS_POPUP), nullptr);
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    EXPECT_FALSE(UnhookWindowsHookEx(hook));
}

TEST_F(WindowTest, SubclassingThroughGwlpWndProcChainsToTheOldProcedure)
{
    const HWND hwnd = Create(WS_POPUP);
    static WNDPROC previous = nullptr;
    const WNDPROC subclass = [](HWND h, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_USER)
            return 1000 + CallWindowProcA(previous, h, message, wParam, lParam);
        return CallWindowProcA(previous, h, message, wParam, lParam);
    };
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass)));
    EXPECT_EQ(previous, &LoggingProc);
    MessageLog::Instance().Clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 1000);
    EXPECT_SEQUENCE(Log(hwnd), "0x0400");
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclass));
    (void)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
}

TEST_F(WindowTest, WindowDataExtraBytesTextAndProperties)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.cbClsExtra = sizeof(LONG_PTR);
    wc.lpszClassName = "WithExtra";
    (void)RegisterClassA(&wc);
    const HWND hwnd = CreateWindowExA(0, "WithExtra", "first", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(SetWindowLongPtrA(hwnd, sizeof(LONG_PTR), 77), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, sizeof(LONG_PTR)), 77);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, 2 * sizeof(LONG_PTR)), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(SetClassLongPtrA(hwnd, 0, 9), 0u);
    EXPECT_EQ(GetClassLongPtrA(hwnd, 0), 9u);
    (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, 42);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 42);

    char text[4];
    EXPECT_EQ(GetWindowTextA(hwnd, text, sizeof text), 3);
    EXPECT_STREQ(text, "fir");
    ASSERT_TRUE(SetWindowTextA(hwnd, "second"));
    EXPECT_EQ(GetWindowTextLengthA(hwnd), 6);
    char className[5];
    EXPECT_EQ(GetClassNameA(hwnd, className, sizeof className), 4);
    EXPECT_STREQ(className, "With");

    const ATOM atom = GlobalAddAtomA("ControlOfs00400000000004D2");
    ASSERT_GE(atom, 0xC000);
    EXPECT_EQ(GlobalFindAtomA("controlofs00400000000004d2"), atom);
    int object = 0;
    ASSERT_TRUE(SetPropA(hwnd, MAKEINTATOM(atom), &object));
    EXPECT_EQ(GetPropA(hwnd, "ControlOfs00400000000004D2"), &object);
    EXPECT_EQ(RemovePropA(hwnd, MAKEINTATOM(atom)), &object);
    EXPECT_EQ(GetPropA(hwnd, MAKEINTATOM(atom)), nullptr);
    EXPECT_EQ(GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(GlobalFindAtomA("ControlOfs00400000000004D2"), 0);
    EXPECT_EQ(RegisterWindowMessageA("Modem.Notify"), RegisterWindowMessageA("MODEM.NOTIFY"));
    EXPECT_GE(RegisterWindowMessageA("Modem.Notify"), 0xC000u);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(UnregisterClassA("WithExtra", nullptr));
}

TEST_F(WindowTest, TreeAndZOrder)
{
    const HWND parent = Create(WS_POPUP);
    const HWND first = Create(WS_CHILD, parent);
    const HWND second = Create(WS_CHILD, parent);
    const HWND third = Create(WS_CHILD, parent);
    const HWND inner = Create(WS_CHILD, second);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), first) << "children keep their creation order";
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(third, GW_HWNDPREV), second);
    EXPECT_EQ(GetWindow(first, GW_HWNDLAST), third);
    EXPECT_EQ(GetParent(inner), second);
    EXPECT_EQ(GetAncestor(inner, GA_ROOT), parent);
    EXPECT_EQ(GetAncestor(parent, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IsChild(parent, inner));
    EXPECT_FALSE(IsChild(inner, parent));
    ASSERT_TRUE(SetWindowPos(third, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetTopWindow(parent), third);
    ASSERT_TRUE(SetWindowPos(third, first, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), third);

    std::vector<HWND> all;
    (void)EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    EXPECT_EQ(all, (std::vector<HWND>{first, third, second, inner}));
    EXPECT_EQ(FindWindowA(LOGGED_CLASS, "TITLE"), parent);
    EXPECT_EQ(FindWindowExA(parent, first, LOGGED_CLASS, nullptr), third);
    EXPECT_EQ(FindWindowA("NoSuchClass", nullptr), nullptr);

    const HWND popup = Create(WS_POPUP, parent);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), parent);
    EXPECT_EQ(GetParent(popup), parent) << "a popup's parent is its owner";
    EXPECT_EQ(SetParent(inner, parent), second);
    EXPECT_EQ(GetParent(inner), parent);
}

TEST_F(WindowTest, SetWindowPosSequenceAndCoordinateMapping)
{
    const HWND parent = Create(WS_POPUP | WS_VISIBLE, nullptr, {100, 50, 400, 350});
    const HWND child = Create(WS_CHILD | WS_VISIBLE, parent, {10, 10, 60, 40});
    MessageLog::Instance().Clear();
    ASSERT_TRUE(SetWindowPos(child, nullptr, 20, 30, 70, 40, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_SEQUENCE(Log(child), "WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_MOVE", "WM_SIZE");
    MessageLog::Instance().Clear();
    ASSERT_TRUE(MoveWindow(child, 25, 30, 70, 40, TRUE));
    EXPECT_SEQUENCE(Log(child), "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_MOVE");
    MessageLog::Instance().Clear();
    ASSERT_TRUE(SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED));
    EXPECT_SEQUENCE(Log(child), "WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED");

    RECT rect{};
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ(rect.left, 125);
    EXPECT_EQ(rect.top, 80);
    POINT pt{1, 2};
    ASSERT_TRUE(ClientToScreen(child, &pt));
    EXPECT_EQ(pt.x, 126);
    EXPECT_EQ(pt.y, 82);
    ASSERT_TRUE(ScreenToClient(parent, &pt));
    EXPECT_EQ(pt.x, 26);
    POINT mapped{0, 0};
    EXPECT_EQ(MapWindowPoints(child, parent, &mapped, 1), MAKELONG(25, 30));
    EXPECT_EQ(WindowFromPoint(POINT{130, 85}), child);
    EXPECT_EQ(WindowFromPoint(POINT{105, 55}), parent);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{30, 35}), child);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{1, 1}), parent);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{-5, 1}), nullptr);
    (void)EnableWindow(child, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{130, 85}), parent) << "a disabled child leaves the point to its parent";
}

TEST_F(WindowTest, ShowWindowSequencesForChildren)
{
    const HWND parent = Create(WS_POPUP);
    const HWND child = Create(WS_CHILD, parent);
    MessageLog::Instance().Clear();
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_SEQUENCE(Log(child), "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED");
    EXPECT_FALSE(IsWindowVisible(child)) << "the parent is hidden";
    MessageLog::Instance().Clear();
    EXPECT_TRUE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(Log(child).empty());
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_SEQUENCE(Log(child), "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED");
}

TEST_F(WindowTest, MinimiseAndRestoreReportTheirSizeKinds)
{
    const HWND hwnd = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {50, 50, 350, 250});
    MessageLog::Instance().Clear();
    (void)ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(hwnd));
    bool minimised = false;
    for (const auto& entry : MessageLog::Instance().Entries())
        minimised = minimised || (entry.message == WM_SIZE && entry.wParam == SIZE_MINIMIZED);
    EXPECT_TRUE(minimised);
    EXPECT_NE(GetActiveWindow(), hwnd);
    (void)ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(IsIconic(hwnd));
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.right, 350);
    (void)ShowWindow(hwnd, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(hwnd));
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(GetWindowPlacement(hwnd, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.right, 350);
}

TEST_F(WindowTest, ARestoreAfterMinimisingGoesBackToTheStateBefore)
{
    const HWND hwnd = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {50, 50, 350, 250});
    (void)ShowWindow(hwnd, SW_MAXIMIZE);
    RECT maximised{};
    (void)GetWindowRect(hwnd, &maximised);
    (void)ShowWindow(hwnd, SW_MINIMIZE);
    (void)ShowWindow(hwnd, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(hwnd));
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    EXPECT_TRUE(EqualRect(&rect, &maximised));
    // Restored from maximised, it comes back at its normal place; minimised from there, a
    // restore keeps it normal.
    (void)ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(hwnd));
    (void)ShowWindow(hwnd, SW_MINIMIZE);
    (void)ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(hwnd));
    (void)GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.right, 350);
    // Shown normal from minimised, a window that was maximised comes back normal.
    (void)ShowWindow(hwnd, SW_MAXIMIZE);
    (void)ShowWindow(hwnd, SW_MINIMIZE);
    (void)ShowWindow(hwnd, SW_SHOWNORMAL);
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_FALSE(IsIconic(hwnd));
}

TEST_F(WindowTest, FrameMetricsFollowTheClassicScheme)
{
    struct Case {
        DWORD style;
        DWORD exStyle;
        RECT expected;
    };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, 0, {-4, -23, 104, 104}},
        {WS_CAPTION | WS_SYSMENU, 0, {-3, -22, 103, 103}},
        {WS_POPUP | WS_BORDER, 0, {-1, -1, 101, 101}},
        {WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE, {-3, -3, 103, 103}},
        {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {-3, -18, 103, 103}},
        {WS_CHILD, 0, {0, 0, 100, 100}},
    };
    for (const Case& test : cases) {
        RECT rect{0, 0, 100, 100};
        ASSERT_TRUE(AdjustWindowRectEx(&rect, test.style, FALSE, test.exStyle));
        EXPECT_TRUE(EqualRect(&rect, &test.expected))
            << std::hex << test.style << ": " << std::dec << rect.left << "," << rect.top << "," << rect.right << ","
            << rect.bottom;
    }
    // The default WM_NCCALCSIZE gives the same client area, less scroll bars.
    const HWND hwnd = Create(WS_OVERLAPPEDWINDOW | WS_VSCROLL, nullptr, {0, 0, 200, 150});
    RECT client{};
    (void)GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 200 - 8 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 150 - 27);
}

} // namespace
