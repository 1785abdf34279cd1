#include "GridTestClasses.h"

#include "tests/support/windows/HeadlessWindows.h"

#include <functional>

// The fixture's grid shows columns 1-5 and rows 1-11 whole: pages are 10 rows high, and the
// farthest top-left cell is (5, 9).

namespace {

using GridNavigation = GridFixture;

struct KeyCase {
    const char* name;
    std::function<void(TTestGrid&)> setUp;
    TGridCoord start;
    unsigned key;
    unsigned modifiers;
    TGridCoord current;
};

void NoSetUp(TTestGrid&) {}

void WithTabs(TTestGrid& grid) { grid.SetOptions(grid.Options() + TGridOptionsGx{goTabs}); }

void WithFrozenColumn(TTestGrid& grid)
{
    WithTabs(grid);
    grid.SetFixedCols(2);
    grid.SetFrozenColCount(1);
}

void WithoutTabStops(TTestGrid& grid)
{
    WithFrozenColumn(grid);
    for (int col = 0; col < grid.ColCount(); ++col)
        grid.SetTabStops(col, false);
}

void ColumnThreeIsNoTabStop(TTestGrid& grid)
{
    WithTabs(grid);
    grid.SetTabStops(3, false);
}

} // namespace

TEST_F(GridNavigation, KeysMoveTheCurrentCell)
{
    const KeyCase cases[] = {
        {"down", NoSetUp, {1, 1}, VK_DOWN, 0, {1, 2}},
        {"up at the top", NoSetUp, {1, 1}, VK_UP, 0, {1, 1}},
        {"right", NoSetUp, {1, 1}, VK_RIGHT, 0, {2, 1}},
        {"left at the fixed column", NoSetUp, {1, 1}, VK_LEFT, 0, {1, 1}},
        {"end", NoSetUp, {2, 3}, VK_END, 0, {9, 3}},
        {"home", NoSetUp, {5, 3}, VK_HOME, 0, {1, 3}},
        {"ctrl end", NoSetUp, {1, 1}, VK_END, ModControl, {9, 19}},
        {"ctrl home", NoSetUp, {9, 19}, VK_HOME, ModControl, {1, 1}},
        {"page down", NoSetUp, {1, 1}, VK_NEXT, 0, {1, 11}},
        {"page up", NoSetUp, {1, 15}, VK_PRIOR, 0, {1, 5}},
        {"tab", WithTabs, {2, 1}, VK_TAB, 0, {3, 1}},
        {"tab wraps to the next row", WithTabs, {9, 1}, VK_TAB, 0, {1, 2}},
        {"tab wraps to the first row", WithTabs, {9, 19}, VK_TAB, 0, {1, 1}},
        {"shift tab wraps to the last cell", WithTabs, {1, 1}, VK_TAB, ModShift, {9, 19}},
        {"tab reaches the frozen column", WithFrozenColumn, {9, 1}, VK_TAB, 0, {1, 2}},
        {"shift tab leaves the frozen column", WithFrozenColumn, {1, 2}, VK_TAB, ModShift, {9, 1}},
        {"tab without tab stops stays", WithoutTabStops, {1, 2}, VK_TAB, 0, {1, 2}},
        {"shift tab without tab stops stays", WithoutTabStops, {1, 2}, VK_TAB, ModShift, {1, 2}},
        {"tab skips a column", ColumnThreeIsNoTabStop, {2, 1}, VK_TAB, 0, {4, 1}},
        {"shift tab skips it backwards", ColumnThreeIsNoTabStop, {4, 1}, VK_TAB, ModShift, {2, 1}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_grid->SetFixedCols(1);
        m_grid->SetOptions(DefaultGridOptionsGx);
        for (int col = 0; col < m_grid->ColCount(); ++col)
            m_grid->SetTabStops(col, true);
        c.setUp(*m_grid);
        m_grid->FocusCell(c.start.X, c.start.Y, true);
        Key(c.key, c.modifiers);
        EXPECT_EQ(m_grid->Current(), c.current);
        EXPECT_EQ(m_grid->Anchor(), c.current);
    }
}

TEST_F(GridNavigation, KeysScrollTheCurrentCellIntoView)
{
    Key(VK_END, ModControl);
    EXPECT_EQ(m_grid->TopLeft(), (TGridCoord{5, 9}));
    Key(VK_HOME, ModControl);
    EXPECT_EQ(m_grid->TopLeft(), (TGridCoord{1, 1}));
    Key(VK_NEXT);
    EXPECT_EQ(m_grid->TopRow(), 9); // clamped to the farthest top row
    Key(VK_DOWN, ModControl);
    EXPECT_EQ(m_grid->TopRow(), 9);
    Key(VK_UP, ModControl);
    EXPECT_EQ(m_grid->TopRow(), 8);
    EXPECT_EQ(m_grid->Row(), 11); // Ctrl with Up and Down scrolls without moving the cell
}

TEST_F(GridNavigation, ShiftExtendsTheSelectionFromTheAnchor)
{
    Key(VK_DOWN, ModShift);
    Key(VK_RIGHT, ModShift);
    const TGridRect selection = m_grid->Selection();
    EXPECT_EQ(selection, (TGridRect{1, 1, 2, 2}));
    Key(VK_DOWN);
    EXPECT_EQ(m_grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(GridNavigation, RowSelectKeepsTheCurrentColumnAtTheFirstAndTheAnchorAtTheLast)
{
    m_grid->SetOptions(m_grid->Options() + TGridOptionsGx{goRowSelect});
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(m_grid->Current(), (TGridCoord{1, 3}));
    EXPECT_EQ(m_grid->Anchor(), (TGridCoord{9, 3}));
    Key(VK_END);
    EXPECT_EQ(m_grid->Row(), 19);
}

TEST_F(GridNavigation, TheWheelMovesTheCurrentRowWithinTheDataRows)
{
    const WindowId id = TopLevelId(m_grid->Handle());
    const POINT point = InTopLevel(m_grid->Handle(), POINT{200, 100});
    m_display->InjectWheel(id, point, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(m_grid->Row(), 2);
    m_display->InjectWheel(id, point, WHEEL_DELTA);
    m_display->InjectWheel(id, point, WHEEL_DELTA);
    Pump();
    EXPECT_EQ(m_grid->Row(), 1);
    m_grid->FocusCell(1, 19, true);
    EXPECT_EQ(m_grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0), 1);
    EXPECT_EQ(m_grid->Row(), 19);
}

TEST_F(GridNavigation, ScrollBarsRestAtTheStartWhenEverythingFitsAndFollowTheTopLeftOtherwise)
{
    m_grid->SetScrollBars(ssBothGx);
    m_grid->SetRowCount(5); // every row fits: nothing to divide by
    Pump();
    EXPECT_EQ(GetScrollPos(m_grid->Handle(), SB_VERT), 0);
    m_grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_grid->TopRow(), 1);

    m_grid->SetRowCount(50);
    m_grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_grid->TopRow(), 2);
    m_grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    const int lastTop = m_grid->TopRow();
    EXPECT_GT(lastTop, 30);
    EXPECT_EQ(GetScrollPos(m_grid->Handle(), SB_VERT), 127);
    m_grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    EXPECT_EQ(m_grid->TopRow(), 1);
    m_grid->FocusCell(9, 49, true);
    EXPECT_EQ(m_grid->TopRow(), lastTop);
    EXPECT_EQ(GetScrollPos(m_grid->Handle(), SB_HORZ), 127);
}

TEST_F(GridNavigation, OneWideColumnScrollsByPixels)
{
    m_grid->SetScrollBars(ssBothGx);
    m_grid->SetColCount(1);
    m_grid->SetColWidths(0, 1000);
    Pump();
    const int step = m_grid->Canvas()->TextWidth("0");
    ASSERT_GT(step, 0);
    m_grid->Perform(WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_grid->ColOffset(), step);
    m_grid->Perform(WM_HSCROLL, SB_LINEUP, 0);
    m_grid->Perform(WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(m_grid->ColOffset(), 0); // never before the start
    m_grid->Perform(WM_HSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(m_grid->ColOffset(), m_grid->ClientWidth());
    m_grid->SetColWidths(0, 100); // narrower than the client: nothing to scroll
    m_grid->Perform(WM_HSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(m_grid->ColOffset(), 0);
}
