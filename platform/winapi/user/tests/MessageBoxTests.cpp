#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

std::function<void(HWND box)> g_inBox; // run once, at the first message the box's loop reads
std::atomic<int> g_ticks{0};

LRESULT BoxFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && g_inBox) {
        const auto action = std::move(g_inBox);
        g_inBox = nullptr;
        action(FindWindowA("#32770", nullptr));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER)
        ++g_ticks;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool IsDark(std::uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) < 0x40 && ((pixel >> 8) & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = "BoxOwner";
        (void)RegisterClassA(&wc);
        m_owner = CreateWindowExA(0, "BoxOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                                  nullptr, nullptr, nullptr);
        m_hook = SetWindowsHookExA(WH_MSGFILTER, BoxFilter, nullptr, GetCurrentThreadId());
        Pump();
        g_ticks = 0;
    }

    void TearDown() override
    {
        g_inBox = nullptr;
        (void)UnhookWindowsHookEx(m_hook);
        (void)DestroyWindow(m_owner);
        Pump();
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    }

    // Shows a box; keys typed beforehand reach it once it has the focus.
    int Show(UINT type, std::initializer_list<std::pair<UINT, const char*>> keys,
             std::function<void(HWND)> inBox = nullptr)
    {
        for (const auto& [key, text] : keys)
            m_display->InjectKeyPress(reinterpret_cast<WindowId>(m_owner), key, text);
        g_inBox = std::move(inBox);
        (void)PostMessageA(m_owner, WM_NULL, 0, 0); // so that the loop reads a message at once
        return MessageBoxA(m_owner, "Are you sure?", "Norra", type);
    }

    HeadlessDisplay* m_display = nullptr;
    HWND m_owner = nullptr;
    HHOOK m_hook = nullptr;
};

struct KeyCase {
    UINT type;
    std::vector<std::pair<UINT, const char*>> keys;
    int expected;
};

TEST_F(MessageBoxTest, TheKeyboardAnswersWithTheRightButton)
{
    const KeyCase cases[] = {
        {MB_OKCANCEL, {{VK_RETURN, ""}}, IDOK},
        {MB_OKCANCEL, {{VK_ESCAPE, ""}}, IDCANCEL},
        {MB_OK, {{VK_ESCAPE, ""}}, IDOK},
        {MB_YESNO | MB_DEFBUTTON2, {{VK_RETURN, ""}}, IDNO},
        {MB_YESNO, {{VK_ESCAPE, ""}, {'N', "n"}}, IDNO}, // Escape means nothing without Cancel
        {MB_YESNOCANCEL | MB_ICONQUESTION, {{VK_TAB, ""}, {VK_RETURN, ""}}, IDNO},
        {MB_YESNOCANCEL, {{'Y', "y"}}, IDYES},
        {MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_DEFBUTTON3, {{VK_SPACE, " "}}, IDIGNORE},
        {MB_RETRYCANCEL | MB_ICONWARNING, {{'R', "r"}}, IDRETRY},
    };
    for (const KeyCase& c : cases) {
        std::initializer_list<std::pair<UINT, const char*>> none{};
        for (const auto& [key, text] : c.keys)
            m_display->InjectKeyPress(reinterpret_cast<WindowId>(m_owner), key, text);
        EXPECT_EQ(Show(c.type, none), c.expected) << "type " << c.type;
    }
}

TEST_F(MessageBoxTest, TheOwnerIsDisabledWhileTheBoxIsUpAndActiveAfterwards)
{
    bool ownerEnabled = true;
    HWND box = nullptr;
    EXPECT_EQ(Show(MB_OKCANCEL | MB_ICONINFORMATION, {{VK_RETURN, ""}},
                   [&](HWND shown) {
                       box = shown;
                       ownerEnabled = IsWindowEnabled(m_owner) != FALSE;
                       char name[16] = {};
                       (void)GetClassNameA(box, name, sizeof(name));
                       EXPECT_STREQ(name, "#32770");
                       EXPECT_EQ(FindWindowA("#32770", "Norra"), box);
                       EXPECT_EQ(GetWindow(box, GW_OWNER), m_owner);
                       EXPECT_EQ(GetActiveWindow(), box);
                   }),
              IDOK);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(GetActiveWindow(), m_owner);
}

// The owner's caption buttons, in window coordinates: close, then maximise beside it.
struct CaptionButtons {
    POINT close;
    POINT maximise;
};

CaptionButtons CaptionButtonsOf(HWND hwnd)
{
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    return CaptionButtons{POINT{width - 4 - 2 - 8, 4 + 8}, POINT{width - 4 - 2 - 16 - 2 - 8, 4 + 8}};
}

// The owner's client area shows its window colour at its far corner: it has been painted (and
// presented) at its current size.
bool PaintedToTheCorner(const HeadlessDisplay& display, HWND hwnd)
{
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    const COLORREF color = GetSysColor(COLOR_WINDOW);
    const std::uint32_t expected = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
    const auto pixel = display.WindowPixel(reinterpret_cast<WindowId>(hwnd), rect.right - rect.left - 12,
                                           rect.bottom - rect.top - 12);
    return pixel && (*pixel & 0xFFFFFF) == expected;
}

TEST_F(MessageBoxTest, TheOwnerTakesNoInputWhileTheBoxIsUp)
{
    const auto ownerId = reinterpret_cast<WindowId>(m_owner);
    RECT before{};
    (void)GetWindowRect(m_owner, &before);
    const CaptionButtons buttons = CaptionButtonsOf(m_owner);
    EXPECT_EQ(Show(MB_OKCANCEL, {},
                   [&](HWND box) {
                       m_display->InjectClick(ownerId, buttons.close);
                       m_display->InjectClick(ownerId, buttons.maximise);
                       m_display->InjectClick(ownerId, POINT{150, 10}); // a double click on the caption
                       m_display->InjectClick(ownerId, POINT{150, 10});
                       DisplayEvent closeRequest;
                       closeRequest.kind = DisplayEvent::Kind::CloseRequest;
                       closeRequest.window = ownerId;
                       m_display->InjectEvent(closeRequest);
                       Pump();
                       ASSERT_TRUE(IsWindow(m_owner));
                       EXPECT_TRUE(IsWindow(box));
                       EXPECT_FALSE(IsZoomed(m_owner));
                       RECT now{};
                       (void)GetWindowRect(m_owner, &now);
                       EXPECT_TRUE(EqualRect(&now, &before));
                       EXPECT_TRUE(PaintedToTheCorner(*m_display, m_owner));
                       EXPECT_EQ(GetActiveWindow(), box);
                       m_display->InjectKeyPress(ownerId, VK_RETURN, "");
                   }),
              IDOK);

    // The box gone, the owner takes its clicks again: its maximise button maximises, and it
    // paints at its new size.
    ASSERT_TRUE(IsWindow(m_owner));
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    m_display->InjectClick(ownerId, buttons.maximise);
    Pump();
    EXPECT_TRUE(IsZoomed(m_owner));
    EXPECT_TRUE(PaintedToTheCorner(*m_display, m_owner));
}

TEST_F(MessageBoxTest, AClickOnAButtonAnswersWithIt)
{
    EXPECT_EQ(Show(MB_OKCANCEL, {},
                   [&](HWND box) {
                       // Cancel is the right one of two 75 x 23 buttons, 6 apart, centred 12 above
                       // the bottom of the client area.
                       RECT client{}, window{};
                       (void)GetClientRect(box, &client);
                       POINT cancel{client.right / 2 + 3 + 37, client.bottom - 12 - 11};
                       (void)ClientToScreen(box, &cancel);
                       (void)GetWindowRect(box, &window);
                       m_display->InjectClick(reinterpret_cast<WindowId>(box),
                                              POINT{cancel.x - window.left, cancel.y - window.top});
                   }),
              IDCANCEL);
}

TEST_F(MessageBoxTest, TheOwnersTimerKeepsFiringWhileTheBoxIsUp)
{
    FakeClock clock;
    ASSERT_NE(SetTimer(m_owner, 1, 100, nullptr), 0u);
    std::thread driver([&] {
        while (g_ticks < 3) {
            clock.AwaitTimedWaiters(1);
            clock.Advance(100);
            std::this_thread::yield();
        }
        m_display->InjectKeyPress(reinterpret_cast<WindowId>(m_owner), VK_RETURN, "");
    });
    EXPECT_EQ(MessageBoxA(m_owner, "Waiting", "Norra", MB_OK), IDOK);
    driver.join();
    EXPECT_GE(g_ticks.load(), 3);
    (void)KillTimer(m_owner, 1);
}

TEST_F(MessageBoxTest, TheBoxShowsItsCaptionAndItsText)
{
    int captionInk = 0, textInk = 0;
    (void)Show(MB_OK | MB_ICONINFORMATION, {{VK_RETURN, ""}}, [&](HWND box) {
        (void)UpdateWindow(box);
        RECT window{}, client{};
        (void)GetWindowRect(box, &window);
        (void)GetClientRect(box, &client);
        POINT origin{0, 0};
        (void)ClientToScreen(box, &origin);
        const auto id = reinterpret_cast<WindowId>(box);
        const int clientTop = origin.y - window.top, clientLeft = origin.x - window.left;
        // White caption text on the active caption; black message text above the buttons.
        for (int y = 4; y < clientTop - 2; ++y)
            for (int x = 4; x < 80; ++x)
                captionInk += (m_display->WindowPixel(id, x, y).value_or(0) & 0xFFFFFF) == 0xFFFFFF;
        for (int y = clientTop; y < clientTop + client.bottom - 40; ++y)
            for (int x = clientLeft + 50; x < clientLeft + client.right - 8; ++x)
                textInk += IsDark(m_display->WindowPixel(id, x, y).value_or(0xFFFFFF));
    });
    EXPECT_GT(captionInk, 20);
    EXPECT_GT(textInk, 20);
}

TEST_F(MessageBoxTest, AHandlerAnswersInsteadOfTheBox)
{
    std::string seen;
    SetMessageBoxHandler([&](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        EXPECT_EQ(owner, m_owner);
        EXPECT_EQ(type, static_cast<UINT>(MB_YESNO));
        seen = caption + ": " + text;
        return IDNO;
    });
    EXPECT_EQ(MessageBoxA(m_owner, "Quit?", "Norra", MB_YESNO), IDNO);
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(seen, "Norra: Quit?");
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

} // namespace
