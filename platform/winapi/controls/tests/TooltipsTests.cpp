#include "platform/winapi/controls/Tooltips.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/controls/ControlTestHost.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

class TooltipsTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        m_clock = std::make_unique<FakeClock>();
        ASSERT_TRUE(RegisterTooltipsClass());
        ASSERT_TRUE(RegisterTooltipsClass());
        m_tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, m_host, nullptr, nullptr,
                                nullptr);
        ASSERT_NE(m_tip, nullptr);
        Pump();
        ForgetNotes();
    }
    void TearDown() override
    {
        (void)DestroyWindow(m_tip);
        ControlTestHost::TearDown();
        m_clock.reset();
    }
    TOOLINFOA Tool(UINT flags, UINT_PTR id, RECT rect, LPSTR text) const
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        info.uFlags = flags;
        info.hwnd = m_host;
        info.uId = id;
        info.rect = rect;
        info.lpszText = text;
        return info;
    }
    void MoveTo(POINT client)
    {
        m_display->InjectMouseMove(TopLevelId(m_host), InTopLevel(m_host, client));
        Pump();
    }
    void Wait(std::uint64_t ms)
    {
        m_clock->Advance(ms);
        Pump();
    }
    [[nodiscard]] bool TipShown() const { return IsWindowVisible(m_tip) != FALSE; }
    [[nodiscard]] RECT TipRect() const
    {
        RECT rect{};
        (void)GetWindowRect(m_tip, &rect);
        return rect;
    }

    std::unique_ptr<FakeClock> m_clock;
    HWND m_tip = nullptr;
};

TEST_F(TooltipsTest, HoveringOverAToolShowsItsTipAfterTheDelayWithoutActivating)
{
    char text[] = "Signal strength";
    TOOLINFOA info = Tool(TTF_SUBCLASS, 7, RECT{10, 10, 110, 60}, text);
    ASSERT_TRUE(SendMessageA(m_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(SendMessageA(m_tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_NE(GetWindowLongA(m_tip, GWL_STYLE) & WS_POPUP, 0);

    MoveTo(POINT{200, 200}); // outside the tool
    Wait(GetDoubleClickTime());
    EXPECT_FALSE(TipShown());
    MoveTo(POINT{20, 20});
    Wait(GetDoubleClickTime() - 1);
    EXPECT_FALSE(TipShown());
    Wait(1);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{TTN_SHOW});
    EXPECT_EQ(GetActiveWindow(), m_host);
    POINT pointer{20, 20};
    (void)ClientToScreen(m_host, &pointer);
    EXPECT_GT(TipRect().top, pointer.y);
    // Info colours inside a one-pixel frame.
    const auto id = reinterpret_cast<WindowId>(m_tip);
    const RECT tip = TipRect();
    const std::uint32_t infoBk = GetSysColor(COLOR_INFOBK);
    const std::uint32_t infoRgb = ((infoBk & 0xFF) << 16) | (infoBk & 0xFF00) | ((infoBk >> 16) & 0xFF);
    EXPECT_EQ(m_display->WindowPixel(id, tip.right - tip.left - 2, 1).value_or(0) & 0xFFFFFF, infoRgb);
    EXPECT_NE(m_display->WindowPixel(id, 0, 1).value_or(infoRgb) & 0xFFFFFF, infoRgb);

    // It goes when the pointer leaves the tool, with TTN_POP.
    MoveTo(POINT{200, 200});
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(NotifyCodes().back(), TTN_POP);

    // And after the auto-pop delay.
    MoveTo(POINT{30, 30});
    Wait(GetDoubleClickTime());
    ASSERT_TRUE(TipShown());
    Wait(GetDoubleClickTime() * 10);
    EXPECT_FALSE(TipShown());
}

TEST_F(TooltipsTest, DeactivatedOrDeletedToolsShowNothingAndCallbackTextIsAskedFor)
{
    TOOLINFOA info = Tool(TTF_SUBCLASS, 3, RECT{10, 10, 110, 60}, LPSTR_TEXTCALLBACKA);
    ASSERT_TRUE(SendMessageA(m_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    (void)SendMessageA(m_tip, TTM_ACTIVATE, FALSE, 0);
    MoveTo(POINT{20, 20});
    Wait(GetDoubleClickTime());
    EXPECT_FALSE(TipShown());

    (void)SendMessageA(m_tip, TTM_ACTIVATE, TRUE, 0);
    AnswerNotify([](NMHDR* header) -> LRESULT {
        if (header->code == TTN_GETDISPINFOA)
            (void)snprintf(reinterpret_cast<NMTTDISPINFOA*>(header)->szText, 80, "%s", "Roaming");
        return 0;
    });
    MoveTo(POINT{25, 20});
    MoveTo(POINT{200, 200});
    MoveTo(POINT{20, 25});
    Wait(GetDoubleClickTime());
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TTN_GETDISPINFOA, TTN_SHOW}));

    (void)SendMessageA(m_tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(SendMessageA(m_tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    MoveTo(POINT{200, 200});
    MoveTo(POINT{20, 20});
    Wait(GetDoubleClickTime());
    EXPECT_FALSE(TipShown());
}

TEST_F(TooltipsTest, ATrackingToolShowsWhereItIsToldAndWrapsAtTheMaximumWidth)
{
    char text[] = "Connected at 153.6 kbit/s since 10:42";
    TOOLINFOA info = Tool(TTF_TRACK | TTF_ABSOLUTE, 1, RECT{}, text);
    ASSERT_TRUE(SendMessageA(m_tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    (void)SendMessageA(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, 150));
    (void)SendMessageA(m_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    Pump();
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(TipRect().left, 200);
    EXPECT_EQ(TipRect().top, 150);
    const RECT oneLine = TipRect();

    (void)SendMessageA(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(210, 160));
    EXPECT_EQ(TipRect().left, 210);
    EXPECT_EQ(SendMessageA(m_tip, TTM_SETMAXTIPWIDTH, 0, 80), -1);
    EXPECT_LT(TipRect().right - TipRect().left, oneLine.right - oneLine.left);
    EXPECT_GT(TipRect().bottom - TipRect().top, oneLine.bottom - oneLine.top);

    char shorter[] = "Idle";
    info.lpszText = shorter;
    (void)SendMessageA(m_tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_LT(TipRect().right - TipRect().left, 60);

    (void)SendMessageA(m_tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TTN_SHOW, TTN_POP}));
    (void)SendMessageA(m_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(TipShown());
    (void)SendMessageA(m_tip, TTM_POP, 0, 0);
    EXPECT_FALSE(TipShown());
}

} // namespace
