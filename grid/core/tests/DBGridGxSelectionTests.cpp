#include "grid/core/DBGridGxSelection.h"
#include "grid/core/InvalidGridOperationGx.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/data/DBDataSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DBGridSelection : public DBGridFixture {
protected:
    // Ten records of six number fields A..F, a grid column each.
    void ShowWide(const TDBGridOptions& options)
    {
        Exec("CREATE TABLE W (ID INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER, "
             "F INTEGER)");
        Exec("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 10) "
             "INSERT INTO W SELECT x, x, x, x, x, x, x FROM n");
        ShowQuery("SELECT ID, A, B, C, D, E, F FROM W ORDER BY ID", [&](TDBGridGx& grid) {
            for (const char* name : {"A", "B", "C", "D", "E", "F"}) {
                TColumnGx* column = grid.Columns().Add();
                column->SetFieldName(name);
                column->SetWidth(50);
            }
            grid.SetOptions(options);
            grid.SetOnSelectionChanged(TNotifyEvent::FromFunction([this](TObject*) { ++m_changes; }));
        });
    }

    [[nodiscard]] POINT Centre(int col, int row) const
    {
        const TRect rect = m_db->CellRect(col, row);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    [[nodiscard]] POINT DataCell(int dataCol, int dataRow) const
    {
        return Centre(dataCol + m_db->IndicatorOffset(), dataRow + m_db->TitleOffset());
    }
    [[nodiscard]] std::uint32_t Pixel(int dataCol, int dataRow) const
    {
        const TRect rect = m_db->CellRect(dataCol + 1, dataRow + m_db->TitleOffset());
        return Shown({rect.left + 3, rect.top + 2});
    }
    [[nodiscard]] std::vector<int> SelectedColumns()
    {
        std::vector<int> indexes;
        TDBGridGxSelectionCols& cols = m_db->DataSelection().Columns();
        for (int i = 0; i < cols.Count(); ++i)
            indexes.push_back(cols.Items(i)->Index());
        return indexes;
    }

    int m_changes = 0;
};

using Indexes = std::vector<int>;

TEST_F(DBGridSelection, ControlClicksMarkRecordsAndAPlainClickDropsThem)
{
    ShowWide(ManagerOptions + TDBGridOptions{dgMultiSelect});
    ClickWith(DataCell(0, 1), ModControl);
    ClickWith(DataCell(0, 3), ModControl);
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstRecordBookmarks);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 2);
    EXPECT_GT(m_changes, 0);
    Pump();
    EXPECT_EQ(Pixel(2, 1), SysRgb(COLOR_HIGHLIGHT)) << "a marked record is highlighted";
    EXPECT_NE(Pixel(2, 2), SysRgb(COLOR_HIGHLIGHT));
    const TGridRectGx rows = m_db->DataSelection().SelectionToGridRect();
    EXPECT_EQ(rows.Top, m_db->TitleOffset() + 1);
    EXPECT_EQ(rows.Bottom, m_db->TitleOffset() + 3);

    ClickWith(DataCell(0, 1), ModControl);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 1);
    Click(DataCell(0, 5));
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstNon);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 0);
}

// Paging and jumping to either end leave the marked records behind, unless Shift extends them.
TEST_F(DBGridSelection, PagingAndJumpingWithoutShiftDropTheMarkedRecords)
{
    struct Case {
        WORD Key;
        unsigned Modifiers;
    };
    const Case cases[] = {{VK_NEXT, 0},           {VK_PRIOR, 0},           {VK_HOME, 0},
                          {VK_END, 0},            {VK_NEXT, ModControl},   {VK_PRIOR, ModControl},
                          {VK_HOME, ModControl},  {VK_END, ModControl},    {VK_DOWN, ModControl}};
    ShowWide(ManagerOptions + TDBGridOptions{dgMultiSelect});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.Key << " modifiers " << c.Modifiers);
        ClickWith(DataCell(0, 1), ModControl);
        ClickWith(DataCell(0, 3), ModControl);
        ASSERT_EQ(m_db->SelectedRows().BookmarkCount(), 2);
        Key(c.Key, c.Modifiers);
        EXPECT_EQ(m_db->DataSelection().SelectionType(), gstNon);
        EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 0);
    }
    ClickWith(DataCell(0, 1), ModControl);
    ClickWith(DataCell(0, 3), ModControl);
    Key(VK_PRIOR, ModShift);
    EXPECT_GE(m_db->SelectedRows().BookmarkCount(), 2) << "Shift extends the marks instead";
}

TEST_F(DBGridSelection, ShiftClicksSpanARectangleThatFoldsBackToNothing)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect});
    Click(DataCell(1, 1));
    ClickWith(DataCell(3, 4), ModShift);
    TDBGridGxSelection& selection = m_db->DataSelection();
    ASSERT_EQ(selection.SelectionType(), gstRectangle);
    const int top = m_db->TitleOffset();
    EXPECT_EQ(selection.SelectionToGridRect(), (TGridRectGx{2, top + 1, 4, top + 4}));
    EXPECT_TRUE(selection.IsCellSelected(2, m_db->BookmarkOfRow(3)));
    EXPECT_FALSE(selection.IsCellSelected(0, m_db->BookmarkOfRow(3)));
    EXPECT_FALSE(selection.IsCellSelected(2, m_db->BookmarkOfRow(5)));
    Pump();
    m_form->SetActiveControl(m_db);
    Pump();
    EXPECT_EQ(Pixel(2, 2), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_NE(Pixel(0, 2), SysRgb(COLOR_HIGHLIGHT));

    ClickWith(DataCell(1, 1), ModShift);
    EXPECT_EQ(selection.SelectionType(), gstNon) << "back on the anchor: one cell is no selection";
}

TEST_F(DBGridSelection, ShiftClickedTitlesWalkFromTheAnchorAndTakeBackWhatTheyAdded)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgMultiSelect});
    // Clicks in the strip along the bottom of the titles select columns.
    const auto title = [&](int dataCol) { return POINT{Centre(dataCol + 1, 0).x, m_db->CellRect(1, 0).bottom - 3}; };
    ClickWith(title(2), ModControl);
    EXPECT_EQ(SelectedColumns(), (Indexes{2}));
    ClickWith(title(5), ModShift);
    EXPECT_EQ(SelectedColumns(), (Indexes{2, 3, 4, 5}));
    ClickWith(title(0), ModShift);
    EXPECT_EQ(SelectedColumns(), (Indexes{0, 1, 2})) << "the right-hand ones were taken back";
    EXPECT_EQ(m_db->DataSelection().SelectionType(), gstColumns);
    EXPECT_EQ(m_db->DataSelection().SelectionToGridRect().Left, 1);
    EXPECT_EQ(m_db->DataSelection().SelectionToGridRect().Right, 3);

    // A hidden column inside a shift range is never added.
    ClickWith(title(2), ModControl); // off
    ClickWith(title(2), ModControl); // on again: a new anchor
    m_db->Columns().ColumnAt(4)->SetVisible(false);
    ClickWith(title(5), ModShift);
    EXPECT_EQ(SelectedColumns(), (Indexes{0, 1, 2, 3, 5}));

    // A removed column leaves the selection (the layout refreshes it); F moves to index 4.
    delete m_db->Columns().ColumnAt(3);
    EXPECT_EQ(SelectedColumns(), (Indexes{0, 1, 2, 4}));
}

// A plain click in the strip selects only that column; higher up the title is a title.
TEST_F(DBGridSelection, APlainClickInATitlesBottomStripSelectsTheColumn)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgMultiSelect});
    const TRect rect = m_db->CellRect(3, 0);
    Click({(rect.left + rect.right) / 2, rect.bottom - 3});
    EXPECT_EQ(SelectedColumns(), (Indexes{2}));
    Click({(rect.left + rect.right) / 2, rect.bottom - 10});
    EXPECT_EQ(SelectedColumns(), (Indexes{2})) << "above the strip the title is a title";
    const TRect other = m_db->CellRect(5, 0);
    Click({(other.left + other.right) / 2, other.bottom - 3});
    EXPECT_EQ(SelectedColumns(), (Indexes{4}));
}

// Dragging over the titles' bottom strip selects the whole columns passed over.
TEST_F(DBGridSelection, DraggingOverTitlesSelectsColumns)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgMultiSelect});
    const auto strip = [&](int dataCol) { return POINT{Centre(dataCol + 1, 0).x, m_db->CellRect(1, 0).bottom - 3}; };
    Press(strip(1), true);
    MoveHeld(strip(4));
    EXPECT_EQ(SelectedColumns(), (Indexes{1, 2, 3, 4}));
    MoveHeld(strip(2));
    EXPECT_EQ(SelectedColumns(), (Indexes{1, 2})) << "back over the columns takes them back";
    Press(strip(2), false);
    MoveHeld(strip(5));
    EXPECT_EQ(SelectedColumns(), (Indexes{1, 2})) << "released, the mouse selects nothing";
}

// Dragging over the indicator marks the records passed over; on a row-select grid dragging
// over the rows does too, and coming back unmarks what was passed.
TEST_F(DBGridSelection, DraggingOverTheIndicatorMarksRecords)
{
    ShowWide(ManagerOptions + TDBGridOptions{dgMultiSelect});
    const auto indicator = [&](int dataRow) { return Centre(0, dataRow + m_db->TitleOffset()); };
    const auto marked = [&] {
        std::vector<int> rows;
        for (int row = 0; row < 10; ++row) {
            int index = 0;
            if (m_db->SelectedRows().Locate(m_db->BookmarkOfRow(row), index))
                rows.push_back(row);
        }
        return rows;
    };
    Press(indicator(5), true);
    EXPECT_EQ(marked(), (Indexes{5})) << "the press marks its record";
    MoveHeld(indicator(2));
    EXPECT_EQ(marked(), (Indexes{2, 3, 4, 5}));
    MoveHeld(indicator(4));
    EXPECT_EQ(marked(), (Indexes{4, 5}));
    Press(indicator(4), false);

    Press(DataCell(2, 7), true);
    MoveHeld(DataCell(2, 8));
    Press(DataCell(2, 8), false);
    EXPECT_EQ(marked(), (Indexes{7, 8})) << "a row-select grid's rows";
}

// Dragging over the cells spans a rectangle from the cell pressed.
TEST_F(DBGridSelection, DraggingOverCellsSelectsARectangle)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect});
    Press(DataCell(1, 1), true);
    MoveHeld(DataCell(2, 2));
    MoveHeld(DataCell(3, 4));
    Press(DataCell(3, 4), false);
    TDBGridGxSelection& selection = m_db->DataSelection();
    ASSERT_EQ(selection.SelectionType(), gstRectangle);
    EXPECT_EQ(selection.SelectionToGridRect(), (TGridRectGx{2, 2, 4, 5}));
}

// With rows selected, Shift-click marks every record from the one clicked before.
TEST_F(DBGridSelection, ShiftClickMarksTheRowsFromTheAnchor)
{
    ShowWide(ManagerOptions + TDBGridOptions{dgMultiSelect});
    ClickWith(DataCell(0, 2), ModControl);
    ClickWith(DataCell(0, 6), ModShift);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 5);
    EXPECT_EQ(m_db->SelectedRows().SelectionToGridRect(m_db->ColCount()).Top, m_db->TitleOffset() + 2);
    EXPECT_EQ(m_db->SelectedRows().SelectionToGridRect(m_db->ColCount()).Bottom, m_db->TitleOffset() + 6);
}

TEST_F(DBGridSelection, SelectAllEscapeAndAllowedKinds)
{
    ShowWide(ManagerOptions + TDBGridOptions{dgMultiSelect});
    Key('A', ModControl);
    TDBGridGxSelection& selection = m_db->DataSelection();
    EXPECT_EQ(selection.SelectionType(), gstAll);
    const int changes = m_changes;
    selection.SelectAll();
    EXPECT_EQ(m_changes, changes) << "a second select-all does nothing";
    Key(VK_ESCAPE);
    EXPECT_EQ(selection.SelectionType(), gstNon);

    m_db->SetAllowedSelections({gstRectangle});
    Key('A', ModControl);
    ClickWith(DataCell(0, 2), ModControl);
    EXPECT_EQ(selection.SelectionType(), gstNon);
    ClickWith({Centre(1, 0).x, 3}, ModControl);
    EXPECT_EQ(selection.SelectionType(), gstNon);
}

TEST_F(DBGridSelection, RectangleReadsNeedAnActiveDataSet)
{
    ShowWide(ManagerOptions - TDBGridOptions{dgRowSelect});
    const TBookmarkStr bookmark = m_db->BookmarkOfRow(0);
    m_query->Close();
    TDBGridGxSelectionRect& rect = m_db->DataSelection().Rect();
    try {
        (void)rect.CellSelected(0, bookmark);
        FAIL() << "no error";
    } catch (const EInvalidGridOperationGx& error) {
        EXPECT_STREQ(error.what(), "Error in function TDBGridGxSelectionRect.CellSelected");
    }
    EXPECT_THROW((void)rect.TopRow(), EInvalidGridOperationGx);
    EXPECT_EQ(m_db->DataSelection().SelectionToGridRect(), TGridRectGx{});
}

} // namespace
