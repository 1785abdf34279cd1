#include "controls/KvTabsControl.h"

#include "KvFormFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The tab control as a descendant fills it: tabs put in the list, then the layout told.
class TestTabs : public TKvCustomTabControl {
public:
    using TKvCustomTabControl::TKvCustomTabControl;
    using TKvCustomTabControl::Loaded;
    void SetCaptions(const std::vector<std::string>& captions)
    {
        Tabs().Clear();
        for (const std::string& caption : captions) {
            auto* tab = new TKvTabData;
            tab->Caption = caption;
            Tabs().Add(tab);
        }
        LayoutChanged();
    }
};

constexpr TColor CardColour = clAqua;
constexpr TColor Behind = clYellow;

// Solid colours throughout: the card and the selected tab aqua, other tabs white, yellow behind.
class TabControlTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        m_tabs = Add<TestTabs>(TRect{10, 10, 310, 110});
        m_tabs->SetUseGradients(false);
        m_tabs->SetColor(CardColour);
        m_tabs->SetBackgroundColor(Behind);
        m_tabs->SetCaptions({"AB", "CD", "EF"});
        m_tabs->SetTabIndex(1);
        ShowForm();
    }
    [[nodiscard]] std::uint32_t At(int x, int y) { return Shown(*m_tabs, POINT{x, y}); }
    [[nodiscard]] int CountIn(const TRect& rect, TColor colour)
    {
        int count = 0;
        for (int y = rect.top; y <= rect.bottom; ++y)
            for (int x = rect.left; x <= rect.right; ++x)
                count += At(x, y) == Rgb(colour) ? 1 : 0;
        return count;
    }
    void ClickTab(int tab)
    {
        const TRect rect = m_tabs->TabRect(tab);
        ClickInWindow(*m_tabs, POINT{(rect.left + rect.right) / 2, rect.bottom - 2});
    }

    TestTabs* m_tabs = nullptr;
};

// Per style, a point of a tab's rectangle (offsets from its corners) that lies outside its shape.
struct ShapeCase {
    TKvTabStyle Style;
    bool FromRight;
    int Dx, Dy;
};

TEST_F(TabControlTest, EachShapeSelectedAndNotOpensTheSelectedTabIntoTheCard)
{
    m_tabs->SetShowFocusRect(false); // the focus rectangle runs along the tab's foot
    for (const ShapeCase& c : {ShapeCase{tsSingleSlant, true, -1, 1}, ShapeCase{tsDoubleSlant, true, -1, 1},
                               ShapeCase{tsCutCorner, true, -1, 1}, ShapeCase{tsRoundCorners, true, 0, 0},
                               ShapeCase{tsBackSlant, true, 0, 0}}) {
        SCOPED_TRACE(c.Style);
        m_tabs->SetTabStyle(c.Style);
        Pump();
        const TRect selected = m_tabs->TabRect(1);
        const TRect last = m_tabs->TabRect(2);
        const int selectedMid = (selected.left + selected.right) / 2;
        const int lastMid = (last.left + last.right) / 2;
        EXPECT_EQ(At(selectedMid, selected.bottom - 2), Rgb(CardColour));
        EXPECT_EQ(At(lastMid, last.bottom - 2), Rgb(clWindow));
        EXPECT_EQ(At(lastMid, last.top), Rgb(clBtnShadow));
        EXPECT_EQ(At(selectedMid, selected.top), Rgb(clBtnShadow));
        const int outsideX = (c.FromRight ? last.right : last.left) + c.Dx;
        EXPECT_EQ(At(outsideX, last.top + c.Dy), Rgb(Behind));
        // The card's frame runs under the other tabs and breaks under the selected one.
        EXPECT_EQ(At(lastMid, last.bottom), Rgb(clBtnShadow));
        EXPECT_EQ(At(selectedMid, selected.bottom), Rgb(CardColour));
    }
}

TEST_F(TabControlTest, TheSelectedTabIsDrawnOverItsNeighbours)
{
    // Single slants overlap: the selected tab's slant covers the start of the next tab.
    const TRect selected = m_tabs->TabRect(1);
    const TRect next = m_tabs->TabRect(2);
    ASSERT_LT(next.left, selected.right);
    EXPECT_EQ(At(next.left + 1, next.bottom - 2), Rgb(CardColour));
    EXPECT_EQ(m_tabs->HitTestTab(next.left + 1, next.bottom - 2), 1);
    EXPECT_EQ(m_tabs->HitTestTab(next.right - 1, next.top + 1), -1);
}

TEST_F(TabControlTest, DisabledCaptionsAreGreyAndCannotBeClicked)
{
    const TRect last = m_tabs->TabRect(2);
    EXPECT_GT(CountIn(last, clBtnText), 0);
    m_tabs->Tabs().Item(2)->Enabled = false;
    m_tabs->Invalidate();
    Pump();
    EXPECT_EQ(CountIn(last, clBtnText), 0);
    EXPECT_GT(CountIn(last, clGrayText), 0);

    ClickTab(2);
    EXPECT_EQ(m_tabs->TabIndex(), 1);
    ClickTab(0);
    EXPECT_EQ(m_tabs->TabIndex(), 0);
    m_tabs->SetEnabled(false);
    ClickTab(1);
    EXPECT_EQ(m_tabs->TabIndex(), 0);
}

TEST_F(TabControlTest, AMnemonicIsUnderlinedAndADoubledAmpersandIsNot)
{
    m_tabs->SetTabWidth(60);
    const auto inked = [&](const std::string& caption) {
        m_tabs->SetCaptions({"AB", "CD", caption});
        Pump();
        return CountIn(m_tabs->TabRect(2), clBtnText);
    };
    const int plain = inked("EF");
    EXPECT_GT(inked("&EF"), plain);
    // "E&&F" shows "E&F" with nothing underlined; "E&F" shows "EF" with the F underlined.
    EXPECT_GT(inked("E&&F"), plain);
    EXPECT_GT(inked("E&F"), plain);
    EXPECT_NE(inked("E&F"), inked("E&&F"));
}

TEST_F(TabControlTest, TheShadowDarkensWhatLiesBehind)
{
    const int right = m_tabs->Width() - 1;
    const int middle = m_tabs->Height() - 20;
    EXPECT_EQ(At(right - 1, middle), Rgb(MixColors(clBlack, clBtnFace, 30)));
    EXPECT_EQ(At(right, middle), Rgb(MixColors(clBlack, clBtnFace, 15)));
    EXPECT_EQ(At(right - 2, middle), Rgb(clBtnShadow));

    m_tabs->SetShowShadow(false);
    Pump();
    EXPECT_EQ(At(right, middle), Rgb(clBtnShadow));
}

TEST_F(TabControlTest, TransparentShowsTheParentAndBoldWidensEveryTab)
{
    const TRect strip{m_tabs->TabRect(2).right + 5, 2, m_tabs->Width() - 5, 4};
    EXPECT_EQ(At(strip.left, strip.top), Rgb(Behind));
    m_tabs->SetTransparent(true);
    Pump();
    EXPECT_EQ(At(strip.left, strip.top), Rgb(clBtnFace));

    m_tabs->SetCaptions({"WWWWWWWW", "MMMMMMMM"});
    const int before = m_tabs->TabRect(1).right - m_tabs->TabRect(1).left;
    m_tabs->SetBoldCurrentTab(true);
    Pump();
    EXPECT_GT(m_tabs->TabRect(1).right - m_tabs->TabRect(1).left, before);
}

TEST_F(TabControlTest, CoupledPropertiesAndRefusedIndexes)
{
    m_tabs->SetShowFullFrame(false);
    EXPECT_FALSE(m_tabs->ShowShadow());
    m_tabs->SetShowShadow(true);
    EXPECT_TRUE(m_tabs->ShowFullFrame());
    EXPECT_FALSE(m_tabs->ParentBackgroundColor());

    int changes = 0;
    m_tabs->SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    m_tabs->SetTabIndex(5);
    EXPECT_EQ(m_tabs->TabIndex(), -1);
    EXPECT_EQ(changes, 0);
}

TEST_F(TabControlTest, ASelectionPastAShrunkListSettlesOnTheLastTab)
{
    m_tabs->SetCaptions({"AB", "CD", "EF", "GH", "IJ"});
    m_tabs->SetTabIndex(4);
    m_tabs->SetCaptions({"AB", "CD", "EF"});
    Pump();
    EXPECT_EQ(m_tabs->TabIndex(), 2);
}

TEST_F(TabControlTest, TheScrollerMovesARowThatDoesNotFit)
{
    m_tabs->SetCaptions({"AAAAAA", "BBBBBB", "CCCCCC", "DDDDDD", "EEEEEE", "FFFFFF", "GGGGGG"});
    m_tabs->SetTabIndex(0);
    int scrolls = 0;
    m_tabs->SetOnScrolledTabs(TNotifyEvent::FromFunction([&](TObject*) { ++scrolls; }));
    Pump();
    TKvTabScroller* scroller = m_tabs->Scroller();
    ASSERT_NE(scroller, nullptr);
    EXPECT_GT(scroller->Left(), m_tabs->Width() / 2);
    EXPECT_GE(scroller->Top(), 0);
    EXPECT_EQ(m_tabs->FirstShownTab(), 0);

    ClickInWindow(*scroller, POINT{scroller->Width() - 3, scroller->Height() / 2});
    EXPECT_EQ(m_tabs->FirstShownTab(), 1);
    EXPECT_EQ(scrolls, 1);
    ClickInWindow(*scroller, POINT{2, scroller->Height() / 2});
    EXPECT_EQ(m_tabs->FirstShownTab(), 0);

    // Selecting a tab out of sight brings it in.
    m_tabs->SetTabIndex(6);
    EXPECT_TRUE(m_tabs->CanScrollTo(6));
    EXPECT_GT(m_tabs->FirstShownTab(), 0);
}

TEST_F(TabControlTest, BottomLeftAndRightTabsAreHitWhereTheyAreDrawn)
{
    m_tabs->SetBounds(10, 10, 300, 200);
    for (const TKvTabOrientation side : {toBottom, toLeft, toRight}) {
        SCOPED_TRACE(side);
        m_tabs->SetTabOrientation(side);
        m_tabs->SetTabIndex(0);
        Pump();
        const TRect rect = m_tabs->TabRect(2);
        const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        EXPECT_EQ(m_tabs->HitTestTab(centre.x, centre.y), 2);
        ClickInWindow(*m_tabs, centre);
        EXPECT_EQ(m_tabs->TabIndex(), 2);
    }
}

TEST_F(TabControlTest, TheHotTabShowsItsBarOrItsCaptionInTheHotColour)
{
    const TRect hot = m_tabs->TabRect(2);
    const POINT over{(hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2};
    m_tabs->SetHotTrackColor(clRed);
    MoveMouse(*m_tabs, over);
    EXPECT_EQ(m_tabs->HotTab(), 2);
    EXPECT_EQ(At(over.x, hot.top + 1), Rgb(clRed)) << "the bar along the tab's outer edge";

    m_tabs->SetHotTrackColorType(htctComplement);
    Pump();
    EXPECT_EQ(At(over.x, hot.top + 1), Rgb(OppositeHueColor(clRed, 140)));

    m_tabs->SetHotTrackStyle(htsText);
    Pump();
    EXPECT_GT(CountIn(hot, clRed), 0) << "the caption in the hot colour";
    std::vector<TKvTextStyle> asked;
    m_tabs->SetOnGetTextColor(
        TKvGetTextColorEvent::FromFunction([&](TObject*, int index, TKvTextStyle style, TColor& color, bool& handled) {
            if (index == 2) {
                asked.push_back(style);
                color = clLime;
                handled = true;
            }
        }));
    m_tabs->Invalidate();
    Pump();
    EXPECT_EQ(CountIn(hot, clRed), 0);
    EXPECT_GT(CountIn(hot, clLime), 0);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), tsHotTrack);

    // Off the tabs the hover timer notices and the tab cools.
    MoveMouse(*m_form, POINT{5, 300});
    Advance(60);
    EXPECT_EQ(m_tabs->HotTab(), -1);
    EXPECT_EQ(asked.back(), tsUnselected);
}

TEST_F(TabControlTest, TabHintsFollowTheMouseAndTheOwnHintComesBack)
{
    m_tabs->SetHint("the strip");
    m_tabs->Loaded(); // keeps the control's own hint, as loading from form data does
    m_tabs->SetTabHints(true);
    m_tabs->Tabs().Item(0)->Hint = "first";
    m_tabs->Tabs().Item(2)->Hint = "third";
    const auto over = [&](int tab) {
        const TRect rect = m_tabs->TabRect(tab);
        MoveMouse(*m_tabs, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        return m_tabs->Hint();
    };
    EXPECT_EQ(over(0), "first");
    EXPECT_EQ(over(2), "third");
    MoveMouse(*m_tabs, POINT{m_tabs->Width() - 20, 3});
    EXPECT_EQ(m_tabs->Hint(), "") << "the bare strip shows no hint";
    MoveMouse(*m_tabs, POINT{m_tabs->Width() / 2, m_tabs->Height() - 10});
    EXPECT_EQ(m_tabs->Hint(), "the strip");
}

TEST_F(TabControlTest, AltAndATabsMnemonicSelectsIt)
{
    m_tabs->SetCaptions({"&Alpha", "&Beta", "&Gamma"});
    m_tabs->SetTabIndex(0);
    int clicks = 0;
    m_tabs->SetOnTabClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    Key('G', ModAlt, "g");
    EXPECT_EQ(m_tabs->TabIndex(), 2);
    EXPECT_EQ(clicks, 1);
    m_tabs->Tabs().Item(1)->Enabled = false;
    Key('B', ModAlt, "b");
    EXPECT_EQ(m_tabs->TabIndex(), 2) << "a disabled tab keeps its mnemonic to itself";
}

TEST_F(TabControlTest, AnImageStandsBesideTheCaptionAndGreysWhenDisabled)
{
    TImageList images(nullptr);
    images.SetSize(12, 12);
    TBitmap red;
    red.SetSize(12, 12);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 12, 12});
    (void)images.Add(&red, nullptr);
    m_tabs->SetShowFocusRect(false); // it inverts the card's colour to red
    const int plainWidth = m_tabs->TabRect(2).right - m_tabs->TabRect(2).left;
    m_tabs->SetImages(&images);
    m_tabs->Tabs().Item(2)->ImageIndex = 0;
    m_tabs->SetImageMargin(5);
    Pump();
    const TRect tab = m_tabs->TabRect(2);
    EXPECT_GE(tab.right - tab.left, plainWidth + 12);
    const TRect beside = BoundsShown(*m_tabs, clRed);
    EXPECT_EQ(beside.right - beside.left, 12);
    EXPECT_LT(beside.left, (tab.left + tab.right) / 2) << "ipLeft puts it before the caption";

    m_tabs->SetImagePosition(ipRight);
    Pump();
    EXPECT_GT(BoundsShown(*m_tabs, clRed).left, beside.left + 12) << "ipRight puts it after the caption";

    m_tabs->Tabs().Item(2)->Enabled = false;
    m_tabs->Invalidate();
    Pump();
    EXPECT_FALSE(ShowsColour(*m_tabs, m_tabs->TabRect(2), clRed));
    m_tabs->SetImages(nullptr);
}

TEST_F(TabControlTest, TurnedCaptionsStandOnLeftAndRightTabs)
{
    m_tabs->SetBounds(10, 10, 300, 200);
    m_tabs->SetCaptions({"Alpha", "Beta"});
    m_tabs->SetTextOrientation(orVertical);
    m_tabs->SetTabIndex(1);
    for (const TKvTabOrientation side : {toLeft, toRight}) {
        SCOPED_TRACE(side);
        m_tabs->SetTabOrientation(side);
        Pump();
        const TRect tab = m_tabs->TabRect(0);
        EXPECT_GT(tab.bottom - tab.top, tab.right - tab.left);
        TRect ink{tab.right, tab.bottom, tab.left, tab.top};
        for (int y = tab.top; y <= tab.bottom; ++y)
            for (int x = tab.left; x <= tab.right; ++x)
                if (At(x, y) == Rgb(clBtnText)) {
                    ink.left = std::min<int>(ink.left, x);
                    ink.right = std::max<int>(ink.right, x);
                    ink.top = std::min<int>(ink.top, y);
                    ink.bottom = std::max<int>(ink.bottom, y);
                }
        EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left)) << "the word runs along the tab";
    }
}

TEST_F(TabControlTest, TheCloseButtonClosesOnlyWhatOnCloseAllows)
{
    m_tabs->SetShowCloseButton(true);
    Pump();
    TKvTabCloseButton* close = m_tabs->CloseButton();
    ASSERT_NE(close, nullptr);
    EXPECT_GT(close->Left(), m_tabs->TabRect(2).right) << "at the end the tabs run toward";
    EXPECT_LT(close->Top() + close->Height(), m_tabs->FixedDimension() + 1);
    int asked = 0;
    bool allow = false;
    m_tabs->SetOnClose(TKvTabCloseEvent::FromFunction([&](TObject*, bool& allowClose) {
        ++asked;
        allowClose = allow;
    }));
    Press(*close, POINT{3, 3}, true);
    MoveHeld(*close, POINT{close->Width() + 20, 3});
    Press(*close, POINT{close->Width() + 20, 3}, false);
    EXPECT_EQ(asked, 0) << "released outside, nothing is asked";
    Click(*close, POINT{3, 3});
    EXPECT_EQ(asked, 1);
}

} // namespace
