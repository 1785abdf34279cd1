#include "GridTestClasses.h"

#include <functional>

// The geometry needs no window: without one the grid measures itself by its bounds.

namespace {

// 10 columns of 64 and 20 rows of 24 pixels in 320 x 120, one fixed column and row.
std::unique_ptr<TTestGrid> MakeGrid()
{
    auto grid = std::make_unique<TTestGrid>(nullptr);
    grid->SetColCount(10);
    grid->SetRowCount(20);
    grid->SetBounds(0, 0, 320, 120);
    return grid;
}

void ExpectGridError(const std::function<void()>& operation, const std::string& message)
{
    try {
        operation();
        ADD_FAILURE() << "expected \"" << message << "\"";
    } catch (const EInvalidGridOperationGx& error) {
        EXPECT_EQ(error.what(), message);
    }
}

} // namespace

TEST(GridsGxGeometry, ANewGridHasItsDocumentedDefaults)
{
    TTestGrid grid(nullptr);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Width(), 320);
    EXPECT_EQ(grid.Height(), 120);
    EXPECT_EQ(grid.Options(), DefaultGridOptionsGx);
    EXPECT_EQ(grid.Current(), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.TopLeft(), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.ColumnWidthAt(3), 64);
    EXPECT_EQ(grid.RowHeightAt(3), 24);
    EXPECT_TRUE(grid.TabStops(3));
}

TEST(GridsGxGeometry, DrawInfoCountsFixedFrozenScrollableAndContraCells)
{
    auto grid = MakeGrid();
    TGridDrawInfoGx info;
    grid->CalcDrawInfo(info);
    EXPECT_EQ(info.Horz.FixedBoundary, 65);
    EXPECT_EQ(info.Horz.LastFullVisibleCell, 3); // 65 + 4 x 65 = 325 passes 321
    EXPECT_EQ(info.Horz.GridBoundary, 320);
    EXPECT_EQ(info.Horz.FullVisBoundary, 260);
    EXPECT_EQ(info.Vert.FixedBoundary, 25);
    EXPECT_EQ(info.Vert.LastFullVisibleCell, 3); // a fourth row would end at 125
    EXPECT_EQ(grid->VisibleColCount(), 3);

    grid->SetFixedCols(3);
    grid->SetFrozenColCount(1);
    grid->SetContraColCount(1);
    grid->SetColWidths(10, 40);
    grid->CalcDrawInfo(info);
    EXPECT_EQ(info.Horz.FixedBoundary, 195);
    EXPECT_EQ(info.Horz.FrozenBoundary, 130);
    EXPECT_EQ(info.Horz.ContraBoundary, 320 - 41 - 1);
    EXPECT_EQ(info.Horz.GridExtent, 278);
    EXPECT_EQ(info.Horz.LastFullVisibleCell, 3);
    EXPECT_EQ(info.Horz.PaintEnd, 320);
}

TEST(GridsGxGeometry, PointsMapToCellsAcrossEveryPart)
{
    auto grid = MakeGrid();
    grid->SetBounds(0, 0, 320, 300);
    grid->SetRowCount(5); // rows end at 125, above the bottom
    grid->SetColWidths(2, 0);
    const struct {
        POINT point;
        TGridCoord cell;
    } cases[] = {
        {{0, 0}, {0, 0}},
        {{64, 10}, {0, 0}},   // the line after a cell belongs to it
        {{65, 30}, {1, 1}},
        {{130, 30}, {2, 1}},  // the hidden column is its line's pixel
        {{131, 30}, {3, 1}},
        {{319, 124}, {5, 4}}, // a partly shown column
        {{100, 150}, {-1, -1}}, // below the last row
        {{-1, -1}, {0, 0}},   // what a press outside every cell records
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid->CellAtPoint(c.point.x, c.point.y), c.cell) << c.point.x << "," << c.point.y;
}

TEST(GridsGxGeometry, BoxRectsClipToWhatIsShown)
{
    auto grid = MakeGrid();
    const struct {
        TGridRect cells;
        TRect pixels;
    } cases[] = {
        {{1, 1, 1, 1}, {65, 25, 129, 49}},
        {{0, 0, 2, 1}, {0, 0, 194, 49}},
        {{3, 1, 9, 1}, {195, 25, 320, 49}},  // the partly shown column ends at the edge
        {{6, 1, 9, 1}, {0, 0, 0, 0}},        // all scrolled out of sight
        {{2, 2, 1, 1}, {0, 0, 0, 0}},        // inverted
    };
    for (const auto& c : cases) {
        const TRect box = grid->BoxRect(c.cells, false);
        EXPECT_EQ(box.left, c.pixels.left);
        EXPECT_EQ(box.top, c.pixels.top);
        EXPECT_EQ(box.right, c.pixels.right);
        EXPECT_EQ(box.bottom, c.pixels.bottom);
    }
    grid->SetTopRow(5);
    const TRect scrolled = grid->BoxRect(TGridRect{1, 2, 1, 6}, false);
    EXPECT_EQ(scrolled.top, 25);     // starts at the first shown row
    EXPECT_EQ(scrolled.bottom, 74);  // rows 5 and 6
}

TEST(GridsGxGeometry, MaxTopLeftIsTheFirstCellFromWhichTheTargetStillShowsWhole)
{
    auto grid = MakeGrid();
    TGridDrawInfoGx info;
    grid->CalcDrawInfo(info);
    EXPECT_EQ(grid->CalcMaxTopLeft(TGridCoord{9, 19}, info), (TGridCoord{7, 17}));
    EXPECT_EQ(grid->CalcMaxTopLeft(TGridCoord{1, 1}, info), (TGridCoord{1, 1}));
    grid->SetColWidths(8, 0); // a hidden cell takes no room
    grid->CalcDrawInfo(info);
    EXPECT_EQ(grid->CalcMaxTopLeft(TGridCoord{9, 1}, info).X, 6);
    grid->SetColWidths(9, 500); // wider than the data area: it shows from its own start
    grid->CalcDrawInfo(info);
    EXPECT_EQ(grid->CalcMaxTopLeft(TGridCoord{9, 1}, info).X, 9);
}

TEST(GridsGxGeometry, ExtentReadsOutsideTheArrayGiveTheDefaultAndWritesRaise)
{
    auto grid = MakeGrid();
    grid->SetContraColCount(2);
    grid->SetColWidths(0, 30);
    for (const int index : {-1, -2, -1000, 12, 13, 5000})
        EXPECT_EQ(grid->ColumnWidthAt(index), 64) << index;
    EXPECT_EQ(grid->RowHeightAt(-1), 24);
    EXPECT_TRUE(grid->TabStops(-1));

    const struct {
        std::function<void()> write;
    } rejected[] = {
        {[&] { grid->SetColWidths(-1, 10); }},
        {[&] { grid->SetColWidths(12, 10); }}, // ColCount + ContraColCount
        {[&] { grid->SetRowHeights(-1, 10); }},
        {[&] { grid->SetRowHeights(20, 10); }},
        {[&] { grid->SetTabStops(-1, false); }},
        {[&] { grid->SetTabStops(12, false); }},
        {[&] { grid->SetFixedCols(-1); }},
        {[&] { grid->FocusCell(10, 1, true); }},
        {[&] { grid->FocusCell(1, -1, true); }},
    };
    for (const auto& r : rejected)
        ExpectGridError(r.write, "Grid index out of range");
    EXPECT_EQ(grid->ColumnWidthAt(0), 30); // nothing overwrote the count element
    grid->SetColWidths(11, 20);            // the last contra column is a column
    EXPECT_EQ(grid->ColumnWidthAt(11), 20);
}

TEST(GridsGxGeometry, CountSettersKeepFixedCountsBelowTheCounts)
{
    auto grid = MakeGrid();
    grid->SetColCount(0);
    EXPECT_EQ(grid->ColCount(), 1);
    EXPECT_EQ(grid->FixedCols(), 0);
    ExpectGridError([&] { grid->SetFixedRows(20); }, "Fixed row count must be less than row count");
    ExpectGridError([&] { grid->SetFixedCols(1); }, "Fixed column count must be less than column count");
    ExpectGridError([&] { grid->SetContraColCount(-1); }, "FContraColCount can not be negative.");
    ExpectGridError([&] { grid->SetContraRowCount(-1); }, "FContraRowCount can not be negative.");
}

TEST(GridsGxGeometry, GrowingWithContraColumnsResetsTheNewAndContraWidths)
{
    auto grid = MakeGrid();
    grid->SetContraColCount(2);
    for (int i = 0; i < 12; ++i)
        grid->SetColWidths(i, 10 + i);
    grid->SetColCount(12);
    EXPECT_EQ(grid->TotalColCount(), 14);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(grid->ColumnWidthAt(i), 10 + i) << i;
    for (int i = 10; i < 14; ++i)
        EXPECT_EQ(grid->ColumnWidthAt(i), 64) << i;
}

TEST(GridsGxGeometry, DefaultRowHeightDropsEveryRowHeight)
{
    auto grid = MakeGrid();
    grid->SetRowHeights(3, 50);
    grid->SetDefaultRowHeight(30);
    EXPECT_EQ(grid->RowHeightAt(3), 30);
}

TEST(GridsGxGeometry, ExtentArraysRejectBadChanges)
{
    TIntegerArray extents;
    UpdateExtents(extents, 3, 7);
    EXPECT_EQ(extents, (TIntegerArray{3, 7, 7, 7}));
    const struct {
        int index;
        int amount;
        const char* message;
    } cases[] = {
        {-1, 1, "Grid index out of range"},
        {4, 1, "Grid index out of range"},
        {3, -4, "Too many rows or columns deleted"},
        {3, 0x7FFFFFD, "Grid too large for operation"},
    };
    for (const auto& c : cases)
        ExpectGridError([&] { ModifyExtents(extents, c.index, c.amount, 0); }, c.message);
    ModifyExtents(extents, 3, -3, 0);
    EXPECT_TRUE(extents.empty());

    TIntegerArray moved{4, 10, 11, 12, 13};
    MoveExtent(moved, 1, 3);
    EXPECT_EQ(moved, (TIntegerArray{4, 11, 12, 10, 13}));
    MoveExtent(moved, 4, 1);
    EXPECT_EQ(moved, (TIntegerArray{4, 13, 11, 12, 10}));
}

TEST(GridsGxGeometry, ColumnSizingStartsOnlyNearALineOfAMovableColumnInTheTitle)
{
    auto grid = MakeGrid();
    grid->SetFixedCols(2);
    grid->SetOptions(grid->Options() + TGridOptionsGx{goColSizing});
    TGridDrawInfoGx info;
    grid->CalcDrawInfo(info);
    // Column 2 spans 130..193; its line is at 194.
    for (int x = 180; x <= 210; ++x) {
        TGridStateGx state = gsNormalGx;
        int index = -1;
        int position = 0;
        int offset = 0;
        grid->SizingHitTest(x, 10, info, state, index, position, offset);
        const bool expected = x >= 191 && x <= 197;
        EXPECT_EQ(state == gsColSizingGx, expected) << x;
        if (expected) {
            EXPECT_EQ(index, 2);
            EXPECT_EQ(position, 194);
            EXPECT_EQ(offset, 194 - x);
        }
    }
    TGridStateGx state = gsNormalGx;
    int index = -1;
    int position = 0;
    int offset = 0;
    grid->SizingHitTest(64, 10, info, state, index, position, offset); // between truly fixed columns
    EXPECT_EQ(state, gsNormalGx);
    grid->SizingHitTest(194, 40, info, state, index, position, offset); // below the title
    EXPECT_EQ(state, gsNormalGx);
}
