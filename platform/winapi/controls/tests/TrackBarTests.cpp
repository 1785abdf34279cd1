#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/TrackBar.h"
#include "platform/winapi/kernel/Clock.h"

namespace {

class TrackBarTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterTrackBarClass();
        m_track = Control(TRACKBAR_CLASSA, TBS_AUTOTICKS, {10, 10, 210, 55});
        (void)SendMessageA(m_track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        (void)SendMessageA(m_track, TBM_SETPAGESIZE, 0, 2);
        (void)SetFocus(m_track);
        Pump();
        ForgetNotes();
    }

    [[nodiscard]] int Pos() const { return static_cast<int>(SendMessageA(m_track, TBM_GETPOS, 0, 0)); }
    [[nodiscard]] RECT Rect(UINT message) const
    {
        RECT rect{};
        (void)SendMessageA(m_track, message, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    [[nodiscard]] std::vector<std::pair<WORD, WORD>> Scrolls() const
    {
        std::vector<std::pair<WORD, WORD>> scrolls;
        for (const ParentNote& note : Notes(WM_HSCROLL))
            scrolls.emplace_back(note.code, note.pos);
        return scrolls;
    }

    HWND m_track = nullptr;
};

using Scroll = std::pair<WORD, WORD>;

TEST_F(TrackBarTest, KeysMoveByLineAndPageAndReportEachStepThenEndTrack)
{
    struct Case {
        unsigned key;
        WORD code;
        int pos;
    };
    const Case cases[] = {{VK_RIGHT, TB_LINEDOWN, 6}, {VK_DOWN, TB_LINEDOWN, 6}, {VK_LEFT, TB_LINEUP, 4},
                          {VK_UP, TB_LINEUP, 4},      {VK_NEXT, TB_PAGEDOWN, 7}, {VK_PRIOR, TB_PAGEUP, 3},
                          {VK_HOME, TB_TOP, 0},       {VK_END, TB_BOTTOM, 10}};
    for (const Case& test : cases) {
        (void)SendMessageA(m_track, TBM_SETPOS, TRUE, 5);
        ForgetNotes();
        Key(test.key);
        EXPECT_EQ(Pos(), test.pos) << test.key;
        EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{test.code, 0}, {TB_ENDTRACK, 0}})) << test.key;
    }
    // At the end of the range nothing moves, and only the key's release is reported.
    ForgetNotes();
    Key(VK_RIGHT);
    EXPECT_EQ(Pos(), 10);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_ENDTRACK, 0}}));
}

TEST_F(TrackBarTest, HoldingOnTheChannelPagesOnTheTimerUntilTheThumbReachesThePointer)
{
    FakeClock clock;
    const RECT channel = Rect(TBM_GETCHANNELRECT);
    const POINT target{channel.left + (channel.right - channel.left) * 7 / 10, channel.top};
    Press(m_track, target, true);
    EXPECT_EQ(Pos(), 2);
    clock.Advance(500);
    Pump();
    EXPECT_EQ(Pos(), 4);
    for (int i = 0; i < 10; ++i) {
        clock.Advance(100);
        Pump();
    }
    // Pages of 2 from 0 go on while the pointer (at 7) is still beyond the thumb.
    EXPECT_EQ(Pos(), 8);
    Press(m_track, target, false);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_PAGEDOWN, 0}, {TB_PAGEDOWN, 0}, {TB_PAGEDOWN, 0}, {TB_PAGEDOWN, 0},
                                              {TB_ENDTRACK, 0}}));
}

TEST_F(TrackBarTest, DraggingTheThumbTracksAndEndsWithItsPosition)
{
    (void)SendMessageA(m_track, TBM_SETPOS, TRUE, 2);
    const RECT thumb = Rect(TBM_GETTHUMBRECT);
    const RECT channel = Rect(TBM_GETCHANNELRECT);
    const int centre = (thumb.left + thumb.right) / 2;
    const int y = (thumb.top + thumb.bottom) / 2;
    Press(m_track, {centre, y}, true);
    const int span = channel.right - channel.left - 1;
    Move(m_track, {centre + span * 5 / 10, y + 30});
    Move(m_track, {channel.right + 50, y});
    EXPECT_EQ(Pos(), 10);
    Press(m_track, {channel.right + 50, y}, false);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_THUMBTRACK, 7}, {TB_THUMBTRACK, 10}, {TB_THUMBPOSITION, 10},
                                              {TB_ENDTRACK, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackBarTest, ThumbAndChannelRectsFollowPositionOrientationAndLength)
{
    const RECT channel = Rect(TBM_GETCHANNELRECT);
    RECT thumb = Rect(TBM_GETTHUMBRECT);
    EXPECT_EQ((thumb.top + thumb.bottom) / 2, (channel.top + channel.bottom) / 2);
    EXPECT_EQ((thumb.left + thumb.right) / 2, channel.left);
    (void)SendMessageA(m_track, TBM_SETPOS, TRUE, 10);
    thumb = Rect(TBM_GETTHUMBRECT);
    EXPECT_EQ((thumb.left + thumb.right) / 2, channel.right - 1);

    // Out-of-range positions are clamped; the range shrinking pulls the position in.
    (void)SendMessageA(m_track, TBM_SETPOS, TRUE, 99);
    EXPECT_EQ(Pos(), 10);
    (void)SendMessageA(m_track, TBM_SETRANGEMAX, TRUE, 4);
    EXPECT_EQ(Pos(), 4);

    const HWND vertical = Control(TRACKBAR_CLASSA, TBS_VERT | TBS_BOTH | TBS_FIXEDLENGTH, {250, 10, 295, 210});
    (void)SendMessageA(vertical, TBM_SETTHUMBLENGTH, 30, 0);
    EXPECT_EQ(SendMessageA(vertical, TBM_GETTHUMBLENGTH, 0, 0), 30);
    RECT vThumb{};
    RECT vChannel{};
    (void)SendMessageA(vertical, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&vThumb));
    (void)SendMessageA(vertical, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&vChannel));
    EXPECT_EQ(vThumb.right - vThumb.left, 30);
    // A vertical bar's channel is reported lying down: x and y swapped.
    EXPECT_GT(vChannel.right - vChannel.left, vChannel.bottom - vChannel.top);
    EXPECT_EQ((vThumb.left + vThumb.right) / 2, (vChannel.top + vChannel.bottom) / 2);
    EXPECT_EQ((vThumb.top + vThumb.bottom) / 2, vChannel.left);
}

TEST_F(TrackBarTest, CustomDrawSkipsTheItemsTheParentDraws)
{
    AnswerNotify([](NMHDR* header) -> LRESULT {
        const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
        if (draw->dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        return draw->dwItemSpec == TBCD_TICS ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    });
    (void)SendMessageA(m_track, TBM_SETPOS, TRUE, 5);
    (void)UpdateWindow(m_track);
    Pump();
    std::vector<std::pair<DWORD, DWORD_PTR>> stages;
    for (const ParentNote& note : Notes(WM_NOTIFY))
        stages.emplace_back(note.stage, note.item);
    EXPECT_EQ(stages, (std::vector<std::pair<DWORD, DWORD_PTR>>{{CDDS_PREPAINT, 0},
                                                                {CDDS_ITEMPREPAINT, TBCD_CHANNEL},
                                                                {CDDS_ITEMPREPAINT, TBCD_TICS},
                                                                {CDDS_ITEMPREPAINT, TBCD_THUMB}}));
    const RECT thumb = Rect(TBM_GETTHUMBRECT);
    const RECT channel = Rect(TBM_GETCHANNELRECT);
    const std::uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));
    // Neither the thumb's highlight edge nor the channel's sunken edge was drawn.
    EXPECT_EQ(Shown(m_track, {thumb.left, thumb.top + 3}), face);
    EXPECT_EQ(Shown(m_track, {channel.left + 5, channel.top}), face);
    // The tick marks were.
    EXPECT_EQ(Shown(m_track, {channel.left, thumb.bottom + 3}), Rgb(GetSysColor(COLOR_BTNTEXT)));

    AnswerNotify(nullptr);
    (void)RedrawWindow(m_track, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(Shown(m_track, {thumb.left, thumb.top + 3}), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Shown(m_track, {channel.left + 5, channel.top}), Rgb(GetSysColor(COLOR_BTNSHADOW)));
}

} // namespace
