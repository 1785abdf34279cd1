#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/tests/TestDataGrid.h"

#include <gtest/gtest.h>

namespace {

// Three columns A, B and C of a grid without data.
class SortMarkers : public ::testing::Test {
protected:
    SortMarkers()
    {
        for (const char* name : {"A", "B", "C"})
            m_grid.Columns().Add()->SetFieldName(name);
    }

    TColumnTitleGx& Title(int column) { return *m_grid.Columns()[column]->Title(); }
    std::vector<int> Indices()
    {
        return {Title(0).SortIndex(), Title(1).SortIndex(), Title(2).SortIndex()};
    }
    std::vector<std::string> SortList()
    {
        std::vector<std::string> names;
        for (const TColumnGx* column : m_grid.SortList)
            names.push_back(column->FieldName());
        return names;
    }

    TTestDataGrid m_grid{nullptr};
};

using Ints = std::vector<int>;
using Names = std::vector<std::string>;

} // namespace

TEST_F(SortMarkers, MultiColumnMarkingNumbersAndRenumbers)
{
    for (int i = 0; i < 3; ++i)
        Title(i).SetSortMarker(smDownGx);
    EXPECT_EQ(Indices(), (Ints{1, 2, 3}));
    Title(1).SetSortMarker(smUpGx);
    EXPECT_EQ(Indices(), (Ints{1, 2, 3})) << "turning the direction keeps the place";
    Title(1).SetSortMarker(smNoneGx);
    EXPECT_EQ(Indices(), (Ints{1, 0, 2}));
    EXPECT_EQ(SortList(), (Names{"A", "C"}));
}

TEST_F(SortMarkers, SortIndexOnlySwapsWithTheColumnHoldingIt)
{
    Title(0).SetSortMarker(smDownGx);
    Title(2).SetSortMarker(smDownGx);
    Title(2).SetSortIndex(1);
    EXPECT_EQ(Indices(), (Ints{2, 0, 1}));
    EXPECT_EQ(SortList(), (Names{"C", "A"}));
    Title(2).SetSortIndex(5);
    Title(1).SetSortIndex(1);
    EXPECT_EQ(Indices(), (Ints{2, 0, 1})) << "an index nobody holds, or an unmarked title, changes nothing";
}

TEST_F(SortMarkers, SingleColumnMarkingKeepsOneMarker)
{
    m_grid.MultiSort = false;
    Title(0).SetSortMarker(smDownGx);
    Title(1).SetSortMarker(smUpGx);
    EXPECT_EQ(Title(0).SortMarker(), smNoneGx);
    EXPECT_EQ(Indices(), (Ints{0, 1, 0}));
    EXPECT_EQ(SortList(), (Names{"B"}));
    Title(1).SetSortMarker(smNoneGx);
    EXPECT_TRUE(SortList().empty());
}

TEST_F(SortMarkers, ClicksCycleTheMarker)
{
    const auto cycle = [this](bool multi) {
        std::vector<TSortMarkerGx> seen;
        for (int i = 0; i < 4; ++i) {
            Title(0).ToggleSortMarker(multi);
            seen.push_back(Title(0).SortMarker());
        }
        return seen;
    };
    EXPECT_EQ(cycle(false), (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smDownGx, smUpGx}));
    Title(0).SetSortMarker(smNoneGx);
    EXPECT_EQ(cycle(true), (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smNoneGx, smDownGx}));
    Title(1).SetSortMarker(smDownGx);
    Title(0).ToggleSortMarker(false);
    EXPECT_EQ(Title(1).SortMarker(), smNoneGx) << "a click without Ctrl clears the other markers";
}

TEST_F(SortMarkers, MarkerWidthGivesWayInNarrowColumns)
{
    Title(0).SetSortMarker(smDownGx);
    struct Case {
        int width;
        int room;
    };
    for (const Case c : {Case{64, 16}, Case{15, 2}, Case{5, 0}}) {
        m_grid.Columns()[0]->SetWidth(c.width);
        EXPECT_EQ(Title(0).SortMarkerWidth(), c.room) << c.width;
    }
    m_grid.Columns()[0]->SetWidth(64);
    Title(1).SetSortMarker(smDownGx);
    EXPECT_EQ(Title(0).SortMarkerWidth(), 16 + 6) << "with two sorted columns the number takes room too";
    EXPECT_EQ(Title(2).SortMarkerWidth(), 0);
}

TEST_F(SortMarkers, RemovedColumnLeavesTheSortList)
{
    Title(0).SetSortMarker(smDownGx);
    Title(1).SetSortMarker(smDownGx);
    delete m_grid.Columns()[0];
    EXPECT_EQ(SortList(), (Names{"B"}));
}

TEST(ColumnTitle, AssignedCaptionIsStoredOnlyWhileItDiffers)
{
    TTestDataGrid grid(nullptr);
    TColumnGx& column = *grid.Columns().Add();
    column.SetFieldName("NAME");
    TColumnTitleGx& title = *column.Title();
    title.SetCaption("NAME");
    EXPECT_TRUE(column.AssignedValues().Contains(cvTitleCaption));
    EXPECT_FALSE(title.IsCaptionStored());
    title.SetCaption("Name");
    EXPECT_TRUE(title.IsCaptionStored());
    title.RestoreDefaults();
    EXPECT_EQ(title.Caption(), "NAME");
}

TEST(ColumnTitle, UnassignedPropertiesReadTheGridsTitleDefaults)
{
    TTestDataGrid grid(nullptr);
    grid.Titles.Color = clAqua;
    grid.Titles.TitleButton = true;
    TColumnTitleGx& title = *grid.Columns().Add()->Title();
    EXPECT_EQ(title.Color(), clAqua);
    EXPECT_TRUE(title.TitleButton());
    title.SetColor(clRed);
    title.SetToolTips(false);
    EXPECT_EQ(title.Color(), clRed);
    EXPECT_FALSE(title.Column()->AssignedValues().Contains(cvTitleToolTips)) << "the default stays unassigned";
    TColumnTitleGx copy(nullptr);
    copy.Assign(&title);
    EXPECT_EQ(copy.Hint(), title.Hint());
}
