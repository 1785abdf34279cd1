#include "GridTestClasses.h"

#include <algorithm>

// The fixture's grid: columns of 64 and rows of 24 pixels with 1-pixel lines, so column c starts
// at 65 x c and row r at 25 x r; the current cell is (1, 1).

namespace {

POINT Inside(int col, int row) { return POINT{65 * col + 20, 25 * row + 12}; }

class GridPaint : public GridFixture {
protected:
    void Repaint()
    {
        m_grid->DrawnCells.clear();
        m_grid->Invalidate();
        Pump();
    }
    [[nodiscard]] const TTestGrid::Drawn* DrawnCell(int col, int row) const
    {
        const auto& cells = m_grid->DrawnCells;
        const auto found =
            std::find_if(cells.begin(), cells.end(), [&](const auto& d) { return d.Col == col && d.Row == row; });
        return found == cells.end() ? nullptr : &*found;
    }
};

} // namespace

TEST_F(GridPaint, FixedCellsDataCellsAndLinesTakeTheirColours)
{
    EXPECT_EQ(Shown(Inside(0, 3)), SysRgb(COLOR_BTNFACE));
    EXPECT_EQ(Shown(Inside(3, 0)), SysRgb(COLOR_BTNFACE));
    EXPECT_EQ(Shown(Inside(3, 3)), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(POINT{194, 87}), 0xC0C0C0u); // the data line after column 2
    EXPECT_EQ(Shown(POINT{205, 74}), 0xC0C0C0u); // the data line under row 2
    EXPECT_EQ(Shown(POINT{64, 10}), 0x000000u);  // the fixed line after column 0
    // A fixed cell is raised: light on its left and top, shadowed on its right and bottom.
    EXPECT_EQ(Shown(POINT{0, 60}), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Shown(POINT{63, 60}), SysRgb(COLOR_BTNSHADOW));
}

TEST_F(GridPaint, AFlatGridKeepsOnlyTheLightEdgesOfItsFixedCells)
{
    m_grid->SetFlat(true);
    Repaint();
    EXPECT_EQ(Shown(POINT{0, 60}), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Shown(POINT{63, 60}), SysRgb(COLOR_BTNFACE));
    EXPECT_EQ(Shown(POINT{64, 10}), 0x808080u); // flat fixed lines are grey
}

TEST_F(GridPaint, WithoutLineOptionsTheCellsTouch)
{
    m_grid->SetOptions(TGridOptionsGx{goRangeSelect});
    Repaint();
    EXPECT_EQ(Shown(POINT{192, 87}), SysRgb(COLOR_WINDOW)); // column 2 now ends at 192
    EXPECT_EQ(Shown(POINT{129, 75}), SysRgb(COLOR_WINDOW));
    const TTestGrid::Drawn* cell = DrawnCell(3, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Rect.left, 192);
    EXPECT_EQ(cell->Rect.top, 72);
}

TEST_F(GridPaint, DataLinesThatAreOffAreDrawnInTheBackground)
{
    m_grid->SetOptions(DefaultGridOptionsGx - TGridOptionsGx{goHorzLines});
    Repaint();
    EXPECT_EQ(Shown(POINT{205, 74}), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(POINT{194, 87}), 0xC0C0C0u);
}

TEST_F(GridPaint, TheCurrentCellIsFocusedAndTheRestOfTheSelectionHighlighted)
{
    Key(VK_DOWN, ModShift); // the anchor stays at (1, 1); the current cell is (1, 2)
    ASSERT_EQ(m_grid->Current(), (TGridCoord{1, 2}));
    EXPECT_EQ(Shown(Inside(1, 1)), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(Inside(1, 2)), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(Inside(2, 2)), SysRgb(COLOR_WINDOW));
    // The dotted focus rectangle runs along the current cell's border.
    const std::uint32_t edge = Shown(POINT{66, 50});
    const std::uint32_t next = Shown(POINT{67, 50});
    EXPECT_TRUE(edge != SysRgb(COLOR_WINDOW) || next != SysRgb(COLOR_WINDOW));

    Repaint();
    const TTestGrid::Drawn* current = DrawnCell(1, 2);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->State, (TGridDrawState{gdFocused, gdSelected}));
    const TTestGrid::Drawn* title = DrawnCell(1, 0);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->State, TGridDrawState{gdFixed});

    m_grid->SetOptions(m_grid->Options() + TGridOptionsGx{goDrawFocusSelected});
    Repaint();
    EXPECT_EQ(Shown(Inside(1, 2)), SysRgb(COLOR_HIGHLIGHT));
}

TEST_F(GridPaint, RowSelectHighlightsWholeRows)
{
    m_grid->SetOptions(m_grid->Options() + TGridOptionsGx{goRowSelect});
    Repaint();
    for (const int col : {1, 3, 5})
        EXPECT_EQ(Shown(Inside(col, 1)), SysRgb(COLOR_HIGHLIGHT)) << col;
    EXPECT_EQ(Shown(Inside(3, 2)), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(m_grid->Anchor().X, 9);
    EXPECT_EQ(m_grid->Current().X, 1);
}

TEST_F(GridPaint, ContraRowsAndColumnsStayAtTheFarEdges)
{
    m_grid->SetRowCount(4);
    m_grid->SetContraRowCount(1);
    m_grid->SetContraColCount(1);
    Repaint();
    const TTestGrid::Drawn* footer = DrawnCell(3, 4);
    ASSERT_NE(footer, nullptr);
    // The footer row keeps room for its own line at the bottom edge.
    EXPECT_EQ(footer->Rect.bottom, 299);
    EXPECT_EQ(footer->Rect.top, 275);
    EXPECT_FALSE(footer->State.Contains(gdSelected));
    const TTestGrid::Drawn* right = DrawnCell(10, 2);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->Rect.right, 399);
    // Between the last data row and the footer there is only background.
    EXPECT_EQ(Shown(POINT{205, 200}), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(POINT{205, 280}), SysRgb(COLOR_WINDOW));
}

TEST_F(GridPaint, NothingIsPaintedWhileLocked)
{
    m_grid->PaintLock();
    Repaint();
    EXPECT_TRUE(m_grid->DrawnCells.empty());
    m_grid->PaintUnlock();
    m_grid->PaintUnlock(); // never below zero
    Repaint();
    EXPECT_FALSE(m_grid->DrawnCells.empty());
}

TEST_F(GridPaint, FrozenColumnsArePaintedLikeDataCells)
{
    m_grid->SetFixedCols(2);
    m_grid->SetFrozenColCount(1);
    Repaint();
    EXPECT_EQ(Shown(Inside(0, 3)), SysRgb(COLOR_BTNFACE));
    EXPECT_EQ(Shown(Inside(1, 3)), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(Inside(1, 0)), SysRgb(COLOR_BTNFACE)); // its title stays fixed
    const TTestGrid::Drawn* frozen = DrawnCell(1, 3);
    ASSERT_NE(frozen, nullptr);
    EXPECT_FALSE(frozen->State.Contains(gdFixed));
}
