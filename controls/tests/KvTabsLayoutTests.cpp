#include "controls/KvTabsLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using controls::detail::CombineContent;
using controls::detail::CorrectedTabIndex;
using controls::detail::MeasureCaption;
using controls::detail::TabButtonSize;
using controls::detail::TKvTabLayout;
using controls::detail::TKvTabLayoutSettings;
using controls::detail::SplitMnemonic;
using controls::detail::WithoutMnemonic;

namespace {

[[nodiscard]] std::string Text(const TRect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Tabs whose captions measure `widths` wide and 13 high; cut corners (6) keep the arithmetic plain:
// a tab is 20 high and 20 wider than its caption, with a one-pixel gap to the next.
class TabLayoutTest : public ::testing::Test {
protected:
    TabLayoutTest()
    {
        m_settings.Style = tsCutCorner;
        m_settings.MinimumContent = SIZE{8, 13};
    }
    TKvTabLayout& Lay(const std::vector<int>& widths, const std::vector<int>& hidden = {})
    {
        m_tabs.Clear();
        std::vector<SIZE> contents;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            auto* tab = new TKvTabData;
            tab->Visible = std::find(hidden.begin(), hidden.end(), static_cast<int>(i)) == hidden.end();
            m_tabs.Add(tab);
            contents.push_back(SIZE{widths[i], 13});
        }
        m_layout = std::make_unique<TKvTabLayout>(m_settings, m_tabs, contents);
        m_layout->Layout();
        return *m_layout;
    }
    // Each tab as "row:(rect)" in tab space.
    [[nodiscard]] std::vector<std::string> Places() const
    {
        std::vector<std::string> places;
        for (int i = 0; i < m_tabs.Count(); ++i)
            places.push_back(std::to_string(m_tabs.Item(i)->Row) + ":" + Text(m_tabs.Item(i)->Rect));
        return places;
    }
    [[nodiscard]] std::vector<std::string> OnControl() const
    {
        std::vector<std::string> rects;
        for (int i = 0; i < m_tabs.Count(); ++i)
            rects.push_back(Text(m_layout->TabRect(i, -1)));
        return rects;
    }

    TKvTabLayoutSettings m_settings;
    TKvTabDataList m_tabs;
    std::unique_ptr<TKvTabLayout> m_layout;
};

TEST(TabTextTest, MnemonicMarkersAndLines)
{
    EXPECT_EQ(WithoutMnemonic("&File"), "File");
    EXPECT_EQ(WithoutMnemonic("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(WithoutMnemonic("a&b&c"), "ab&c");
    EXPECT_EQ(WithoutMnemonic("End&"), "End&");

    struct Split {
        const char* Line;
        const char* Before;
        const char* Marked;
        const char* After;
    };
    for (const Split& c : {Split{"&File", "", "F", "ile"}, Split{"Fish && &Chips", "Fish & ", "C", "hips"},
                           Split{"a&&b", "a&b", "", ""}, Split{"End&", "End&", "", ""},
                           Split{"x&y&&z", "x", "y", "&z"}}) {
        const auto pieces = SplitMnemonic(c.Line);
        EXPECT_EQ(pieces.Before, c.Before) << c.Line;
        EXPECT_EQ(pieces.Marked, c.Marked) << c.Line;
        EXPECT_EQ(pieces.After, c.After) << c.Line;
    }

    const auto measure = [](const std::string& line) { return SIZE{static_cast<LONG>(line.size() * 7), 13}; };
    const SIZE across = MeasureCaption("&One\r\nThree", false, measure);
    EXPECT_EQ(across.cx, 35);
    EXPECT_EQ(across.cy, 26);
    const SIZE turned = MeasureCaption("&One\r\nThree", true, measure);
    EXPECT_EQ(turned.cx, 26);
    EXPECT_EQ(turned.cy, 35);
    const SIZE failed = MeasureCaption("x", false, [](const std::string&) { return SIZE{-1, -1}; });
    EXPECT_EQ(failed.cx, 0);
    EXPECT_EQ(failed.cy, 0);
}

TEST(TabTextTest, ContentByImagePositionAndButtonSize)
{
    const SIZE image{16, 16};
    const SIZE caption{40, 13};
    struct Case {
        TKvImagePosition Position;
        LONG Width, Height;
    };
    for (const Case& c : {Case{ipLeft, 58, 16}, Case{ipRight, 58, 16}, Case{ipTop, 40, 31}, Case{ipBottom, 40, 31},
                          Case{ipBack, 40, 16}, Case{ipStretch, 40, 13}}) {
        const SIZE size = CombineContent(image, caption, c.Position, 2);
        EXPECT_EQ(size.cx, c.Width) << c.Position;
        EXPECT_EQ(size.cy, c.Height) << c.Position;
    }
    // "A" 13 high gives 17, held to the row less 2 unless the tab height is set.
    EXPECT_EQ(TabButtonSize(SIZE{8, 13}, true, false, 0, 0, 30), 17);
    EXPECT_EQ(TabButtonSize(SIZE{8, 13}, true, false, 0, 0, 15), 13);
    EXPECT_EQ(TabButtonSize(SIZE{8, 13}, true, false, 0, 40, 40), 38);
    EXPECT_EQ(TabButtonSize(SIZE{8, 13}, false, true, 0, 0, 15), 13);
    EXPECT_EQ(TabButtonSize(SIZE{8, 13}, false, true, 30, 0, 30), 28);
}

TEST_F(TabLayoutTest, TabSizeAndOverlapByStyle)
{
    struct Case {
        TKvTabStyle Style;
        TKvTabOrientation Orientation;
        bool VerticalText;
        LONG Width, Height;
        int Overlap;
    };
    // Content 40 x 13, cut corner 6, tab overlap -1; the overlap is asked for an extent of 20.
    for (const Case& c : {Case{tsSingleSlant, toTop, false, 2 * 9 + 42 + 4, 19, 10},
                          Case{tsBackSlant, toLeft, false, 46, 2 * 23 + 15 + 4, 10},
                          Case{tsDoubleSlant, toBottom, false, 2 * 15 + 42 + 4, 19, 20},
                          Case{tsDoubleSlant, toRight, false, 46, 2 * 42 + 15 + 4, 20},
                          Case{tsCutCorner, toTop, false, 60, 20, -1}, Case{tsCutCorner, toTop, true, 50, 26, -1},
                          Case{tsCutCorner, toLeft, true, 47, 33, -1}, Case{tsCutCorner, toRight, false, 53, 23, -1},
                          Case{tsRoundCorners, toTop, false, 56, 19, -1},
                          Case{tsRoundCorners, toLeft, true, 46, 29, -1}}) {
        m_settings.Style = c.Style;
        m_settings.Orientation = c.Orientation;
        m_settings.VerticalText = c.VerticalText;
        TKvTabLayout layout(m_settings, m_tabs, {});
        const SIZE size = layout.TabSize(SIZE{40, 13});
        EXPECT_EQ(size.cx, c.Width) << c.Style << "/" << c.Orientation;
        EXPECT_EQ(size.cy, c.Height) << c.Style << "/" << c.Orientation;
        EXPECT_EQ(layout.Overlap(20), c.Overlap) << c.Style;
    }
}

TEST_F(TabLayoutTest, OneRowInEveryOrientationAndSequence)
{
    struct Case {
        TKvTabOrientation Orientation;
        TKvTabSequence Sequence;
        int FixedDimension;
        std::vector<std::string> Rects;
    };
    const std::vector<Case> cases{
        {toTop, tsStandard, 20, {"(0,0,40,20)", "(42,0,92,20)", "(94,0,154,20)"}},
        {toBottom, tsStandard, 20, {"(0,79,40,99)", "(42,79,92,99)", "(94,79,154,99)"}},
        // Along a vertical strip every tab is as long as the tallest; the strip runs upward.
        {toLeft, tsStandard, 53, {"(0,76,53,99)", "(0,51,53,74)", "(0,26,53,49)"}},
        {toRight, tsStandard, 53, {"(246,0,299,23)", "(246,25,299,48)", "(246,50,299,73)"}},
        // The first tab at the far end, against the margin.
        {toTop, tsReverse, 20, {"(259,0,299,20)", "(207,0,257,20)", "(145,0,205,20)"}},
        {toLeft, tsReverse, 53, {"(0,0,53,23)", "(0,25,53,48)", "(0,50,53,73)"}},
    };
    for (const Case& c : cases) {
        m_settings.Orientation = c.Orientation;
        m_settings.Sequence = c.Sequence;
        const TKvTabLayout& layout = Lay({20, 30, 40});
        EXPECT_EQ(layout.FixedDimension(), c.FixedDimension) << c.Orientation << "/" << c.Sequence;
        EXPECT_EQ(layout.RowCount(), 1);
        EXPECT_EQ(OnControl(), c.Rects) << c.Orientation << "/" << c.Sequence;
    }
}

TEST_F(TabLayoutTest, RoundCornerStripsHoldTheSelectedTabsRiseAndNoMore)
{
    m_settings.Style = tsRoundCorners;
    // The selected tab's outer edge as the control's edge on that side.
    const struct {
        TKvTabOrientation Orientation;
        std::function<int(const TRect&)> OuterEdge;
        int ControlEdge;
    } cases[] = {
        {toTop, [](const TRect& r) { return static_cast<int>(r.top); }, 0},
        {toBottom, [](const TRect& r) { return static_cast<int>(r.bottom); }, 99},
        {toLeft, [](const TRect& r) { return static_cast<int>(r.left); }, 0},
        {toRight, [](const TRect& r) { return static_cast<int>(r.right); }, 299},
    };
    for (const auto& c : cases) {
        m_settings.Orientation = c.Orientation;
        const TKvTabLayout& layout = Lay({20, 30, 40});
        EXPECT_EQ(layout.Thickness(), layout.FixedDimension() + 2) << c.Orientation;
        EXPECT_EQ(c.OuterEdge(layout.TabRect(1, 1)), c.ControlEdge) << c.Orientation;
    }
}

TEST_F(TabLayoutTest, HiddenTabsTakeNoPlaceAndFixedWidthsReplaceTheContent)
{
    Lay({20, 30, 40}, {1});
    EXPECT_EQ(Places(), (std::vector<std::string>{"0:(0,0,40,20)", "0:(0,0,0,0)", "0:(42,0,102,20)"}));

    m_settings.TabWidth = 70;
    Lay({20, 30, 40});
    EXPECT_EQ(Places(), (std::vector<std::string>{"0:(0,0,70,20)", "0:(72,0,142,20)", "0:(144,0,214,20)"}));

    // A fixed height sets the row's thickness whatever the captions.
    m_settings.TabWidth = 0;
    m_settings.TabHeight = 30;
    EXPECT_EQ(Lay({20, 30, 40}).FixedDimension(), 30);
}

TEST_F(TabLayoutTest, NoTabsLeaveOneRowOfTheMinimumAndAWholeCard)
{
    const TKvTabLayout& layout = Lay({});
    EXPECT_EQ(layout.RowCount(), 1);
    EXPECT_EQ(layout.FixedDimension(), 20);
    EXPECT_EQ(Text(layout.CardRect(0)), "(0,0,299,99)");
    EXPECT_EQ(layout.FirstShown(), -1);
}

TEST_F(TabLayoutTest, MultipleRowsCardsAndClientArea)
{
    m_settings.MultiLine = true;
    m_settings.Width = 120;
    const TKvTabLayout& layout = Lay({20, 30, 40, 20});
    EXPECT_EQ(layout.RowCount(), 2);
    EXPECT_EQ(layout.Thickness(), 35);
    EXPECT_EQ(Places(),
              (std::vector<std::string>{"0:(0,15,40,35)", "0:(42,15,92,35)", "1:(0,0,60,20)", "1:(62,0,102,20)"}));
    // The outer row is indented.
    EXPECT_EQ(Text(layout.TabRect(2, -1)), "(5,0,65,20)");
    EXPECT_EQ(Text(layout.CardRect(0)), "(0,35,114,99)");
    EXPECT_EQ(Text(layout.CardRect(1)), "(5,20,119,84)");
    EXPECT_EQ(Text(layout.ClientArea()), "(1,36,112,97)");
    EXPECT_FALSE(layout.NeedsScroller());
}

TEST_F(TabLayoutTest, ACaptionLongerThanTheStripSitsAloneInItsRow)
{
    m_settings.MultiLine = true;
    m_settings.Width = 120;
    const TKvTabLayout& layout = Lay({20, 200, 20});
    EXPECT_EQ(layout.RowCount(), 3);
    EXPECT_EQ(Places(), (std::vector<std::string>{"0:(0,30,40,50)", "1:(0,15,107,35)", "2:(0,0,40,20)"}));
}

TEST_F(TabLayoutTest, JustifiedRowsFillTheStripWithTheRemainderFirst)
{
    m_settings.MultiLine = true;
    m_settings.AlignTabs = true;
    m_settings.Width = 121;
    Lay({20, 30, 40, 20});
    EXPECT_EQ(Places(),
              (std::vector<std::string>{"0:(0,15,51,35)", "0:(53,15,113,35)", "1:(0,0,66,20)", "1:(68,0,113,20)"}));
}

TEST_F(TabLayoutTest, SelectingAnOuterRowBringsItNextToTheCard)
{
    m_settings.MultiLine = true;
    m_settings.Width = 120;
    TKvTabLayout& layout = Lay({20, 200, 20});
    layout.RotateRows(2);
    EXPECT_EQ(Places(), (std::vector<std::string>{"1:(0,15,40,35)", "2:(0,0,107,20)", "0:(0,30,40,50)"}));
}

TEST_F(TabLayoutTest, AnOverflowingRowNeedsTheScroller)
{
    m_settings.Width = 120;
    m_settings.ButtonSize = 12;
    TKvTabLayout& layout = Lay({20, 30, 40, 20});
    EXPECT_TRUE(layout.NeedsScroller());
    EXPECT_EQ(layout.FirstShown(), 0);
    EXPECT_TRUE(layout.WhollyShown(0));
    EXPECT_TRUE(layout.WhollyShown(1));
    EXPECT_FALSE(layout.WhollyShown(2));

    // Scrolled to the third tab, the strip starts there.
    layout.SetFirstShown(2);
    EXPECT_EQ(layout.ScrollOffset(), 94);
    EXPECT_FALSE(layout.WhollyShown(1));
    EXPECT_TRUE(layout.WhollyShown(2));
    EXPECT_EQ(Text(layout.TabRect(2, -1)), "(0,0,60,20)");
}

TEST_F(TabLayoutTest, WithoutTheCardThePagesGoOffScreen)
{
    m_settings.CardVisible = false;
    const TKvTabLayout& layout = Lay({20});
    EXPECT_EQ(layout.Thickness(), 99);
    EXPECT_EQ(Text(layout.ClientArea()), "(-2,-2,-1,-1)");
    EXPECT_EQ(Text(layout.CardRect(0)), "(-3,99,302,102)");
}

TEST(TabSelectionTest, TheSelectionSettlesOnAnAllowedTabInsideTheList)
{
    TKvTabDataList tabs;
    for (int i = 0; i < 3; ++i)
        tabs.Add(new TKvTabData);
    const auto all = [](int) { return true; };
    const auto notLast = [](int i) { return i != 2; };
    const auto none = [](int) { return false; };

    EXPECT_EQ(CorrectedTabIndex(1, tabs, all), 1);
    // The list shrank under a selection of 5.
    EXPECT_EQ(CorrectedTabIndex(5, tabs, all), 2);
    EXPECT_EQ(CorrectedTabIndex(5, tabs, notLast), 1);
    EXPECT_EQ(CorrectedTabIndex(2, tabs, notLast), 1);
    EXPECT_EQ(CorrectedTabIndex(-1, tabs, all), -1);
    EXPECT_EQ(CorrectedTabIndex(1, tabs, none), 1);
}

} // namespace
