#include "PaintFixture.h"

namespace {

constexpr COLORREF RED = RGB(200, 0, 0);

class ScrollBarTest : public PaintTest {
protected:
    void SetUp() override
    {
        PaintTest::SetUp();
        // No frame: the vertical bar is x 84..100, y 0..200 of the window, arrows of 16.
        m_hwnd = Top(WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 100, 200}, RED);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        (void)SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
        Pump();
        MessageLog::Instance().Clear();
    }

    // Presses at `down`, moves through `moves` and releases at the last point, all window coordinates.
    void Track(POINT down, std::vector<POINT> moves)
    {
        const WindowId id = Id(m_hwnd);
        for (const POINT& pt : moves)
            m_display->InjectMouseMove(id, pt, ModLeftButton);
        const POINT up = moves.empty() ? down : moves.back();
        m_display->InjectMouseButton(id, up, MouseButton::Left, false);
        (void)SendMessageA(m_hwnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(static_cast<WORD>(down.x), static_cast<WORD>(down.y)));
    }

    std::vector<std::pair<WORD, WORD>> Scrolls() const
    {
        std::vector<std::pair<WORD, WORD>> codes;
        for (const auto& entry : MessageLog::Instance().Entries())
            if (entry.hwnd == m_hwnd && entry.message == WM_VSCROLL)
                codes.emplace_back(LOWORD(entry.wParam), HIWORD(entry.wParam));
        return codes;
    }

    HWND m_hwnd = nullptr;
};

using Codes = std::vector<std::pair<WORD, WORD>>;

TEST_F(ScrollBarTest, InfoIsClampedAndTheBarHidesWhenThereIsNothingToScroll)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 95, 0};
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE), 90);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m_hwnd, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 90);
    EXPECT_EQ(info.nTrackPos, 90);
    EXPECT_EQ(SetScrollPos(m_hwnd, SB_VERT, -5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(m_hwnd, SB_VERT), 0);

    SCROLLINFO small{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 5, 20, 0, 0};
    (void)SetScrollInfo(m_hwnd, SB_VERT, &small, TRUE);
    EXPECT_FALSE(GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VSCROLL);
    RECT client{};
    (void)GetClientRect(m_hwnd, &client);
    EXPECT_EQ(client.right, 100);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(m_hwnd, OBJID_VSCROLL, &bar));
    EXPECT_EQ(bar.rgstate[0], STATE_SYSTEM_INVISIBLE);

    small.fMask |= SIF_DISABLENOSCROLL;
    (void)SetScrollInfo(m_hwnd, SB_VERT, &small, TRUE);
    EXPECT_TRUE(GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VSCROLL);
    ASSERT_TRUE(GetScrollBarInfo(m_hwnd, OBJID_VSCROLL, &bar));
    EXPECT_EQ(bar.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(ScrollBarTest, ScrollBarInfoReportsTheGeometry)
{
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(m_hwnd, OBJID_VSCROLL, &bar));
    EXPECT_TRUE(EqualRect(&bar.rcScrollBar, std::array{RECT{84, 0, 100, 200}}.data()));
    EXPECT_EQ(bar.dxyLineButton, 16);
    EXPECT_EQ(bar.xyThumbTop, 16);
    EXPECT_EQ(bar.xyThumbBottom, 32);
    EXPECT_EQ(bar.rgstate[0], 0u);
    (void)SetScrollPos(m_hwnd, SB_VERT, 90, TRUE);
    ASSERT_TRUE(GetScrollBarInfo(m_hwnd, OBJID_VSCROLL, &bar));
    EXPECT_EQ(bar.xyThumbBottom, 184);
    ASSERT_TRUE(EnableScrollBar(m_hwnd, SB_VERT, ESB_DISABLE_DOWN));
    ASSERT_TRUE(GetScrollBarInfo(m_hwnd, OBJID_VSCROLL, &bar));
    EXPECT_EQ(bar.rgstate[5], STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(EnableScrollBar(m_hwnd, SB_VERT, ESB_DISABLE_DOWN));
    EXPECT_FALSE(GetScrollBarInfo(m_hwnd, OBJID_HSCROLL, nullptr));
}

TEST_F(ScrollBarTest, ArrowsAndPageAreasSendTheirCodesThenEndScroll)
{
    Track(POINT{92, 190}, {});
    EXPECT_EQ(Scrolls(), (Codes{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);
    MessageLog::Instance().Clear();
    Track(POINT{92, 100}, {});
    EXPECT_EQ(Scrolls(), (Codes{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    MessageLog::Instance().Clear();
    // At the top too: the window decides what a line up means.
    Track(POINT{92, 5}, {});
    EXPECT_EQ(Scrolls(), (Codes{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithThumbPosition)
{
    // Grabbed 4 pixels into the thumb; its top then goes to 92 of a free track of 152.
    Track(POINT{92, 20}, {POINT{92, 58}, POINT{92, 96}});
    EXPECT_EQ(Scrolls(), (Codes{{SB_THUMBTRACK, 23}, {SB_THUMBTRACK, 45}, {SB_THUMBPOSITION, 45}, {SB_ENDSCROLL, 0}}));
    // The window decides the position itself.
    EXPECT_EQ(GetScrollPos(m_hwnd, SB_VERT), 0);
}

TEST_F(ScrollBarTest, TheBarIsPaintedInTheNonClientArea)
{
    const HWND hwnd = m_hwnd;
    // The arrow's face and the checkered track beside the thumb.
    EXPECT_EQ(Shown(hwnd, 86, 8), Rgb(GetSysColor(COLOR_3DFACE)));
    const std::uint32_t a = Shown(hwnd, 90, 100), b = Shown(hwnd, 91, 100);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == Rgb(GetSysColor(COLOR_3DHILIGHT)) || b == Rgb(GetSysColor(COLOR_3DHILIGHT)));
    EXPECT_EQ(Shown(hwnd, 50, 100), Rgb(RED));
}

} // namespace
