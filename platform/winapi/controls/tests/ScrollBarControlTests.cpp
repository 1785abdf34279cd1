#include "ButtonFixture.h"

#include "platform/winapi/user/ScrollBarControl.h"

namespace {

using Codes = std::vector<std::pair<WORD, WORD>>;

// A horizontal bar 200 x 17: arrows of 16, a track of 168, range 0..99 with a page of 10 gives a
// thumb of 16 pixels, at x 16..32 for position 0.
class ScrollBarControlTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        m_bar = Control(WC_SCROLLBARA, "", SBS_HORZ | WS_TABSTOP, {10, 10, 210, 27});
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        (void)SetScrollInfo(m_bar, SB_CTL, &info, TRUE);
        Pump();
    }

    // The codes and positions the parent heard, all from the bar with its handle.
    [[nodiscard]] Codes Scrolls() const
    {
        Codes codes;
        for (const ParentNotice& notice : Notices(WM_HSCROLL)) {
            EXPECT_EQ(notice.control, m_bar);
            codes.emplace_back(notice.code, notice.value);
        }
        return codes;
    }

    HWND m_bar = nullptr;
};

TEST_F(ScrollBarControlTest, ArrowsAndPageAreasSendTheirCodesToTheParent)
{
    Click(m_bar, POINT{195, 8});
    Click(m_bar, POINT{100, 8});
    Click(m_bar, POINT{5, 8});
    EXPECT_EQ(Scrolls(), (Codes{{SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}, {SB_PAGERIGHT, 0}, {SB_ENDSCROLL, 0},
                                {SB_LINELEFT, 0}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(GetFocus(), m_bar);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarControlTest, DraggingTheThumbTracksAndEndsWithItsPosition)
{
    Press(m_bar, POINT{24, 8}, true);
    MoveTo(m_bar, POINT{62, 8}, true);
    MoveTo(m_bar, POINT{100, 8}, true);
    Press(m_bar, POINT{100, 8}, false);
    Pump();
    // 76 of the 152 free pixels is half of the 90 positions.
    EXPECT_EQ(Scrolls(), (Codes{{SB_THUMBTRACK, 23}, {SB_THUMBTRACK, 45}, {SB_THUMBPOSITION, 45}, {SB_ENDSCROLL, 0}}));
    // The position is the parent's to set.
    EXPECT_EQ(GetScrollPos(m_bar, SB_CTL), 0);
}

TEST_F(ScrollBarControlTest, HoldingAnArrowRepeats)
{
    static HeadlessDisplay* display = nullptr;
    static HWND bar = nullptr;
    display = m_display;
    bar = m_bar;
    Press(m_bar, POINT{195, 8}, true);
    // The release comes from a timer that fires inside the bar's tracking loop.
    (void)SetTimer(nullptr, 0, 1500, [](HWND, UINT, UINT_PTR id, DWORD) {
        (void)KillTimer(nullptr, id);
        POINT at{195, 8};
        (void)MapWindowPoints(bar, GetAncestor(bar, GA_ROOT), &at, 1);
        display->InjectMouseButton(reinterpret_cast<WindowId>(GetAncestor(bar, GA_ROOT)), at, MouseButton::Left, false);
    });
    Pump();
    const Codes codes = Scrolls();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.back(), (std::pair<WORD, WORD>{SB_ENDSCROLL, 0}));
    for (std::size_t i = 0; i + 1 < codes.size(); ++i)
        EXPECT_EQ(codes[i].first, SB_LINERIGHT);
}

TEST_F(ScrollBarControlTest, KeysScrollWhenFocused)
{
    (void)SetFocus(m_bar);
    const std::pair<unsigned, WORD> cases[] = {
        {VK_RIGHT, SB_LINERIGHT}, {VK_DOWN, SB_LINEDOWN}, {VK_LEFT, SB_LINELEFT}, {VK_UP, SB_LINEUP},
        {VK_NEXT, SB_PAGEDOWN},   {VK_PRIOR, SB_PAGEUP},  {VK_HOME, SB_TOP},     {VK_END, SB_BOTTOM},
    };
    for (const auto& [key, code] : cases) {
        Record().notices.clear();
        Key(key, true);
        Key(key, false);
        EXPECT_EQ(Scrolls(), (Codes{{code, 0}, {SB_ENDSCROLL, 0}})) << "key " << key;
    }
    EXPECT_EQ(SendMessageA(m_bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarControlTest, TheScrollCallsReachTheControl)
{
    EXPECT_EQ(SetScrollPos(m_bar, SB_CTL, 200, TRUE), 0);
    EXPECT_EQ(GetScrollPos(m_bar, SB_CTL), 90);
    EXPECT_EQ(SendMessageA(m_bar, SBM_SETPOS, 30, TRUE), 90);
    int low = -1;
    int high = -1;
    ASSERT_TRUE(GetScrollRange(m_bar, SB_CTL, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 99);

    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(m_bar, OBJID_CLIENT, &info));
    RECT screen{};
    (void)GetWindowRect(m_bar, &screen);
    EXPECT_EQ(info.rcScrollBar.left, screen.left);
    EXPECT_EQ(info.rcScrollBar.right, screen.right);
    EXPECT_EQ(info.dxyLineButton, 16);
    // Position 30 of 90 puts the thumb a third of the way along the 152 free pixels.
    EXPECT_EQ(info.xyThumbTop, 16 + 152 * 30 / 90);
    EXPECT_EQ(info.xyThumbBottom - info.xyThumbTop, 16);

    EXPECT_TRUE(EnableScrollBar(m_bar, SB_CTL, ESB_DISABLE_RTDN));
    Click(m_bar, POINT{195, 8});
    EXPECT_TRUE(Scrolls().empty());
    ASSERT_TRUE(GetScrollBarInfo(m_bar, OBJID_CLIENT, &info));
    EXPECT_EQ(info.rgstate[5], STATE_SYSTEM_UNAVAILABLE);
}

} // namespace
