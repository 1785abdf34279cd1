#include "GridTestClasses.h"

#include "platform/winapi/kernel/Clock.h"

#include <vector>

namespace {

POINT Inside(int col, int row) { return POINT{65 * col + 20, 25 * row + 12}; }

class GridMouse : public GridFixture {
protected:
    void AddOptions(TGridOptionsGx options) { m_grid->SetOptions(m_grid->Options() + options); }
    // Presses at `from`, moves there with the button held, lets the drag timer look once, releases.
    void DragWithTimer(POINT from, POINT to)
    {
        Press(from, true);
        MoveHeld(to);
        m_grid->Perform(WM_TIMER, 1, 0);
        Press(to, false);
    }

    // The grid's drag timers tick only when a test sends WM_TIMER, however slowly the test runs.
    FakeClock m_clock;
};

} // namespace

TEST_F(GridMouse, AClickMakesADataCellCurrentAndADragSelects)
{
    Click(Inside(3, 4));
    EXPECT_EQ(m_grid->Current(), (TGridCoord{3, 4}));
    Press(Inside(1, 1), true);
    EXPECT_EQ(m_grid->GridState(), gsSelectingGx);
    MoveHeld(Inside(3, 3));
    Press(Inside(3, 3), false);
    EXPECT_EQ(m_grid->GridState(), gsNormalGx);
    EXPECT_EQ(m_grid->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(m_grid->Current(), (TGridCoord{1, 1}));
}

TEST_F(GridMouse, DraggingAColumnLineInTheTitleSizesTheColumn)
{
    AddOptions({goColSizing});
    // Column 2 spans 130..193 and its line is at 194.
    Press(POINT{195, 10}, true);
    EXPECT_EQ(m_grid->GridState(), gsColSizingGx);
    MoveHeld(POINT{225, 10});
    Press(POINT{225, 10}, false);
    EXPECT_EQ(m_grid->ColumnWidthAt(2), 94);
    EXPECT_EQ(m_grid->GridState(), gsNormalGx);

    // Let go at a width of one pixel or less: nothing changes.
    Press(POINT{224, 10}, true);
    MoveHeld(POINT{131, 10});
    Press(POINT{131, 10}, false);
    EXPECT_EQ(m_grid->ColumnWidthAt(2), 94);
}

TEST_F(GridMouse, DraggingATitleMovesTheColumnAndItsWidth)
{
    AddOptions({goColMoving});
    m_grid->SetColWidths(2, 50);
    m_grid->FocusCell(2, 3, true);
    DragWithTimer(Inside(2, 0), POINT{65 * 4 - 15 + 20, 12});
    ASSERT_EQ(m_grid->ColumnMoves, (std::vector<std::pair<int, int>>{{2, 4}}));
    EXPECT_EQ(m_grid->ColumnWidthAt(4), 50);
    EXPECT_EQ(m_grid->ColumnWidthAt(2), 64);
    EXPECT_EQ(m_grid->Col(), 4); // the current column went with it

    DragWithTimer(Inside(3, 0), POINT{65 * 3 - 15 + 30, 12});
    EXPECT_EQ(m_grid->ColumnMoves.size(), 1u); // dropped onto itself: no move
}

TEST_F(GridMouse, ACellClickNeedsThePressAndTheReleaseOnTheSameCell)
{
    std::vector<TGridCoord> clicked;
    std::vector<POINT> offsets;
    m_grid->SetOnCellMouseClick(TGridGxCellMouseEvent::FromFunction(
        [&](TCustomGridGx*, TGridCoord cell, TMouseButton, TShiftState, int x, int y) {
        clicked.push_back(cell);
            offsets.push_back(POINT{x, y});
        }));
    Click(POINT{30, 25 * 3 + 7});
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], (TGridCoord{0, 3}));
    EXPECT_EQ(offsets[0].x, 30);
    EXPECT_EQ(offsets[0].y, 7);

    Press(POINT{30, 25 * 3 + 7}, true);
    MoveHeld(POINT{30, 25 * 5 + 7});
    Press(POINT{30, 25 * 5 + 7}, false);
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(GridMouse, CancelModeEndsADragWithoutApplyingIt)
{
    AddOptions({goColSizing});
    Press(POINT{195, 10}, true);
    MoveHeld(POINT{250, 10});
    m_grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(m_grid->GridState(), gsNormalGx);
    Press(POINT{250, 10}, false);
    EXPECT_EQ(m_grid->ColumnWidthAt(2), 64);
}

TEST_F(GridMouse, HoldingTheButtonBelowTheDataScrollsTheSelectionOnEachTick)
{
    Press(Inside(2, 10), true);
    MoveHeld(POINT{150, 310}); // below the grid, the button still held
    const int before = m_grid->Anchor().Y;
    m_grid->Perform(WM_TIMER, 1, 0);
    m_grid->Perform(WM_TIMER, 1, 0);
    EXPECT_EQ(m_grid->Anchor().Y, before + 2);
    Press(POINT{150, 310}, false);
    EXPECT_EQ(m_grid->GridState(), gsNormalGx);
    EXPECT_EQ(m_grid->Selection().Top, 10);
}

TEST_F(GridMouse, AFailingMouseDownHandlerIsReportedNotSwallowed)
{
    m_grid->SetOnMouseDown(TMouseEvent::FromFunction(
        [](TObject*, TMouseButton, TShiftState, int, int) { throw Exception("handler failed"); }));
    Click(Inside(3, 3));
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors[0].find("handler failed"), std::string::npos);
    m_errors.clear();
}
