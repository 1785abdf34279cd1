#include "controls/KvTabs.h"

#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

[[nodiscard]] HRGN MakeRegion(int size) { return CreateRectRgn(0, 0, size, size); }
[[nodiscard]] bool Alive(HRGN region) { return GetObjectType(region) != 0; }

TEST(KvTabDataTest, AssignCopiesTheTabButNotItsPlace)
{
    TKvTabData source;
    source.Caption = "&First\r\nline";
    source.Color = clRed;
    source.DisabledImageIndex = 3;
    source.Enabled = false;
    source.Hint = "hint";
    source.ImageIndex = 2;
    source.Visible = false;
    source.Rect = TRect{1, 2, 3, 4};
    source.Row = 2;

    TKvTabData copy;
    copy.Assign(&source);

    EXPECT_EQ(copy.Caption, source.Caption);
    EXPECT_EQ(copy.Color, clRed);
    EXPECT_EQ(copy.DisabledImageIndex, 3);
    EXPECT_FALSE(copy.Enabled);
    EXPECT_EQ(copy.Hint, "hint");
    EXPECT_EQ(copy.ImageIndex, 2);
    EXPECT_FALSE(copy.Visible);
    EXPECT_EQ(copy.Rect.right, 0);
    EXPECT_EQ(copy.Row, 0);
}

TEST(KvTabDataTest, AssignFromAStrangerFailsWithTheAssignmentError)
{
    TKvTabData tab;
    TKvTabColors colors(nullptr);
    EXPECT_THROW(tab.Assign(&colors), Exception);
}

TEST(KvTabDataListTest, AssignCopiesEveryTabInOrderAndReplacesWhatWasThere)
{
    TKvTabDataList source;
    for (const char* caption : {"a", "b", "c"}) {
        auto* tab = new TKvTabData;
        tab->Caption = caption;
        source.Add(tab);
    }
    TKvTabDataList list;
    list.Add(new TKvTabData);
    list.Assign(&source);

    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(0)->Caption, "a");
    EXPECT_EQ(list.Item(2)->Caption, "c");
    EXPECT_NE(list.Item(0), source.Item(0));

    list.Assign(&list);
    EXPECT_EQ(list.Count(), 3);
}

TEST(KvTabDataListTest, StoringTheHeldItemAgainKeepsIt)
{
    TKvTabDataList list;
    auto* tab = new TKvTabData;
    tab->Caption = "kept";
    list.Add(tab);

    list.SetItem(0, tab);
    EXPECT_EQ(list.Item(0)->Caption, "kept");

    auto* other = new TKvTabData;
    list.SetItem(0, other);
    EXPECT_EQ(list.Item(0), other);
}

TEST(KvTabColorsTest, OnlyAChangedColourRepaints)
{
    int repaints = 0;
    TKvTabColors tabs([&] { ++repaints; });
    TKvTextColors texts([&] { ++repaints; });
    EXPECT_EQ(tabs.HighlightBar(), clHighlight);
    EXPECT_EQ(tabs.Shadow(), clBtnFace);
    EXPECT_EQ(tabs.Unselected(), clWindow);
    EXPECT_EQ(texts.Disabled(), clGrayText);
    EXPECT_EQ(texts.Selected(), clBtnText);
    EXPECT_EQ(texts.Unselected(), clBtnText);

    tabs.SetShadow(clBtnFace);
    texts.SetSelected(clBtnText);
    EXPECT_EQ(repaints, 0);

    tabs.SetShadow(clRed);
    texts.SetDisabled(clBlue);
    EXPECT_EQ(repaints, 2);

    TKvTabColors copy(nullptr);
    copy.Assign(&tabs);
    EXPECT_EQ(copy.Shadow(), clRed);
    TKvTextColors textCopy(nullptr);
    textCopy.Assign(&texts);
    EXPECT_EQ(textCopy.Disabled(), clBlue);
}

TEST(KvTabRegionCacheTest, KeepsTheMostRecentRegionsUpToItsCapacity)
{
    TKvTabRegionCache cache;
    cache.SetCapacity(2);
    const HRGN first = MakeRegion(1);
    const HRGN second = MakeRegion(2);
    const HRGN third = MakeRegion(3);
    cache.Add(TRect{0, 0, 1, 1}, first);
    cache.Add(TRect{0, 0, 2, 2}, second);
    cache.Add(TRect{0, 0, 3, 3}, third);

    EXPECT_EQ(cache.Count(), 2);
    EXPECT_FALSE(Alive(first));
    EXPECT_EQ(cache.Find(TRect{0, 0, 1, 1}), nullptr);
    EXPECT_EQ(cache.Find(TRect{0, 0, 2, 2}), second);
    EXPECT_EQ(cache.Find(TRect{0, 0, 3, 3}), third);
}

TEST(KvTabRegionCacheTest, ARectangleAddedAgainMovesToTheFrontWithoutLeakingTheNewRegion)
{
    TKvTabRegionCache cache;
    cache.SetCapacity(2);
    const HRGN first = MakeRegion(1);
    const HRGN second = MakeRegion(2);
    cache.Add(TRect{0, 0, 1, 1}, first);
    cache.Add(TRect{0, 0, 2, 2}, second);

    const HRGN again = MakeRegion(1);
    cache.Add(TRect{0, 0, 1, 1}, again);
    EXPECT_FALSE(Alive(again));
    EXPECT_EQ(cache.Find(TRect{0, 0, 1, 1}), first);

    // The first rectangle is now the most recent, so the second goes when a third arrives.
    cache.Add(TRect{0, 0, 3, 3}, MakeRegion(3));
    EXPECT_TRUE(Alive(first));
    EXPECT_FALSE(Alive(second));
}

TEST(KvTabRegionCacheTest, CapacityRulesAndShrinking)
{
    TKvTabRegionCache cache;
    EXPECT_EQ(cache.Capacity(), 1);
    cache.SetCapacity(-1);
    std::vector<HRGN> regions;
    for (int i = 1; i <= 5; ++i) {
        regions.push_back(MakeRegion(i));
        cache.Add(TRect{0, 0, i, i}, regions.back());
    }
    EXPECT_EQ(cache.Count(), 5);

    cache.SetCapacity(1);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.Find(TRect{0, 0, 5, 5}), regions.back());
    EXPECT_FALSE(Alive(regions.front()));

    for (const int wrong : {0, -2}) {
        try {
            cache.SetCapacity(wrong);
            ADD_FAILURE() << wrong << " was taken";
        } catch (const EKvTabControlError& error) {
            EXPECT_EQ(error.Message(), "Capacity must be -1 (to cache all regions) or > 0");
        }
    }
    EXPECT_EQ(cache.Capacity(), 1);

    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_FALSE(Alive(regions.back()));
}

} // namespace
