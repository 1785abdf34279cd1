#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/UpDown.h"
#include "platform/winapi/kernel/Clock.h"

#include <string>

namespace {

class UpDownTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterUpDownClass();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "UpDownTestBuddy";
        (void)RegisterClassA(&wc);
        m_buddy = Control("UpDownTestBuddy", 0, {10, 10, 110, 31}, "", 1);
    }

    HWND MakeUpDown(DWORD style, int lower, int upper, int pos)
    {
        const HWND upDown = Control(UPDOWN_CLASSA, style, {120, 10, 136, 31}, "", 2);
        (void)SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_buddy), 0);
        (void)SendMessageA(upDown, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
        (void)SendMessageA(upDown, UDM_SETPOS32, 0, pos);
        Pump();
        ForgetNotes();
        return upDown;
    }

    [[nodiscard]] std::string BuddyText() const
    {
        char text[64] = {};
        (void)GetWindowTextA(m_buddy, text, sizeof text);
        return text;
    }
    [[nodiscard]] static int Pos(HWND upDown) { return static_cast<int>(SendMessageA(upDown, UDM_GETPOS32, 0, 0)); }
    [[nodiscard]] static POINT UpHalf() { return {8, 3}; }
    [[nodiscard]] static POINT DownHalf() { return {8, 17}; }

    HWND m_buddy = nullptr;
};

TEST_F(UpDownTest, HoldingAnArrowRepeatsOnTheClockAndAcceleratesWhileTheBuddyFollows)
{
    FakeClock clock;
    const HWND upDown = MakeUpDown(UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 2000, 998);
    RECT own{};
    RECT buddy{};
    (void)GetWindowRect(upDown, &own);
    (void)GetWindowRect(m_buddy, &buddy);
    EXPECT_EQ(own.left, buddy.right);
    EXPECT_EQ(own.right - buddy.left, 100);
    EXPECT_EQ(own.bottom - own.top, 21);
    EXPECT_EQ(BuddyText(), "998");

    Press(upDown, UpHalf(), true);
    EXPECT_EQ(BuddyText(), "999");
    clock.Advance(500);
    Pump();
    EXPECT_EQ(BuddyText(), "1,000");
    for (int tick = 0; tick < 15; ++tick) {
        clock.Advance(100);
        Pump();
    }
    // Fourteen more single steps, then the first of five once the arrow was held two seconds.
    EXPECT_EQ(Pos(upDown), 1019);
    Press(upDown, UpHalf(), false);
    const auto scrolls = Notes(WM_VSCROLL);
    ASSERT_EQ(scrolls.size(), 18u);
    EXPECT_EQ(scrolls.front().code, SB_THUMBPOSITION);
    EXPECT_EQ(scrolls.front().pos, 999);
    EXPECT_EQ(scrolls.back().code, SB_ENDSCROLL);
    EXPECT_EQ(Notes(WM_NOTIFY).size(), 17u);

    // The arrow keys in the buddy step too; text typed into the buddy is where the next step starts.
    (void)SetFocus(m_buddy);
    Key(VK_DOWN);
    EXPECT_EQ(BuddyText(), "1,018");
    (void)SetWindowTextA(m_buddy, "40");
    Key(VK_UP);
    EXPECT_EQ(BuddyText(), "41");
    (void)SetWindowTextA(m_buddy, "forty");
    BOOL error = FALSE;
    EXPECT_EQ(SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 41);
    EXPECT_TRUE(error);
}

TEST_F(UpDownTest, EndsWrapOrStopAndTheParentMayVetoAStep)
{
    const HWND wrapping = MakeUpDown(UDS_SETBUDDYINT | UDS_WRAP, 0, 3, 3);
    Click(wrapping, UpHalf());
    EXPECT_EQ(Pos(wrapping), 0);
    Click(wrapping, DownHalf());
    EXPECT_EQ(Pos(wrapping), 3);
    EXPECT_EQ(BuddyText(), "3");
    (void)DestroyWindow(wrapping);

    const HWND stopping = MakeUpDown(UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, 5000, 5000);
    Click(stopping, UpHalf());
    EXPECT_EQ(Pos(stopping), 5000);
    EXPECT_TRUE(Notes(WM_NOTIFY).empty());
    EXPECT_EQ(Notes(WM_VSCROLL).size(), 1u);  // only the end of the press

    int vetoedFrom = -1;
    AnswerNotify([&](NMHDR* header) -> LRESULT {
        if (header->code != UDN_DELTAPOS)
            return 0;
        vetoedFrom = reinterpret_cast<NMUPDOWN*>(header)->iPos;
        return 1;
    });
    ForgetNotes();
    Click(stopping, DownHalf());
    EXPECT_EQ(vetoedFrom, 5000);
    EXPECT_EQ(Pos(stopping), 5000);
    EXPECT_EQ(BuddyText(), "5000");
    ASSERT_EQ(Notes(WM_VSCROLL).size(), 1u);
    EXPECT_EQ(Notes(WM_VSCROLL)[0].code, SB_ENDSCROLL);
}

TEST_F(UpDownTest, TheDefaultRangeRunsDownwardsAndSixteenBitMessagesPackLimits)
{
    const HWND upDown = Control(UPDOWN_CLASSA, UDS_HORZ, {200, 10, 240, 30}, "", 3);
    EXPECT_EQ(SendMessageA(upDown, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    (void)SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(50, 0));
    Click(upDown, {30, 10});  // right half of a horizontal control: "up", towards the upper limit 0
    EXPECT_EQ(LOWORD(SendMessageA(upDown, UDM_GETPOS, 0, 0)), 49);
    ASSERT_EQ(Notes(WM_HSCROLL).size(), 2u);
    (void)SendMessageA(upDown, UDM_SETRANGE, 0, MAKELPARAM(10, static_cast<WORD>(-10)));
    int lower = 0;
    int upper = 0;
    (void)SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, -10);
    EXPECT_EQ(upper, 10);
    EXPECT_EQ(Pos(upDown), 10);
}

} // namespace
